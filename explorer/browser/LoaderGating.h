#pragma once
// When the user interface lets a command or an event through, by connection and loader state.
// Evaluated on every update of menus and toolbars and at the start of each handler.
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
