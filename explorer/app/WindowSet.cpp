#include "explorer/app/WindowSet.h"

#include "explorer/ui/CommandIds.h"

#include <QApplication>
#include <QDockWidget>
#include <QMessageBox>
#include <QScreen>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <exception>

namespace qb::app {
namespace {

constexpr int kCascadeStep = 30;

void showPlainProcessMessage(const QString& text)
{
    QMessageBox box(QMessageBox::NoIcon, QStringLiteral("qorvex"), text, QMessageBox::Ok,
                    QApplication::activeWindow());
    box.setTextFormat(Qt::PlainText);
    box.exec();
}

void applySwitch(QDockWidget* pane, explorer::PaneSwitch how)
{
    if (how == explorer::PaneSwitch::Show)
        pane->show();
    else if (how == explorer::PaneSwitch::Hide)
        pane->hide();
}

} // namespace

explorer::CommandLine commandLineForRequest(int commandId)
{
    explorer::CommandLine line;
    switch (commandId) {
    case ui::kCmdNewDataLink:
        line.start = explorer::StartCommand::NewDataLink;
        break;
    case ui::kCmdNewConnectionString:
        line.start = explorer::StartCommand::NewConnectionString;
        break;
    case ui::kCmdOpenDataLink:
        line.start = explorer::StartCommand::OpenDataLink;
        break;
    default:
        break;
    }
    return line;
}

void bringToFront(QWidget& window)
{
    if (window.isMinimized())
        window.showNormal();
    window.raise();
    window.activateWindow();
}

WindowSet::WindowSet(ui::MainWindowOptions base) : m_base(std::move(base))
{
    showProcessMessage = showPlainProcessMessage;
}

WindowSet::~WindowSet()
{
    const std::vector<Entry> windows = m_windows;
    m_windows.clear();
    for (const Entry& entry : windows) {
        disconnect(entry.window, nullptr, this, nullptr);
        delete entry.window;
    }
}

ui::MainWindow* WindowSet::firstLiveWindow() const
{
    return m_windows.empty() ? nullptr : m_windows.front().window;
}

void WindowSet::startFirstWindow(const explorer::CommandLine& line)
{
    if (!startWindow(line)) {
        m_firstFailed = true;
        if (m_windows.empty())
            emit emptied();
    }
}

ui::MainWindow* WindowSet::startWindow(const explorer::CommandLine& line)
{
    if (count() >= kMaxWindows) {
        showProcessMessage(QStringLiteral("ERROR: Cannot create ANY MORE threads!!!"));
        return nullptr;
    }
    ui::MainWindow* window = launch(line);
    if (!window)
        return nullptr;
    if (line.start != explorer::StartCommand::None && !runStartCommand(*window, line.start)) {
        window->close();
        return nullptr;
    }
    applyPaneSwitches(*window, line);
    stepAside(*window);
    window->show();
    bringToFront(*window);
    if (line.opensConnection()) {
        if (!line.dataLinkFile.isEmpty())
            window->openConnection(line.dataLinkFile, true);
        else
            window->openConnection(line.connectionString, false);
    }
    // The window may have been closed meanwhile (its error box left the loop running).
    QPointer<ui::MainWindow> alive(window);
    window->showTips(false);
    return alive;
}

ui::MainWindow* WindowSet::launch(const explorer::CommandLine& line)
{
    ui::MainWindowOptions options = m_base;
    options.saveLayout = m_base.saveLayout && !line.dontSaveLayout;
    ui::MainWindow* window = nullptr;
    try {
        window = new ui::MainWindow(options);
    } catch (const std::exception& e) {
        // A window that cannot be made is dropped; the process goes on with the others.
        std::fprintf(stderr, "qorvex: a main window could not be created: %s\n", e.what());
        return nullptr;
    }
    window->setAttribute(Qt::WA_DeleteOnClose);
    m_windows.push_back({window, window});
    connect(window, &QObject::destroyed, this, &WindowSet::forget);
    // Posted, so the command that asked has ended before the new window starts.
    connect(window, &ui::MainWindow::newWindowRequested, this,
            [this](int commandId) { startWindow(commandLineForRequest(commandId)); }, Qt::QueuedConnection);
    return window;
}

bool WindowSet::runStartCommand(ui::MainWindow& window, explorer::StartCommand command)
{
    switch (command) {
    case explorer::StartCommand::NewDataLink:
        return window.createDataLinkFile();
    case explorer::StartCommand::NewConnectionString:
        return window.createConnectionString();
    case explorer::StartCommand::OpenDataLink:
        return window.openDataLinkWithDialog();
    case explorer::StartCommand::None:
        break;
    }
    return true;
}

void WindowSet::applyPaneSwitches(ui::MainWindow& window, const explorer::CommandLine& line)
{
    applySwitch(window.pane(ui::MainWindow::QuickViewPane), line.quickViewBar);
    applySwitch(window.pane(ui::MainWindow::ReportPane), line.report);
    applySwitch(window.pane(ui::MainWindow::TreePane), line.databaseTree);
}

void WindowSet::stepAside(ui::MainWindow& window)
{
    // Every window comes back at the saved place; one exactly on top of an open one would hide it.
    const auto taken = [this, &window](const QPoint& at) {
        return std::any_of(m_windows.begin(), m_windows.end(),
                           [&](const Entry& e) { return e.window != &window && e.window->pos() == at; });
    };
    const QScreen* screen = window.screen();
    const QRect area = screen ? screen->availableGeometry() : QRect();
    QPoint at = window.pos();
    for (int step = 0; step < kMaxWindows && taken(at); ++step) {
        at += QPoint(kCascadeStep, kCascadeStep);
        if (area.isValid() && !area.contains(QRect(at, window.frameGeometry().size())))
            at = area.topLeft() + QPoint(step % 8, step % 8) * kCascadeStep / 2;
    }
    if (at != window.pos())
        window.move(at);
}

void WindowSet::forget(QObject* window)
{
    const auto it = std::find_if(m_windows.begin(), m_windows.end(), [window](const Entry& e) { return e.object == window; });
    if (it == m_windows.end())
        return;
    m_windows.erase(it);
    if (m_windows.empty())
        emit emptied();
}

} // namespace qb::app
