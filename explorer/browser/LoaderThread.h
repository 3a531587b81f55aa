#pragma once
// The loader of one main window: runs one ShowOrder at a time on its worker thread and keeps the
// stop protocol. Called on the GUI thread only.
//
// Stopping never kills a thread: the job is told to stop, the statement it runs is interrupted
// through the provider, and the owner waits (5000 ms). A job still running then is given up on:
// it is marked abandoned (it finishes in the background without reaching the window), and the
// owner sets the window idle and enables the quick view bar itself.
//
// The stop is the job's interrupt token (LoaderJobToken.h): set once, it is never lost, whether
// it comes before the job's statement starts, while it runs or between its rows. While the owner
// waits it keeps calling the window's wait pump, so a job that is in a call to the GUI thread can
// finish it.
#include "common/WorkerThread.h"
#include "explorer/browser/BrowserState.h"
#include "explorer/browser/ShowStarter.h"

#include <QString>
#include <chrono>
#include <functional>
#include <memory>
#include <optional>

namespace qb::browser {

class LoaderJobToken;

class LoaderThread : public ShowStarter {
public:
    static constexpr std::chrono::milliseconds kStopTimeout{5000};
    static constexpr std::chrono::milliseconds kCloseQuestionPeriod{5000};

    // The question of the close path: true for Yes.
    struct Question {
        QString title;
        QString text;
    };
    using AskQuestion = std::function<bool(const Question&)>;

    explicit LoaderThread(BrowserState::Parts parts);
    // Stops a running job (see above).
    ~LoaderThread() override;

    BrowserState& state() { return *m_state; }
    const std::shared_ptr<BrowserState>& sharedState() const { return m_state; }

    // Keeps the GUI thread's event loop going while the owner waits for a job.
    void setWaitPump(WorkerThread::WaitPump pump) { m_pump = std::move(pump); }
    void setStopTimeout(std::chrono::milliseconds timeout) { m_stopTimeout = timeout; }

    // The pending order, consumed by the next start.
    void setPendingOrder(ShowOrder order) { m_pending = std::move(order); }
    // Stops a running job first, then runs the pending order (none: a job that shows nothing).
    // Raises Brelib::exception when no thread can be made.
    void start();
    // setPendingOrder + start.
    void startShow(ShowOrder order) override;
    // A request of the tree or the list, which is ignored while a job runs: false then.
    bool startShowIfIdle(ShowOrder order);

    // The stop protocol. True when no job ran or it ended in time; false when it was given up on,
    // or when asked from the wait pump while a stop is already waiting (that one goes on).
    bool stop();
    // "Sto&p": the stop protocol, then a report-log entry that the load was stopped. False when
    // nothing ran or the job had to be given up on.
    bool stopByUser();

    // A job runs (the idle event is not set).
    bool isBusy() const { return !m_state->idle().isIdle(); }
    bool hasJob() const { return m_worker.isRunning(); }

    // The first half of closing the connection: waits for a running job; every `period` it asks
    // whether to give up, and Yes runs the stop protocol. Returns when no job runs any more.
    void waitBeforeClose(const AskQuestion& ask, std::chrono::milliseconds period = kCloseQuestionPeriod);
    // The second half, once no job runs: history emptied, list count 0, every element's content
    // dropped, no current element.
    void clearAfterClose();

private:
    std::shared_ptr<BrowserState> m_state;
    WorkerThread m_worker;
    std::shared_ptr<LoaderJobToken> m_token; // of the current job
    std::optional<ShowOrder> m_pending;
    WorkerThread::WaitPump m_pump;
    std::chrono::milliseconds m_stopTimeout = kStopTimeout;
};

} // namespace qb::browser
