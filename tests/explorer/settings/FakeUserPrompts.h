#pragma once
// Answers the settings commands' questions as a test scripts them and records what was shown.
#include "explorer/settings/UserPrompts.h"

#include <QStringList>

namespace qbtest {

class FakeUserPrompts : public qb::settings::UserPrompts {
public:
    qb::settings::Answer answer = qb::settings::Answer::No;
    QString chosenFile; // empty: the file dialog is cancelled

    QStringList messages; // "<icon>|<caption>|<text>"
    QStringList questions;
    int fileDialogs = 0;
    int beeps = 0;
    qb::settings::SaveFileRequest lastRequest;

    void showMessage(qb::settings::MessageIcon icon, const QString& caption, const QString& text) override
    {
        messages << QStringLiteral("%1|%2|%3").arg(int(icon)).arg(caption, text);
    }
    qb::settings::Answer askYesNoCancel(const QString& caption, const QString& text) override
    {
        questions << caption + u'|' + text;
        return answer;
    }
    QString chooseSaveFile(const qb::settings::SaveFileRequest& request) override
    {
        ++fileDialogs;
        lastRequest = request;
        return chosenFile;
    }
    void beep() override { ++beeps; }
};

} // namespace qbtest
