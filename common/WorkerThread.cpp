#include "common/WorkerThread.h"

#include "platform/BrelibException.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <algorithm>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <system_error>

namespace qb {

struct WorkerThread::Run {
    WorkerThreadContext context;
    Event finished;
    int result = -1; // written before finished is set, read after it is seen set
};

namespace {

// Counts the worker threads still running in the process. Made once and never destroyed: a
// thread given up on may count itself out while static destructors run at exit.
class ThreadCounter {
public:
    static ThreadCounter& instance()
    {
        static ThreadCounter* const counter = new ThreadCounter;
        return *counter;
    }

    void add()
    {
        std::lock_guard lock(m_mutex);
        ++m_count;
    }
    void remove()
    {
        std::lock_guard lock(m_mutex);
        if (--m_count == 0)
            m_zero.notify_all();
    }
    int count()
    {
        std::lock_guard lock(m_mutex);
        return m_count;
    }
    bool waitForZero(std::chrono::milliseconds timeout)
    {
        std::unique_lock lock(m_mutex);
        return m_zero.wait_for(lock, timeout, [this] { return m_count == 0; });
    }

private:
    std::mutex m_mutex;
    std::condition_variable m_zero;
    int m_count = 0;
};

// Between two calls of the pump the wait is at most this long.
constexpr std::chrono::milliseconds PumpSlice{20};

} // namespace

WorkerThread::~WorkerThread()
{
    stop();
}

void WorkerThread::threadMain(std::shared_ptr<Run> run, Job job)
{
    int result = -1;
    try {
        result = job(run->context);
    } catch (...) {
        result = -1;
    }
    // Let go of what the job holds here, before anyone learns that it ended.
    job = nullptr;
    run->context.clearInterruptHook();
    run->result = result;
    run->finished.set();
    run.reset();
    ThreadCounter::instance().remove(); // the last thing this thread touches of ours
}

void WorkerThread::start(Job job, std::chrono::milliseconds stopTimeout)
{
    if (m_waiting)
        throw Brelib::exception(QStringLiteral("The worker thread cannot start a job while it waits for the previous one."));
    stop(stopTimeout);
    auto run = std::make_shared<Run>();
    ThreadCounter::instance().add();
    try {
        m_thread = std::thread(&WorkerThread::threadMain, run, std::move(job));
    } catch (const std::system_error& e) {
        ThreadCounter::instance().remove();
        throw Brelib::exception(QStringLiteral("Error during create thread") + QStringLiteral(": ")
                                + QString::fromStdString(e.code().message()));
    } catch (...) {
        ThreadCounter::instance().remove();
        throw;
    }
    m_run = std::move(run);
}

bool WorkerThread::stop(std::chrono::milliseconds timeout, const WaitPump& pump)
{
    if (m_waiting)
        return false;
    if (!m_run)
        return true;
    m_run->context.requestKill();
    if (m_thread.get_id() == std::this_thread::get_id()) {
        // A job stopping its own thread cannot wait for itself; it has been told to end.
        m_thread.detach();
        m_run.reset();
        return false;
    }
    if (waitForCurrent(timeout, pump))
        return true;
    // Given up on: the job keeps running on what it co-owns and ends on its own.
    m_thread.detach();
    m_run.reset();
    return false;
}

bool WorkerThread::waitForEnd(std::chrono::milliseconds timeout, const WaitPump& pump)
{
    if (m_waiting)
        return false;
    if (!m_run)
        return true;
    if (m_thread.get_id() == std::this_thread::get_id())
        return false;
    return waitForCurrent(timeout, pump);
}

bool WorkerThread::waitForCurrent(std::chrono::milliseconds timeout, const WaitPump& pump)
{
    struct Waiting {
        bool& flag;
        explicit Waiting(bool& f) : flag(f) { flag = true; }
        ~Waiting() { flag = false; }
    } waiting(m_waiting);
    bool ended = false;
    if (!pump) {
        ended = m_run->finished.wait(timeout);
    } else {
        // The pump runs after every slice, the last one included, so even a wait shorter than a
        // slice serves the GUI thread once; the job may end because of it, hence the last look.
        const auto deadline = std::chrono::steady_clock::now() + timeout;
        for (;;) {
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                deadline - std::chrono::steady_clock::now());
            if (m_run->finished.wait(std::clamp(left, std::chrono::milliseconds(0), PumpSlice))) {
                ended = true;
                break;
            }
            pump();
            if (left <= PumpSlice) {
                ended = m_run->finished.isSet();
                break;
            }
        }
    }
    if (!ended)
        return false;
    m_thread.join();
    m_lastResult = m_run->result;
    m_run.reset();
    return true;
}

WorkerThread::WaitPump WorkerThread::eventLoopPump()
{
    return [] { QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents); };
}

bool WorkerThread::isRunning() const
{
    return m_run && !m_run->finished.isSet();
}

int WorkerThread::runningThreads()
{
    return ThreadCounter::instance().count();
}

bool WorkerThread::waitForAllThreads(std::chrono::milliseconds timeout)
{
    return ThreadCounter::instance().waitForZero(timeout);
}

void WorkerThread::awaitThreadsBeforeExit(int exitCode, std::chrono::milliseconds timeout)
{
    if (waitForAllThreads(timeout))
        return;
    std::fflush(nullptr);
    std::_Exit(exitCode);
}

} // namespace qb
