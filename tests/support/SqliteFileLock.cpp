#include "support/SqliteFileLock.h"

#include <sqlite3.h>
#include <stdexcept>

namespace qbtest {

SqliteFileLock::SqliteFileLock(const QString& file)
{
    if (sqlite3_open_v2(file.toUtf8().constData(), &m_db, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK ||
        sqlite3_exec(m_db, "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr) != SQLITE_OK) {
        const std::string why = m_db ? sqlite3_errmsg(m_db) : "out of memory";
        sqlite3_close_v2(m_db);
        throw std::runtime_error("cannot lock " + file.toStdString() + ": " + why);
    }
    m_held = true;
}

SqliteFileLock::~SqliteFileLock()
{
    release();
    sqlite3_close_v2(m_db);
}

void SqliteFileLock::release()
{
    if (m_held)
        sqlite3_exec(m_db, "COMMIT", nullptr, nullptr, nullptr);
    m_held = false;
}

} // namespace qbtest
