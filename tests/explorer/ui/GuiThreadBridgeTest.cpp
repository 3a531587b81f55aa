// The bridge between a loader job and its window: calls arrive on the GUI thread in the order
// they were made, progress keeps only its latest value, and nothing arrives once the window is
// gone or after a close dropped what was pending. Workers are real threads (run under
// ThreadSanitizer too).
#include "explorer/ui/GuiThreadBridge.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QThread>
#include <atomic>
#include <thread>

using namespace qb::ui;

namespace {

// Records what reached it, and checks that it is on its own thread.
class Recorder : public QObject, public qb::ReportSink, public qb::browser::BrowserWindow {
public:
    QStringList calls;
    int progressUpdates = 0;
    int lastPos = -1;
    bool offThread = false;

    void note(const QString& call)
    {
        offThread |= QThread::currentThread() != thread();
        calls << call;
    }
    void setProgressRange(int a, int b) override { note(QStringLiteral("range %1 %2").arg(a).arg(b)); }
    void setProgressPos(int pos) override
    {
        ++progressUpdates;
        lastPos = pos;
        offThread |= QThread::currentThread() != thread();
    }
    void hideProgress() override { note(QStringLiteral("hide")); }
    void postText(const QString& text, int pos) override
    {
        ++progressUpdates;
        lastPos = pos;
        note(QStringLiteral("text ") + text);
    }
    void clearListColumns() override { note(QStringLiteral("clear")); }
    void addListColumn(const QString& text, int index, int, int) override { note(QStringLiteral("column %1 %2").arg(index).arg(text)); }
    void setColumnWidth(int, int) override {}
    void addError(const QString& text) override { note(QStringLiteral("error ") + text); }
    void addInformation(const QString& text) override { note(QStringLiteral("info ") + text); }
    void setCurrentElement(qb::browser::xElement*, int index) override { note(QStringLiteral("current %1").arg(index)); }
    void setListItemCount(int count) override { note(QStringLiteral("count %1").arg(count)); }
    void setElementPaneText(const QString&) override {}
    void setObjectCountPaneText(const QString&) override {}
    void setSqlPaneText(const QString& text) override { note(QStringLiteral("sql ") + text); }
    void enableQuickViewBar(bool) override {}
    void redrawList() override { note(QStringLiteral("redraw")); }
    void showErrorBox(const QString&, const QString&) override {}
};

bool waitUntil(const std::function<bool()>& done, int ms = 10000)
{
    QDeadlineTimer deadline(ms);
    while (!done()) {
        if (deadline.hasExpired())
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    }
    return true;
}

} // namespace

TEST(GuiThreadBridgeTest, WorkerCallsArriveOnTheGuiThreadInOrder)
{
    Recorder target;
    auto bridge = GuiThreadBridge::create(&target, &target, &target);
    std::thread worker([bridge] {
        bridge->clearListColumns();
        for (int i = 0; i < 200; ++i)
            bridge->addListColumn(QString::number(i), i, 100, 0);
        bridge->setCurrentElement(nullptr, 5);
        bridge->setListItemCount(100);
        bridge->addError(QStringLiteral("last"));
    });
    worker.join();
    ASSERT_TRUE(waitUntil([&] { return target.calls.size() == 204; }));
    EXPECT_FALSE(target.offThread);
    EXPECT_EQ(target.calls.first(), "clear");
    for (int i = 0; i < 200; ++i)
        ASSERT_EQ(target.calls[i + 1], QStringLiteral("column %1 %1").arg(i));
    EXPECT_EQ(target.calls.mid(201), (QStringList{"current 5", "count 100", "error last"}));
}

TEST(GuiThreadBridgeTest, ProgressFromAFastWorkerKeepsOnlyItsLatestValue)
{
    Recorder target;
    auto bridge = GuiThreadBridge::create(&target, &target, &target);
    std::thread worker([bridge] {
        bridge->setProgressRange(0, 100);
        for (int i = 0; i <= 100000; ++i)
            bridge->postText(QStringLiteral("row %1").arg(i), i % 101);
        bridge->hideProgress();
    });
    worker.join();
    ASSERT_TRUE(waitUntil([&] { return target.calls.contains("hide"); }));
    QCoreApplication::processEvents();
    // One update for the whole burst, carrying the last text.
    EXPECT_LT(target.progressUpdates, 10);
    EXPECT_TRUE(target.calls.contains("text row 100000"));
    EXPECT_EQ(target.calls.last(), "hide");
}

TEST(GuiThreadBridgeTest, NothingArrivesAfterDetachOrDropPending)
{
    auto target = std::make_unique<Recorder>();
    auto bridge = GuiThreadBridge::create(target.get(), target.get(), target.get());
    std::thread([bridge] { bridge->addError(QStringLiteral("stale")); }).join();
    bridge->dropPending();
    QCoreApplication::processEvents();
    EXPECT_TRUE(target->calls.isEmpty());

    // A worker keeps calling while the window goes away; the bridge outlives it.
    std::atomic<bool> go{true};
    std::thread worker([bridge, &go] {
        while (go)
            bridge->addInformation(QStringLiteral("late"));
    });
    waitUntil([&] { return !target->calls.isEmpty(); });
    bridge->detach();
    target.reset();
    go = false;
    worker.join();
    QCoreApplication::processEvents();
    bridge->addError(QStringLiteral("after"));
    SUCCEED();
}

TEST(GuiThreadBridgeTest, CallsOnTheGuiThreadGoStraightThrough)
{
    Recorder target;
    auto bridge = GuiThreadBridge::create(&target, &target, &target);
    bridge->addError(QStringLiteral("now"));
    bridge->setProgressPos(40);
    EXPECT_EQ(target.calls, QStringList{"error now"});
    EXPECT_EQ(target.lastPos, 40);
    bridge->detach();
    bridge->addError(QStringLiteral("gone"));
    EXPECT_EQ(target.calls, QStringList{"error now"});
}
