// A stop that lands inside one long step of the SQLite provider, made deterministic by a SQL
// function that stops the token from inside the step: the count after it is a single opcode,
// which only sqlite3_interrupt breaks off, and that interrupt must never reach a statement of
// somebody else.
#include "dataaccess/InterruptToken.h"
#include "dataaccess/providers/sqlite/SqliteDatabase.h"
#include "dataaccess/providers/sqlite/SqliteOpenOptions.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <sqlite3.h>

namespace qb::data::sqlite {
namespace {

class SqliteInterruptTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        SqliteOpenOptions options;
        options.path = scratch.qpath() + QStringLiteral("/stop.db");
        sqlite3* create = nullptr;
        ASSERT_EQ(sqlite3_open(options.path.toUtf8().constData(), &create), SQLITE_OK);
        ASSERT_EQ(sqlite3_exec(create,
                               "create table k (i integer);"
                               "with recursive c(i) as (select 1 union all select i + 1 from c where i < 5000) "
                               "insert into k select i from c;",
                               nullptr, nullptr, nullptr),
                  SQLITE_OK);
        sqlite3_close(create);
        db = std::make_unique<SqliteDatabase>(options);
        ASSERT_EQ(sqlite3_create_function(db->handle(), "stop_now", 0, SQLITE_UTF8, &token, &stopNow, nullptr, nullptr),
                  SQLITE_OK);
    }
    void TearDown() override
    {
        for (sqlite3_stmt* s : statements)
            sqlite3_finalize(s);
    }

    static void stopNow(sqlite3_context* context, int, sqlite3_value**)
    {
        static_cast<InterruptToken*>(sqlite3_user_data(context))->interrupt();
        sqlite3_result_int(context, 0);
    }
    sqlite3_stmt* prepare(const char* sql)
    {
        sqlite3_stmt* s = nullptr;
        EXPECT_EQ(sqlite3_prepare_v2(db->handle(), sql, -1, &s, nullptr), SQLITE_OK);
        statements.push_back(s);
        return s;
    }
    int step(sqlite3_stmt* s)
    {
        SqliteDatabase::Hold hold(*db);
        return db->step(s);
    }

    qbtest::TempDir scratch;
    InterruptToken token;
    std::unique_ptr<SqliteDatabase> db;
    std::vector<sqlite3_stmt*> statements;
};

TEST_F(SqliteInterruptTest, AStopInsideAStepBreaksOffTheCountThatFollowsInTheSameStep)
{
    sqlite3_stmt* count = prepare("select stop_now() + (select count(*) from k)");
    {
        InterruptToken::Armed armed(token);
        EXPECT_EQ(step(count), SQLITE_INTERRUPT);
    }
    sqlite3_reset(count);
    // Nothing is left of the stop for the connection's next statement.
    EXPECT_EQ(step(prepare("select count(*) from k")), SQLITE_ROW);
}

TEST_F(SqliteInterruptTest, AStopNeverFailsTheStatementsOthersHaveOpenOnTheConnection)
{
    sqlite3_stmt* open = prepare("select i from k");
    ASSERT_EQ(step(open), SQLITE_ROW);
    {
        InterruptToken::Armed armed(token);
        sqlite3_stmt* count = prepare("select stop_now() + (select count(*) from k)");
        step(count); // may end or be stopped at a progress poll; either is right for this call
        sqlite3_reset(count);
    }
    // With the connection-wide interrupt sent here, both would fail until every statement ended.
    EXPECT_EQ(step(open), SQLITE_ROW);
    EXPECT_EQ(step(prepare("select 1")), SQLITE_ROW);
}

} // namespace
} // namespace qb::data::sqlite
