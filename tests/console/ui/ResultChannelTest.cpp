// The channel between a script run's worker and the window: everything a worker writes arrives
// on the GUI thread in order and joined, the worker is held back while the window is far behind,
// and a detached channel neither delivers nor holds a worker.
#include "console/ui/ResultChannel.h"
#include "support/WaitUntil.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QObject>
#include <QThread>
#include <atomic>
#include <chrono>
#include <thread>

namespace {

using namespace qb::console;
using namespace qb::console::ui;

// The window's side: what arrived, on which thread.
class RecordingWindow : public ResultWriter, public RunFeedback {
public:
    QString text;
    int appends = 0;
    int finished = 0;
    bool offThread = false;
    // Each append keeps the GUI thread this long, as a slow document would.
    std::chrono::milliseconds appendTakes{0};
    void appendResultText(const QString& t, ResultTextCategory) override { add(t); }
    void appendPlainText(const QString& t) override { add(t); }
    void holdRepaint() override {}
    void releaseRepaint() override {}
    void runStarted() override {}
    void runFinished() override { ++finished; }
    void progressStarted() override {}
    void progressPosition(int) override {}
    void progressFinished() override {}
    void showError(const QString&) override {}

private:
    void add(const QString& t)
    {
        const auto end = std::chrono::steady_clock::now() + appendTakes;
        while (std::chrono::steady_clock::now() < end) {
        }
        offThread = offThread || QThread::currentThread() != qApp->thread();
        text += t;
        ++appends;
    }
};

TEST(ResultChannelTest, AWorkersLinesArriveOnTheGuiThreadInOrderAndItIsHeldBackWhileTheWindowIsBehind)
{
    QObject context;
    RecordingWindow window;
    auto channel = ResultChannel::create(&context, &window, &window);
    constexpr int kLines = 100000;
    std::atomic<qsizetype> mostPending{0};
    std::thread worker([&] {
        for (int i = 0; i < kLines; ++i) {
            channel->appendPlainText(QStringLiteral("line %1\r\n").arg(i));
            mostPending = std::max<qsizetype>(mostPending, channel->pendingCharacters());
        }
        channel->runFinished();
    });
    ASSERT_TRUE(qbtest::waitUntil([&] { return window.finished == 1; }, 120000));
    worker.join();
    EXPECT_FALSE(window.offThread);
    EXPECT_TRUE(window.text.startsWith("line 0\r\nline 1\r\n"));
    EXPECT_TRUE(window.text.endsWith(QStringLiteral("line %1\r\n").arg(kLines - 1)));
    EXPECT_EQ(window.text.count('\n'), kLines);
    // Held back: never far more than the high-water mark waits (one more line may join).
    EXPECT_LE(mostPending.load(), ResultChannel::kHighWater + 64);
}

TEST(ResultChannelTest, TextQueuedInARowArrivesAsOneInsertion)
{
    QObject context;
    RecordingWindow window;
    auto channel = ResultChannel::create(&context, &window, &window);
    // Below the high-water mark, so the worker queues everything before the window looks.
    std::thread worker([&] {
        channel->appendResultText(QStringLiteral("header\r\n"), ResultTextCategory::ExecutionResults);
        for (int i = 0; i < 10000; ++i)
            channel->appendPlainText(QStringLiteral("row %1\r\n").arg(i));
        channel->appendResultText(QStringLiteral("summary\n\n"), ResultTextCategory::OtherText);
    });
    worker.join();
    QCoreApplication::sendPostedEvents();
    EXPECT_TRUE(window.text.endsWith("row 9999\r\nsummary\n\n"));
    // The header, its rows, then the summary in a category of its own.
    EXPECT_EQ(window.appends, 2);
}

TEST(ResultChannelTest, OneWakeUpAppliesTextForASliceAndLeavesTheRestForTheNext)
{
    QObject context;
    RecordingWindow window;
    window.appendTakes = ResultChannel::kDeliverySlice;
    auto channel = ResultChannel::create(&context, &window, &window);
    std::thread worker([&] {
        // Categories that alternate never join: three insertions.
        for (auto category : {ResultTextCategory::ExecutionResults, ResultTextCategory::OtherText,
                              ResultTextCategory::ExecutionResults})
            channel->appendResultText(QStringLiteral("text\r\n"), category);
    });
    worker.join();
    // One pass over the events posted so far: the first insertion uses up the slice, and paint
    // and input get their turn before the next.
    QCoreApplication::sendPostedEvents();
    EXPECT_EQ(window.appends, 1);
    EXPECT_EQ(channel->pendingCharacters(), 12);
    window.appendTakes = std::chrono::milliseconds(0);
    QCoreApplication::sendPostedEvents();
    EXPECT_EQ(window.appends, 3);
    EXPECT_EQ(channel->pendingCharacters(), 0);
}

TEST(ResultChannelTest, ADetachedChannelDropsWhatWaitsAndNeverHoldsAWorker)
{
    QObject context;
    RecordingWindow window;
    auto channel = ResultChannel::create(&context, &window, &window);
    std::atomic<bool> done{false};
    std::thread worker([&] {
        // Far more than the high-water mark: once detached, the worker must be let go at once.
        const QString line(1000, u'x');
        for (int i = 0; i < 5000; ++i)
            channel->appendPlainText(line);
        done = true;
    });
    ASSERT_TRUE(qbtest::waitUntil([&] { return channel->pendingCharacters() > ResultChannel::kHighWater / 2; }, 60000));
    channel->detach();
    worker.join();
    EXPECT_TRUE(done);
    QCoreApplication::processEvents();
    EXPECT_EQ(channel->pendingCharacters(), 0);
    EXPECT_LT(window.text.size(), 5000 * 1000) << "what waited at the detach was dropped";
}

} // namespace
