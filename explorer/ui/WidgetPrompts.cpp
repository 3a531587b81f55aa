#include "explorer/ui/WidgetPrompts.h"

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>

namespace qb::ui {
namespace {

QMessageBox::Icon boxIcon(settings::MessageIcon icon)
{
    switch (icon) {
    case settings::MessageIcon::Information:
        return QMessageBox::Information;
    case settings::MessageIcon::Question:
        return QMessageBox::Question;
    case settings::MessageIcon::Exclamation:
        return QMessageBox::Warning;
    case settings::MessageIcon::Error:
        return QMessageBox::Critical;
    case settings::MessageIcon::None:
        break;
    }
    return QMessageBox::NoIcon;
}

} // namespace

void showPlainMessage(QWidget* owner, settings::MessageIcon icon, const QString& caption, const QString& text)
{
    QMessageBox box(boxIcon(icon), caption, text, QMessageBox::Ok, owner);
    box.setTextFormat(Qt::PlainText);
    box.exec();
}

void WidgetPrompts::showMessage(settings::MessageIcon icon, const QString& caption, const QString& text)
{
    showPlainMessage(m_owner, icon, caption, text);
}

settings::Answer WidgetPrompts::askYesNoCancel(const QString& caption, const QString& text)
{
    QMessageBox box(QMessageBox::Question, caption, text, QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel,
                    m_owner);
    box.setTextFormat(Qt::PlainText);
    switch (box.exec()) {
    case QMessageBox::Yes:
        return settings::Answer::Yes;
    case QMessageBox::No:
        return settings::Answer::No;
    default:
        return settings::Answer::Cancel;
    }
}

QString WidgetPrompts::chooseSaveFile(const settings::SaveFileRequest& request)
{
    QFileDialog dialog(m_owner);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setNameFilter(QStringLiteral("%1 (%2)").arg(request.filterName, request.pattern));
    dialog.setDefaultSuffix(request.defaultSuffix);
    QDir::Filters filters = dialog.filter();
    if (request.showHiddenFiles)
        filters |= QDir::Hidden;
    dialog.setFilter(filters);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, !request.confirmOverwrite);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return QString();
    return dialog.selectedFiles().constFirst();
}

void WidgetPrompts::beep()
{
    QApplication::beep();
}

} // namespace qb::ui
