#include "datalinks/DataLinkFileEditing.h"

#include "dataaccess/DataLinkFile.h"
#include "dataaccess/Provider.h"
#include "datalinks/DataLinkDialog.h"

#include <QFileInfo>
#include <QMessageBox>

namespace qb::datalinks {

int editDataLinkFile(const QString& path, QWidget* owner)
{
    // The title stays plain: a new link is edited under a temporary name nobody should have to read.
    DataLinkDialog dialog(owner);
    const QFileInfo info(path);
    if (info.exists() && info.size() > 0) {
        try {
            dialog.model().load(data::readDataLinkFile(path));
            dialog.reload();
        } catch (const data::ProviderError& e) {
            QMessageBox::warning(owner, dialog.windowTitle(),
                                 QStringLiteral("%1\n\nA new data link is shown instead; the file is replaced only when you press OK.")
                                     .arg(e.description()));
        }
    }
    while (dialog.exec() == QDialog::Accepted) {
        try {
            data::writeDataLinkFile(path, dialog.model().savedString());
            return kEditSaved;
        } catch (const data::ProviderError& e) {
            QMessageBox::critical(&dialog, dialog.windowTitle(), e.description());
        }
    }
    return kEditCancelled;
}

} // namespace qb::datalinks
