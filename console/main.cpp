// tessmar: the SQL console. With -batch it runs a script without a window (BatchMode.h);
// otherwise it opens the window and applies the command line:
//   tessmar [-udl FILE | -constr STRING] [-sql FILE | -cmd SQL] [-execute] [-dontsavelayout]
#include "common/WorkerThread.h"
#include "console/batch/BatchMode.h"
#include "console/ui/ConsoleWindow.h"

#include <QApplication>
#include <QCoreApplication>
#include <chrono>

int main(int argc, char** argv)
{
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments.append(QString::fromLocal8Bit(argv[i]));
    const qb::CommandLineOptions commandLine(arguments);

    if (commandLine.has(qb::console::batchOption())) {
        // No display needed: a core application only.
        QCoreApplication app(argc, argv);
        return qb::console::runBatch(commandLine);
    }

    int result = 0;
    {
        QApplication app(argc, argv);
        QApplication::setApplicationName(QStringLiteral("tessmar"));
        auto* window = new qb::console::ui::ConsoleWindow();
        window->setAttribute(Qt::WA_DeleteOnClose);
        window->show();
        window->applyCommandLine(commandLine);
        result = app.exec();
    }
    // A run given up on at close may still be going; no static destructor may run under it.
    qb::WorkerThread::awaitThreadsBeforeExit(result, std::chrono::seconds(10));
    return result;
}
