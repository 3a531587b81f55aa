#include "bench/BenchLoad.h"

#include "bench/BenchSupport.h"
#include "explorer/browser/ConsoleReportSink.h"
#include "dataaccess/DataSourceFactory.h"
#include "dataaccess/InterruptToken.h"
#include "dataaccess/LoadSink.h"
#include "dataaccess/TableData.h"

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <thread>

namespace qb::bench {

void withLoadedTable(const QString& connection, const QString& table,
                     const std::function<void(qb::data::TableData&)>& then, LoadAs as)
{
    const auto source = qb::data::createDataSource(connection);
    source->initialize();
    const auto session = source->createSession();
    qb::data::TableData data;
    ConsoleReportSink sink("bench");
    const auto result = as == LoadAs::Table
                            ? data.loadObject(session, {{}, table}, true, sink)
                            : data.loadUserSql(session, QStringLiteral("select * from ") + table, true, sink);
    if (result != qb::data::TableData::LoadResult::Loaded)
        std::exit(3);
    then(data);
}

std::optional<int> runLoadMode(const std::string& mode, const QString& connection, const QString& table)
{
    const LoadAs as = mode.ends_with("sql") ? LoadAs::TypedSql : LoadAs::Table;
    if (mode == "load" || mode == "loadsql") {
        const auto start = std::chrono::steady_clock::now();
        withLoadedTable(connection, table, [&](qb::data::TableData&) { printMs(msSince(start)); }, as);
        return 0;
    }
    if (mode == "rss" || mode == "rsssql") {
        withLoadedTable(connection, table, [](qb::data::TableData&) { std::printf("%ld\n", peakResidentKb()); }, as);
        return 0;
    }
    return std::nullopt;
}

int timePageStep(const QString& connection, const QString& table, int p, bool back)
{
    int code = 3;
    withLoadedTable(connection, table, [&](qb::data::TableData& data) {
        data.loadPage(p - 1);
        if (back)
            data.loadPage(p);
        const int target = back ? p - 1 : p;
        const auto start = std::chrono::steady_clock::now();
        data.loadPage(target);
        const double ms = msSince(start);
        if (data.currentPage() == target && data.rowsOnCurrentPage() > 0) {
            printMs(ms);
            code = 0;
        }
    });
    return code;
}

int walkedPeak(const QString& connection, const QString& table)
{
    withLoadedTable(connection, table, [&](qb::data::TableData& data) {
        for (int p = 1; p < data.pageCount(); ++p)
            data.loadPage(p);
        for (int p = data.pageCount() - 2; p >= 0; --p)
            data.loadPage(p);
        std::printf("%ld\n", peakResidentKb());
    });
    return 0;
}

namespace {

// Drops everything but the outcome.
class QuietSink final : public qb::data::LoadSink {
public:
    void progress(const qb::data::LoadProgress&) override {}
    void columnsRead(const std::vector<qb::data::ColumnInfo>&) override {}
    void error(const QString&) override {}
};

} // namespace

int timeStopDuringLoad(const QString& connection, const QString& table, int afterMs)
{
    using namespace qb::data;
    const auto source = createDataSource(connection);
    source->initialize();
    const auto session = source->createSession();
    TableData data;
    InterruptToken token;
    std::atomic<bool> ended{false};
    std::chrono::steady_clock::time_point end;
    std::thread loader([&] {
        InterruptToken::Armed armed(token);
        QuietSink sink;
        data.loadObject(session, {{}, table}, true, sink);
        end = std::chrono::steady_clock::now();
        ended.store(true, std::memory_order_release);
    });
    std::this_thread::sleep_for(std::chrono::milliseconds(afterMs));
    const bool endedBefore = ended.load(std::memory_order_acquire);
    const auto stop = std::chrono::steady_clock::now();
    token.interrupt();
    loader.join();
    if (endedBefore)
        return 4;
    printMs(std::chrono::duration<double, std::milli>(end - stop).count());
    return 0;
}

} // namespace qb::bench
