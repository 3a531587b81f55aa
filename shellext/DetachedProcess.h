#pragma once
// Starts a program as a process of its own and does not wait for it.
//
// The program is given by its full path and run from an argument vector: no shell, no search of
// PATH. The new process inherits the caller's environment and current folder but none of its
// other open files, and runs in a session of its own, so that it neither becomes a zombie of a
// long-lived caller nor ends with the caller's terminal.
#include <QByteArray>
#include <QList>
#include <QString>

namespace qb::shellext {

// Empty when the program was started (it has run exec); otherwise why not, with the program's path
// (the error of fork or exec, e.g. "cannot start /q/tessmar: No such file or directory").
// Waits only until exec has happened, never for the program itself.
QString startDetached(const QByteArray& program, const QList<QByteArray>& arguments);

} // namespace qb::shellext
