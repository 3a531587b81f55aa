// The loader on its worker thread against a fake GUI thread: the busy state, what a job tells the
// window, the close question, Stop, and jobs that do not react in time.
#include "BrowserFixture.h"
#include "RecordingWindow.h"

#include "common/WorkerThread.h"
#include "dataaccess/TableData.h"
#include "explorer/browser/BackupPointsBound.h"
#include "explorer/browser/ItemOpening.h"
#include "explorer/browser/LoaderGating.h"
#include "explorer/browser/LoaderThread.h"
#include "explorer/browser/xElementSchemaT.h"
#include "explorer/browser/xElement_Table.h"
#include "support/SqliteFileLock.h"

#include <condition_variable>
#include <mutex>

using namespace qb::browser;
using namespace std::chrono_literals;

namespace qbtest {
namespace {

const QString kQuestion = QStringLiteral(
    "Pragram can't stop the thread that reseives data from a database. If you want to open a new database, "
    "please, press the button [Yes].");
const QString kStoppedEntry = QStringLiteral("The loading of the data has been stopped by the user.");

// The history's bound, read by a job just before it records its back point. On request the next
// read holds the job there until the test lets it go; otherwise the bound is unavailable.
class HoldingBound : public BackupPointsBound {
public:
    std::optional<int> maxBackupPoints() const override
    {
        std::unique_lock<std::mutex> lock(m_mutex);
        if (m_armed) {
            m_armed = false;
            m_holding = true;
            m_changed.wait(lock, [this] { return m_released; });
            m_holding = false;
        }
        return std::nullopt;
    }
    void holdNextRead()
    {
        std::lock_guard<std::mutex> guard(m_mutex);
        m_armed = true;
        m_released = false;
    }
    bool holding() const
    {
        std::lock_guard<std::mutex> guard(m_mutex);
        return m_holding;
    }
    void release()
    {
        std::lock_guard<std::mutex> guard(m_mutex);
        m_released = true;
        m_changed.notify_all();
    }

private:
    mutable std::mutex m_mutex;
    mutable std::condition_variable m_changed;
    mutable bool m_armed = false;
    mutable bool m_holding = false;
    bool m_released = false;
};

class LoaderTest : public BrowserBackendTest {
protected:
    void SetUp() override
    {
        BrowserBackendTest::SetUp();
        window = std::make_shared<RecordingWindow>(gui);
        sink = std::make_shared<GuiReportSink>(gui);
        loader = std::make_unique<LoaderThread>(
            BrowserState::Parts{sink, window, sessionSource(), qb::settings::explorerRootPath(), bound});
        loader->setWaitPump([this] {
            gui.pump();
            if (lock) // the owner pumps only once the stop is out
                lock->release();
        });
    }
    void TearDown() override
    {
        if (!loader)
            return; // SetUp failed
        session->release();
        bound->release();
        loader.reset();
        // Jobs given up on still run; they may call the GUI thread until they end.
        EXPECT_TRUE(gui.pumpUntil([] { return qb::WorkerThread::runningThreads() == 0; }));
        BrowserBackendTest::TearDown();
    }

    const WindowRecord& seen() const { return window->record(); }
    BrowserState& state() { return loader->state(); }
    bool idle() { return state().idle().isIdle(); }
    bool waitForJobEnd() { return gui.pumpUntil([this] { return !loader->hasJob(); }); }
    void run(const ShowOrder& order)
    {
        loader->startShow(order);
        ASSERT_TRUE(waitForJobEnd());
    }
    ShowOrder tableOrder(const QString& table) const
    {
        return ShowOrder{kTableElement, std::nullopt, qb::data::ObjectName{backend->defaultSchema(), table}};
    }
    // A query that runs until it is stopped. The SQLite ODBC driver cannot cancel a step from
    // another thread, so there it is one that waits for a lock the test holds until the owner's
    // stop is out (the wait pump lets it go).
    QString longStatement()
    {
        if (GetParam() == "postgres")
            return QStringLiteral("select pg_sleep(3600)");
        if (GetParam() == "sqliteodbc") {
            lock = std::make_unique<SqliteFileLock>(backend->databaseFile());
            return QStringLiteral("select count(*) from sqlite_master");
        }
        return QStringLiteral("with recursive c(i) as (select 1 union all select i + 1 from c) select count(*) from c");
    }
    // Pumps until the job's statement is under way: its execute entered and, for PostgreSQL, which
    // ignores a cancel that comes before it runs the query, reported asleep by the server.
    bool pumpUntilTheLongStatementRuns()
    {
        if (!gui.pumpUntil([this] { return session->executesEntered() > 0; }))
            return false;
        if (GetParam() != "postgres")
            return true;
        auto observer = qb::data::createDataSource(backend->connectionString());
        observer->initialize();
        auto observing = observer->createSession();
        return gui.pumpUntil([&] {
            auto rowset = observing->execute("select count(*) from pg_stat_activity where wait_event = 'PgSleep' "
                                             "and datname = current_database()");
            struct {
                int64_t n;
                uint32_t length, status;
            } row{};
            rowset->setBindings({{1, 0, 8, 12, 8, qb::data::DBTYPE_I8}});
            rowset->next();
            rowset->getData(reinterpret_cast<std::byte*>(&row));
            return row.n > 0;
        });
    }

    std::unique_ptr<SqliteFileLock> lock;
    FakeGuiThread gui;
    std::shared_ptr<HoldingBound> bound = std::make_shared<HoldingBound>();
    std::shared_ptr<RecordingWindow> window;
    std::shared_ptr<GuiReportSink> sink;
    std::unique_ptr<LoaderThread> loader;
};

TEST_P(LoaderTest, ATableOverOnePageListsOnePageAndShowsTheFullCount)
{
    makeNumberedTable("big", 150);
    run(tableOrder("big"));
    EXPECT_TRUE(sink->recorded.errorList().isEmpty()) << sink->recorded.errorList().join('\n').toStdString();
    EXPECT_EQ(seen().currentIndex, kTableElement);
    EXPECT_EQ(seen().current, state().elements().element(kTableElement));
    EXPECT_EQ(seen().listCount, 100);
    EXPECT_EQ(seen().objectPane, "Object(s): 150");
    EXPECT_EQ(seen().elementPane, "Table");
    EXPECT_TRUE(seen().sqlText.startsWith("select * from ")) << seen().sqlText.toStdString();
    EXPECT_EQ(seen().log.front(), "quick view off");
    EXPECT_EQ(seen().log.mid(seen().log.size() - 2), (QStringList{"quick view on", "redraw"}));
    EXPECT_EQ(state().currentIndex(), kTableElement);
    EXPECT_TRUE(idle());
}

TEST_P(LoaderTest, AFolderJobShowsItsCaptionCountAndClearsTheSqlPane)
{
    backend->exec("CREATE TABLE a (id INTEGER)");
    backend->exec("CREATE TABLE b (id INTEGER)");
    makeNumberedTable("c", 3);
    run(tableOrder("c"));
    run(ShowOrder{kTablesFolder, std::nullopt, std::nullopt});
    EXPECT_EQ(seen().currentIndex, kTablesFolder);
    EXPECT_EQ(seen().listCount, 3);
    EXPECT_EQ(seen().objectPane, "Object(s): 3");
    EXPECT_EQ(seen().elementPane, "Tables");
    EXPECT_EQ(seen().sqlText, QString());
}

TEST_P(LoaderTest, IdleIsResetForTheWholeJobAndSetAfterIt)
{
    makeNumberedTable("t", 50);
    session->setScript({.holdAfterRows = 10});
    EXPECT_TRUE(idle());
    loader->startShow(tableOrder("t"));
    ASSERT_TRUE(gui.pumpUntil([this] { return session->holding(); }));
    EXPECT_FALSE(idle());
    EXPECT_TRUE(loader->isBusy());
    EXPECT_FALSE(seen().quickViewEnabled);
    const UiState ui{true, idle()};
    EXPECT_TRUE(canStop(ui));
    EXPECT_FALSE(canRefresh(ui));
    EXPECT_FALSE(acceptsElementRequests(ui));
    EXPECT_TRUE(canActivateItem(ui));

    session->release();
    ASSERT_TRUE(waitForJobEnd());
    EXPECT_TRUE(idle());
    EXPECT_FALSE(loader->isBusy());
    EXPECT_TRUE(seen().quickViewEnabled);
    EXPECT_EQ(seen().listCount, 50);
}

TEST_P(LoaderTest, TreeAndListRequestsAreIgnoredWhileBusyAndAcceptedAfterwards)
{
    makeNumberedTable("slow", 30);
    makeNumberedTable("other", 2);
    session->setScript({.holdAfterRows = 5});
    ASSERT_TRUE(loader->startShowIfIdle(tableOrder("slow")));
    ASSERT_TRUE(gui.pumpUntil([this] { return session->holding(); }));
    EXPECT_FALSE(loader->startShowIfIdle(ShowOrder{kTablesFolder, std::nullopt, std::nullopt}));
    EXPECT_FALSE(loader->startShowIfIdle(tableOrder("other")));
    session->release();
    ASSERT_TRUE(waitForJobEnd());
    EXPECT_EQ(seen().currentIndex, kTableElement);
    EXPECT_EQ(seen().objectPane, "Object(s): 30") << "the ignored requests changed nothing";

    ASSERT_TRUE(loader->startShowIfIdle(tableOrder("other")));
    ASSERT_TRUE(waitForJobEnd());
    EXPECT_EQ(seen().objectPane, "Object(s): 2");
}

TEST_P(LoaderTest, ClosingDuringALongLoadAsksEveryPeriodUntilTheLoadEnds)
{
    makeNumberedTable("t", 40);
    session->setScript({.holdAfterRows = 5});
    run(ShowOrder{kDatabaseElement, std::nullopt, std::nullopt});
    loader->startShow(tableOrder("t"));
    ASSERT_TRUE(gui.pumpUntil([this] { return session->holding(); }));

    std::vector<LoaderThread::Question> asked;
    loader->waitBeforeClose(
        [&](const LoaderThread::Question& q) {
            EXPECT_TRUE(loader->hasJob()) << "asked only while the load runs";
            asked.push_back(q);
            if (asked.size() == 3)
                session->release(); // the load ends on its own
            return false;           // No: wait again
        },
        100ms);
    ASSERT_GE(asked.size(), 3u);
    EXPECT_EQ(asked[0].title, "Vexa@Qorvex: Information");
    EXPECT_EQ(asked[0].text, kQuestion);
    EXPECT_FALSE(loader->hasJob());
    EXPECT_TRUE(idle());
    EXPECT_EQ(seen().objectPane, "Object(s): 40") << "the job finished normally";
    EXPECT_TRUE(state().history().canGoBack());

    loader->clearAfterClose();
    EXPECT_EQ(seen().listCount, 0);
    EXPECT_EQ(seen().current, nullptr);
    EXPECT_EQ(state().currentIndex(), kNoElement);
    EXPECT_FALSE(state().elements().element(kTableElement)->isLoaded());
    EXPECT_FALSE(state().history().canGoBack());
}

TEST_P(LoaderTest, AnsweringYesStopsTheLoadAndTheFolderKeepsWhatItRead)
{
    for (const char* t : {"t1", "t2", "t3", "t4", "t5"})
        backend->exec(QStringLiteral("CREATE TABLE %1 (id INTEGER)").arg(t));
    session->setScript({.holdAfterRows = 2});
    loader->startShow(ShowOrder{kTablesFolder, std::nullopt, std::nullopt});
    ASSERT_TRUE(gui.pumpUntil([this] { return session->holding(); }));
    int asked = 0;
    loader->waitBeforeClose([&](const LoaderThread::Question&) { return ++asked == 1; }, 20ms);
    EXPECT_EQ(asked, 1);
    EXPECT_FALSE(loader->hasJob());
    EXPECT_TRUE(idle());
    const xElementSchemaT* tables = state().elements().folder(kTablesFolder);
    EXPECT_TRUE(tables->isLoaded());
    EXPECT_EQ(tables->itemCount(), 2);
    EXPECT_TRUE(sink->recorded.errorList().isEmpty()) << "a stop is not a failure";
}

TEST_P(LoaderTest, AJobThatIgnoresTheStopIsGivenUpAndNeverReachesTheWindowAgain)
{
    for (const char* t : {"t1", "t2", "t3"})
        backend->exec(QStringLiteral("CREATE TABLE %1 (id INTEGER)").arg(t));
    session->setScript({.holdAfterRows = 1, .honorInterrupt = false});
    loader->setStopTimeout(100ms);
    loader->startShow(ShowOrder{kTablesFolder, std::nullopt, std::nullopt});
    ASSERT_TRUE(gui.pumpUntil([this] { return session->holding(); }));

    loader->waitBeforeClose([](const LoaderThread::Question&) { return true; }, 20ms);
    EXPECT_FALSE(loader->hasJob());
    EXPECT_TRUE(idle()) << "the owner makes the window idle when it gives up";
    EXPECT_TRUE(seen().quickViewEnabled);
    loader->clearAfterClose();
    const QStringList logBefore = seen().log;
    const size_t textsBefore = sink->recorded.textList().size();

    // The stuck statement returns at last; its job runs to its end in the background.
    session->release();
    ASSERT_TRUE(gui.pumpUntil([] { return qb::WorkerThread::runningThreads() == 0; }));
    EXPECT_EQ(seen().log, logBefore);
    EXPECT_EQ(sink->recorded.textList().size(), textsBefore);
    EXPECT_TRUE(idle());
    EXPECT_FALSE(state().elements().folder(kTablesFolder)->isLoaded())
        << "rows of a closed connection are not published";

    // The next job works as usual.
    session->setScript({});
    run(ShowOrder{kTablesFolder, std::nullopt, std::nullopt});
    EXPECT_EQ(seen().objectPane, "Object(s): 3");
}

TEST_P(LoaderTest, AJobGivenUpAfterItsShowLeavesHistoryAndCurrentElementAlone)
{
    // Prior to the fix, the job checked its abandonment once, then recorded the element it left
    // and made its own element the current one, even when the owner gave it up in between (and
    // had perhaps emptied the history for a closed connection).
    makeNumberedTable("t", 3);
    run(ShowOrder{kTablesFolder, std::nullopt, std::nullopt});
    ASSERT_EQ(state().currentIndex(), kTablesFolder);
    const size_t backBefore = state().history().backPoints().size();

    bound->holdNextRead();
    loader->setStopTimeout(100ms);
    loader->startShow(tableOrder("t"));
    // The table is shown; the job is about to record the folder as a back point.
    ASSERT_TRUE(gui.pumpUntil([this] { return bound->holding(); }));
    EXPECT_FALSE(loader->stop()) << "the held job cannot end in time and is given up on";
    bound->release();
    ASSERT_TRUE(gui.pumpUntil([] { return qb::WorkerThread::runningThreads() == 0; }));

    EXPECT_EQ(state().history().backPoints().size(), backBefore);
    EXPECT_EQ(state().currentIndex(), kTablesFolder);
    EXPECT_EQ(seen().currentIndex, kTablesFolder);
    EXPECT_EQ(seen().objectPane, "Object(s): 1") << "the window still shows the folder";
}

TEST_P(LoaderTest, StartingAnotherShowStopsTheRunningJobFirst)
{
    makeNumberedTable("slow", 30);
    makeNumberedTable("quick", 4);
    run(ShowOrder{kTablesFolder, std::nullopt, std::nullopt});
    session->setScript({.holdAfterRows = 3});
    loader->startShow(tableOrder("slow"));
    ASSERT_TRUE(gui.pumpUntil([this] { return session->holding(); }));
    session->setScript({});
    // An item activation: allowed while busy; Start stops the running job.
    run(orderForOpenedItem(state().elements(), kTablesFolder, displayName("quick")));
    EXPECT_GE(session->stops(), 1);
    EXPECT_EQ(seen().objectPane, "Object(s): 4") << sink->recorded.errorList().join('\n').toStdString();
    EXPECT_EQ(state().elements().table(kTableElement)->name(), displayName("quick"));
    EXPECT_TRUE(idle());
}

TEST_P(LoaderTest, StopAtAnyPointOfATableLoadEndsItAndNothingIsFetchedAfterIt)
{
    // Each hold waits for the stop and then goes on into the provider's own call, which must
    // refuse it: before the statement reaches the provider, between its execution and the count
    // (the element keeps the columns it read), and between two rows of the count.
    makeNumberedTable("t", 40);
    struct Case {
        const char* name;
        RowsetScript script;
        const char* error;
        bool keepsColumns;
    };
    const Case cases[] = {
        {"before execute", {.holdBeforeExecute = true, .callOnAfterStop = true},
         "Trying to receive the information about columns: ", false},
        {"after execute", {.holdAfterExecute = true, .callOnAfterStop = true},
         "Trying to receive the data from a table: ", true},
        {"between rows of the count", {.holdAfterRows = 5, .callOnAfterStop = true},
         "Trying to receive the data from a table: ", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const qsizetype errorsBefore = sink->recorded.errorList().size();
        const int stopsBefore = session->stops();
        session->setScript(c.script);
        ShowOrder refresh = tableOrder("t");
        refresh.request = ShowRequest{QString(), true, true};
        loader->startShow(refresh);
        ASSERT_TRUE(gui.pumpUntil([this] { return session->holding(); }));
        EXPECT_TRUE(loader->stopByUser()) << "the job ended after the stop instead of being given up on";
        EXPECT_EQ(session->stops(), stopsBefore + 1);
        EXPECT_EQ(session->callsServedAfterStop(), 0) << "the provider let a call through after the stop";
        EXPECT_FALSE(loader->hasJob());
        EXPECT_TRUE(idle());
        EXPECT_TRUE(seen().quickViewEnabled);
        const QStringList errors = sink->recorded.errorList().mid(errorsBefore);
        ASSERT_EQ(errors.size(), 1) << errors.join('\n').toStdString();
        EXPECT_TRUE(errors[0].startsWith(QString::fromLatin1(c.error))) << errors[0].toStdString();
        xElement_Table* table = state().elements().table(kTableElement);
        EXPECT_EQ(table->itemCount(), 0) << "an unfinished count is no row count";
        EXPECT_EQ(table->isLoaded(), c.keepsColumns) << "the element keeps the columns it read";
    }
    EXPECT_EQ(sink->recorded.infoList(), QStringList(3, kStoppedEntry));

    // The session is usable again at once.
    session->setScript({});
    ShowOrder refresh = tableOrder("t");
    refresh.request = ShowRequest{QString(), true, true};
    run(refresh);
    EXPECT_EQ(seen().objectPane, "Object(s): 40") << sink->recorded.errorList().join('\n').toStdString();
}

TEST_P(LoaderTest, StopDuringALongStepOfTheSqlPanesQueryEndsTheJobInTime)
{
    loader->startShow(ShowOrder{kTableElement, ShowRequest{longStatement(), true, true}, std::nullopt});
    ASSERT_TRUE(pumpUntilTheLongStatementRuns());
    EXPECT_TRUE(loader->stopByUser()) << "the job was given up on";
    EXPECT_EQ(session->callsServedAfterStop(), 0);
    EXPECT_FALSE(loader->hasJob());
    EXPECT_TRUE(idle());
    const QStringList errors = sink->recorded.errorList();
    ASSERT_EQ(errors.size(), 1) << errors.join('\n').toStdString();
    // The SQLite ODBC driver cannot cancel: its step ends by itself and the next call is refused,
    // which may be the count's.
    EXPECT_TRUE(errors[0].startsWith(GetParam() == "sqliteodbc" ? "Trying to receive " : "Trying to receive the information about columns: "))
        << errors[0].toStdString();
}

TEST_P(LoaderTest, ClosingDuringACountAndAnsweringYesStopsTheLoadInTime)
{
    makeNumberedTable("t", 40);
    session->setScript({.holdAfterRows = 5, .callOnAfterStop = true});
    loader->startShow(tableOrder("t"));
    ASSERT_TRUE(gui.pumpUntil([this] { return session->holding(); }));
    int asked = 0;
    loader->waitBeforeClose([&](const LoaderThread::Question&) { return ++asked == 1; }, 20ms);
    EXPECT_EQ(asked, 1);
    EXPECT_EQ(session->stops(), 1);
    EXPECT_EQ(session->callsServedAfterStop(), 0);
    EXPECT_FALSE(loader->hasJob());
    EXPECT_TRUE(idle());
    // Its report reached the window: the job ended itself and was not given up on.
    const QStringList errors = sink->recorded.errorList();
    ASSERT_EQ(errors.size(), 1) << errors.join('\n').toStdString();
    EXPECT_TRUE(errors[0].startsWith("Trying to receive the data from a table: ")) << errors[0].toStdString();
    loader->clearAfterClose();
    EXPECT_EQ(seen().listCount, 0);
    EXPECT_FALSE(state().elements().element(kTableElement)->isLoaded());
}

TEST_P(LoaderTest, AnUnexpectedFailureShowsTheUnknownErrorBoxAndEndsTheJob)
{
    makeNumberedTable("t", 3);
    session->setScript({.throwUnexpected = true});
    run(tableOrder("t"));
    EXPECT_EQ(seen().errorBoxes, QStringList{"Vexa@Qorvex: Error message / Unknown error"});
    EXPECT_TRUE(idle());
    EXPECT_TRUE(seen().quickViewEnabled);
}

TEST_P(LoaderTest, AJobWithoutAnElementShowsNothingAndLeavesTheWindowIdle)
{
    loader->start();
    ASSERT_TRUE(waitForJobEnd());
    EXPECT_EQ(seen().currentIndex, kNoElement);
    EXPECT_EQ(seen().log, (QStringList{"quick view off", "quick view on", "redraw"}));
    EXPECT_TRUE(idle());
}

TEST_P(LoaderTest, OrdinaryShowsRecordTheElementLeftAndHistoryStepsDoNot)
{
    makeNumberedTable("t", 3);
    run(ShowOrder{-kDatabaseElement, std::nullopt, std::nullopt}); // the first show after connecting
    EXPECT_FALSE(state().history().canGoBack());
    run(ShowOrder{kTablesFolder, std::nullopt, std::nullopt});
    run(orderForOpenedItem(state().elements(), kTablesFolder, displayName("t")));
    std::vector<int> back;
    for (const auto& p : state().history().backPoints())
        back.push_back(p.element);
    EXPECT_EQ(back, (std::vector<int>{kDatabaseElement, kTablesFolder}));

    // Up from the table: its folder, and the table becomes a back point.
    NavigationHistory& history = state().history();
    history.goUp(state().currentElement()->parentId());
    ASSERT_TRUE(waitForJobEnd());
    EXPECT_EQ(seen().currentIndex, kTablesFolder);
    ASSERT_TRUE(history.canGoBack());
    EXPECT_EQ(history.backPoints().back().element, kTableElement);
    EXPECT_EQ(history.backPoints().back().name, displayName("t"));

    // Back brings the table again, without a new back point.
    const size_t backBefore = history.backPoints().size();
    xElement* current = state().currentElement();
    history.goBack({current->id(), current->name(), current->currentShowRequest(), current->object()});
    ASSERT_TRUE(waitForJobEnd());
    EXPECT_EQ(seen().currentIndex, kTableElement);
    EXPECT_EQ(seen().objectPane, "Object(s): 3");
    EXPECT_EQ(history.backPoints().size(), backBefore - 1);
    EXPECT_TRUE(history.canGoForward());
}

TEST_P(LoaderTest, ARefreshRecordsNoBackPointButAnotherSqlTextDoes)
{
    makeNumberedTable("t", 5);
    run(ShowOrder{kTablesFolder, std::nullopt, std::nullopt});
    run(tableOrder("t"));
    ASSERT_EQ(state().history().backPoints().size(), 1u);
    run(ShowOrder{kTableElement, ShowRequest{QString(), true, true}, std::nullopt}); // Refresh
    EXPECT_EQ(state().history().backPoints().size(), 1u);
    run(ShowOrder{kTableElement, ShowRequest{"select id from t where id < 3", true, true}, std::nullopt});
    ASSERT_EQ(state().history().backPoints().size(), 2u);
    EXPECT_EQ(state().history().backPoints().back().element, kTableElement);
    EXPECT_EQ(seen().objectPane, "Object(s): 2");
    EXPECT_EQ(seen().sqlText, "select id from t where id < 3");
}

INSTANTIATE_TEST_SUITE_P(Backends, LoaderTest, ::testing::ValuesIn(backendNames()), backendTestName);

} // namespace
} // namespace qbtest
