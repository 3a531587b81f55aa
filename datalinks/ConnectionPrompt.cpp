#include "datalinks/ConnectionPrompt.h"

#include "dataaccess/DataSourceFactory.h"
#include "datalinks/DataLinkDialog.h"

#include <QFileDialog>

namespace qb::datalinks {
namespace {

const QString kFilter = QStringLiteral("Microsoft UDL files (*.udl)");

QString runFileDialog(QWidget* owner, const QString& title, QFileDialog::AcceptMode mode)
{
    QFileDialog dialog(owner, title, QString(), kFilter);
    dialog.setAcceptMode(mode);
    dialog.setFileMode(mode == QFileDialog::AcceptSave ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    dialog.setDefaultSuffix(QStringLiteral("udl"));
    dialog.setFilter(dialog.filter() | QDir::Hidden);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
}

} // namespace

std::shared_ptr<data::DataSource> promptDataSource(QWidget* owner)
{
    DataLinkDialog dialog(owner);
    if (dialog.exec() != QDialog::Accepted)
        return nullptr;
    std::shared_ptr<data::DataSource> source = data::createDataSource(dialog.model().connectionString());
    source->initialize();
    return source;
}

QString chooseNewDataLinkFile(QWidget* owner, const QString& title)
{
    return runFileDialog(owner, title, QFileDialog::AcceptSave);
}

QString chooseDataLinkFileToOpen(QWidget* owner)
{
    return runFileDialog(owner, QString(), QFileDialog::AcceptOpen);
}

} // namespace qb::datalinks
