// The console's connection commands and the run of a script.
#include "platform/BrelibException.h"
#include "platform/StringTable.h"
#include "console/script/ConsoleText.h"
#include "console/script/ScriptJob.h"
#include "console/ui/CategoryFormats.h"
#include "console/ui/ConsoleCommandIds.h"
#include "console/ui/ConsolePrompts.h"
#include "console/ui/ConsoleWindow.h"
#include "console/ui/ResultChannel.h"
#include "console/ui/ResultView.h"
#include "console/ui/SqlEditor.h"
#include "dataaccess/ErrorText.h"
#include "datalinks/ConnectionPrompt.h"

#include <QAction>
#include <QApplication>
#include <QGuiApplication>
#include <QMessageBox>
#include <QProgressBar>

namespace qb::console::ui {
namespace {

// The wait cursor for the length of a command.
class WaitCursor {
public:
    WaitCursor() { QGuiApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QGuiApplication::restoreOverrideCursor(); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
};

} // namespace

void ConsoleWindow::runCommand(int id)
{
    QAction* a = action(id);
    const bool recent = id >= kCmdRecentFirst && id <= kCmdRecentLast;
    if (!recent && (!a || !a->isEnabled()))
        return;
    switch (id) {
    case kCmdNewDataLink:
        createDataLinkCommand();
        break;
    case kCmdNewConnectionString:
        createConnectionStringCommand();
        break;
    case kCmdOpenConnection:
        openConnectionCommand();
        break;
    case kCmdCloseConnection:
        closeConnection();
        break;
    case kCmdNewSqlFile:
        newSqlFile();
        break;
    case kCmdOpenSqlFile:
        openSqlFile();
        break;
    case kCmdSaveSqlFile:
        saveSqlFile(false);
        break;
    case kCmdSaveSqlFileAs:
        saveSqlFile(true);
        break;
    case kCmdCloseSqlFile:
        closeSqlFile();
        break;
    case kCmdExit:
        close();
        break;
    case kCmdExecute:
        executeQuery();
        break;
    case kCmdStop:
        stopExecution();
        break;
    case kCmdSettings:
        showSettings();
        break;
    case kCmdFind:
        showFind();
        break;
    case kCmdAbout:
        m_prompts->tell(QMessageBox::Information, loadString(kTextProgramName),
                        QStringLiteral("tessmar %1\nThe SQL console of Quillbase").arg(QStringLiteral(QB_VERSION)));
        break;
    default:
        if (recent) {
            if (!m_runActive)
                openRecent(id);
        } else {
            editCommand(id);
        }
        break;
    }
    scheduleCommandUpdate();
}

// Runs one connection command in the frame every one of them shares: the wait cursor, and the
// failure shown in a message box.
template <typename Command> void ConsoleWindow::runConnectionCommand(Command command)
{
    try {
        WaitCursor wait;
        command();
    } catch (const Brelib::exception& e) {
        m_prompts->tell(QMessageBox::Critical, loadString(kTextErrorCaption), e.text());
    } catch (const data::ProviderError& e) {
        m_prompts->tell(QMessageBox::Critical, loadString(kTextErrorCaption), data::providerErrorText(e));
    }
    updateTitle();
    scheduleCommandUpdate();
}

bool ConsoleWindow::openConnection(const QString& name, bool isDataLinkFile)
{
    if (m_runActive)
        return false;
    try {
        WaitCursor wait;
        // The trial open: a name that does not open leaves the current connection as it was.
        try {
            data::Connection::openDataSource(name, isDataLinkFile);
        } catch (const data::ProviderError& e) {
            throw Brelib::exception(loadString(kTextOpenFailed) + QStringLiteral(": ") + data::providerErrorText(e));
        }
        if (m_connection->beforeConnect())
            m_connection->replaceConnection(name, isDataLinkFile);
    } catch (const Brelib::exception& e) {
        m_prompts->tell(QMessageBox::NoIcon, QString(), e.text());
    } catch (const data::ProviderError& e) {
        m_prompts->tell(QMessageBox::NoIcon, QString(), data::providerErrorText(e));
    }
    updateTitle();
    scheduleCommandUpdate();
    return isConnected();
}

void ConsoleWindow::applyCommandLine(const CommandLineOptions& commandLine)
{
    QString name = commandLine.value(QStringLiteral("-udl"));
    const bool isDataLinkFile = !name.isEmpty();
    if (name.isEmpty())
        name = commandLine.value(QStringLiteral("-constr"));
    if (name.isEmpty())
        return;
    openConnection(name, isDataLinkFile);
    bool execute = false;
    const QString sqlFile = commandLine.value(QStringLiteral("-sql"));
    if (!sqlFile.isEmpty()) {
        // As "O&pen SQL File..." on that file; a file that cannot be read runs nothing.
        execute = openSqlFileAt(sqlFile) && commandLine.has(QStringLiteral("-execute"));
    } else if (commandLine.has(QStringLiteral("-cmd")) && !commandLine.value(QStringLiteral("-cmd")).isEmpty()) {
        if (isConnected())
            m_sql->appendUndoless(commandLine.value(QStringLiteral("-cmd")));
        execute = commandLine.has(QStringLiteral("-execute"));
    }
    if (execute)
        executeQuery();
}

void ConsoleWindow::openConnectionCommand()
{
    const QString file = m_prompts->openFile(
        FileChoice{QString(), loadString(kTextUdlFilter) + QStringLiteral(" (*.udl)"), QStringLiteral("udl")});
    if (!file.isEmpty())
        openConnection(file, true);
}

void ConsoleWindow::openRecent(int command)
{
    const QString path = m_recent.pathForCommand(command);
    if (!path.isEmpty())
        openConnection(path, true);
}

void ConsoleWindow::createDataLinkCommand()
{
    const QString target = m_prompts->saveFile(FileChoice{loadString(kTextNewDataLinkTitle),
                                                          loadString(kTextUdlFilter) + QStringLiteral(" (*.udl)"),
                                                          QStringLiteral("udl")});
    if (target.isEmpty())
        return;
    runConnectionCommand([&] {
        datalinks::createDataLinkFile(*m_connection, target,
                                      m_options.dataLinkEditor ? *m_options.dataLinkEditor : datalinks::DataLinkEditor::standard());
    });
}

void ConsoleWindow::createConnectionStringCommand()
{
    runConnectionCommand([&] {
        const auto prompt = [this] {
            return m_options.promptDataSource ? m_options.promptDataSource(this) : datalinks::promptDataSource(this);
        };
        // The new connection first: Cancel keeps the one the user had.
        datalinks::createConnectionStringKeepingOld(*m_connection, prompt);
    });
}

bool ConsoleWindow::closeConnection()
{
    if (!isConnected())
        return true;
    if (!closeSqlFile())
        return false;
    stopRun();
    m_connection->close();
    m_sql->setReadOnly(true);
    updateTitle();
    scheduleCommandUpdate();
    return true;
}

void ConsoleWindow::afterConnect()
{
    updateTitle();
    updateCommandStates();
    newSqlFile();
}

void ConsoleWindow::executeQuery()
{
    if (!isConnected() || m_runActive)
        return;
    const std::shared_ptr<data::Session> session = m_connection->session();
    if (!session)
        return;
    ScriptRunOptions options;
    options.rowsShownDuringExecution = m_settings.rowsShownDuringExecution();
    auto run = std::make_shared<ScriptRun>(session, m_channel, m_channel, m_stop, options);
    try {
        m_worker.start(scriptJob(run, m_stop, m_sql->toPlainText()), WorkerThread::DefaultStopTimeout);
    } catch (const Brelib::exception& e) {
        m_prompts->tell(QMessageBox::Critical, loadString(kTextErrorCaption), e.text());
        return;
    }
    // Grayed from here, not only once the run says it started, so a second F5 cannot slip in.
    m_runActive = true;
    updateCommandStates();
}

void ConsoleWindow::stopExecution()
{
    if (isConnected())
        m_stop->request();
}

bool ConsoleWindow::stopRun()
{
    if (!m_worker.isRunning()) {
        m_runActive = false;
        return true;
    }
    // The run's output keeps arriving while we wait (the pump handles posted events), so its
    // last lines, the interruption line among them, are in the window when the wait ends.
    const bool ended = m_worker.stop(WorkerThread::DefaultStopTimeout, WorkerThread::eventLoopPump());
    m_channel->flush();
    m_runActive = false;
    m_progress->hide();
    scheduleCommandUpdate();
    return ended;
}

// What the run writes, on this thread.

void ConsoleWindow::appendResultText(const QString& text, ResultTextCategory category)
{
    const TextCategory& c = m_settings.categories[category == ResultTextCategory::ExecutionResults ? kResultExecution : kResultOther];
    const QTextCharFormat format = categoryFormat(c);
    m_result->append(text, &format);
}

void ConsoleWindow::appendPlainText(const QString& text)
{
    m_result->append(text, nullptr);
}

void ConsoleWindow::holdRepaint()
{
    m_result->holdRepaint();
}

void ConsoleWindow::releaseRepaint()
{
    m_result->releaseRepaint();
}

void ConsoleWindow::runStarted()
{
    m_runActive = true;
    scheduleCommandUpdate();
}

void ConsoleWindow::runFinished()
{
    m_runActive = false;
    m_progress->hide();
    scheduleCommandUpdate();
}

void ConsoleWindow::progressStarted()
{
    m_progress->setValue(1);
    m_progress->show();
}

void ConsoleWindow::progressPosition(int position)
{
    m_progress->setValue(position);
}

void ConsoleWindow::progressFinished()
{
    m_progress->hide();
}

void ConsoleWindow::showError(const QString& text)
{
    // After the output that came with it: a message box's own event loop must not run the
    // rest of that output out of order.
    QMetaObject::invokeMethod(
        this, [this, text] { m_prompts->tell(QMessageBox::Critical, loadString(kTextErrorCaption), text); },
        Qt::QueuedConnection);
}

} // namespace qb::console::ui
