// qorvex: the database explorer.
#include "common/WorkerThread.h"
#include "explorer/app/QorvexProgram.h"

#include <QApplication>
#include <chrono>

int main(int argc, char** argv)
{
    int result = 0;
    {
        QApplication app(argc, argv);
        QApplication::setApplicationName(QStringLiteral("qorvex"));
        result = qb::app::runQorvex(QApplication::arguments().mid(1));
    }
    // A loader job given up on may still run; no static destructor may run under it.
    qb::WorkerThread::awaitThreadsBeforeExit(result, std::chrono::seconds(10));
    return result;
}
