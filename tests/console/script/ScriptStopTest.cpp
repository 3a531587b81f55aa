// Stopping a run on the console's worker thread, from another thread as the window does, at every
// point of a statement's life: before it reaches the provider, between its execution and its
// first fetch, during a long step, between rows; and by stopping the worker itself.
#include "ScriptBackendFixture.h"
#include "StopPointSession.h"
#include "console/script/ScriptJob.h"

#include "common/WorkerThread.h"
#include "dataaccess/InterruptToken.h"
#include "platform/Event.h"
#include "support/SqliteFileLock.h"

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

namespace {

using namespace std::chrono_literals;
using qb::console::scriptJob;
using qb::data::InterruptToken;
using Append = qbtest::RecordingResultWriter::Append;
using qbtest::StopPointSession;
using Point = StopPointSession::Point;

// Blocks the calling thread until the token is set, woken the way a driver call in flight is.
bool waitForStop(InterruptToken& token, std::chrono::milliseconds timeout)
{
    struct Wake : InterruptToken::Cancellable {
        std::mutex mutex;
        std::condition_variable changed;
        bool woken = false;
        void cancel() override
        {
            std::lock_guard lock(mutex);
            woken = true;
            changed.notify_all();
        }
    } wake;
    InterruptToken::Armed armed(token);
    try {
        InterruptToken::DriverCall call(wake);
        std::unique_lock lock(wake.mutex);
        return wake.changed.wait_for(lock, timeout, [&] { return wake.woken; });
    } catch (const qb::data::ProviderError&) {
        return true; // set already
    }
}

class ScriptStopTest : public qbtest::ScriptBackendTest {
protected:
    void start(const QString& script) { worker.start(scriptJob(makeRun(), stop, script)); }

    // A statement that runs until it is interrupted. The SQLite ODBC driver cannot cancel a
    // running statement (the provider refuses its next call instead), so there it is one that
    // waits for a lock this test holds until the stop is out (startLongStatement).
    QString longStatement() const
    {
        if (GetParam() == "postgres")
            return QStringLiteral("select pg_sleep(3600)");
        if (GetParam() == "sqliteodbc")
            return QStringLiteral("select count(*) from sqlite_master");
        return QStringLiteral("with recursive c(i) as (select 1 union all select i + 1 from c) select count(*) from c");
    }
    // The window's text when the long statement and the "select 1" after it were stopped.
    QString longStatementStopped() const
    {
        return "SQL>  " + longStatement() + "\r\nExecution has been interrupted\r\n"
                                            "SQL>  select 1\r\nExecution has been interrupted\r\n";
    }

    // The run's session wrapped, so a Stop lands at the chosen point (a fresh run: stop and window).
    std::shared_ptr<StopPointSession> stopAt(Point point, int fetch = 0)
    {
        if (!plain)
            plain = session;
        stop = std::make_shared<qb::console::StopSignal>();
        writer = std::make_shared<qbtest::RecordingResultWriter>();
        auto points = std::make_shared<StopPointSession>(
            plain, [s = stop] { s->request(); }, [s = stop] { return s->isSet(); });
        points->stopAt(point, fetch);
        session = points;
        return points;
    }
    // Calls that began after the Stop and were not refused.
    static QStringList servedAfterStop(const StopPointSession& points)
    {
        QStringList served;
        for (const QString& call : points.callsAfterStop())
            if (!call.endsWith(u": refused"))
                served << call;
        return served;
    }

    // Starts the long statement, then "select 1"; returns once the provider's execute of the long
    // one has been entered. PostgreSQL ignores a cancel that comes before the server runs the
    // query, so there it also waits until the server reports it asleep (a state polled, not a
    // delay guessed).
    std::shared_ptr<StopPointSession> startLongStatement()
    {
        auto points = stopAt(Point::DuringExecute);
        if (GetParam() == "sqliteodbc") {
            lock = std::make_unique<qbtest::SqliteFileLock>(backend->databaseFile());
            unlocker = std::thread([this, stop = stop] {
                EXPECT_TRUE(waitForStop(stop->token(), 60s));
                lock->release();
            });
        }
        start(longStatement() + QStringLiteral(";\nselect 1;"));
        EXPECT_TRUE(points->executeEntered.wait(60s));
        if (GetParam() == "postgres") {
            const auto deadline = std::chrono::steady_clock::now() + 60s;
            while (numberSeenElsewhere(QStringLiteral("select count(*) from pg_stat_activity where wait_event = 'PgSleep' "
                                                      "and datname = current_database()")) < 1) {
                if (std::chrono::steady_clock::now() > deadline) {
                    ADD_FAILURE() << "the long statement never ran";
                    break;
                }
                std::this_thread::yield();
            }
        }
        return points;
    }
    // The long statement was refused, and nothing ran after it.
    void expectLongStatementStopped(const StopPointSession& points)
    {
        EXPECT_EQ(writer->text(), longStatementStopped());
        EXPECT_EQ(servedAfterStop(points), QStringList());
        if (GetParam() == "postgres") {
            EXPECT_EQ(points.callInFlight(), u"execute: refused") << "cancelled in the server";
        } else {
            // The Stop landed in the call or just before it. The SQLite ODBC driver cannot cancel
            // from another thread: its step runs to its end (here once the lock goes, after the
            // stop), and the provider refuses to go on from there.
            EXPECT_TRUE(points.callInFlight() == u"execute: refused" || points.callsAfterStop() == QStringList{"execute: refused"})
                << points.callInFlight().toStdString();
        }
    }

    void TearDown() override
    {
        if (unlocker.joinable())
            unlocker.join();
        ScriptBackendTest::TearDown();
    }

    std::shared_ptr<qb::data::Session> plain;
    std::unique_ptr<qbtest::SqliteFileLock> lock;
    std::thread unlocker; // lets the locked statement go once the stop is out
    qb::WorkerThread worker;
};

TEST_P(ScriptStopTest, AStopAtAnyPointOfAStatementsLifeEndsTheRunAndNothingIsFetchedAfterIt)
{
    // Prior to the fix, a Stop that came after the run's poll and before the provider's call was
    // lost: the statement ran (SQLite cleared its flag as the statement started; ODBC interrupted
    // only a statement already in a driver call) and rows were fetched after the Stop.
    makeNumberedTable(QStringLiteral("numbers"), 10);
    backend->exec(QStringLiteral("CREATE TABLE t (id INTEGER)"));
    struct Case {
        const char* name;
        Point point;
        int fetch;
    };
    for (const Case& c : {Case{"before execute", Point::BeforeExecute, 0},
                          Case{"after execute", Point::AfterExecute, 0},
                          Case{"before the first fetch", Point::BeforeFetch, 1},
                          Case{"between rows", Point::BeforeFetch, 4}}) {
        SCOPED_TRACE(c.name);
        auto points = stopAt(c.point, c.fetch);
        start(QStringLiteral("select id from numbers order by id;\ninsert into t values (1);"));
        ASSERT_TRUE(worker.waitForEnd(60s));
        EXPECT_EQ(servedAfterStop(*points), QStringList());
        const QString text = writer->text();
        const QString insertStopped = QStringLiteral("SQL>  insert into t values (1)\r\nExecution has been interrupted\r\n");
        EXPECT_TRUE(text.startsWith(QStringLiteral("SQL>  select id from numbers order by id\r\n"))) << text.toStdString();
        EXPECT_TRUE(text.endsWith(insertStopped)) << text.toStdString();
        EXPECT_TRUE(text.chopped(insertStopped.size()).contains(u"Execution has been interrupted\r\n")) << text.toStdString();
        EXPECT_EQ(rowsSeenElsewhere(QStringLiteral("t")), 0);
    }
}

TEST_P(ScriptStopTest, AStopDuringALongStepCancelsItAndEndsTheRun)
{
    auto points = startLongStatement();
    stop->request();
    ASSERT_TRUE(worker.waitForEnd(60s)) << "the statement was not interrupted";
    expectLongStatementStopped(*points);
}

TEST_P(ScriptStopTest, StoppingTheWorkerDuringALongStepStopsTheRunInTime)
{
    auto points = startLongStatement();
    EXPECT_TRUE(worker.stop(30s)) << "the run was given up on";
    expectLongStatementStopped(*points);
}

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

TEST_P(ScriptStopTest, WorkerStoppedWhileTheWindowIsBusyStopsTheRestOfTheScript)
{
    makeNumberedTable(QStringLiteral("numbers"), 3);
    bool first = true;
    writer->onAppend = [&](const QString& text) {
        if (text == u"SQL> " && first) {
            first = false;
            // The window is busy with the echo while the worker is stopped: the run goes on once
            // the stop is out.
            EXPECT_TRUE(waitForStop(stop->token(), 60s));
        }
    };
    start(QStringLiteral("select id from numbers;\nselect 1;"));
    EXPECT_TRUE(worker.stop(60s));
    EXPECT_EQ(writer->text(), "SQL>  select id from numbers\r\nExecution has been interrupted\r\n"
                              "SQL>  select 1\r\nExecution has been interrupted\r\n");
}

INSTANTIATE_TEST_SUITE_P(Backends, ScriptStopTest, ::testing::ValuesIn(qbtest::backendNames()), qbtest::backendTestName);

} // namespace
