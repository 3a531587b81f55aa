// Timing programs of the explorer's main window on a table t made by `dataaccess_bench make`,
// under the offscreen platform (bench/run-window.sh):
//   window_bench stall FILE    while the loader counts t: the GUI thread's longest stall, in ms
//                              (a 5 ms timer that measures its own lateness)
//   window_bench stop FILE     ms from Sto&p to the window being idle again, 100 ms into the load (the count)
//   window_bench open FILE     ms from asking for t to its first page painted
//   window_bench scroll FILE   ms from Down on the last row of page 0 to page 1 painted
//   window_bench rss FILE      peak resident memory (kB) with t shown in the window
#include "bench/BenchSupport.h"
#include "explorer/browser/LoaderThread.h"
#include "explorer/ui/CommandIds.h"
#include "explorer/ui/DataListModel.h"
#include "explorer/ui/DataListView.h"
#include "explorer/ui/MainWindow.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QTableView>
#include <QTemporaryDir>
#include <QTimer>
#include <iostream>

namespace {

using namespace qb::ui;
using Clock = std::chrono::steady_clock;

// Notes when the grid's viewport is painted showing what `shows` asks for.
class PaintWatch : public QObject {
public:
    PaintWatch(QWidget* viewport, std::function<bool()> shows) : m_shows(std::move(shows))
    {
        viewport->installEventFilter(this);
    }
    bool painted = false;
    bool eventFilter(QObject*, QEvent* e) override
    {
        if (e->type() == QEvent::Paint && m_shows())
            painted = true;
        return false;
    }

private:
    std::function<bool()> m_shows;
};

struct Session {
    std::unique_ptr<MainWindow> window;

    explicit Session(const QString& file)
    {
        window = std::make_unique<MainWindow>();
        window->resize(1000, 700);
        window->show();
        if (!window->openConnection(QStringLiteral("Provider=SQLite;Data Source=") + file, false))
            throw std::runtime_error("cannot open the database");
        waitIdle();
    }
    void waitIdle()
    {
        qb::bench::processUntil([&] { return window->isIdle() && !window->loader().hasJob(); });
        QCoreApplication::processEvents();
    }
    void showTable()
    {
        qb::browser::ShowOrder order;
        order.jobCode = qb::browser::kTableElement;
        order.object = qb::data::ObjectName{QString(), QStringLiteral("t")};
        window->loader().startShow(order);
    }
    QTableView* grid() { return window->dataList().tableView(); }
};

int stall(const QString& file)
{
    Session s(file);
    QElapsedTimer clock;
    qint64 last = 0, worst = 0;
    QTimer ticker;
    ticker.setTimerType(Qt::PreciseTimer);
    QObject::connect(&ticker, &QTimer::timeout, [&] {
        const qint64 now = clock.elapsed();
        // Only while the loader works: what the window does with the rows afterwards is no stall.
        if (!s.window->isIdle()) {
            worst = std::max(worst, now - last - 5);
        }
        last = now;
    });
    s.showTable();
    clock.start();
    ticker.start(5);
    s.waitIdle();
    ticker.stop();
    qb::bench::printMs(double(worst));
    return 0;
}

int stop(const QString& file)
{
    Session s(file);
    s.showTable();
    const auto begin = Clock::now();
    qb::bench::processUntil([&] { return qb::bench::msSince(begin) >= 100; });
    if (s.window->isIdle())
        throw std::runtime_error("the load ended before it could be stopped");
    const auto asked = Clock::now();
    s.window->runCommand(kCmdStop);
    s.waitIdle();
    qb::bench::printMs(qb::bench::msSince(asked));
    return 0;
}

int open(const QString& file)
{
    Session s(file);
    // The first page is there once a painted cell shows the first row's id.
    PaintWatch watch(s.grid()->viewport(), [&] { return s.window->dataList().model().cellText(0, 1) == QStringLiteral("1"); });
    const auto begin = Clock::now();
    s.showTable();
    qb::bench::processUntil([&] { return watch.painted; });
    qb::bench::printMs(qb::bench::msSince(begin));
    return 0;
}

int scroll(const QString& file)
{
    Session s(file);
    s.showTable();
    s.waitIdle();
    s.grid()->setFocus();
    for (int i = 0; i < 99; ++i) {
        QKeyEvent down(QEvent::KeyPress, Qt::Key_Down, Qt::NoModifier);
        QCoreApplication::sendEvent(s.grid(), &down);
    }
    QCoreApplication::processEvents();
    PaintWatch watch(s.grid()->viewport(), [&] { return s.window->dataList().model().cellText(0, 1) == QStringLiteral("101"); });
    const auto begin = Clock::now();
    QKeyEvent down(QEvent::KeyPress, Qt::Key_Down, Qt::NoModifier);
    QCoreApplication::sendEvent(s.grid(), &down);
    qb::bench::processUntil([&] { return watch.painted; });
    qb::bench::printMs(qb::bench::msSince(begin));
    if (s.window->dataList().model().cellText(0, 1) != QStringLiteral("101"))
        throw std::runtime_error("Down did not turn to page 1");
    return 0;
}

int rss(const QString& file)
{
    Session s(file);
    s.showTable();
    s.waitIdle();
    QCoreApplication::processEvents();
    std::cout << qb::bench::peakResidentKb() << '\n';
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // A settings folder of its own, so that no run touches the user's layout.
    QTemporaryDir settings;
    qputenv("QUILLBASE_REGISTRY_DIR", settings.path().toUtf8());
    qputenv("XDG_RUNTIME_DIR", settings.path().toUtf8());
    QApplication app(argc, argv);
    return qb::bench::runMode(argc, argv, 2, "stall|stop|open|scroll|rss FILE", [&](const std::string& mode) -> std::optional<int> {
        const QString file = QString::fromLocal8Bit(argv[2]);
        if (mode == "stall")
            return stall(file);
        if (mode == "stop")
            return stop(file);
        if (mode == "open")
            return open(file);
        if (mode == "scroll")
            return scroll(file);
        if (mode == "rss")
            return rss(file);
        return std::nullopt;
    });
}
