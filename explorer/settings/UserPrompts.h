#pragma once
// The questions, messages and file choices the settings commands need from the user. The main
// window implements it with message boxes and a file dialog; tests answer it themselves.
#include <QString>

namespace qb::settings {

enum class MessageIcon { None, Information, Question, Exclamation, Error };
enum class Answer { Yes, No, Cancel };

struct SaveFileRequest {
    QString filterName;    // "Microsoft REG files"
    QString pattern;       // "*.reg"
    QString defaultSuffix; // "reg"
    bool showHiddenFiles = true;
    bool confirmOverwrite = true;
    bool promptToCreate = true;
};

class UserPrompts {
public:
    virtual ~UserPrompts() = default;
    virtual void showMessage(MessageIcon icon, const QString& caption, const QString& text) = 0;
    virtual Answer askYesNoCancel(const QString& caption, const QString& text) = 0;
    // The chosen file, or an empty text when the user cancelled.
    virtual QString chooseSaveFile(const SaveFileRequest& request) = 0;
    virtual void beep() = 0;
};

} // namespace qb::settings
