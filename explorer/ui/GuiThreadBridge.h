#pragma once
// The main window as the loader and the elements see it: a ReportSink and a BrowserWindow that
// carry every call over to the GUI thread, where the window's own implementations run.
//
// - Calls made on the GUI thread (a tree expansion loads there, the stop path runs there) go
//   straight through.
// - Calls from a worker are posted and never wait, so a worker can never deadlock with a GUI
//   thread that is waiting for it. They run in the order they were made.
// - Progress and status text keep only their latest value: a load that reports every row posts
//   one update at a time, however fast it reports.
// - The jobs co-own this object; after detach() (the window is going) every call is dropped,
//   also those already posted. dropPending() drops only those already posted (closing a
//   connection: nothing a finished job said may arrive after the window was cleared).
#include "common/ReportSink.h"
#include "explorer/browser/BrowserWindow.h"

#include <QPointer>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <utility>
#include <vector>

class QObject;
class QThread;

namespace qb::ui {

class GuiThreadBridge final : public ReportSink, public browser::BrowserWindow {
public:
    // `context` lives on the GUI thread; what was posted for it dies with it. `sink` and `window`
    // are the GUI-thread implementations (usually `context` itself). Made on the GUI thread.
    static std::shared_ptr<GuiThreadBridge> create(QObject* context, ReportSink* sink, browser::BrowserWindow* window);

    void detach();
    void dropPending();

    // ReportSink
    void setProgressRange(int minimum, int maximum) override;
    void setProgressPos(int pos) override;
    void hideProgress() override;
    void postText(const QString& text, int pos) override;
    void clearListColumns() override;
    void addListColumn(const QString& text, int index, int width, int format) override;
    void setColumnWidth(int index, int width) override;
    void addError(const QString& text) override;
    void addInformation(const QString& text) override;

    // BrowserWindow
    void setCurrentElement(browser::xElement* element, int index) override;
    void setListItemCount(int count) override;
    void setElementPaneText(const QString& text) override;
    void setObjectCountPaneText(const QString& text) override;
    void setSqlPaneText(const QString& text) override;
    void enableQuickViewBar(bool enable) override;
    void redrawList() override;
    void showErrorBox(const QString& title, const QString& text) override;

private:
    // The latest progress and status values not yet shown.
    struct Status {
        std::optional<std::pair<int, int>> range;
        std::optional<int> pos;
        std::optional<QString> text;
        bool hide = false;
    };

    struct Pending {
        uint64_t generation;
        std::function<void()> call;
    };
    class Receiver;
    friend class Receiver;

    GuiThreadBridge(QObject* context, ReportSink* sink, browser::BrowserWindow* window);
    bool onGuiThread() const;
    void post(std::function<void()> call);
    // Tells the GUI thread that there is something to deliver, once until it has delivered.
    // Called with the lock held.
    void wakeLocked();
    // On the GUI thread: runs what workers left, in order, then shows the latest status.
    void deliver();
    void updateStatus(const std::function<void(Status&)>& change);
    void flushStatus();
    void applyStatus(const Status& status);

    QThread* const m_guiThread;
    ReportSink* const m_sink;
    browser::BrowserWindow* const m_window;

    // Workers hand their calls over through this queue, behind the lock, and wake the receiver
    // with an empty event; the GUI thread takes them under the same lock. So every byte a worker
    // wrote is handed over by our own lock, not by the event queue's.
    mutable std::mutex m_mutex;
    QObject* m_context;            // null after detach()
    QObject* m_receiver = nullptr; // a child of the context, on the GUI thread
    uint64_t m_generation = 0;
    std::vector<Pending> m_pending;
    bool m_woken = false;
    Status m_status;
};

} // namespace qb::ui
