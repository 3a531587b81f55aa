#include "explorer/ui/CommandTable.h"

#include "explorer/ui/CommandIds.h"

#include <algorithm>
#include <array>

namespace qb::ui {
namespace {

const std::array kCommands = {
    CommandSpec{kCmdNewDataLink, u"Create new data &link (UDL file)...", "Ctrl+D", "document-new", "new-link"},
    CommandSpec{kCmdNewConnectionString, u"Create new connection &string...", "Ctrl+N", nullptr, "new-connection"},
    CommandSpec{kCmdOpenDataLink, u"&Open data link (UDL file)...", "Ctrl+O", "document-open", "open-link"},
    CommandSpec{kCmdCloseConnection, u"&Close the connection", nullptr, nullptr, "close-connection"},
    CommandSpec{kCmdExit, u"E&xit", "Alt+F4", "application-exit", nullptr},
    CommandSpec{kCmdStandardButtons, u"Standard &Buttons", nullptr, nullptr, nullptr, true},
    CommandSpec{kCmdDatabaseButtons, u"Database B&uttons", nullptr, nullptr, nullptr, true},
    CommandSpec{kCmdLockToolBars, u"&Lock the Tool Bars", nullptr, nullptr, nullptr, true},
    CommandSpec{kCmdStatusBar, u"Status &Bar", nullptr, nullptr, nullptr, true},
    CommandSpec{kCmdQuickViewBar, u"&Quick view bar", nullptr, nullptr, nullptr, true},
    CommandSpec{kCmdDatabaseTree, u"Data base &tree", nullptr, nullptr, nullptr, true},
    CommandSpec{kCmdReportWindow, u"&Report window", nullptr, nullptr, nullptr, true},
    CommandSpec{kCmdSqlWindow, u"&SQL window", nullptr, nullptr, "sql-window", true},
    CommandSpec{kCmdBack, u"&Back", "Alt+Left", "go-previous", "back"},
    CommandSpec{kCmdForward, u"&Forward", "Alt+Right", "go-next", "forward"},
    CommandSpec{kCmdUp, u"&Up One level", nullptr, "go-up", "up"},
    CommandSpec{kCmdStop, u"Sto&p", nullptr, "process-stop", "stop"},
    CommandSpec{kCmdRefresh, u"&Refresh", "Ctrl+R", "view-refresh", "refresh"},
    CommandSpec{kCmdChangeListView, u"Change the list view", nullptr, nullptr, "list-view"},
    CommandSpec{kCmdIcons, u"&Icons", nullptr, nullptr, nullptr, true},
    CommandSpec{kCmdSmallIcons, u"&Small icons", nullptr, nullptr, nullptr, true},
    CommandSpec{kCmdList, u"&List", nullptr, nullptr, nullptr, true},
    CommandSpec{kCmdReport, u"&Report", nullptr, nullptr, nullptr, true},
    CommandSpec{kCmdPreviousRow, u"Go to &previous row (item)", nullptr, nullptr, "previous-row"},
    CommandSpec{kCmdNextRow, u"Go to &next row (item)", nullptr, nullptr, "next-row"},
    CommandSpec{kCmdExecuteSql, u"Execute the &SQL query", "F5", nullptr, "execute"},
    CommandSpec{kCmdConfiguration, u"&Configuration...", nullptr, nullptr, "configuration"},
    CommandSpec{kCmdSaveConfiguration, u"&Save the Configuration", nullptr, nullptr, nullptr},
    CommandSpec{kCmdExportConfiguration, u"&Export the Configuration...", nullptr, nullptr, nullptr},
    CommandSpec{kCmdTipOfTheDay, u"Tip of the &Day...", nullptr, nullptr, nullptr},
    CommandSpec{kCmdPlugins, u"&Plug-ins...", nullptr, nullptr, nullptr},
    CommandSpec{kCmdAbout, u"&About the Vexa@Qorvex...", "Shift+F1", nullptr, nullptr},
    CommandSpec{kCmdHelpHomePage, u"Vexa@Qorvex &Home Page", nullptr, nullptr, nullptr},
    CommandSpec{kCmdHelpMail, u"&Write to the Developers", nullptr, nullptr, nullptr},
    CommandSpec{kCmdHelpQuillbasePage, u"&Quillbase Suite Page", nullptr, nullptr, nullptr},
    CommandSpec{kCmdHelpBugReport, u"Report a &Problem", nullptr, nullptr, nullptr},
};

} // namespace

std::span<const CommandSpec> commandTable()
{
    return kCommands;
}

const CommandSpec* findCommand(int id)
{
    const auto it = std::find_if(kCommands.begin(), kCommands.end(), [id](const CommandSpec& c) { return c.id == id; });
    return it == kCommands.end() ? nullptr : &*it;
}

} // namespace qb::ui
