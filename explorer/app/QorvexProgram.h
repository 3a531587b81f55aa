#pragma once
// qorvex from process start to end, on the GUI thread: the single-instance claim (a second
// process hands over to the running one and ends with 0), the window set with the first window
// for the command line, the busy cursor, and the event loop until the last window is gone.
#include <QString>
#include <QStringList>

namespace qb::app {

class WindowSet;

// `arguments` without the program's path. Returns the process's exit code.
int runQorvex(const QStringList& arguments);

// The request a second process sends: its arguments, with the data link file of -udl made
// absolute (the running process has another current folder).
QStringList handOverRequest(const QStringList& arguments);

// What the running process does for a second one, and the line it answers: a data link file
// opens in a new window; anything else brings the oldest open window forward.
QString answerHandOver(WindowSet& windows, const QStringList& request);

} // namespace qb::app
