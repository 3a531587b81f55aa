// Stopping a run on the console's worker thread, from another thread as the window does:
// between rows of a large result, inside a statement that would run for ever, and by stopping
// the worker itself.
#include "ScriptBackendFixture.h"
#include "console/script/ScriptJob.h"

#include "common/WorkerThread.h"
#include "platform/Event.h"

#include <chrono>
#include <thread>

namespace {

using namespace std::chrono_literals;
using qb::console::scriptJob;
using Append = qbtest::RecordingResultWriter::Append;

class ScriptStopTest : public qbtest::ScriptBackendTest {
protected:
    void start(const QString& script) { worker.start(scriptJob(makeRun(), stop, script)); }

    // A statement that runs until it is interrupted. The SQLite ODBC driver cannot cancel a
    // running statement (the provider stops it between rows only), so there it is one that
    // ends by itself after a few seconds: stopped or not, the outcome reads the same.
    QString longStatement() const
    {
        if (GetParam() == "postgres")
            return QStringLiteral("select pg_sleep(3600)");
        if (GetParam() == "sqliteodbc")
            return QStringLiteral("with recursive c(i) as (select 1 union all select i + 1 from c where i < 3000000) "
                                  "select count(*) from c");
        return QStringLiteral("with recursive c(i) as (select 1 union all select i + 1 from c) select count(*) from c");
    }

    // Runs the long statement, then "select 1"; returns once the long one is under way.
    void startLongStatement()
    {
        writer->onAppend = [this, statement = longStatement()](const QString& text) {
            if (text.startsWith(QLatin1Char(' ') + statement))
                longStatementEchoed.set();
        };
        start(longStatement() + QStringLiteral(";\nselect 1;"));
        ASSERT_TRUE(longStatementEchoed.wait(60s));
        std::this_thread::sleep_for(300ms); // let it get going in the database
    }
    // The window's text when both statements of startLongStatement() were stopped.
    QString longStatementStopped() const
    {
        return "SQL>  " + longStatement() + "\r\nExecution has been interrupted\r\n"
                                            "SQL>  select 1\r\nExecution has been interrupted\r\n";
    }

    qb::Event longStatementEchoed; // before the worker, whose job may still signal it
    qb::WorkerThread worker;
};

TEST_P(ScriptStopTest, StopDuringALargeResultEndsTheTableAfterTheCurrentRow)
{
    makeNumberedTable(QStringLiteral("numbers"), 10000);
    qb::Event reached;
    qb::Event resume;
    writer->onPlainText = [&](const QString& line) {
        if (line.startsWith(QStringLiteral("100 "))) {
            reached.set();
            resume.wait(); // the window is busy with this row while the user presses Stop
        }
    };
    start(QStringLiteral("select id from numbers order by id;\nselect 1;\nCOMMIT;\nselect 2;"));
    ASSERT_TRUE(reached.wait(60s));
    stop->request();
    resume.set();
    ASSERT_TRUE(worker.waitForEnd(60s));

    EXPECT_EQ(writer->texts(Append::Plain).size(), 100);
    const QString text = writer->text();
    EXPECT_TRUE(text.endsWith(QStringLiteral("100                  | \r\n"
                                             "Execution has been interrupted\r\n"
                                             "Selected 100 rows from 10000\n\n"
                                             "SQL>  select 1\r\nExecution has been interrupted\r\n"
                                             "SQL>  COMMIT;\r\n"
                                             "SQL>  select 2\r\nExecution has been interrupted\r\n")))
        << text.right(400).toStdString();
    EXPECT_EQ(writer->events.first(), "started");
    EXPECT_EQ(writer->events.last(), "finished");
}

TEST_P(ScriptStopTest, StopInterruptsAStatementStillExecuting)
{
    ASSERT_NO_FATAL_FAILURE(startLongStatement());
    stop->request();
    ASSERT_TRUE(worker.waitForEnd(60s)) << "the statement was not interrupted";
    EXPECT_EQ(writer->text(), longStatementStopped());
}

TEST_P(ScriptStopTest, StoppingTheWorkerStopsTheRunInTime)
{
    ASSERT_NO_FATAL_FAILURE(startLongStatement());
    EXPECT_TRUE(worker.stop(30s)) << "the run was given up on";
    EXPECT_EQ(writer->text(), longStatementStopped());
}

TEST_P(ScriptStopTest, WorkerStoppedWhileTheWindowIsBusyStopsTheRestOfTheScript)
{
    makeNumberedTable(QStringLiteral("numbers"), 3);
    qb::Event started;
    qb::Event resume;
    bool first = true;
    writer->onAppend = [&](const QString& text) {
        if (text == u"SQL> " && first) {
            first = false;
            started.set();
            resume.wait();
        }
    };
    start(QStringLiteral("select id from numbers;\nselect 1;"));
    ASSERT_TRUE(started.wait(60s));
    std::thread stopper([&] { worker.stop(60s); });
    // The worker's stop waits for the job, which waits for this: let it go once the kill is out.
    while (!stop->isSet())
        std::this_thread::sleep_for(1ms);
    resume.set();
    stopper.join();
    EXPECT_EQ(writer->text(), "SQL>  select id from numbers\r\nExecution has been interrupted\r\n"
                              "SQL>  select 1\r\nExecution has been interrupted\r\n");
}

INSTANTIATE_TEST_SUITE_P(Backends, ScriptStopTest, ::testing::ValuesIn(qbtest::backendNames()), qbtest::backendTestName);

} // namespace
