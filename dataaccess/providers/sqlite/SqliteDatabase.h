#pragma once
// One open SQLite connection, shared by the data source, its sessions and their rowsets, so the
// handle lives as long as anything still reads from it.
//
// Interruption polls the interrupt token armed on the stepping thread (InterruptToken.h) from a
// progress handler and from the busy handler, instead of using sqlite3_interrupt: that one stays in
// force while any statement of the connection is pending, and the table data keeps its statement
// pending between pages, so one stop would break every later statement, also other threads'.
//
// The connection is opened serialized, and may be used by two threads at once (the loader and the
// GUI thread's page reads). Each call whose error text is read holds the connection's mutex over
// the call and the reading (Hold), so the message is that call's, never the other thread's.
#include "dataaccess/Provider.h"

#include <QString>

struct sqlite3;
struct sqlite3_mutex;
struct sqlite3_stmt;

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

    // Holds the connection's mutex (recursive: the calls made under it take it again).
    class Hold {
    public:
        explicit Hold(const SqliteDatabase& db);
        ~Hold();
        Hold(const Hold&) = delete;
        Hold& operator=(const Hold&) = delete;

    private:
        sqlite3_mutex* m_mutex;
    };

    // The error of a failed call with result code rc, with the connection's message. The caller
    // holds the connection (Hold) since the call.
    ProviderError error(int rc) const;
    // Runs statements that return no rows (transaction control); throws ProviderError.
    void exec(const char* sql);
    // sqlite3_step, broken off by a stop of the calling thread's token also inside one long
    // step (a count answered from the b-tree is a single opcode, which the progress handler never
    // sees). The caller holds the connection.
    int step(sqlite3_stmt* statement);

private:
    QString m_path;
    sqlite3* m_db = nullptr;
};

// The result code's HRESULT.
HRESULT hresultOf(int rc);

} // namespace qb::data::sqlite
