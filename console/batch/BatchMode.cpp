#include "console/batch/BatchMode.h"

#include "platform/BrelibException.h"
#include "platform/StringTable.h"
#include "console/script/ScriptRun.h"
#include "console/script/SqlFile.h"
#include "common/WindowConnection.h"
#include "dataaccess/ErrorText.h"
#include "platform/Event.h"

#include <atomic>
#include <csignal>
#include <cstring>
#include <pthread.h>
#include <thread>

namespace qb::console {
namespace {

// The result window's text on a stream: line ends as the window shows them, as LF.
class StreamWriter : public ResultWriter {
public:
    explicit StreamWriter(std::FILE* out) : m_out(out) {}
    // Echoes, headers, summaries and error lines go out at once, so a log shows which statement
    // runs; the rows in between are buffered.
    void appendResultText(const QString& text, ResultTextCategory) override
    {
        write(text);
        std::fflush(m_out);
    }
    void appendPlainText(const QString& text) override { write(text); }
    void holdRepaint() override {}
    void releaseRepaint() override {}

private:
    // CR LF and a lone CR become LF (every row line ends with CR LF).
    void write(const QString& text)
    {
        m_bytes = text.toUtf8();
        const char* from = m_bytes.constData();
        const char* const end = from + m_bytes.size();
        // Only this thread writes the stream, so its lock is not needed per call.
        while (const char* cr = static_cast<const char*>(std::memchr(from, '\r', size_t(end - from)))) {
            fwrite_unlocked(from, 1, size_t(cr - from), m_out);
            if (cr + 1 >= end || cr[1] != '\n')
                fputc_unlocked('\n', m_out);
            from = cr + 1;
        }
        fwrite_unlocked(from, 1, size_t(end - from), m_out);
    }
    QByteArray m_bytes;
    std::FILE* m_out;
};

// Message boxes become lines on the error stream; the rest of the window's feedback has no place.
class StreamFeedback : public RunFeedback {
public:
    explicit StreamFeedback(std::FILE* err) : m_err(err) {}
    void runStarted() override {}
    void runFinished() override {}
    void progressStarted() override {}
    void progressPosition(int) override {}
    void progressFinished() override {}
    void showError(const QString& text) override { printLine(m_err, text); }

    static void printLine(std::FILE* err, const QString& text)
    {
        QString line = text;
        while (line.endsWith(u'\n') || line.endsWith(u'\r'))
            line.chop(1);
        std::fprintf(err, "%s\n", line.toUtf8().constData());
        std::fflush(err);
    }

private:
    std::FILE* m_err;
};

// Takes SIGINT on a thread of its own (sigwait), where requesting the stop is an ordinary call
// and not something a signal handler may not do. SIGINT is blocked in the calling thread and so
// in every thread made after it.
class InterruptWatcher {
public:
    explicit InterruptWatcher(std::shared_ptr<StopSignal> stop) : m_stop(std::move(stop))
    {
        sigemptyset(&m_set);
        sigaddset(&m_set, SIGINT);
        pthread_sigmask(SIG_BLOCK, &m_set, &m_oldMask);
        m_thread = std::thread([this] { watch(); });
    }
    ~InterruptWatcher()
    {
        m_done = true;
        pthread_kill(m_thread.native_handle(), SIGINT); // wakes the sigwait
        m_thread.join();
        pthread_sigmask(SIG_SETMASK, &m_oldMask, nullptr);
    }
    bool interrupted() const { return m_interrupted.isSet(); }
    // Set from the first Ctrl+C on: a run that starts after it counts it as a stop from the start.
    const Event& interruptedEvent() const { return m_interrupted; }

private:
    void watch()
    {
        for (;;) {
            int signal = 0;
            if (sigwait(&m_set, &signal) != 0 || m_done)
                return;
            m_interrupted.set();
            m_stop->request();
        }
    }

    std::shared_ptr<StopSignal> m_stop;
    sigset_t m_set;
    sigset_t m_oldMask;
    std::atomic<bool> m_done{false};
    Event m_interrupted;
    std::thread m_thread;
};

int usage(std::FILE* err)
{
    std::fputs("usage: tessmar -batch (-udl FILE | -constr STRING) (-sql FILE | -cmd SQL)\n", err);
    return kBatchNotRun;
}

bool knownOptionsOnly(const CommandLineOptions& commandLine)
{
    static const QStringList known = {batchOption(),           QStringLiteral("-udl"), QStringLiteral("-constr"),
                                      QStringLiteral("-sql"),  QStringLiteral("-cmd"), QStringLiteral("-execute"),
                                      QStringLiteral("-dontsavelayout")};
    for (const QString& name : commandLine.optionNames())
        if (!known.contains(name))
            return false;
    return true;
}

} // namespace

int runBatch(const CommandLineOptions& commandLine, std::FILE* out, std::FILE* err)
{
    if (!knownOptionsOnly(commandLine))
        return usage(err);
    QString name = commandLine.value(QStringLiteral("-udl"));
    const bool isDataLinkFile = !name.isEmpty();
    if (name.isEmpty())
        name = commandLine.value(QStringLiteral("-constr"));
    QString script;
    const QString sqlFile = commandLine.value(QStringLiteral("-sql"));
    if (!sqlFile.isEmpty()) {
        const SqlFileResult file = readSqlFile(sqlFile);
        if (!file.ok) {
            StreamFeedback::printLine(err, sqlFile + QStringLiteral(": ") + file.error);
            return kBatchNotRun;
        }
        script = file.text;
    } else if (commandLine.has(QStringLiteral("-cmd"))) {
        script = commandLine.value(QStringLiteral("-cmd"));
    } else {
        return usage(err);
    }
    if (name.isEmpty())
        return usage(err);

    auto stop = std::make_shared<StopSignal>();
    // Before the connection: a driver may start threads of its own, and they must not take SIGINT.
    InterruptWatcher watcher(stop);
    WindowConnection connection;
    try {
        connection.openConnection(name, isDataLinkFile);
    } catch (const Brelib::exception& e) {
        StreamFeedback::printLine(err, e.text());
        return kBatchNotRun;
    } catch (const data::ProviderError& e) {
        StreamFeedback::printLine(err, data::providerErrorText(e));
        return kBatchNotRun;
    }
    // Rows are many short writes; a large buffer keeps them to few system calls.
    std::setvbuf(out, nullptr, _IOFBF, 1 << 20);
    ScriptRun run(connection.session(), std::make_shared<StreamWriter>(out), std::make_shared<StreamFeedback>(err), stop);
    const bool succeeded = run.run(script, &watcher.interruptedEvent());
    std::fflush(out);
    return succeeded && !watcher.interrupted() ? kBatchSucceeded : kBatchFailed;
}

} // namespace qb::console
