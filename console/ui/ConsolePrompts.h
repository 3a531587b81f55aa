#pragma once
// The questions, messages and file choices of the console's commands. WidgetConsolePrompts shows
// message boxes and file dialogs; tests answer them themselves.
#include <QMessageBox>
#include <QString>
#include <memory>

namespace qb::console::ui {

struct FileChoice {
    QString title;
    QString filter;        // "SQL querys (*.sql)"
    QString defaultSuffix; // "sql"
};

class ConsolePrompts {
public:
    virtual ~ConsolePrompts() = default;
    virtual QMessageBox::StandardButton ask(QMessageBox::Icon icon, const QString& caption, const QString& text,
                                            QMessageBox::StandardButtons buttons) = 0;
    virtual void tell(QMessageBox::Icon icon, const QString& caption, const QString& text) = 0;
    // The chosen file, or empty when cancelled.
    virtual QString openFile(const FileChoice& choice) = 0;
    // Asks before an existing file is replaced.
    virtual QString saveFile(const FileChoice& choice) = 0;
    virtual void beep() = 0;
};

class WidgetConsolePrompts : public ConsolePrompts {
public:
    explicit WidgetConsolePrompts(QWidget* owner) : m_owner(owner) {}
    QMessageBox::StandardButton ask(QMessageBox::Icon icon, const QString& caption, const QString& text,
                                    QMessageBox::StandardButtons buttons) override;
    void tell(QMessageBox::Icon icon, const QString& caption, const QString& text) override;
    QString openFile(const FileChoice& choice) override;
    QString saveFile(const FileChoice& choice) override;
    void beep() override;

private:
    QWidget* m_owner;
};

} // namespace qb::console::ui
