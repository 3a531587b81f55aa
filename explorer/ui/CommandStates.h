#pragma once
// When each command of the main window is enabled, from a snapshot of the window's state. Pure,
// so the rules are checked without widgets; the window refreshes its actions from it whenever it
// is idle.
namespace qb::ui {

struct WindowSnapshot {
    bool connected = false;
    bool idle = true;          // no loader job runs
    int currentElement = 0;    // 0: nothing shown
    bool currentAcceptsSql = false;
    bool sqlPaneVisible = false;
    bool canGoBack = false;
    bool canGoForward = false;
};

bool commandEnabled(int id, const WindowSnapshot& s);

} // namespace qb::ui
