#include "console/ui/ConsolePrompts.h"

#include <QApplication>
#include <QFileDialog>

namespace qb::console::ui {
namespace {

QString runFileDialog(QWidget* owner, const FileChoice& choice, QFileDialog::AcceptMode mode)
{
    QFileDialog dialog(owner, choice.title, QString(), choice.filter);
    dialog.setAcceptMode(mode);
    dialog.setFileMode(mode == QFileDialog::AcceptSave ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    dialog.setDefaultSuffix(choice.defaultSuffix);
    dialog.setFilter(dialog.filter() | QDir::Hidden);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
}

} // namespace

QMessageBox::StandardButton WidgetConsolePrompts::ask(QMessageBox::Icon icon, const QString& caption, const QString& text,
                                                      QMessageBox::StandardButtons buttons)
{
    QMessageBox box(icon, caption, text, buttons, m_owner);
    box.setTextFormat(Qt::PlainText);
    return QMessageBox::StandardButton(box.exec());
}

void WidgetConsolePrompts::tell(QMessageBox::Icon icon, const QString& caption, const QString& text)
{
    QMessageBox box(icon, caption, text, QMessageBox::Ok, m_owner);
    box.setTextFormat(Qt::PlainText);
    box.exec();
}

QString WidgetConsolePrompts::openFile(const FileChoice& choice)
{
    return runFileDialog(m_owner, choice, QFileDialog::AcceptOpen);
}

QString WidgetConsolePrompts::saveFile(const FileChoice& choice)
{
    return runFileDialog(m_owner, choice, QFileDialog::AcceptSave);
}

void WidgetConsolePrompts::beep()
{
    QApplication::beep();
}

} // namespace qb::console::ui
