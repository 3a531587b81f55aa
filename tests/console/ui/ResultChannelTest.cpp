// The channel between a script run's worker and the window: everything a worker writes arrives
// on the GUI thread in order and joined, the worker is held back while the window is far behind,
// and a detached channel neither delivers nor holds a worker.
#include "console/ui/ResultChannel.h"
#include "support/WaitUntil.h"

#include <gtest/gtest.h>

#include <QObject>
#include <QThread>
#include <atomic>
#include <thread>

namespace {

using namespace qb::console;
using namespace qb::console::ui;

// The window's side: what arrived, on which thread.
class RecordingWindow : public ResultWriter, public RunFeedback {
public:
    QString text;
    int finished = 0;
    bool offThread = false;
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
        offThread = offThread || QThread::currentThread() != qApp->thread();
        text += t;
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
