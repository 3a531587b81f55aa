#pragma once
// A small SQLite database file made directly through SQLite, not through the code under test.
#include <QString>
#include <gtest/gtest.h>
#include <sqlite3.h>

namespace qbtest {

inline void makeSqliteFile(const QString& path)
{
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(path.toUtf8().constData(), &db), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(db, "CREATE TABLE t(x)", nullptr, nullptr, nullptr), SQLITE_OK);
    sqlite3_close(db);
}

} // namespace qbtest
