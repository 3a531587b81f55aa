#include "bench/BenchLoad.h"

#include "bench/BenchSupport.h"
#include "common/ConsoleReportSink.h"
#include "dataaccess/DataSourceFactory.h"
#include "dataaccess/TableData.h"

#include <cstdio>
#include <cstdlib>

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

} // namespace qb::bench
