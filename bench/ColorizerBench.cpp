// Colouring a 1 MB SQL text with the default keyword list: the whole text is recoloured after
// every change in the editor, so this is the cost of one keystroke in a 1 MB script.
#include "bench/BenchSupport.h"
#include "common/SqlColorizer.h"

#include <benchmark/benchmark.h>

namespace {

QString makeText(qsizetype size)
{
    return qb::bench::repeatedText(size, [](int i) {
        return QStringLiteral("// order %1\n"
                              "insert into orders (id, customer, note) values (%1, 'Customer %1', \"x\");\n"
                              "select id, customer from orders where id = %1 order by customer;\n"
                              "/* update orders set note = 'checked' */ delete from orders where id < %1;\n")
            .arg(i);
    });
}

void BM_ColourOneMegabyte(benchmark::State& state)
{
    const QString text = makeText(1024 * 1024);
    qb::SqlColorizer colorizer;
    colorizer.setKeywords(qb::SqlColorizer::defaultKeywordList());
    for (auto _ : state) {
        auto ranges = colorizer.colour(text);
        benchmark::DoNotOptimize(ranges.data());
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * text.size());
}
BENCHMARK(BM_ColourOneMegabyte)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
