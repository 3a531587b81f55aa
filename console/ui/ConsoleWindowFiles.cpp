// The SQL file commands, the edit commands, Find and the settings dialog.
#include "platform/StringTable.h"
#include "console/script/ConsoleText.h"
#include "console/script/SqlFile.h"
#include "console/ui/ConsoleCommandIds.h"
#include "console/ui/ConsolePrompts.h"
#include "console/ui/ConsoleWindow.h"
#include "console/ui/ResultView.h"
#include "console/ui/SettingsDialog.h"
#include "console/ui/SqlEditor.h"

#include <QDir>
#include <QStandardPaths>
#include <QTextCursor>
#include <QTextDocument>

namespace qb::console::ui {
namespace {

// Numbers the untitled files of the process: unknown1.sql, unknown2.sql, ...
int g_untitledCounter = 0;

QString untitledPath()
{
    // The program's folder is not writable for its users; the documents folder is theirs.
    QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (folder.isEmpty())
        folder = QDir::homePath();
    return QDir(folder).filePath(QStringLiteral("unknown%1.sql").arg(++g_untitledCounter));
}

FileChoice sqlFileChoice()
{
    return FileChoice{QString(), loadString(kTextSqlFilter) + QStringLiteral(" (*.sql)"), QStringLiteral("sql")};
}

QString withPath(int textId, const QString& path)
{
    return loadString(textId).replace(QStringLiteral("%s"), path);
}

} // namespace

bool ConsoleWindow::isModified() const
{
    return !m_sqlPath.isEmpty() && m_sql->document()->isModified();
}

void ConsoleWindow::setSqlFile(const QString& path, bool untitled)
{
    m_sqlPath = path;
    m_untitled = untitled;
    m_sql->document()->setModified(false);
    m_sql->setReadOnly(path.isEmpty());
    updateTitle();
    scheduleCommandUpdate();
}

// Asks "Save changes to ... ?" for a modified file and saves on Yes. False when the command must
// end: Cancel, or a save that was cancelled or failed (the window stays as it is).
bool ConsoleWindow::askToSave(QMessageBox::StandardButtons buttons, const QString& caption)
{
    if (!isModified())
        return true;
    const QMessageBox::StandardButton answer =
        m_prompts->ask(QMessageBox::Question, caption, withPath(kTextSaveChanges, m_sqlPath), buttons);
    if (answer == QMessageBox::Cancel)
        return false;
    if (answer == QMessageBox::Yes)
        return saveSqlFile(false);
    return true;
}

bool ConsoleWindow::newSqlFile()
{
    if (!isConnected())
        return false;
    if (!askToSave(QMessageBox::Yes | QMessageBox::No, loadString(kTextInformationCaption)))
        return false;
    // Emptied as one edit, so Ctrl+Z brings the old text back.
    QTextCursor cursor(m_sql->document());
    cursor.select(QTextCursor::Document);
    cursor.removeSelectedText();
    setSqlFile(untitledPath(), true);
    return true;
}

bool ConsoleWindow::openSqlFile()
{
    if (!isConnected())
        return false;
    if (!askToSave(QMessageBox::Yes | QMessageBox::No, loadString(kTextInformationCaption)))
        return false;
    const QString path = m_prompts->openFile(sqlFileChoice());
    if (path.isEmpty())
        return false;
    return openSqlFileAt(path);
}

bool ConsoleWindow::openSqlFileAt(const QString& path)
{
    if (!isConnected())
        return false;
    const SqlFileResult file = readSqlFile(path);
    if (!file.ok) {
        m_prompts->tell(QMessageBox::Critical, loadString(kTextErrorCaption),
                        loadString(kTextReadFailed) + QStringLiteral(": ") + path + QStringLiteral(": ") + file.error);
        return false;
    }
    m_sql->resetText(file.text);
    setSqlFile(QDir::cleanPath(QDir(path).absolutePath()), false);
    return true;
}

bool ConsoleWindow::saveSqlFile(bool choosePath)
{
    if (!isConnected() || m_sqlPath.isEmpty())
        return false;
    if (m_untitled)
        choosePath = true;
    else if (!choosePath && !isModified())
        return true;
    QString path = m_sqlPath;
    if (choosePath) {
        path = m_prompts->saveFile(sqlFileChoice());
        if (path.isEmpty())
            return false;
    }
    const SqlFileResult written = writeSqlFile(path, m_sql->toPlainText());
    if (!written.ok) {
        // The file stays modified (and untitled, if it was); the old file on disk is intact.
        m_prompts->tell(QMessageBox::Critical, loadString(kTextErrorCaption),
                        loadString(kTextSaveFailed) + QStringLiteral(": ") + path + QStringLiteral(": ") + written.error);
        return false;
    }
    m_sqlPath = path;
    m_untitled = false;
    m_sql->document()->setModified(false);
    updateTitle();
    scheduleCommandUpdate();
    return true;
}

bool ConsoleWindow::closeSqlFile()
{
    if (!isConnected() || m_sqlPath.isEmpty())
        return true;
    if (!askToSave(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, loadString(kTextErrorCaption)))
        return false;
    m_sql->resetText(QString());
    setSqlFile(QString(), false);
    return true;
}

void ConsoleWindow::editCommand(int id)
{
    TextPane& target = targetWindow();
    switch (id) {
    case kCmdCopy:
        target.copy();
        return;
    case kCmdSelectAll:
        target.selectAll();
        return;
    case kCmdClear:
        target.clearText();
        return;
    default:
        break;
    }
    // The rest change text: the SQL window's editor alone does, while a file is open in it.
    QPlainTextEdit* editor = target.editor();
    if (!editor || editor->isReadOnly())
        return;
    switch (id) {
    case kCmdUndo:
        editor->undo();
        break;
    case kCmdRedo: {
        editor->redo();
        QTextCursor cursor = editor->textCursor();
        cursor.clearSelection();
        editor->setTextCursor(cursor);
        break;
    }
    case kCmdCut:
        editor->cut();
        break;
    case kCmdPaste:
        editor->paste();
        break;
    case kCmdDelete:
        editor->textCursor().removeSelectedText();
        break;
    default:
        break;
    }
}

void ConsoleWindow::showFind()
{
    if (!m_find) {
        m_find = new FindDialog(m_findState, this);
        connect(m_find, &FindDialog::findNextRequested, this, &ConsoleWindow::findNext);
    }
    m_find->loadState();
    m_find->show();
    m_find->raise();
    m_find->activateWindow();
}

bool ConsoleWindow::findNext()
{
    TextSearch search;
    search.text = m_findState.text;
    search.matchCase = m_findState.matchCase;
    search.wholeWord = m_findState.wholeWord;
    search.down = m_findState.down;
    if (targetWindow().findText(search))
        return true;
    m_prompts->beep();
    m_prompts->tell(QMessageBox::Warning, loadString(kTextInformationCaption), withPath(kTextNotFound, m_findState.text));
    return false;
}

void ConsoleWindow::showSettings()
{
    SettingsDialog dialog(m_settings, *m_prompts, this);
    m_settingsDialog = &dialog;
    connect(&dialog, &SettingsDialog::applied, this, &ConsoleWindow::applySettings);
    dialog.exec();
    m_settingsDialog = nullptr;
}

} // namespace qb::console::ui
