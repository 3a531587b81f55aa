// The run over a session that answers as the test says: echo, outcome lines, the transaction
// around the run, stop between statements.
#include "FakeRowset.h"
#include "FakeSession.h"
#include "RecordingResultWriter.h"

#include "console/script/ScriptRun.h"
#include "support/QStringPrinting.h"

#include <gtest/gtest.h>

namespace {

using namespace qb::data;
using qb::console::ScriptRun;
using qb::console::StopSignal;
using qbtest::FakeSession;
using Append = qbtest::RecordingResultWriter::Append;

class ScriptRunTest : public ::testing::Test {
protected:
    bool run(const QString& script, bool rowsShownDuringExecution = true)
    {
        return ScriptRun(session, writer, writer, stop, {rowsShownDuringExecution}).run(script);
    }

    std::shared_ptr<FakeSession> session = std::make_shared<FakeSession>();
    std::shared_ptr<qbtest::RecordingResultWriter> writer = std::make_shared<qbtest::RecordingResultWriter>();
    std::shared_ptr<StopSignal> stop = std::make_shared<StopSignal>();
};

std::unique_ptr<Rowset> oneRow()
{
    return std::make_unique<qbtest::FakeRowset>(std::vector<ColumnInfo>{{QStringLiteral("n"), 1, 1, DBTYPE_STR}},
                                                std::vector<MemoryRowset::Row>{{QStringLiteral("x")}});
}

TEST_F(ScriptRunTest, EchoesEveryStatementAndExecutesOnlyOrdinaryOnes)
{
    run(QStringLiteral("delete from t;\nCOMMIT;\nRollback;\nstart  transaction;\n;"));
    EXPECT_EQ(writer->text(), "SQL>  delete from t\r\nSQL Query was accomplished"
                              "SQL>  COMMIT;\r\n"
                              "SQL>  Rollback;\r\n"
                              "SQL>  start  transaction;\r\n"
                              "SQL>  \r\nSQL Query was accomplished");
    EXPECT_EQ(session->calls, (QStringList{"start", "execute delete from t", "execute ", "commit"}));
    // Echoes in the other-text category, in two appends each.
    EXPECT_EQ(writer->appends[0].kind, Append::Other);
    EXPECT_EQ(writer->appends[0].text, "SQL> ");
    EXPECT_EQ(writer->appends[2].kind, Append::Plain);
}

TEST_F(ScriptRunTest, RowsetIsPrintedOnlyWhenRowsAffectedWasReported)
{
    session->answer = [](const QString& sql, int64_t* rowsAffected) {
        if (sql == u"reported")
            *rowsAffected = -1;
        return oneRow();
    };
    run(QStringLiteral("silent; reported;"));
    EXPECT_EQ(writer->text(), "SQL>  silent\r\nSQL Query was accomplished"
                              "SQL>  reported\r\nn | \r\nx | \r\nSelected 1 rows from 1\n\n");
}

TEST_F(ScriptRunTest, FailedStatementWritesAnErrorLineAndTheRunGoesOn)
{
    session->answer = [](const QString& sql, int64_t* rowsAffected) -> std::unique_ptr<Rowset> {
        if (sql == u"bad")
            throw ProviderError(DB_E_ERRORSINCOMMAND, QStringLiteral("near \"bad\": syntax error"));
        if (sql == u"odd")
            throw std::runtime_error("not ours");
        *rowsAffected = 1;
        return nullptr;
    };
    run(QStringLiteral("bad; odd; good;"));
    EXPECT_EQ(writer->text(), "SQL>  bad\r\n\tExecute has been aborten with an error - : near \"bad\": syntax error\r\n"
                              "SQL>  odd\r\n\tUnknown error\r\n"
                              "SQL>  good\r\nSQL Query was accomplished");
    EXPECT_EQ(session->calls.last(), "commit");
}

TEST_F(ScriptRunTest, TheRunSucceedsOnlyWhenEveryStatementAndTheCommitDid)
{
    session->answer = [this](const QString& sql, int64_t* rowsAffected) -> std::unique_ptr<Rowset> {
        if (sql == u"bad")
            throw ProviderError(DB_E_ERRORSINCOMMAND, QStringLiteral("syntax error"));
        if (sql == u"stop")
            stop->request();
        *rowsAffected = 1;
        return nullptr;
    };
    EXPECT_TRUE(run(QStringLiteral("good; COMMIT; good;")));
    EXPECT_FALSE(run(QStringLiteral("good; bad; good;")));
    EXPECT_TRUE(run(QStringLiteral("good; stop; good;"))) << "a stopped run has not failed";
    session->commitFails = true;
    EXPECT_FALSE(run(QStringLiteral("good;")));
}

TEST_F(ScriptRunTest, TextColumnOfUnknownSizeFailsTheStatementBeforeItsHeader)
{
    // A provider that states no size for a text column; a long one (0x7FFFFFFF) prints 600 wide.
    session->answer = [](const QString& sql, int64_t* rowsAffected) -> std::unique_ptr<Rowset> {
        *rowsAffected = -1;
        const uint32_t size = sql == u"unknown" ? 0 : kLongValueSize;
        return std::make_unique<qbtest::FakeRowset>(
            std::vector<ColumnInfo>{{QStringLiteral("n"), 1, 8, DBTYPE_I8}, {QStringLiteral("t"), 2, size, DBTYPE_WSTR}},
            std::vector<MemoryRowset::Row>{{1, QStringLiteral("x")}});
    };
    run(QStringLiteral("unknown; long;"));
    const QString longHeader = QStringLiteral("n") + QString(19, u' ') + " | t" + QString(599, u' ') + " | \r\n";
    EXPECT_EQ(writer->text(), "SQL>  unknown\r\n\tUnknown field size\r\n"
                              "SQL>  long\r\n" + longHeader +
                                  QStringLiteral("1") + QString(19, u' ') + " | x" + QString(599, u' ') + " | \r\n"
                                  "Selected 1 rows from 1\n\n");
    EXPECT_EQ(session->calls.last(), "commit") << "the run goes on after the failed statement";
}

TEST_F(ScriptRunTest, ErrorWithoutProviderTextKeepsTheColon)
{
    session->answer = [](const QString&, int64_t*) -> std::unique_ptr<Rowset> {
        throw ProviderError(static_cast<HRESULT>(0x80041234u), QString());
    };
    run(QStringLiteral("x;"));
    EXPECT_TRUE(writer->text().endsWith("\tExecute has been aborten with an error - : \r\n"));
}

TEST_F(ScriptRunTest, TransactionWrapsTheRunEvenWithoutStatements)
{
    run(QStringLiteral("select 1"));
    EXPECT_EQ(writer->text(), QString());
    EXPECT_EQ(session->calls, (QStringList{"start", "commit"}));
    EXPECT_EQ(writer->events, (QStringList{"started", "finished"}));
}

TEST_F(ScriptRunTest, ProviderWithoutTransactionsRunsWithoutThem)
{
    session->transactions = false;
    run(QStringLiteral("a;"));
    EXPECT_EQ(session->calls, QStringList{"execute a"});
}

TEST_F(ScriptRunTest, FailedStartIsIgnoredButAFailedCommitIsReported)
{
    session->startFails = true;
    session->commitFails = true;
    run(QStringLiteral("a;"));
    EXPECT_EQ(session->calls, (QStringList{"start", "execute a", "commit"}));
    // Prior to the fix, the lost changes went unreported and the run looked successful.
    EXPECT_EQ(writer->errors, QStringList{"The transaction could not be committed: deferred constraint failed"});
    EXPECT_EQ(writer->events.last(), "finished");
}

TEST_F(ScriptRunTest, EachStatementHasItsOwnProgressBar)
{
    session->answer = [](const QString&, int64_t* rowsAffected) {
        *rowsAffected = -1;
        return oneRow();
    };
    run(QStringLiteral("COMMIT; q;"));
    EXPECT_EQ(writer->events, (QStringList{"started", "progress", "progress end", "finished"}));
    EXPECT_EQ(writer->positions, (std::vector<int>{1, 5, 8, 9, 99}));
}

TEST_F(ScriptRunTest, AfterAStopEveryLaterStatementIsEchoedAndInterrupted)
{
    session->answer = [this](const QString& sql, int64_t* rowsAffected) -> std::unique_ptr<Rowset> {
        *rowsAffected = 0;
        if (sql == u"second")
            stop->request();
        return nullptr;
    };
    stop->request(); // an old request: the run starts afresh
    run(QStringLiteral("first; second; third; COMMIT; fourth;"));
    EXPECT_EQ(writer->text(), "SQL>  first\r\nSQL Query was accomplished"
                              "SQL>  second\r\nSQL Query was accomplished"
                              "SQL>  third\r\nExecution has been interrupted\r\n"
                              "SQL>  COMMIT;\r\n"
                              "SQL>  fourth\r\nExecution has been interrupted\r\n");
    EXPECT_EQ(session->calls, (QStringList{"start", "execute first", "execute second", "commit"}));
}

TEST_F(ScriptRunTest, WorkerKilledBeforeTheRunResetsItsStopStillStopsIt)
{
    qb::Event kill;
    kill.set();
    ScriptRun(session, writer, writer, stop).run(QStringLiteral("a; b;"), &kill);
    EXPECT_EQ(writer->text(), "SQL>  a\r\nExecution has been interrupted\r\nSQL>  b\r\nExecution has been interrupted\r\n");
    EXPECT_EQ(session->calls, (QStringList{"start", "commit"}));
}

TEST_F(ScriptRunTest, FailureBrokenOffByTheStopReadsAsTheStop)
{
    session->answer = [this](const QString&, int64_t*) -> std::unique_ptr<Rowset> {
        stop->request();
        throw ProviderError(DB_E_CANCELED, QStringLiteral("The statement was interrupted."));
    };
    run(QStringLiteral("long;"));
    EXPECT_EQ(writer->text(), "SQL>  long\r\nExecution has been interrupted\r\n");
}

} // namespace
