#pragma once
// The main windows of one qorvex process, all on the GUI thread. A window is started for the
// process's command line, for a new-connection command of a connected window, and for a data
// link file handed over by a second process. At most 63 windows are open at once; a request
// beyond that is refused with a message.
//
// Starting a window: it is made (reading its settings), then its start command runs (a new data
// link file, a new connection string, the open dialog) before it is shown; a start command that
// fails or is cancelled closes the window again. Otherwise the pane switches of the command line
// go over the saved layout, the window is shown and brought forward, a data link file or
// connection string of the command line is opened, and the tip of the day is offered. A window
// whose saved place is taken by an open one steps aside (down and right), so none hides another.
//
// The process ends when the set becomes empty. Its exit code is 0, or 1 when the first window
// could not be started or its start command failed or was cancelled.
#include "explorer/startup/CommandLine.h"
#include "explorer/ui/MainWindow.h"

#include <QObject>
#include <QPointer>
#include <functional>
#include <vector>

namespace qb::app {

class WindowSet : public QObject {
    Q_OBJECT
public:
    static constexpr int kMaxWindows = 63;

    // `base`: the options every window starts from (settings root, tips folder).
    explicit WindowSet(ui::MainWindowOptions base = {});
    ~WindowSet() override;

    // The process's first window. Its failure to start decides the exit code.
    void startFirstWindow(const explorer::CommandLine& line);
    // Any later window. Returns it when it is open and shown, else nullptr.
    ui::MainWindow* startWindow(const explorer::CommandLine& line);

    int count() const { return int(m_windows.size()); }
    // The oldest window still open (the one a second process brings forward), or nullptr.
    ui::MainWindow* firstLiveWindow() const;
    ui::MainWindow* window(int index) const { return m_windows.at(size_t(index)).window; }
    int exitCode() const { return m_firstFailed ? 1 : 0; }

    // The message box of the process's own failures (caption "qorvex"); tests may replace it.
    std::function<void(const QString& text)> showProcessMessage;

signals:
    // The last window is gone (or the first could not be started).
    void emptied();

private:
    ui::MainWindow* launch(const explorer::CommandLine& line);
    bool runStartCommand(ui::MainWindow& window, explorer::StartCommand command);
    void applyPaneSwitches(ui::MainWindow& window, const explorer::CommandLine& line);
    void stepAside(ui::MainWindow& window);
    void forget(QObject* window);

    struct Entry {
        ui::MainWindow* window;
        QObject* object; // the same, as destroyed() names it once the window part is gone
    };
    ui::MainWindowOptions m_base;
    std::vector<Entry> m_windows;
    bool m_firstFailed = false;
};

// The command line of a window started for a new-connection command of another window.
explorer::CommandLine commandLineForRequest(int commandId);

// Shows `window` in front of the others, restored when it was minimised.
void bringToFront(QWidget& window);

} // namespace qb::app
