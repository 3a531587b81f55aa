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
#include <vector>

namespace {

int startWindow(char** argv)
{
    const QByteArray window = (qb::executableFolder() + QStringLiteral("/tessmar-window")).toLocal8Bit();
    std::vector<char*> arguments{const_cast<char*>(window.constData())};
    for (char** a = argv + 1; *a; ++a)
        arguments.push_back(*a);
    arguments.push_back(nullptr);
    execv(window.constData(), arguments.data());
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
