#pragma once
// The settings commands' questions and messages as message boxes and a file dialog, owned by a
// window. Texts are shown as plain text: a caption or message may carry a file name.
#include "explorer/settings/UserPrompts.h"

#include <QPointer>
#include <QWidget>

namespace qb::ui {

class WidgetPrompts : public settings::UserPrompts {
public:
    explicit WidgetPrompts(QWidget* owner) : m_owner(owner) {}

    void showMessage(settings::MessageIcon icon, const QString& caption, const QString& text) override;
    settings::Answer askYesNoCancel(const QString& caption, const QString& text) override;
    QString chooseSaveFile(const settings::SaveFileRequest& request) override;
    void beep() override;

private:
    QPointer<QWidget> m_owner;
};

// A message box with plain text, owned by `owner`; the standard icons of the message kinds.
void showPlainMessage(QWidget* owner, settings::MessageIcon icon, const QString& caption, const QString& text);

} // namespace qb::ui
