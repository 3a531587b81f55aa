#pragma once
// Load data (count + first page) as the table view runs it, for the data access timing programs
// (SQLite and ODBC alike): one new connection from an initialization string, one table.
#include <QString>

#include <functional>
#include <optional>
#include <string>

namespace qb::data {
class TableData;
}

namespace qb::bench {

// How Load data reads the table: its own scan, or "select * from" it as SQL the user typed (which
// runs once and is spooled).
enum class LoadAs { Table, TypedSql };

// Connects, runs Load data on the table, and hands the loaded data to `then` before anything is
// torn down. Progress and texts are dropped; an error entry goes to stderr. A table that does not
// load ends the process with exit code 3.
void withLoadedTable(const QString& connection, const QString& table,
                     const std::function<void(qb::data::TableData&)>& then, LoadAs as = LoadAs::Table);

// The modes every data access program offers on a table:
//   load   prints the milliseconds of Load data, connecting included, teardown excluded
//   rss    runs Load data, then prints the peak resident memory in kB
//   loadsql, rsssql   the same with the table's rows selected by SQL typed by the user
// Answers the exit code, or nothing for another mode.
std::optional<int> runLoadMode(const std::string& mode, const QString& connection, const QString& table);

// One page step near page p: prints the milliseconds of Load page p after Load page p-1, or (back)
// of Load page p-1 after Load page p-1 then p; the steps before are not timed. Answers the exit code.
int timePageStep(const QString& connection, const QString& table, int p, bool back);

// Load data, every page forward one at a time and back, then prints the peak resident memory (kB).
int walkedPeak(const QString& connection, const QString& table);

// Starts Load data on a thread of its own, stops it through its interrupt token `afterMs`
// milliseconds later (the count of a big table is then under way), and prints the milliseconds
// from the stop to the end of the load. Exit code 4 when the load ended before the stop.
int timeStopDuringLoad(const QString& connection, const QString& table, int afterMs);

} // namespace qb::bench
