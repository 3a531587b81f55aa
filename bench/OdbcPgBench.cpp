// Timing program for the ODBC provider on PostgreSQL (bench/run-odbc.sh runs it beside psql).
//   odbc_pg_bench walk CONNECTION TABLE   execute "select * from TABLE" and read every column of
//                                         every row, bound as the row cache binds them
//   odbc_pg_bench load CONNECTION TABLE   Load data of the table (count + first page)
//   odbc_pg_bench rss CONNECTION TABLE    Load data, then print the peak resident memory (VmHWM, kB)
//   odbc_pg_bench rsswalk CONNECTION TABLE   Load data, every page forward and back, then the peak memory
//   odbc_pg_bench pagenext|pageback CONNECTION TABLE P   after Load data and Load page P-1 (untimed):
//                                         Load page P; pageback then times Load page P-1 instead
//   odbc_pg_bench stop CONNECTION TABLE   Load data stopped after 200 ms: milliseconds from the stop
//                                         to its end (any ODBC driver, the SQLite one too)
// CONNECTION is an initialization string ("Provider=ODBC;Driver={PostgreSQL Unicode};...").
// Prints one number: milliseconds (or kB for rss).
#include "bench/BenchLoad.h"
#include "bench/BenchSupport.h"
#include "dataaccess/BindingRules.h"
#include "dataaccess/ColumnBinding.h"
#include "dataaccess/DataSourceFactory.h"

#include <chrono>
#include <cstdlib>
#include <cstdio>
#include <string>
#include <vector>

namespace {

// Every row, every column, into ColumnBinding records bound by the row cache's rules; long
// values are read as far as the cache would (512 bytes). Returns the rows walked.
long walk(const QString& connection, const QString& table)
{
    using namespace qb::data;
    auto source = createDataSource(connection);
    source->initialize();
    auto session = source->createSession();
    auto rowset = session->execute(QStringLiteral("select * from ") + table);
    const std::vector<ColumnInfo> columns = rowset->columns();
    std::vector<ColumnBinding> row(columns.size());
    std::vector<Binding> bindings;
    for (size_t c = 0; c < columns.size(); ++c) {
        row[c] = bindingRecordFor(columns[c]);
        bindings.push_back(providerBindingFor(row[c], columns[c], c * sizeof(ColumnBinding)));
    }
    rowset->setBindings(bindings);
    long rows = 0;
    while (rowset->next()) {
        rowset->getData(reinterpret_cast<std::byte*>(row.data()));
        for (ColumnBinding& b : row)
            if (b.boundType == DBTYPE_IUNKNOWN && !b.boundByDeclaredType && b.status != DBSTATUS_S_ISNULL && b.pointer) {
                auto* stream = static_cast<SequentialStream*>(b.pointer);
                stream->read(b.value, ColumnBinding::kValueCapacity);
                stream->release();
                b.pointer = nullptr;
            }
        ++rows;
    }
    return rows;
}

} // namespace

int main(int argc, char** argv)
{
    return qb::bench::runMode(argc, argv, 3, "walk|load|rss|rsswalk|pagenext|pageback|stop CONNECTION TABLE [P]", [&](const std::string& mode) {
        const QString connection = QString::fromUtf8(argv[2]);
        const QString table = QString::fromUtf8(argv[3]);
        if (mode == "walk") {
            const auto start = std::chrono::steady_clock::now();
            const long rows = walk(connection, table);
            const double ms = qb::bench::msSince(start);
            if (rows <= 0)
                return std::optional(3);
            qb::bench::printMs(ms);
            return std::optional(0);
        }
        if (mode == "rsswalk")
            return std::optional(qb::bench::walkedPeak(connection, table));
        if (mode == "stop")
            return std::optional(qb::bench::timeStopDuringLoad(connection, table, 200));
        if ((mode == "pagenext" || mode == "pageback") && argc > 4)
            return std::optional(qb::bench::timePageStep(connection, table, std::atoi(argv[4]), mode == "pageback"));
        return qb::bench::runLoadMode(mode, connection, table);
    });
}
