#pragma once
// What a loader job asks of its main window, besides the ReportSink. The main window implements it.
//
// Threads: loader jobs call it from the window's worker thread, and the GUI thread calls it as
// well: a Stop that gives up on a job turns the quick view bar back on and redraws the list there,
// and closing the connection clears the list and the current element there. A call from the GUI
// thread runs directly; a worker's call is carried over to the GUI thread. None of these calls
// returns anything, so a worker's call may be queued without waiting for it. The implementation
// never makes a caller on the GUI thread wait for the window itself (a lock, a queue or an event
// that only the GUI thread would serve).
//
// Lifetime: a job holds shared ownership of the implementation and may outlive the window, so
// the implementation copes with a window that is already gone (for example through a guarded
// pointer).
#include <QString>

namespace qb::browser {

class xElement;

class BrowserWindow {
public:
    virtual ~BrowserWindow() = default;

    // The element the data list now shows, and its slot (0 and nullptr after closing).
    virtual void setCurrentElement(xElement* element, int index) = 0;
    // The data list's item count (for tables at most one page).
    virtual void setListItemCount(int count) = 0;
    // Status-bar pane "%s": the current element's caption.
    virtual void setElementPaneText(const QString& text) = 0;
    // Status-bar pane "Object(s): %i": the element's full item count.
    virtual void setObjectCountPaneText(const QString& text) = 0;
    // The SQL pane's whole text.
    virtual void setSqlPaneText(const QString& text) = 0;
    virtual void enableQuickViewBar(bool enable) = 0;
    // Update now, erase, invalidate.
    virtual void redrawList() = 0;
    // A message box owned by the foreground window, with the error icon.
    virtual void showErrorBox(const QString& title, const QString& text) = 0;
};

} // namespace qb::browser
