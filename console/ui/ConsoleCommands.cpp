#include "console/ui/ConsoleCommands.h"

#include "console/ui/ConsoleCommandIds.h"

#include <algorithm>

namespace qb::console::ui {
namespace {

constexpr ConsoleCommandSpec kCommands[] = {
    {kCmdNewDataLink, u"Create new data &link (UDL File)...", "Ctrl+D", u"Create a new data link file and connect to it",
     "new-link"},
    {kCmdNewConnectionString, u"Create new connection &string...", "Ctrl+N",
     u"Describe a new connection and connect to it", "new-connection"},
    {kCmdOpenConnection, u"&Open connection...", "Ctrl+O", u"Connect through a data link file", "open-link"},
    {kCmdCloseConnection, u"&Close connection", nullptr, u"Close the connection", "close-connection"},
    {kCmdNewSqlFile, u"New &SQL File...", "Ctrl+Shift+N", u"Start a new SQL file", "std:new"},
    {kCmdOpenSqlFile, u"O&pen SQL File...", "Ctrl+Shift+O", u"Open an SQL file", "std:open"},
    {kCmdSaveSqlFile, u"Sa&ve SQL File", "Ctrl+Shift+S", u"Save the SQL file", "std:save"},
    {kCmdSaveSqlFileAs, u"Save SQL File &As..", nullptr, u"Save the SQL file under a new name"},
    {kCmdCloseSqlFile, u"Close SQL &File", nullptr, u"Close the SQL file"},
    {kCmdExit, u"E&xit", nullptr, u"Quit the program"},
    {kCmdUndo, u"&Undo", "Ctrl+Z; Alt+Backspace", u"Undo the last action"},
    {kCmdRedo, u"&Redo", "Ctrl+Y", u"Redo the previously undone action"},
    {kCmdCut, u"&Cut", "Ctrl+X; Shift+Del", u"Cut the selection to the clipboard", "std:cut"},
    {kCmdCopy, u"C&opy", "Ctrl+C", u"Copy the selection to the clipboard", "std:copy"},
    {kCmdPaste, u"&Paste", "Ctrl+V", u"Insert the clipboard's text", "std:paste"},
    {kCmdDelete, u"&Delete", "Del", u"Delete the selection"},
    {kCmdSelectAll, u"Select &All", "Ctrl+A", u"Select the whole text"},
    {kCmdClear, u"Cl&ear", nullptr, u"Delete the whole text"},
    {kCmdFind, u"&Find", "Ctrl+F", u"Find a text", "std:find"},
    {kCmdExecute, u"&Execute query", "F5", u"Execute the SQL script", "execute"},
    {kCmdStop, u"&Stop execution", "Shift+F5", u"Stop the running script", "stop"},
    {kCmdSettings, u"&Settings", nullptr, u"Change the settings", "configuration"},
    {kCmdAbout, u"&About tessmar...", nullptr, u"Show the program's name and version"},
};

} // namespace

std::span<const ConsoleCommandSpec> consoleCommands()
{
    return kCommands;
}

const ConsoleCommandSpec* findConsoleCommand(int id)
{
    const auto it = std::find_if(std::begin(kCommands), std::end(kCommands), [id](const auto& c) { return c.id == id; });
    return it == std::end(kCommands) ? nullptr : it;
}

} // namespace qb::console::ui
