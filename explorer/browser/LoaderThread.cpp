#include "explorer/browser/LoaderThread.h"

#include "common/ReportSink.h"
#include "explorer/browser/BrowserTexts.h"
#include "explorer/browser/BrowserWindow.h"
#include "explorer/browser/LoaderJob.h"
#include "explorer/browser/LoaderJobToken.h"
#include "platform/StringTable.h"

namespace qb::browser {

LoaderThread::LoaderThread(BrowserState::Parts parts) : m_state(std::make_shared<BrowserState>(std::move(parts), *this))
{
}

LoaderThread::~LoaderThread()
{
    stop();
}

void LoaderThread::startShow(ShowOrder order)
{
    setPendingOrder(std::move(order));
    start();
}

bool LoaderThread::startShowIfIdle(ShowOrder order)
{
    if (isBusy())
        return false;
    startShow(std::move(order));
    return true;
}

void LoaderThread::start()
{
    stop();
    ShowOrder order = m_pending.value_or(ShowOrder{});
    m_pending.reset();
    auto token = std::make_shared<LoaderJobToken>();
    auto job = std::make_shared<LoaderJob>(m_state, token, std::move(order));
    m_worker.start([job](WorkerThreadContext& context) { return job->run(context); }, m_stopTimeout);
    m_token = std::move(token);
}

bool LoaderThread::stop()
{
    if (m_worker.isWaiting())
        return false; // asked from the pump of a stop in progress: that one decides
    if (!m_token)
        return true;
    std::shared_ptr<LoaderJobToken> token = std::move(m_token);
    token->requestStop();
    const bool ended = m_worker.stop(m_stopTimeout, m_pump);
    if (!ended) {
        m_state->idle().abandon(*token);
        m_state->window().enableQuickViewBar(true);
        m_state->window().redrawList();
    }
    return ended;
}

bool LoaderThread::stopByUser()
{
    if (!m_token || !m_worker.isRunning())
        return false;
    const bool ended = stop();
    m_state->sink().addInformation(loadString(kTextLoadStopped));
    return ended;
}

void LoaderThread::waitBeforeClose(const AskQuestion& ask, std::chrono::milliseconds period)
{
    const Question question{loadString(kTextInformationTitle), loadString(kTextCannotStopLoader)};
    while (m_worker.isRunning()) {
        if (m_worker.waitForEnd(period, m_pump))
            break;
        if (m_pump)
            m_pump(); // also when the period was too short for the wait to pump
        if (ask && ask(question)) {
            stop();
            break;
        }
    }
    m_token.reset();
}

void LoaderThread::clearAfterClose()
{
    m_state->history().clear();
    m_state->window().setListItemCount(0);
    m_state->elements().clearLoaded();
    m_state->setCurrentIndex(kNoElement);
    m_state->window().setCurrentElement(nullptr, kNoElement);
}

} // namespace qb::browser
