#include "explorer/ui/CommandStates.h"

#include "explorer/browser/LoaderGating.h"
#include "explorer/browser/NavigationHistory.h"
#include "explorer/ui/CommandIds.h"

namespace qb::ui {

bool commandAvailable(int id)
{
    switch (id) {
    case kCmdNewDataLink:
    case kCmdNewConnectionString:
    case kCmdTipOfTheDay:
        return false;
    default:
        return true;
    }
}

bool commandEnabled(int id, const WindowSnapshot& s)
{
    using namespace qb::browser;
    if (!commandAvailable(id))
        return false;
    const UiState ui{s.connected, s.idle};
    switch (id) {
    case kCmdOpenDataLink:
        return canOpenConnection(ui);
    case kCmdCloseConnection:
        return canCloseConnection(ui);
    case kCmdSqlWindow:
        return s.connected && s.currentAcceptsSql;
    case kCmdBack:
        return s.idle && s.canGoBack;
    case kCmdForward:
        return s.idle && s.canGoForward;
    case kCmdUp:
        return NavigationHistory::upEnabled(s.connected, s.idle, s.currentElement);
    case kCmdStop:
        return canStop(ui);
    case kCmdRefresh:
        return canRefresh(ui);
    case kCmdChangeListView:
        return s.connected && s.idle;
    case kCmdIcons:
    case kCmdSmallIcons:
    case kCmdList:
    case kCmdReport:
        // Every element kind keeps a list of its own; switching while a load runs would redraw a
        // list that is being replaced.
        return s.connected && s.idle && s.currentElement > 0;
    case kCmdPreviousRow:
    case kCmdNextRow:
        return canStepRows(ui);
    case kCmdExecuteSql:
        return s.connected && s.idle && s.sqlPaneVisible;
    default:
        // Exit, the toolbar, status bar and pane toggles, the options, the help items and the
        // recent documents are always there.
        return true;
    }
}

} // namespace qb::ui
