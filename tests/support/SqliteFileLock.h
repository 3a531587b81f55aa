#pragma once
// An exclusive lock on an SQLite database file, held as another program writing to it would hold
// it: every statement of another connection waits in its busy handler until release(). A test
// uses it for a step that cannot end before the test lets it, whatever the timing.
#include <QString>

struct sqlite3;

namespace qbtest {

class SqliteFileLock {
public:
    // Takes the lock; throws std::runtime_error when it cannot.
    explicit SqliteFileLock(const QString& file);
    ~SqliteFileLock();
    SqliteFileLock(const SqliteFileLock&) = delete;
    SqliteFileLock& operator=(const SqliteFileLock&) = delete;

    void release();

private:
    sqlite3* m_db = nullptr;
    bool m_held = false;
};

} // namespace qbtest
