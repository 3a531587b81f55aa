#pragma once
// One run of the loader: show element k of a ShowOrder on the worker thread.
//   1. Wait until the window is idle, make it busy; disable the quick view bar.
//   2. Show the element with the order's request (or the default one).
//   3. Errors become report-log entries; anything unexpected the "Unknown error" box.
//   4. The element becomes the current one (the element left becomes a back point unless the
//      order is a history step); status panes, item count and the SQL pane follow it.
//   5. Idle again; quick view bar enabled; list redrawn.
// A job the owner gave up on runs on to its end but skips every step that reaches the window.
#include "explorer/browser/HistoryPoint.h"
#include "explorer/browser/ShowOrder.h"

#include <memory>

namespace qb {
class WorkerThreadContext;
}

namespace qb::browser {

class BrowserState;
class BrowserWindow;
class LoaderJobToken;
class xElement;

class LoaderJob {
public:
    LoaderJob(std::shared_ptr<BrowserState> state, std::shared_ptr<LoaderJobToken> token, ShowOrder order);

    int run(WorkerThreadContext& context);

private:
    void show(xElement& element);
    // Makes the element the current one (unless the job was abandoned) and tells the window.
    void present(int index, xElement& element, const std::optional<HistoryPoint>& left);
    // Whether the element left is worth a back point: not when the show changes nothing (a
    // refresh of the same element, object and SQL text).
    bool leavesSomething(int index, const xElement& element, const HistoryPoint& left) const;
    bool reachesWindow() const;
    // The window, or nullptr once the job has been given up on; asked before every call.
    BrowserWindow* window() const;

    std::shared_ptr<BrowserState> m_state;
    std::shared_ptr<LoaderJobToken> m_token;
    ShowOrder m_order;
};

} // namespace qb::browser
