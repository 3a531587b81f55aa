#pragma once
// What a loader job asks of its main window, besides the ReportSink. The main window implements
// it and carries every call over to the GUI thread; the job holds shared ownership of the
// implementation, so the implementation must itself cope with a window that is already gone
// (for example through a guarded pointer). None of these calls returns anything, so queued calls
// that do not block are enough.
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
