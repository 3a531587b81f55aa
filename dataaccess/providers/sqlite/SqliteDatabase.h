#pragma once
// One open SQLite connection, shared by the data source, its sessions and their rowsets, so the
// handle lives as long as anything still reads from it.
//
// Interruption uses our own flag, polled by a progress handler and by the busy handler, instead of
// sqlite3_interrupt: sqlite3_interrupt stays in force while any statement of the connection is
// pending, and the table data keeps its statement pending between pages, so one stop would break
// every later statement. The flag is cleared whenever a statement starts anew.
#include "dataaccess/Provider.h"

#include <QString>
#include <atomic>

struct sqlite3;

namespace qb::data::sqlite {

struct SqliteOpenOptions;

class SqliteDatabase {
public:
    // Opens the file; throws ProviderError naming the file. A missing file is an error, never
    // created.
    explicit SqliteDatabase(const SqliteOpenOptions& options);
    ~SqliteDatabase();
    SqliteDatabase(const SqliteDatabase&) = delete;
    SqliteDatabase& operator=(const SqliteDatabase&) = delete;

    sqlite3* handle() const { return m_db; }
    const QString& path() const { return m_path; }

    void interrupt() { m_interrupted.store(true, std::memory_order_relaxed); }
    void clearInterrupt() { m_interrupted.store(false, std::memory_order_relaxed); }
    bool interrupted() const { return m_interrupted.load(std::memory_order_relaxed); }

    // The error of a failed call with result code rc, with the connection's message.
    ProviderError error(int rc) const;
    // Runs statements that return no rows (transaction control); throws ProviderError.
    void exec(const char* sql);

private:
    QString m_path;
    sqlite3* m_db = nullptr;
    std::atomic<bool> m_interrupted{false};
};

// The result code's HRESULT.
HRESULT hresultOf(int rc);

} // namespace qb::data::sqlite
