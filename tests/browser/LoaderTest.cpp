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
        loader->setWaitPump([this] { gui.pump(); });
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
    // Ten million rows (v), made by the database itself; "d" holds the digits 0..9.
    void makeTenMillionRowTable(const QString& table)
    {
        backend->exec("CREATE TABLE d (x INTEGER)");
        backend->exec("INSERT INTO d VALUES (0), (1), (2), (3), (4), (5), (6), (7), (8), (9)");
        if (GetParam() == "postgres") {
            // Unlogged: none of it goes through the write-ahead log, which takes two thirds off the time.
            backend->exec(
                QStringLiteral("CREATE UNLOGGED TABLE %1 AS SELECT generate_series(1, 10000000) AS v").arg(table));
            return;
        }
        // SQLite, directly or behind the ODBC driver, on a local file.
        backend->exec(
            QStringLiteral("CREATE TABLE %1 AS SELECT a.x AS v FROM d a, d b, d c, d e, d f, d g, d h").arg(table));
    }
    bool sawText(const QString& text, int pos) const
    {
        for (const auto& t : sink->recorded.textList())
            if (t.text == text && t.pos == pos)
                return true;
        return false;
    }

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
    EXPECT_GE(session->interrupts(), 1);
    EXPECT_EQ(seen().objectPane, "Object(s): 4") << sink->recorded.errorList().join('\n').toStdString();
    EXPECT_EQ(state().elements().table(kTableElement)->name(), displayName("quick"));
    EXPECT_TRUE(idle());
}

TEST_P(LoaderTest, StopInterruptsALongCountOnATenMillionRowTable)
{
    makeTenMillionRowTable("big");
    loader->startShow(tableOrder("big"));
    // The count reads row by row, so the stop gets through between two rows on every backend,
    // also where the driver cannot cancel a running step (the SQLite ODBC driver).
    ASSERT_TRUE(gui.pumpUntil([this] { return session->rowsFetched() >= 10'000; })) << "the count never got going";
    EXPECT_TRUE(sawText("Loads data from table", 45));
    EXPECT_TRUE(loader->stopByUser()) << "the job ended after the interrupt instead of being given up on";
    EXPECT_LT(session->rowsFetched(), 10'000'000u) << "the count did not run to its end";
    EXPECT_FALSE(loader->hasJob());
    EXPECT_TRUE(idle());
    EXPECT_TRUE(seen().quickViewEnabled);
    EXPECT_EQ(sink->recorded.infoList(), QStringList{kStoppedEntry});
    // The broken-off count is reported once, as the table data's failure.
    const QStringList errors = sink->recorded.errorList();
    ASSERT_EQ(errors.size(), 1) << errors.join('\n').toStdString();
    EXPECT_TRUE(errors[0].startsWith("Trying to receive the data from a table: ")) << errors[0].toStdString();

    xElement_Table* table = state().elements().table(kTableElement);
    EXPECT_EQ(table->itemCount(), 0) << "an unfinished count is no row count";
    ASSERT_TRUE(table->isLoaded()) << "the element keeps the columns it read";
    EXPECT_EQ(table->tableData()->columnCount(), 1);
    EXPECT_EQ(seen().currentIndex, kTableElement) << "the element shows what it had read";
    EXPECT_EQ(seen().elementPane, "Table");
    EXPECT_FALSE(loader->stopByUser()) << "nothing runs any more";

    // The session is usable again at once.
    run(tableOrder("d"));
    EXPECT_EQ(seen().objectPane, "Object(s): 10") << sink->recorded.errorList().join('\n').toStdString();
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
