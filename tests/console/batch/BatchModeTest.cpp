// tessmar -batch on every backend: the exit status (0 when the whole script succeeded, 1 when a
// statement or the commit failed or Ctrl+C stopped it, 2 when it could not run at all), and
// Ctrl+C during a long statement.
#include "support/BackendFixture.h"
#include "support/BackendsOdbc.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QProcess>
#include <csignal>

namespace qbtest {
namespace {

struct Outcome {
    int exitCode = -1;
    QString out;
    QString err;
};

Outcome batch(const QStringList& arguments)
{
    QProcess process;
    process.start(QStringLiteral(TESSMAR_PATH), QStringList{QStringLiteral("-batch")} + arguments);
    Outcome outcome;
    if (!process.waitForFinished(120000) || process.exitStatus() != QProcess::NormalExit)
        return outcome;
    outcome.exitCode = process.exitCode();
    outcome.out = QString::fromUtf8(process.readAllStandardOutput());
    outcome.err = QString::fromUtf8(process.readAllStandardError());
    return outcome;
}

class BatchModeTest : public BackendFixture {
protected:
    Outcome runScript(const QString& script) { return batch({"-constr", backend->connectionString(), "-cmd", script}); }
};

TEST_P(BatchModeTest, AScriptThatSucceedsExitsWithZero)
{
    makeNumberedTable("t", 2);
    const Outcome o = runScript("insert into t values (3, 'three'); select name from t where id = 3;");
    EXPECT_EQ(o.exitCode, 0) << o.err.toStdString();
    EXPECT_TRUE(o.out.contains("three")) << o.out.toStdString();
    EXPECT_TRUE(o.out.contains("Selected 1 rows from 1")) << o.out.toStdString();
    EXPECT_FALSE(o.out.contains(u'\r')) << "LF line ends only";
}

TEST_P(BatchModeTest, RowsAreWrittenAsUtf8WithEveryLineBreakAsOneLf)
{
    // ASCII rows take a path of their own; a row with other characters, and line breaks inside
    // values (CR LF, a lone CR, LF), must come out as the window shows them.
    const Outcome o = runScript(QString::fromUtf8("select 'plain' as a; select 'Grüße ☃ 𝄞' as a; "
                                                  "select 'x' || char(13) || char(10) || 'y' || char(13) || 'z' || char(10) || 'w' as a;")
                                    .replace(QStringLiteral("char("), backend->name() == "postgres" ? QStringLiteral("chr(")
                                                                                                     : QStringLiteral("char(")));
    EXPECT_EQ(o.exitCode, 0) << o.err.toStdString();
    const QByteArray out = o.out.toUtf8();
    EXPECT_TRUE(out.contains("\nplain ")) << out.toStdString();
    EXPECT_TRUE(out.contains(QString::fromUtf8("\nGrüße ☃ 𝄞 ").toUtf8())) << out.toStdString();
    EXPECT_TRUE(out.contains("\nx\ny\nz\nw ")) << out.toStdString();
    EXPECT_FALSE(out.contains('\r'));
}

TEST_P(BatchModeTest, AFailedStatementExitsWithOneAfterTheRestOfTheScriptRan)
{
    // Prior to the fix, the error line was printed and the exit status said success.
    const Outcome o = runScript("select * from no_such_table; select 42 as answer;");
    EXPECT_EQ(o.exitCode, 1) << o.err.toStdString();
    EXPECT_TRUE(o.out.contains("no_such_table")) << o.out.toStdString();
    EXPECT_TRUE(o.out.contains("Selected 1 rows from 1")) << "the statement after the failed one ran";
}

TEST_P(BatchModeTest, AStatementThatFailsOnALaterRowExitsWithOne)
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

TEST_P(BatchModeTest, AScriptThatCannotRunExitsWithTwo)
{
    const Outcome none = batch({});
    EXPECT_EQ(none.exitCode, 2);
    EXPECT_TRUE(none.err.startsWith("usage: tessmar -batch")) << none.err.toStdString();
    EXPECT_EQ(batch({"-constr", backend->connectionString()}).exitCode, 2) << "no script";
    EXPECT_EQ(batch({"-cmd", "select 1;"}).exitCode, 2) << "no connection";
    EXPECT_EQ(batch({"-constr", backend->connectionString(), "-cmd", "select 1;", "-colour"}).exitCode, 2)
        << "an unknown option";
    const Outcome missingFile = batch({"-constr", backend->connectionString(), "-sql", scratch.qpath() + "/missing.sql"});
    EXPECT_EQ(missingFile.exitCode, 2);
    EXPECT_TRUE(missingFile.err.contains("missing.sql")) << missingFile.err.toStdString();
    const Outcome noDatabase =
        batch({"-constr", QStringLiteral("Provider=SQLite;Data Source=") + scratch.qpath() + "/missing.db", "-cmd", "select 1;"});
    EXPECT_EQ(noDatabase.exitCode, 2);
    EXPECT_FALSE(noDatabase.err.isEmpty());
}

TEST_P(BatchModeTest, AScriptFileRunsWithTheWindowsOwnOptionsAccepted)
{
    makeNumberedTable("t", 3);
    const QString path = scratch.qpath() + "/count.sql";
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("-- how many\r\nselect count(*) as n\r\nfrom t;\r\n");
    file.close();
    const Outcome o = batch({"-constr", backend->connectionString(), "-sql", path, "-execute", "-dontsavelayout"});
    EXPECT_EQ(o.exitCode, 0) << o.err.toStdString();
    EXPECT_TRUE(o.out.startsWith("SQL>  select count(*) as n from t\n")) << o.out.toStdString();
    EXPECT_TRUE(o.out.contains("Selected 1 rows from 1")) << o.out.toStdString();
}

// The SQLite ODBC driver cannot cancel a statement from another thread (the provider lets the
// call run to its end and refuses the next one; the script stop suite covers that), so a
// statement that never ends is only stopped on the other two.
class BatchInterruptTest : public BackendFixture {};

TEST_P(BatchInterruptTest, CtrlCStopsALongStatementAndExitsWithOne)
{
    // A statement that never ends on its own: only the interruption ends it.
    QProcess process;
    process.start(QStringLiteral(TESSMAR_PATH),
                  {"-batch", "-constr", backend->connectionString(), "-cmd",
                   "with recursive c(x) as (select 1 union all select x + 1 from c) select count(*) from c; select 1;"});
    ASSERT_TRUE(process.waitForStarted());
    QByteArray out;
    QDeadlineTimer deadline(60000);
    while (!out.contains("SQL> ") && !deadline.hasExpired()) {
        process.waitForReadyRead(100);
        out += process.readAllStandardOutput();
    }
    ASSERT_TRUE(out.contains("SQL> ")) << "the statement was echoed before it ran";
    ::kill(pid_t(process.processId()), SIGINT);
    ASSERT_TRUE(process.waitForFinished(60000));
    out += process.readAllStandardOutput();
    EXPECT_EQ(process.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(process.exitCode(), 1);
    EXPECT_TRUE(out.contains("Execution has been interrupted")) << out.toStdString();
    // The statement after it is echoed and not run, as after Stop.
    EXPECT_TRUE(out.contains("SQL>  select 1\nExecution has been interrupted")) << out.toStdString();
}

INSTANTIATE_TEST_SUITE_P(Backends, BatchModeTest, ::testing::ValuesIn(backendNames()), backendTestName);
INSTANTIATE_TEST_SUITE_P(Backends, BatchInterruptTest, ::testing::Values("sqlite", "postgres"), backendTestName);

TEST(BatchModePostgresTest, AFailedCommitExitsWithOne)
{
    // The deferred constraint is checked at the commit that ends the run's transaction.
    TempDir scratch;
    auto backend = makeOdbcBackend("postgres", scratch);
    backend->exec("CREATE TABLE parent (id INTEGER PRIMARY KEY)");
    backend->exec("CREATE TABLE child (parent INTEGER REFERENCES parent (id) DEFERRABLE INITIALLY DEFERRED)");
    const Outcome o = batch({"-constr", backend->connectionString(), "-cmd", "insert into child values (5);"});
    EXPECT_EQ(o.exitCode, 1) << o.out.toStdString();
    EXPECT_TRUE(o.out.contains("SQL Query was accomplished")) << "the statement itself succeeded";
    EXPECT_TRUE(o.err.contains("foreign key")) << o.err.toStdString();
}

} // namespace
} // namespace qbtest
