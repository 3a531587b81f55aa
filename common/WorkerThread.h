#pragma once
// The worker thread of a main window: it runs one job at a time (the explorer's LoaderThread
// loads elements, the console's SQLExecThread runs scripts).
//
// Stopping is cooperative; no thread is ever killed. Stop sets the run's kill event, calls the
// interrupt hook the job registered, and waits (5000 ms unless told otherwise). A job still
// running after the wait is given up on: its thread is detached, its result discarded, and the
// WorkerThread is free for the next job at once. That is safe because the job holds shared
// ownership of everything it touches (the std::function's captures and its WorkerThreadContext);
// it must not capture raw pointers or references to objects its owner may destroy, widgets
// included (a job talks to windows only through queued calls on objects it co-owns).
//
// The calls below belong to the owning thread (the GUI thread); a job never calls them on its
// own WorkerThread.
//
// Waiting owners keep their event loop going through a wait pump. What the pump delivers must not
// start or stop this same worker while it waits (that would swap the run out from under the
// wait), so such a nested call is refused: start() throws, stop() and waitForEnd() return false at
// once, and the outer wait goes on to its own end. A pump that serves a GUI must also leave user
// input alone (QEventLoop::ExcludeUserInputEvents, as eventLoopPump() does): a click delivered in
// the middle of a stop would act on a window that is not ready for it. Queued calls and timers
// still run, and a modal dialog opened by one of them runs its own loop, hence the refusal above.
//
// Process exit: a thread given up on may still run when main() returns, and static destructors
// would then run under it. The contract: main() ends with awaitThreadsBeforeExit(code, timeout)
// after its windows are gone; it returns when every worker thread has ended, and otherwise ends
// the process at once without static destructors. The WorkerThread's own bookkeeping never
// touches a destructible global, so a thread still running at exit cannot trip over it.
#include "common/WorkerThreadContext.h"

#include <chrono>
#include <functional>
#include <memory>
#include <optional>
#include <thread>

namespace qb {

class WorkerThread {
public:
    // The job body: its result becomes the thread's result; an exception becomes -1.
    using Job = std::function<int(WorkerThreadContext&)>;
    // Called repeatedly while the owner waits, to keep its event loop going (a job may be
    // waiting for a blocking queued call into the GUI thread): at least once per wait, however
    // short, and then every 20 ms. See above for what it may deliver.
    using WaitPump = std::function<void()>;

    static constexpr std::chrono::milliseconds DefaultStopTimeout{5000};

    WorkerThread() = default;
    // Destroy: stop with the default timeout.
    ~WorkerThread();
    WorkerThread(const WorkerThread&) = delete;
    WorkerThread& operator=(const WorkerThread&) = delete;

    // Stops a running job first (as stop(stopTimeout)), then runs the job on a new thread.
    // Raises Brelib::exception "Error during create thread: " + the system's text when no
    // thread can be made, and a Brelib::exception when called from the pump of a wait on this
    // worker (nothing is stopped or started then).
    void start(Job job, std::chrono::milliseconds stopTimeout = DefaultStopTimeout);

    // Sets the kill event, calls the interrupt hook and waits for the job. True when it ended in
    // time (or none ran); false when it was given up on. Either way no job is current afterwards
    // and the next one starts with a fresh kill event. Called from the pump of a wait on this
    // worker: returns false at once and changes nothing; the outer wait decides.
    bool stop(std::chrono::milliseconds timeout = DefaultStopTimeout, const WaitPump& pump = {});

    // Waits for the current job without stopping it: true when it has ended (or none ran).
    // Called from the pump of a wait on this worker: false at once.
    bool waitForEnd(std::chrono::milliseconds timeout, const WaitPump& pump = {});

    // A stop, start or waitForEnd of this worker is waiting (its pump may be running).
    bool isWaiting() const { return m_waiting; }

    // A pump for a thread with a Qt event loop: handles its pending events except user input.
    static WaitPump eventLoopPump();

    // A job is current and has not finished.
    bool isRunning() const;

    // The result of the last job collected by waitForEnd or stop; none for a job given up on.
    std::optional<int> lastResult() const { return m_lastResult; }

    // Worker threads of the process still running, those given up on included.
    static int runningThreads();
    // True when every worker thread of the process has ended within the timeout.
    static bool waitForAllThreads(std::chrono::milliseconds timeout);
    // For the end of main(): returns when every worker thread has ended within the timeout;
    // otherwise flushes the standard streams and ends the process with the exit code at once.
    static void awaitThreadsBeforeExit(int exitCode, std::chrono::milliseconds timeout);

private:
    struct Run;

    static void threadMain(std::shared_ptr<Run> run, Job job);
    // Waits for the current run to finish; joins it and takes its result when it did.
    bool waitForCurrent(std::chrono::milliseconds timeout, const WaitPump& pump);

    std::shared_ptr<Run> m_run;
    std::thread m_thread;
    std::optional<int> m_lastResult;
    bool m_waiting = false; // owning thread only
};

} // namespace qb
