#pragma once
// The program that edits a data link file: `datalink FILE.udl`, next to the running program.
// It exits when the user is done; whether anything was saved shows in the file itself.
#include <QString>
#include <QStringList>

namespace qb::datalinks {

struct DataLinkEditor {
    QString program;       // full path
    QStringList arguments; // given before the file's path

    // bin/datalink beside the running executable.
    static DataLinkEditor standard();

    // Starts the editor on the file and waits, without a time limit, until it ends. Paint and
    // timer events go on meanwhile (so the caller's windows are drawn), user input does not (so
    // the caller's commands cannot run again underneath). Returns an empty text when the editor
    // ran, else the system's reason why it could not be started.
    QString run(const QString& file) const;
};

} // namespace qb::datalinks
