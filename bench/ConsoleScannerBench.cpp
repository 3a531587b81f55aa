// Cutting a large script into statements: a 10 MB script of inserts with quoted values, comments,
// line breaks and selects, scanned into a sink that only counts. Reported as bytes of script text.
#include "bench/BenchSupport.h"
#include "console/script/StatementScanner.h"

#include <benchmark/benchmark.h>

namespace {

class CountingSink : public qb::console::StatementSink {
public:
    void onStatement(const QString& text, qb::console::StatementKind) override
    {
        ++statements;
        characters += text.size();
    }
    int64_t statements = 0;
    int64_t characters = 0;
};

QString makeScript(qsizetype size)
{
    return qb::bench::repeatedText(size, [](int i) {
        return QStringLiteral("-- order %1\n"
                              "insert into orders (id, customer, note, amount)\n"
                              "    values (%1, 'Customer %1', 'said: \"call back; later\"', %2);\n"
                              "select id,  customer\n\tfrom orders /* by id; */ where id = %1;\n")
            .arg(i)
            .arg(i * 3.25);
    });
}

void BM_ScanTenMegabyteScript(benchmark::State& state)
{
    const QString script = makeScript(10 * 1024 * 1024);
    for (auto _ : state) {
        CountingSink sink;
        qb::console::StatementScanner::scan(script, sink);
        benchmark::DoNotOptimize(sink.characters);
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * script.size()); // ASCII: one byte a character
}
BENCHMARK(BM_ScanTenMegabyteScript)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
