// tessmar: the SQL console. With -batch it runs a script without a window (BatchMode.h); otherwise
// it becomes tessmar-window, its companion in the same folder, with the same arguments.
//
// The split keeps the widget and graphics libraries out of batch runs: loading them alone took
// about half of what a batch run holds in memory, and a cron job or CI step has no use for them.
#include "console/batch/BatchMode.h"
#include "platform/ExecutableFolder.h"

#include <QCoreApplication>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <unistd.h>

namespace {

int startWindow(char** argv)
{
    const QByteArray window = (qb::executableFolder() + QStringLiteral("/tessmar-window")).toLocal8Bit();
    // The arguments as they came, the program name too: the window system names the window's
    // class after it, and the desktop entry is tessmar's.
    execv(window.constData(), argv);
    std::fprintf(stderr, "tessmar: %s: %s\n", window.constData(), std::strerror(errno));
    return qb::console::kBatchNotRun;
}

} // namespace

int main(int argc, char** argv)
{
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments.append(QString::fromLocal8Bit(argv[i]));
    const qb::CommandLineOptions commandLine(arguments);
    if (!commandLine.has(qb::console::batchOption()))
        return startWindow(argv);
    QCoreApplication app(argc, argv);
    return qb::console::runBatch(commandLine);
}
