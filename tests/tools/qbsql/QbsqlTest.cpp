// qbsql's exit status on every backend: 0 when the whole script succeeded, 1 when a statement or
// the commit failed (the script still runs to its end), 2 when it could not run at all.
#include "support/BackendFixture.h"
#include "support/BackendsOdbc.h"

#include <QProcess>

namespace qbtest {
namespace {

struct Outcome {
    int exitCode = -1;
    QString out;
    QString err;
};

Outcome qbsql(const QStringList& arguments)
{
    QProcess process;
    process.start(QStringLiteral(QBSQL_PATH), arguments);
    Outcome outcome;
    if (!process.waitForFinished(120000) || process.exitStatus() != QProcess::NormalExit)
        return outcome;
    outcome.exitCode = process.exitCode();
    outcome.out = QString::fromUtf8(process.readAllStandardOutput());
    outcome.err = QString::fromUtf8(process.readAllStandardError());
    return outcome;
}

class QbsqlTest : public BackendFixture {
protected:
    Outcome runScript(const QString& script) { return qbsql({"-constr", backend->connectionString(), "-cmd", script}); }
};

TEST_P(QbsqlTest, AScriptThatSucceedsExitsWithZero)
{
    makeNumberedTable("t", 2);
    const Outcome o = runScript("insert into t values (3, 'three'); select name from t where id = 3;");
    EXPECT_EQ(o.exitCode, 0) << o.err.toStdString();
    EXPECT_TRUE(o.out.contains("three")) << o.out.toStdString();
    EXPECT_TRUE(o.out.contains("Selected 1 rows from 1")) << o.out.toStdString();
}

TEST_P(QbsqlTest, AFailedStatementExitsWithOneAfterTheRestOfTheScriptRan)
{
    // Prior to the fix, the error line was printed and the exit status said success.
    const Outcome o = runScript("select * from no_such_table; select 42 as answer;");
    EXPECT_EQ(o.exitCode, 1) << o.err.toStdString();
    EXPECT_TRUE(o.out.contains("no_such_table")) << o.out.toStdString();
    EXPECT_TRUE(o.out.contains("Selected 1 rows from 1")) << "the statement after the failed one ran";
}

TEST_P(QbsqlTest, AStatementThatFailsOnALaterRowExitsWithOne)
{
    // abs() of the smallest 64-bit integer overflows on the third row. Where the driver reads
    // the whole result when executing, this is an error line; where rows are read one by one
    // (our SQLite provider), the table ends quietly after two rows, and only the exit status
    // tells that the statement failed.
    backend->exec("CREATE TABLE big (a BIGINT)");
    backend->exec("INSERT INTO big VALUES (1)");
    backend->exec("INSERT INTO big VALUES (2)");
    backend->exec("INSERT INTO big VALUES (-9223372036854775808)");
    const Outcome o = runScript("select abs(a) as v from big;");
    EXPECT_EQ(o.exitCode, 1) << o.out.toStdString();
    EXPECT_FALSE(o.out.contains("Selected 3 rows")) << o.out.toStdString();
}

TEST_P(QbsqlTest, AScriptThatCannotRunExitsWithTwo)
{
    EXPECT_EQ(qbsql({}).exitCode, 2);
    EXPECT_EQ(qbsql({"-constr", backend->connectionString()}).exitCode, 2) << "no script";
    EXPECT_EQ(qbsql({"-constr", backend->connectionString(), "-sql", scratch.qpath() + "/missing.sql"}).exitCode, 2);
    const Outcome noDatabase =
        qbsql({"-constr", QStringLiteral("Provider=SQLite;Data Source=") + scratch.qpath() + "/missing.db", "-cmd", "select 1;"});
    EXPECT_EQ(noDatabase.exitCode, 2);
    EXPECT_FALSE(noDatabase.err.isEmpty());
}

INSTANTIATE_TEST_SUITE_P(Backends, QbsqlTest, ::testing::ValuesIn(backendNames()), backendTestName);

TEST(QbsqlPostgresTest, AFailedCommitExitsWithOne)
{
    // The deferred constraint is checked at the commit that ends the run's transaction.
    TempDir scratch;
    auto backend = makeOdbcBackend("postgres", scratch);
    backend->exec("CREATE TABLE parent (id INTEGER PRIMARY KEY)");
    backend->exec("CREATE TABLE child (parent INTEGER REFERENCES parent (id) DEFERRABLE INITIALLY DEFERRED)");
    const Outcome o = qbsql({"-constr", backend->connectionString(), "-cmd", "insert into child values (5);"});
    EXPECT_EQ(o.exitCode, 1) << o.out.toStdString();
    EXPECT_TRUE(o.out.contains("SQL Query was accomplished")) << "the statement itself succeeded";
    EXPECT_TRUE(o.err.contains("foreign key")) << o.err.toStdString();
}

} // namespace
} // namespace qbtest
