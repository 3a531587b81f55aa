// The console window on real databases: the command line, the title, SQL files, undo, find,
// a run and its stop, and the result window's text against the batch mode's output.
#include "ConsoleWindowFixture.h"

#include "common/ui/SqlHighlighter.h"
#include "console/ui/ConsoleCommandIds.h"
#include "console/ui/FindDialog.h"
#include "dataaccess/DataLinkFile.h"

#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QMenu>
#include <QRegularExpression>
#include <QTextBlock>
#include <QTextLayout>
#include <QToolButton>
#include <unistd.h>
#include <QProcess>
#include <QPushButton>
#include <QSplitter>

namespace qbtest {
namespace {

using namespace qb::console;
using namespace qb::console::ui;

QString lastMessage(const ScriptedPrompts& p)
{
    return p.messages.empty() ? QString() : p.messages.back().text;
}

QByteArray fileBytes(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void writeFile(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

qb::CommandLineOptions commandLine(const QStringList& arguments)
{
    return qb::CommandLineOptions(arguments);
}

class ConsoleWindowTest : public ConsoleWindowFixture {};

TEST_P(ConsoleWindowTest, ACommandWithoutAConnectionPutsNothingInTheWindowAndRunsNothing)
{
    auto w = openWindow();
    w->applyCommandLine(commandLine({"-cmd", "select 1;", "-execute"}));
    QCoreApplication::processEvents();
    EXPECT_TRUE(w->sqlEditor().toPlainText().isEmpty());
    EXPECT_TRUE(resultText(*w).isEmpty());
    EXPECT_FALSE(w->isRunning());
    EXPECT_TRUE(w->sqlEditor().isReadOnly());
    EXPECT_FALSE(w->action(kCmdExecute)->isEnabled());
    EXPECT_EQ(w->windowTitle(), "Vexa@Tessmar");
}

TEST_P(ConsoleWindowTest, ADataLinkFileWithACommandRunsItOnceAndNamesItInTheTitle)
{
    const QString udl = scratch.qpath() + "/sales.udl";
    qb::data::writeDataLinkFile(udl, backend->connectionString());
    auto w = openWindow();
    w->applyCommandLine(commandLine({"-udl", udl, scratch.qpath() + "/ignored.udl", "-cmd", "select 1;", "-execute"}));
    waitForRun(*w);
    EXPECT_EQ(w->sqlEditor().toPlainText(), "select 1;");
    EXPECT_EQ(resultText(*w).count("SQL>  select 1\n"), 1) << resultText(*w).toStdString();
    EXPECT_TRUE(resultText(*w).contains("Selected 1 rows from 1"));
    EXPECT_EQ(w->windowTitle(), "sales.udl - Vexa@Tessmar - [" + w->sqlPath() + "]");
    EXPECT_EQ(w->recentList().entries().value(w->recentList().entries().size() - 1), udl) << "the newest entry";
    EXPECT_TRUE(w->close());
}

TEST_P(ConsoleWindowTest, TheTitleShowsTheLinkFileNameAndTheSqlFilesFullPath)
{
    const QString udl = scratch.qpath() + "/sales.udl";
    qb::data::writeDataLinkFile(udl, backend->connectionString());
    const QString sql = scratch.qpath() + "/a.sql";
    writeFile(sql, "select 2;\n");
    auto w = openWindow();
    w->applyCommandLine(commandLine({"-udl", udl, "-sql", sql}));
    EXPECT_EQ(w->windowTitle(), "sales.udl - Vexa@Tessmar - [" + sql + "]");
    EXPECT_EQ(w->sqlEditor().toPlainText(), "select 2;\n");
    EXPECT_FALSE(w->isRunning()) << "-sql without -execute only opens the file";
    w->runCommand(kCmdCloseConnection);
    EXPECT_EQ(w->windowTitle(), "Vexa@Tessmar");
    EXPECT_TRUE(w->sqlEditor().isReadOnly());
}

TEST_P(ConsoleWindowTest, AMinusFiveAfterConstrIsItsValueAndFailsAsAConnectionString)
{
    auto w = openWindow();
    w->applyCommandLine(commandLine({"-constr", "-5", "-execute"}));
    EXPECT_FALSE(w->isConnected());
    ASSERT_EQ(prompts->messages.size(), 1u);
    EXPECT_TRUE(lastMessage(*prompts).startsWith("The new connection has been interrupped: ")) << lastMessage(*prompts).toStdString();
}

TEST_P(ConsoleWindowTest, NewSqlFilesAreNumberedUntitledFilesInTheDocumentsFolder)
{
    auto w = openWindow();
    connect(*w); // the after-connect step makes the first one
    const QString first = w->sqlPath();
    ASSERT_TRUE(w->isUntitled());
    ASSERT_TRUE(w->newSqlFile());
    const QString second = w->sqlPath();
    const QRegularExpression name("/unknown(\\d+)\\.sql$");
    const auto m1 = name.match(first);
    const auto m2 = name.match(second);
    ASSERT_TRUE(m1.hasMatch() && m2.hasMatch()) << first.toStdString() << " " << second.toStdString();
    EXPECT_EQ(m2.captured(1).toInt(), m1.captured(1).toInt() + 1);
    EXPECT_FALSE(w->sqlEditor().isReadOnly());
}

TEST_P(ConsoleWindowTest, ACancelledSaveOfAnUntitledFileKeepsItUntitledAndModified)
{
    auto w = openWindow();
    connect(*w);
    w->sqlEditor().setFocus();
    QTest::keyClicks(&w->sqlEditor(), "select 1;");
    ASSERT_TRUE(w->isModified());
    const QString path = w->sqlPath();
    EXPECT_FALSE(w->saveSqlFile(false)) << "no file chosen";
    EXPECT_TRUE(w->isUntitled());
    EXPECT_TRUE(w->isModified());
    EXPECT_EQ(w->sqlPath(), path);
    // New asks, and a cancelled save inside it ends New with the text still there.
    prompts->answers.push_back(QMessageBox::Yes);
    EXPECT_FALSE(w->newSqlFile());
    ASSERT_EQ(prompts->questions.size(), 1u);
    EXPECT_EQ(prompts->questions[0].text, "Save changes to " + path + " ?");
    EXPECT_EQ(prompts->questions[0].caption, "Information");
    EXPECT_EQ(w->sqlEditor().toPlainText(), "select 1;");
}

TEST_P(ConsoleWindowTest, AFileWithCrLfLoadsOneBreakPerLineAndIsSavedWithLf)
{
    const QString path = scratch.qpath() + "/crlf.sql";
    writeFile(path, "select 1;\r\n-- Grüße\r\nselect 2;\r\n");
    auto w = openWindow();
    connect(*w);
    prompts->openFiles.push_back(path);
    ASSERT_TRUE(w->openSqlFile());
    EXPECT_EQ(w->sqlEditor().document()->blockCount(), 4);
    EXPECT_EQ(w->sqlEditor().toPlainText(), QString::fromUtf8("select 1;\n-- Grüße\nselect 2;\n"));
    EXPECT_FALSE(w->isModified());
    QTest::keyClick(&w->sqlEditor(), Qt::Key_End, Qt::ControlModifier);
    QTest::keyClicks(&w->sqlEditor(), "select 3;");
    ASSERT_TRUE(w->saveSqlFile(false));
    EXPECT_EQ(fileBytes(path), QByteArray("select 1;\n-- Gr\xC3\xBC\xC3\x9F" "e\nselect 2;\nselect 3;"));
    EXPECT_FALSE(w->isModified());
    EXPECT_FALSE(w->action(kCmdSaveSqlFile)->isEnabled() && w->isModified());
}

TEST_P(ConsoleWindowTest, OpenAsksToSaveAndACancelledDialogOrAnUnreadableFileChangesNothing)
{
    auto w = openWindow();
    connect(*w);
    QTest::keyClicks(&w->sqlEditor(), "select 1;");
    const QString path = w->sqlPath();
    EXPECT_FALSE(w->openSqlFile()) << "the dialog was cancelled";
    EXPECT_EQ(prompts->questions.size(), 1u) << "asked before the dialog";
    EXPECT_EQ(w->sqlEditor().toPlainText(), "select 1;");
    EXPECT_EQ(w->sqlPath(), path);
    prompts->openFiles.push_back(scratch.qpath() + "/none.sql");
    EXPECT_FALSE(w->openSqlFile());
    EXPECT_TRUE(lastMessage(*prompts).contains("none.sql")) << lastMessage(*prompts).toStdString();
    EXPECT_EQ(w->sqlEditor().toPlainText(), "select 1;");
    EXPECT_TRUE(w->isModified());
}

TEST_P(ConsoleWindowTest, ASaveThatCannotWriteIsReportedAndTheFileStaysModifiedAndTheOldOneIntact)
{
    auto w = openWindow();
    connect(*w);
    const QString folder = scratch.qpath() + "/locked";
    ASSERT_TRUE(QDir().mkpath(folder));
    const QString path = folder + "/old.sql";
    writeFile(path, "select 'old';\n");
    prompts->openFiles.push_back(path);
    ASSERT_TRUE(w->openSqlFile());
    QTest::keyClicks(&w->sqlEditor(), "select 'new';");
    // A read-only folder; root passes permission checks, so there the folder is made immutable.
    QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner);
    const bool immutable = ::geteuid() == 0 && QProcess::execute("chattr", {"+i", folder}) == 0;
    if (::geteuid() == 0 && !immutable)
        GTEST_SKIP() << "running as root on a file system without the immutable attribute";
    const bool saved = w->saveSqlFile(false);
    if (immutable)
        QProcess::execute("chattr", {"-i", folder});
    QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    EXPECT_FALSE(saved);
    EXPECT_TRUE(w->isModified());
    EXPECT_EQ(fileBytes(path), "select 'old';\n");
    ASSERT_FALSE(prompts->messages.empty());
    EXPECT_EQ(prompts->messages.back().caption, "Error");
    EXPECT_TRUE(lastMessage(*prompts).contains(path)) << lastMessage(*prompts).toStdString();
}

TEST_P(ConsoleWindowTest, UndoOfOneTypedCharacterTakesItsColouringWithItInOneStep)
{
    auto w = openWindow();
    connect(*w);
    SqlEditor& editor = w->sqlEditor();
    editor.resetText("selec");
    editor.moveCursor(QTextCursor::End);
    editor.setFocus();
    QTest::keyClick(&editor, Qt::Key_T);
    QCoreApplication::processEvents(); // the command states follow the edit
    const auto keywords = [&] {
        int n = 0;
        for (const qb::SqlColourRange& r : editor.highlighter().ranges())
            n += r.category == qb::SqlTextCategory::Keyword;
        return n;
    };
    ASSERT_EQ(editor.toPlainText(), "select");
    ASSERT_EQ(keywords(), 1);
    const QColor keywordColour = editor.document()->firstBlock().layout()->formats().value(0).format.foreground().color();
    EXPECT_EQ(keywordColour, QColor(0, 0, 255));
    w->runCommand(kCmdUndo);
    EXPECT_EQ(editor.toPlainText(), "selec");
    EXPECT_EQ(keywords(), 0);
    EXPECT_FALSE(editor.document()->isUndoAvailable()) << "one step";
    QCoreApplication::processEvents();
    w->runCommand(kCmdRedo);
    EXPECT_EQ(editor.toPlainText(), "select");
    EXPECT_EQ(keywords(), 1);
}

TEST_P(ConsoleWindowTest, WholeWordFindStopsAtTheWordAndNeverWraps)
{
    auto w = openWindow();
    connect(*w);
    SqlEditor& editor = w->sqlEditor();
    editor.setPlainText("select selected");
    editor.moveCursor(QTextCursor::Start);
    editor.setFocus();
    QCoreApplication::processEvents(); // the command states follow the focus and the text
    QTest::keyClick(&editor, Qt::Key_F, Qt::ControlModifier);
    FindDialog* find = w->findDialog();
    ASSERT_TRUE(find && find->isVisible());
    find->whatBox()->setEditText("select");
    find->wholeWordBox()->setChecked(true);
    find->findNextButton()->click();
    EXPECT_EQ(editor.textCursor().selectionStart(), 0);
    EXPECT_EQ(editor.textCursor().selectedText(), "select");
    EXPECT_TRUE(find->isVisible()) << "pinned at start";
    find->findNextButton()->click();
    EXPECT_EQ(lastMessage(*prompts), "Can't find the string \"select\"");
    EXPECT_EQ(prompts->beeps, 1);
    EXPECT_EQ(editor.textCursor().selectionStart(), 0) << "no hit leaves the selection";
    EXPECT_EQ(w->findState().history, QStringList{"select"});
    // Without whole words the second word matches; an unpinned dialog closes after the search.
    find->pinButton()->click();
    find->wholeWordBox()->setChecked(false);
    find->findNextButton()->click();
    EXPECT_EQ(editor.textCursor().selectionStart(), 7);
    EXPECT_FALSE(find->isVisible());
}

TEST_P(ConsoleWindowTest, TheCaretPanesCountRowsAndColumnsWithTabStops)
{
    auto w = openWindow();
    connect(*w);
    SqlEditor& editor = w->sqlEditor();
    editor.setFocus();
    editor.setPlainText("a\n\tb");
    editor.moveCursor(QTextCursor::End);
    QCoreApplication::processEvents();
    EXPECT_EQ(w->statusPane(2)->text(), "Row: 2     ");
    EXPECT_EQ(w->statusPane(3)->text(), "Col: 4     ") << "TAB to column 2 (tab count 2), then b";
    ConsoleSettings zeroTabs = w->settings();
    zeroTabs.sqlWindow.tabCount = 0;
    w->applySettings(zeroTabs);
    EXPECT_EQ(w->statusPane(3)->text(), "Col: 3     ") << "with tab count 0 a TAB is one column";
}

TEST_P(ConsoleWindowTest, TheEditCommandsFindAndTheCaretPanesTargetTheResultWindowWhenItHasTheFocus)
{
    auto w = openWindow();
    connect(*w);
    // The echo line holds the lower-case word, the table its upper-case value.
    run(*w, "select upper('beta') as b;");
    ResultView& result = w->resultView();
    result.setFocus();
    QCoreApplication::processEvents();
    EXPECT_EQ(&w->targetWindow(), static_cast<TextPane*>(&result));
    EXPECT_FALSE(w->action(kCmdCopy)->isEnabled()) << "nothing selected yet";
    EXPECT_TRUE(w->action(kCmdSelectAll)->isEnabled());
    EXPECT_TRUE(w->action(kCmdClear)->isEnabled());
    EXPECT_TRUE(w->action(kCmdFind)->isEnabled());
    for (int id : {kCmdUndo, kCmdRedo, kCmdCut, kCmdPaste, kCmdDelete})
        EXPECT_FALSE(w->action(id)->isEnabled()) << id;

    w->findState().text = "BETA";
    w->findState().matchCase = true;
    w->findState().down = true;
    ASSERT_TRUE(w->findNext());
    EXPECT_EQ(result.selectedText(), "BETA");
    QCoreApplication::processEvents();
    EXPECT_TRUE(w->action(kCmdCopy)->isEnabled());
    const int line = int(result.toPlainText().left(result.caretPosition()).count(u'\n')) + 1;
    EXPECT_EQ(w->statusPane(2)->text(), QString("Row: %1     ").arg(line));
    w->runCommand(kCmdCopy);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), "BETA");
    EXPECT_FALSE(w->findNext()) << "no second hit, and no wrap";
    EXPECT_EQ(result.selectedText(), "BETA");

    w->runCommand(kCmdSelectAll);
    w->runCommand(kCmdCopy);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), resultText(*w));
    w->runCommand(kCmdClear);
    EXPECT_TRUE(resultText(*w).isEmpty());
    QCoreApplication::processEvents();
    EXPECT_FALSE(w->action(kCmdClear)->isEnabled());
    EXPECT_FALSE(w->action(kCmdCopy)->isEnabled());
    EXPECT_FALSE(w->action(kCmdFind)->isEnabled());
    EXPECT_EQ(w->statusPane(2)->text(), "Row: 1     ");
    EXPECT_FALSE(w->sqlEditor().toPlainText().isEmpty()) << "Clear empties only the result window";
}

// A statement that runs until it is stopped. The SQLite ODBC driver cannot cancel a statement
// from another thread (the provider lets the call end and refuses the next one), so there it is
// one that ends on its own after a while.
QString longStatement(const std::string& backend)
{
    if (backend == "sqliteodbc")
        return "with recursive c(x) as (select 1 union all select x + 1 from c where x < 2000000) select count(*) from c";
    return "with recursive c(x) as (select 1 union all select x + 1 from c) select count(*) from c";
}

TEST_P(ConsoleWindowTest, ConnectionCommandsAreGrayedWhileAScriptRunsAndStopEndsItWithTheInterruptionLine)
{
    auto w = openWindow();
    connect(*w);
    w->sqlEditor().setPlainText(
        "with recursive c(x) as (select 1 union all select x + 1 from c where x < 20000) select x, 'row' as z from c;\n" +
        longStatement(GetParam()) + ";\nselect 1;");
    QCoreApplication::processEvents();
    QTest::keyClick(&w->sqlEditor(), Qt::Key_F5);
    // The first table is in the window while the run goes on.
    ASSERT_TRUE(waitUntil([&] { return resultText(*w).contains("Selected 20000 rows from 20000"); }, 120000));
    EXPECT_TRUE(w->isRunning());
    QCoreApplication::processEvents();
    for (int id : {kCmdOpenConnection, kCmdCloseConnection, kCmdNewDataLink, kCmdNewConnectionString, kCmdExecute})
        EXPECT_FALSE(w->action(id)->isEnabled()) << id;
    EXPECT_FALSE(w->recentMenu()->isEnabled());
    EXPECT_TRUE(w->action(kCmdStop)->isEnabled());
    QTest::keyClick(&w->sqlEditor(), Qt::Key_F5, Qt::ShiftModifier);
    waitForRun(*w);
    const QString text = resultText(*w);
    EXPECT_TRUE(text.endsWith("SQL>  select 1\nExecution has been interrupted\n")) << text.right(300).toStdString();
    EXPECT_TRUE(text.contains("Execution has been interrupted")) << text.right(300).toStdString();
    QCoreApplication::processEvents();
    EXPECT_TRUE(w->action(kCmdExecute)->isEnabled());
    EXPECT_TRUE(w->action(kCmdCloseConnection)->isEnabled());
}

TEST_P(ConsoleWindowTest, ClosingTheWindowDuringARunStopsTheRunFirst)
{
    auto w = openWindow();
    connect(*w);
    // Where a statement cannot be cancelled, many short ones: the run stops between them, within
    // the close's wait however busy the machine is.
    const QString script = GetParam() == "sqliteodbc" ? QString("select 1;\n").repeated(20000) : longStatement(GetParam()) + ";";
    w->sqlEditor().setPlainText(script);
    QCoreApplication::processEvents();
    w->runCommand(kCmdExecute);
    ASSERT_TRUE(w->isRunning());
    ASSERT_TRUE(waitUntil([&] { return resultText(*w).contains("SQL> "); }));
    EXPECT_TRUE(w->close());
    EXPECT_FALSE(w->isConnected());
    EXPECT_TRUE(resultText(*w).contains("Execution has been interrupted"));
}

TEST_P(ConsoleWindowTest, TheResultWindowShowsByteForByteWhatTheBatchModePrints)
{
    backend->exec("CREATE TABLE people (id INTEGER, name VARCHAR(20), note VARCHAR(10))");
    backend->exec("INSERT INTO people VALUES (1, 'Ann', NULL)");
    backend->exec("INSERT INTO people VALUES (NULL, 'Bob', 'x')");
    // A table with NULLs, an error line, an empty result, a statement without rows.
    const QString script = "select id, name, note from people order by name;\n"
                           "select * from no_such_table;\n"
                           "select id from people where id > 100;\n"
                           "update people set note = 'y' where id = 99;\n"
                           "select count(*) as n from people;";
    auto w = openWindow();
    connect(*w);
    run(*w, script);
    QProcess batch;
    batch.start(QStringLiteral(TESSMAR_PATH), {"-batch", "-constr", backend->connectionString(), "-cmd", script});
    ASSERT_TRUE(batch.waitForFinished(120000));
    EXPECT_EQ(batch.exitCode(), 1) << "the missing table";
    const QString window = resultText(*w);
    EXPECT_TRUE(window.contains("\tExecute has been aborten with an error - : ")) << window.toStdString();
    EXPECT_TRUE(window.contains("Selected 0 rows from 0"));
    EXPECT_TRUE(window.contains("SQL Query was accomplishedSQL>  select count(*) as n from people\n"));
    EXPECT_EQ(window.toUtf8(), batch.readAllStandardOutput());
}

TEST_P(ConsoleWindowTest, ACancelledConnectionPromptKeepsTheConnectionTheUserHad)
{
    qb::console::ui::ConsoleWindowOptions options;
    options.prompts = prompts;
    int prompted = 0;
    options.promptDataSource = [&](QWidget*) -> std::shared_ptr<qb::data::DataSource> {
        ++prompted;
        return nullptr;
    };
    qb::console::ui::ConsoleWindow w(options);
    w.show();
    ASSERT_TRUE(w.openConnection(backend->connectionString(), false));
    w.runCommand(kCmdNewConnectionString);
    EXPECT_EQ(prompted, 1);
    EXPECT_TRUE(w.isConnected());
    EXPECT_FALSE(w.sqlPath().isEmpty()) << "the SQL file stays too";
}

INSTANTIATE_TEST_SUITE_P(Backends, ConsoleWindowTest, ::testing::ValuesIn(backendNames()), backendTestName);

} // namespace
} // namespace qbtest
