#pragma once
// What the datalink program does with its file: shows the Data Link Properties dialog on the
// file's string (a new, empty file starts a new link) and writes the file on OK.
#include <QString>

class QWidget;

namespace qb::datalinks {

enum EditExitCode { kEditSaved = 0, kEditCancelled = 1, kEditUsage = 2 };

// kEditSaved when the file was written, kEditCancelled when the user cancelled. A file that
// cannot be read is reported and editing starts from a new link; a file that cannot be written
// is reported and the dialog comes back, so nothing typed is lost.
int editDataLinkFile(const QString& path, QWidget* owner = nullptr);

} // namespace qb::datalinks
