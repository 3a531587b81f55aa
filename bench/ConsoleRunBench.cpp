// "select * from t" over a 100,000-row, 5-column SQLite table, run as the console runs it (echo,
// counting pass, text table, summary) into a result window that discards the text.
//   console_run_bench                 Google Benchmark, on QB_BENCH_CONSOLE_DB or a table made here
//   console_run_bench make FILE       makes the table
//   console_run_bench once FILE       one run on FILE, prints its milliseconds (bench/run-console.sh)
#include "bench/BenchSupport.h"
#include "console/script/ScriptRun.h"
#include "dataaccess/DataSourceFactory.h"

#include <QDir>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

class DiscardingWindow : public qb::console::ResultWriter, public qb::console::RunFeedback {
public:
    void appendResultText(const QString& text, qb::console::ResultTextCategory) override { characters += text.size(); }
    void appendPlainText(const QString& text) override { characters += text.size(); }
    void holdRepaint() override {}
    void releaseRepaint() override {}
    void runStarted() override {}
    void runFinished() override {}
    void progressStarted() override {}
    void progressPosition(int) override {}
    void progressFinished() override {}
    void showError(const QString& text) override { std::fprintf(stderr, "%s\n", qPrintable(text)); }
    int64_t characters = 0;
};

// Same shape as bench/run-console.sh makes.
void makeTable(const QString& path)
{
    sqlite3* db = nullptr;
    sqlite3_open(path.toUtf8().constData(), &db);
    sqlite3_exec(db,
                 "CREATE TABLE t (id INTEGER PRIMARY KEY, name VARCHAR(30), city VARCHAR(30), price REAL, qty INTEGER);"
                 "WITH RECURSIVE c(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM c WHERE i < 100000) "
                 "INSERT INTO t SELECT i, 'customer ' || i, 'city ' || (i % 97), i * 0.25, i % 1000 FROM c;",
                 nullptr, nullptr, nullptr);
    sqlite3_close(db);
}

class ConsoleRun {
public:
    explicit ConsoleRun(const QString& path)
        : m_source(qb::data::createDataSource(QStringLiteral("Provider=SQLite;Data Source=") + path))
    {
        m_source->initialize();
        m_run = std::make_unique<qb::console::ScriptRun>(m_source->createSession(), m_window, m_window,
                                                         std::make_shared<qb::console::StopSignal>());
    }
    void run() { m_run->run(QStringLiteral("select * from t;")); }
    int64_t characters() const { return m_window->characters; }

private:
    std::shared_ptr<qb::data::DataSource> m_source;
    std::shared_ptr<DiscardingWindow> m_window = std::make_shared<DiscardingWindow>();
    std::unique_ptr<qb::console::ScriptRun> m_run;
};

void BM_SelectStarIntoDiscardingWindow(benchmark::State& state)
{
    QTemporaryDir scratch;
    QString path = qEnvironmentVariable("QB_BENCH_CONSOLE_DB");
    if (path.isEmpty()) {
        path = QDir(scratch.path()).filePath(QStringLiteral("console-bench.db"));
        makeTable(path);
    }
    ConsoleRun run(path);
    for (auto _ : state)
        run.run();
    benchmark::DoNotOptimize(run.characters());
}
BENCHMARK(BM_SelectStarIntoDiscardingWindow)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    if (argc == 3 && std::strcmp(argv[1], "make") == 0) {
        makeTable(QString::fromLocal8Bit(argv[2]));
        return 0;
    }
    if (argc == 3 && std::strcmp(argv[1], "once") == 0) {
        ConsoleRun run(QString::fromLocal8Bit(argv[2]));
        const auto start = std::chrono::steady_clock::now();
        run.run();
        qb::bench::printMs(qb::bench::msSince(start));
        return run.characters() > 0 ? 0 : 1;
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
