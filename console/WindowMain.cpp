// tessmar-window: the SQL console's window, started by tessmar (main.cpp) in its place when no
// -batch is given. It opens the window and applies the command line:
//   tessmar [-udl FILE | -constr STRING] [-sql FILE | -cmd SQL] [-execute] [-dontsavelayout]
#include "common/WorkerThread.h"
#include "console/ui/ConsoleWindow.h"

#include <QApplication>
#include <chrono>

int main(int argc, char** argv)
{
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments.append(QString::fromLocal8Bit(argv[i]));
    const qb::CommandLineOptions commandLine(arguments);

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
