// qbsql: runs an SQL script against a data link file or a connection string exactly as the
// console runs it (statements cut at ";", one transaction, results as text tables) and writes
// the result text to standard output. For batch use and for the demo.
//   qbsql -udl FILE (-sql FILE | -cmd "SQL")
//   qbsql -constr "Provider=...;..." (-sql FILE | -cmd "SQL")
// Exit status: 0 when every statement and the commit succeeded; 1 when any of them failed (the
// run still goes through the whole script); 2 when the script did not run at all (wrong
// arguments, an unreadable script file, no connection).
#include "common/WindowConnection.h"
#include "console/script/ScriptRun.h"
#include "platform/BrelibException.h"

#include <QCoreApplication>
#include <QFile>
#include <QTextStream>
#include <cstdio>

namespace {

class StdoutWriter : public qb::console::ResultWriter {
public:
    void appendResultText(const QString& text, qb::console::ResultTextCategory) override { write(text); }
    void appendPlainText(const QString& text) override { write(text); }
    void holdRepaint() override {}
    void releaseRepaint() override {}

private:
    static void write(QString text)
    {
        text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
        const QByteArray bytes = text.toUtf8();
        std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stdout);
    }
};

class StderrFeedback : public qb::console::RunFeedback {
public:
    void runStarted() override {}
    void runFinished() override {}
    void progressStarted() override {}
    void progressPosition(int) override {}
    void progressFinished() override {}
    void showError(const QString& text) override { std::fprintf(stderr, "Error: %s\n", text.toUtf8().constData()); }
};

constexpr int kExitSucceeded = 0;
constexpr int kExitStatementsFailed = 1;
constexpr int kExitNotRun = 2;

int usage()
{
    std::fputs("usage: qbsql (-udl FILE | -constr STRING) (-sql FILE | -cmd SQL)\n", stderr);
    return kExitNotRun;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);
    QString name, script;
    bool isFile = false, haveName = false, haveScript = false;
    for (int i = 0; i + 1 < args.size(); i += 2) {
        const QString& key = args[i];
        const QString& value = args[i + 1];
        if (key == u"-udl" || key == u"-constr") {
            name = value;
            isFile = key == u"-udl";
            haveName = true;
        } else if (key == u"-cmd") {
            script = value;
            haveScript = true;
        } else if (key == u"-sql") {
            QFile file(value);
            if (!file.open(QIODevice::ReadOnly)) {
                std::fprintf(stderr, "qbsql: cannot read %s: %s\n", value.toUtf8().constData(),
                             file.errorString().toUtf8().constData());
                return kExitNotRun;
            }
            script = QString::fromUtf8(file.readAll());
            haveScript = true;
        } else {
            return usage();
        }
    }
    if (!haveName || !haveScript || args.size() % 2 != 0)
        return usage();

    qb::WindowConnection connection;
    try {
        connection.openConnection(name, isFile);
    } catch (const Brelib::exception& e) {
        std::fprintf(stderr, "qbsql: %s\n", e.what());
        return kExitNotRun;
    }
    qb::console::ScriptRun run(connection.session(), std::make_shared<StdoutWriter>(), std::make_shared<StderrFeedback>(),
                               std::make_shared<qb::console::StopSignal>());
    const bool succeeded = run.run(script);
    std::fflush(stdout);
    return succeeded ? kExitSucceeded : kExitStatementsFailed;
}
