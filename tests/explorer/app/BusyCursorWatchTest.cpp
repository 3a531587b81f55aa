// The busy cursor's watch: the count of ticks by hand, then the real watcher thread against a
// GUI thread stuck in one event until the wait cursor is up.
#include "explorer/app/BusyCursorWatch.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QEventLoop>
#include <QTimer>

#include <atomic>
#include <thread>

using qb::app::BusyCursorWatch;
using qb::app::WaitCursorSurface;

namespace {

struct Counts {
    std::atomic<int> shown{0};
    std::atomic<int> restored{0};
    std::atomic<int> refreshed{0};
    std::thread::id shownOn;
};

class RecordingSurface : public WaitCursorSurface {
public:
    explicit RecordingSurface(Counts& counts) : m_counts(counts) {}
    void refreshWindows() override { ++m_counts.refreshed; }
    void showWait() override
    {
        m_counts.shownOn = std::this_thread::get_id();
        ++m_counts.shown;
    }
    void restore() override { ++m_counts.restored; }

private:
    Counts& m_counts;
};

} // namespace

TEST(BusyCursorWatch, FifteenTicksInOneEventPutTheCursorUpAndTheNextEventTakesItDown)
{
    Counts counts;
    BusyCursorWatch watch(std::make_unique<RecordingSurface>(counts), false);
    watch.eventStarted();
    for (int i = 0; i < BusyCursorWatch::kTicks - 1; ++i)
        watch.tick();
    EXPECT_EQ(counts.shown, 0);
    watch.tick();
    EXPECT_EQ(counts.shown, 1);
    EXPECT_TRUE(watch.waitCursorShown());
    // Further ticks of the same event change nothing.
    for (int i = 0; i < 40; ++i)
        watch.tick();
    EXPECT_EQ(counts.shown, 1);
    watch.eventStarted();
    EXPECT_EQ(counts.restored, 1);
    EXPECT_FALSE(watch.waitCursorShown());
}

TEST(BusyCursorWatch, EveryNewEventStartsTheCountAgainAndIdleStopsIt)
{
    Counts counts;
    BusyCursorWatch watch(std::make_unique<RecordingSurface>(counts), false);
    for (int round = 0; round < 5; ++round) {
        watch.eventStarted();
        for (int i = 0; i < BusyCursorWatch::kTicks - 1; ++i)
            watch.tick();
    }
    EXPECT_EQ(counts.shown, 0);
    // A modal dialog waiting for the user: idle, however long.
    watch.wentIdle();
    for (int i = 0; i < 100; ++i)
        watch.tick();
    EXPECT_EQ(counts.shown, 0);
    EXPECT_EQ(counts.refreshed, 1);

    watch.eventStarted();
    for (int i = 0; i < BusyCursorWatch::kTicks; ++i)
        watch.tick();
    EXPECT_EQ(counts.shown, 1);
    watch.wentIdle();
    EXPECT_EQ(counts.restored, 1);
}

TEST(BusyCursorWatch, AGuiThreadStuckInOneEventGetsTheWaitCursorFromTheWatcherThread)
{
    Counts counts;
    BusyCursorWatch watch(std::make_unique<RecordingSurface>(counts));
    watch.install();
    bool sawItWhileStuck = false;
    QTimer::singleShot(0, [&] {
        // Stuck: no event is taken until the watcher has acted (or a generous deadline passed).
        QDeadlineTimer deadline(30000);
        while (counts.shown == 0 && !deadline.hasExpired())
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        sawItWhileStuck = counts.shown == 1 && counts.restored == 0;
    });
    QDeadlineTimer deadline(30000);
    while (!sawItWhileStuck && !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    EXPECT_TRUE(sawItWhileStuck);
    EXPECT_NE(counts.shownOn, std::this_thread::get_id());
    // Back in a loop that waits for events: the next event or the idle wait takes it down.
    QEventLoop loop;
    QTimer::singleShot(50, &loop, &QEventLoop::quit);
    loop.exec();
    EXPECT_EQ(counts.restored, 1);
    EXPECT_FALSE(watch.waitCursorShown());
}
