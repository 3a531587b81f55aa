#pragma once
// A new data link file while it is being made: a temporary file beside the chosen target
// ("<target>.t{GUID}.udl"), edited by the data link editor, then moved over the target in one
// rename. The target is never deleted first, so until the rename it keeps its old content, and
// after it holds the complete new file. The temporary file is created exclusively (never an
// existing file, never through a planted link) and private (mode 0600: it may hold a password),
// and it is deleted on every way out that does not move it.
//
// Failures throw Brelib::exception with the complete message, the system's text included.
#include "datalinks/DataLinkEditor.h"

#include <QString>

namespace qb::datalinks {

class NewDataLinkFile {
public:
    // Creates the temporary file. Throws "Creation and configuration of the Microsoft Data Link
    // File: " + the system's text.
    explicit NewDataLinkFile(QString target);
    ~NewDataLinkFile();
    NewDataLinkFile(const NewDataLinkFile&) = delete;
    NewDataLinkFile& operator=(const NewDataLinkFile&) = delete;

    const QString& target() const { return m_target; }
    const QString& temporaryPath() const { return m_temporary; }

    // Runs the editor on the temporary file and waits for it. An editor that cannot be started
    // throws the same action text + ": " + the program and the system's reason.
    void edit(const DataLinkEditor& editor);

    // "Provider" of section [oledb] as the editor left it; empty means the user cancelled.
    QString provider() const;

    // Renames the temporary file over the target. Throws the system's text.
    void moveToTarget();

private:
    QString m_target;
    QString m_temporary;
    bool m_moved = false;
};

} // namespace qb::datalinks
