// qorvex: the database explorer. Until the start-up issue brings the whole command line, this
// opens what -udl FILE or -constr STRING names (the data link file wins when both are given) and
// honours -dontsavelayout; otherwise it shows an empty window.
#include "common/WorkerThread.h"
#include "explorer/ui/MainWindow.h"

#include <QApplication>
#include <QStringList>
#include <chrono>

namespace {

// The first value of an option: the argument after it, when that is not an option itself ("-5"
// is a value).
QString optionValue(const QStringList& args, const QString& name)
{
    const qsizetype at = args.indexOf(name);
    if (at < 0 || at + 1 >= args.size())
        return QString();
    const QString& next = args[at + 1];
    const bool isOption = next.size() > 1 && next[0] == u'-' && !next[1].isDigit();
    return isOption ? QString() : next;
}

} // namespace

int main(int argc, char** argv)
{
    int result = 0;
    {
        QApplication app(argc, argv);
        QApplication::setApplicationName(QStringLiteral("qorvex"));
        const QStringList args = QApplication::arguments();

        qb::ui::MainWindow::Options options;
        options.saveLayout = !args.contains(QStringLiteral("-dontsavelayout"));
        auto* window = new qb::ui::MainWindow(options);
        window->setAttribute(Qt::WA_DeleteOnClose);
        window->show();

        const QString udl = optionValue(args, QStringLiteral("-udl"));
        const QString constr = optionValue(args, QStringLiteral("-constr"));
        if (!udl.isEmpty())
            window->openConnection(udl, true);
        else if (!constr.isEmpty())
            window->openConnection(constr, false);
        result = app.exec();
    }
    // A loader job given up on may still run; no static destructor may run under it.
    qb::WorkerThread::awaitThreadsBeforeExit(result, std::chrono::seconds(10));
    return result;
}
