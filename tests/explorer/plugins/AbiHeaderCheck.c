/* The plug-in ABI header on its own, compiled as C11 with pedantic warnings as errors: a plug-in
** written in C needs nothing else. The record's layout is checked again from C. */
#include <quillbase/qbplugin.h>

_Static_assert(sizeof(PluginDescription) == 4362, "the description record is 4362 bytes in C too");
_Static_assert(sizeof(BlobValue) == 16, "a stream pointer and a 32-bit type, padded");
_Static_assert(sizeof(QbBool) == 1, "a bool result is one byte");

/* The field offsets as C lays them out: name, version, copyright, description, languages, size. */
void qbtest_description_layout_from_c(size_t out[6])
{
    out[0] = offsetof(PluginDescription, name);
    out[1] = offsetof(PluginDescription, version);
    out[2] = offsetof(PluginDescription, copyright);
    out[3] = offsetof(PluginDescription, description);
    out[4] = offsetof(PluginDescription, languages);
    out[5] = sizeof(PluginDescription);
}

/* A UTF-16 literal as a plug-in written in C returns it. */
const char16_t* qbtest_menu_text_from_c(void)
{
    return u"Hex \u00e9dition";
}
