// Timing program for the table data against plain SQLite loops over the same query.
//   dataaccess_bench make FILE ROWS     a table t of ROWS rows and 5 columns
//   dataaccess_bench load FILE          Load data (count + first page) of "select * from t"
//   dataaccess_bench loop FILE          plain sqlite3_step over every row of the same query
//   dataaccess_bench page FILE P        Load page P after Load data (only the page is timed)
//   dataaccess_bench loadsql|rsssql FILE, pagesql FILE P   the same for "select * from t" typed as SQL
//   dataaccess_bench loopskip FILE N    plain: prepare and step N rows
//   dataaccess_bench rss FILE           Load data, then print the peak resident memory (VmHWM, kB)
//   dataaccess_bench rsswalk FILE       Load data, every page forward and back, then the peak memory
//   dataaccess_bench loopcount FILE     plain: prepare and step "select count(*) from t"
//   dataaccess_bench stop FILE          Load data stopped after 200 ms: milliseconds from the stop to its end
//   dataaccess_bench pagenext|pageback FILE P   after Load data and Load page P-1 (untimed): Load
//                                       page P; pageback then times Load page P-1 instead
// Prints one number: milliseconds (or kB for rss).
#include "bench/BenchLoad.h"
#include "bench/BenchSupport.h"
#include "dataaccess/TableData.h"

#include <sqlite3.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

sqlite3* openFile(const char* path, int flags)
{
    sqlite3* db = nullptr;
    if (sqlite3_open_v2(path, &db, flags, nullptr) != SQLITE_OK) {
        std::fprintf(stderr, "cannot open %s\n", path);
        std::exit(2);
    }
    return db;
}

int make(const char* path, long rows)
{
    sqlite3* db = openFile(path, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE);
    const std::string sql =
        "PRAGMA journal_mode=OFF; PRAGMA synchronous=OFF; DROP TABLE IF EXISTS t;"
        "CREATE TABLE t (id INTEGER PRIMARY KEY, name VARCHAR(40), qty INTEGER, price REAL, note TEXT);"
        "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < " + std::to_string(rows) + ") "
        "INSERT INTO t SELECT i, 'name ' || i, i % 1000, i * 0.25, CASE WHEN i % 3 = 0 THEN NULL ELSE 'note ' || i END FROM n;";
    char* message = nullptr;
    if (sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &message) != SQLITE_OK) {
        std::fprintf(stderr, "%s\n", message);
        return 2;
    }
    sqlite3_close(db);
    return 0;
}

// The plain anchor: prepare, step `limit` rows (all when negative) without reading columns.
double plainLoop(const char* path, long limit)
{
    const auto start = std::chrono::steady_clock::now();
    sqlite3* db = openFile(path, SQLITE_OPEN_READONLY);
    sqlite3_stmt* st = nullptr;
    sqlite3_prepare_v2(db, "select * from t", -1, &st, nullptr);
    long n = 0;
    while ((limit < 0 || n < limit) && sqlite3_step(st) == SQLITE_ROW)
        ++n;
    sqlite3_finalize(st);
    sqlite3_close(db);
    const double ms = qb::bench::msSince(start);
    if (limit >= 0 && n != limit)
        std::fprintf(stderr, "only %ld rows\n", n);
    return ms;
}

// The engine's own count, as a plain C loop would ask it.
double plainCount(const char* path)
{
    const auto start = std::chrono::steady_clock::now();
    sqlite3* db = openFile(path, SQLITE_OPEN_READONLY);
    sqlite3_stmt* st = nullptr;
    sqlite3_prepare_v2(db, "select count(*) from t", -1, &st, nullptr);
    if (sqlite3_step(st) != SQLITE_ROW || sqlite3_column_int64(st, 0) <= 0)
        std::fprintf(stderr, "no count\n");
    sqlite3_finalize(st);
    sqlite3_close(db);
    return qb::bench::msSince(start);
}

// Load page p after Load data; only the page is timed.
int timePage(const QString& connection, int p, qb::bench::LoadAs as)
{
    int code = 3;
    qb::bench::withLoadedTable(connection, QStringLiteral("t"), [&](qb::data::TableData& data) {
        const auto start = std::chrono::steady_clock::now();
        data.loadPage(p);
        const double ms = qb::bench::msSince(start);
        if (data.currentPage() == p && data.rowsOnCurrentPage() > 0) {
            qb::bench::printMs(ms);
            code = 0;
        }
    }, as);
    return code;
}

} // namespace

int main(int argc, char** argv)
{
    return qb::bench::runMode(argc, argv, 2, "make|load|loop|loopcount|page|pagenext|pageback|loopskip|rss|rsswalk|stop|loadsql|pagesql|rsssql FILE [N]", [&](const std::string& mode) {
        const char* path = argv[2];
        const long n = argc > 3 ? std::atol(argv[3]) : 0;
        const QString connection = QStringLiteral("Provider=SQLite;Data Source=") + QString::fromUtf8(path);
        if (mode == "make")
            return std::optional(make(path, n));
        if (mode == "loop" || mode == "loopskip") {
            qb::bench::printMs(plainLoop(path, mode == "loop" ? -1 : n));
            return std::optional(0);
        }
        if (mode == "loopcount") {
            qb::bench::printMs(plainCount(path));
            return std::optional(0);
        }
        if (mode == "stop")
            return std::optional(qb::bench::timeStopDuringLoad(connection, QStringLiteral("t"), 200));
        if (mode == "rsswalk")
            return std::optional(qb::bench::walkedPeak(connection, QStringLiteral("t")));
        if (mode == "pagenext" || mode == "pageback")
            return std::optional(qb::bench::timePageStep(connection, QStringLiteral("t"), int(n), mode == "pageback"));
        if (mode == "page" || mode == "pagesql")
            return std::optional(timePage(connection, int(n), mode == "page" ? qb::bench::LoadAs::Table : qb::bench::LoadAs::TypedSql));
        return qb::bench::runLoadMode(mode, connection, QStringLiteral("t"));
    });
}
