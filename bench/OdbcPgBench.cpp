// Timing program for the ODBC provider on PostgreSQL (bench/run-odbc.sh runs it beside psql).
//   odbc_pg_bench walk CONNECTION TABLE   execute "select * from TABLE" and read every column of
//                                         every row, bound as the row cache binds them
//   odbc_pg_bench load CONNECTION TABLE   Load data of the table (count + first page)
//   odbc_pg_bench rss CONNECTION TABLE    Load data, then print the peak resident memory (VmHWM, kB)
// CONNECTION is an initialization string ("Provider=ODBC;Driver={PostgreSQL Unicode};...").
// Prints one number: milliseconds (or kB for rss).
#include "common/ReportSink.h"
#include "dataaccess/BindingRules.h"
#include "dataaccess/ColumnBinding.h"
#include "dataaccess/DataSourceFactory.h"
#include "dataaccess/TableData.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

namespace {

class NullSink final : public qb::ReportSink {
public:
    void setProgressRange(int, int) override {}
    void setProgressPos(int) override {}
    void hideProgress() override {}
    void postText(const QString&, int) override {}
    void postStage(int, int) override {}
    void clearListColumns() override {}
    void addListColumn(const QString&, int, int, int) override {}
    void setColumnWidth(int, int) override {}
    void addError(const QString& text) override { std::fprintf(stderr, "error: %s\n", qPrintable(text)); }
    void addInformation(const QString&) override {}
};

double msSince(std::chrono::steady_clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

std::shared_ptr<qb::data::Session> connect(const QString& connection)
{
    auto source = qb::data::createDataSource(connection);
    source->initialize();
    return source->createSession();
}

// Every row, every column, into ColumnBinding records bound by the row cache's rules; long
// values are read as far as the cache would (512 bytes). Returns the rows walked.
long walk(const QString& connection, const QString& table)
{
    using namespace qb::data;
    auto session = connect(connection);
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

struct Loaded {
    std::shared_ptr<qb::data::Session> session;
    qb::data::TableData data;
};

void load(const QString& connection, const QString& table, Loaded& l)
{
    l.session = connect(connection);
    NullSink sink;
    if (l.data.loadData(l.session, {{}, table}, {}, true, sink) != qb::data::TableData::LoadResult::Loaded)
        std::exit(3);
}

long vmHwmKb()
{
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("VmHWM:", 0) == 0)
            return std::strtol(line.c_str() + 6, nullptr, 10);
    return -1;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 4) {
        std::fprintf(stderr, "usage: %s walk|load|rss CONNECTION TABLE\n", argv[0]);
        return 2;
    }
    const std::string mode = argv[1];
    const QString connection = QString::fromUtf8(argv[2]);
    const QString table = QString::fromUtf8(argv[3]);
    try {
        if (mode == "walk") {
            const auto start = std::chrono::steady_clock::now();
            const long rows = walk(connection, table);
            const double ms = msSince(start);
            if (rows <= 0)
                return 3;
            std::printf("%.2f\n", ms);
            return 0;
        }
        if (mode == "load") {
            const auto start = std::chrono::steady_clock::now();
            Loaded l;
            load(connection, table, l);
            std::printf("%.2f\n", msSince(start));
            return 0;
        }
        if (mode == "rss") {
            Loaded l;
            load(connection, table, l);
            std::printf("%ld\n", vmHwmKb());
            return 0;
        }
    } catch (const std::exception& e) {
        std::fprintf(stderr, "error: %s\n", e.what());
        return 3;
    }
    std::fprintf(stderr, "unknown mode %s\n", mode.c_str());
    return 2;
}
