// A library that loads but lacks the tips export: what an old or foreign file under the tips
// library's name would be.
extern "C" __attribute__((visibility("default"))) int somethingElse()
{
    return 0;
}
