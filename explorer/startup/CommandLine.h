#pragma once
// qorvex's command line: what a window is asked to do when it starts. The first window of a
// process reads the process's arguments; a window opened for another window's new-connection
// command gets only its start command; a file handed over by a second process comes as that
// process's arguments.
//
//   -udl FILE             open the data link file
//   -constr STRING        open the connection string (only when -udl has no value)
//   -dontsavelayout       closing the window saves no layout or view state
//   -show_dbqbar / -hide_dbqbar, -show_report / -hide_report, -show_dbtree / -hide_dbtree
//                         the panes, over the saved layout; when both are given, show wins
//   -newudl, -newcstr, -openudl
//                         only as the whole command line: a new data link file, a new
//                         connection string, the open dialog for a data link file
//
// The table itself is CommandLineOptions. Unknown options (and -?, -help, -h) are ignored;
// nothing is printed.
#include "common/CommandLineOptions.h"

#include <QString>

namespace qb::explorer {

enum class StartCommand { None, NewDataLink, NewConnectionString, OpenDataLink };
enum class PaneSwitch { Keep, Show, Hide };

struct CommandLine {
    StartCommand start = StartCommand::None;
    QString dataLinkFile;     // the first value of -udl
    QString connectionString; // the first value of -constr; used only without a data link file
    bool dontSaveLayout = false;
    PaneSwitch quickViewBar = PaneSwitch::Keep;
    PaneSwitch report = PaneSwitch::Keep;
    PaneSwitch databaseTree = PaneSwitch::Keep;

    bool opensConnection() const { return !dataLinkFile.isEmpty() || !connectionString.isEmpty(); }
};

// The arguments without the program's path.
CommandLine readCommandLine(const QStringList& arguments);

} // namespace qb::explorer
