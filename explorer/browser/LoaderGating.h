#pragma once
// Which commands and events the window lets through, decided from two facts only: whether it is
// connected and whether a loader job runs. Kept as pure functions so the enabling of menus and
// toolbars and the check at the top of each handler ask the same rule and cannot drift apart.
namespace qb::browser {

struct UiState {
    bool connected = false;
    bool idle = true; // no loader job runs
};

// "Create new data link", "Create new connection string", "Open data link".
constexpr bool canOpenConnection(UiState s) { return s.idle; }
// "Close the connection", "Go to previous row", "Go to next row", "Refresh".
constexpr bool canCloseConnection(UiState s) { return s.connected && s.idle; }
constexpr bool canStepRows(UiState s) { return s.connected && s.idle; }
constexpr bool canRefresh(UiState s) { return s.connected && s.idle; }
// "Stop".
constexpr bool canStop(UiState s) { return s.connected && !s.idle; }
// Tree selection and expansion, list text and image requests: ignored at once while busy.
constexpr bool acceptsElementRequests(UiState s) { return s.idle; }
// Activating a list item: a running job is stopped by the start of the new one.
constexpr bool canActivateItem(UiState s) { return s.connected; }

} // namespace qb::browser
