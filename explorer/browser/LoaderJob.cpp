#include "explorer/browser/LoaderJob.h"

#include "common/ReportSink.h"
#include "common/WorkerThreadContext.h"
#include "dataaccess/ErrorText.h"
#include "explorer/browser/BrowserState.h"
#include "explorer/browser/BrowserTexts.h"
#include "explorer/browser/BrowserWindow.h"
#include "explorer/browser/LoaderJobToken.h"
#include "explorer/browser/xElement.h"
#include "explorer/browser/xElement_Table.h"
#include "platform/BrelibException.h"
#include "platform/StringTable.h"

#include <cstdlib>

namespace qb::browser {

LoaderJob::LoaderJob(std::shared_ptr<BrowserState> state, std::shared_ptr<LoaderJobToken> token, ShowOrder order)
    : m_state(std::move(state)), m_token(std::move(token)), m_order(std::move(order))
{
}

bool LoaderJob::reachesWindow() const
{
    return !m_token->abandoned();
}

BrowserWindow* LoaderJob::window() const
{
    return reachesWindow() ? &m_state->window() : nullptr;
}

int LoaderJob::run(WorkerThreadContext&)
{
    LoaderJobToken::Scope scope(*m_token);
    data::InterruptToken::Armed armed(m_token->interruptToken());
    const int index = std::abs(m_order.jobCode);
    xElement* element = m_state->elements().element(index);
    if (!m_state->idle().claimFor(*m_token))
        return 0;
    if (BrowserWindow* w = window())
        w->enableQuickViewBar(false);

    // The element left, taken before the show changes it (the table element may be both).
    std::optional<HistoryPoint> left;
    if (xElement* current = m_state->currentElement(); current && m_order.jobCode > 0)
        left = HistoryPoint{current->id(), current->name(), current->currentShowRequest(), current->object()};

    if (element) {
        show(*element);
        present(index, *element, left);
    }

    m_state->idle().releaseFor(*m_token);
    if (BrowserWindow* w = window())
        w->enableQuickViewBar(true);
    if (BrowserWindow* w = window())
        w->redrawList();
    return 0;
}

void LoaderJob::show(xElement& element)
{
    ReportSink& sink = m_state->sink();
    try {
        if (m_order.object)
            if (xElement_Table* table = m_state->elements().table(element.id()))
                table->setObjectName(*m_order.object);
        element.show_data(m_order.request.value_or(ShowRequest{}));
    } catch (const Brelib::exception& e) {
        sink.addError(e.text());
    } catch (const data::ProviderError& e) {
        sink.addError(data::providerErrorText(e));
    } catch (...) {
        if (BrowserWindow* w = window())
            w->showErrorBox(loadString(data::kErrorBoxTitle), loadString(data::kUnknownError));
    }
}

bool LoaderJob::leavesSomething(int index, const xElement& element, const HistoryPoint& left) const
{
    const QString leftSql = left.request ? left.request->sql : QString();
    const QString newSql = m_order.request ? m_order.request->sql : QString();
    return left.element != index || left.object != element.object() || leftSql != newSql;
}

void LoaderJob::present(int index, xElement& element, const std::optional<HistoryPoint>& left)
{
    std::optional<HistoryPoint> backPoint;
    if (left && leavesSomething(index, element, *left))
        backPoint = left;
    // Read before the lock: it is a settings read, and the owner giving the job up waits for that lock.
    const int bound = m_state->history().bound();
    // The back point and the current element change together or not at all: checked and made
    // under the token's lock, so an owner that gave the job up (and may have emptied the history
    // for a closed connection) never sees either come back.
    const bool current = m_token->unlessAbandoned([&] {
        if (backPoint)
            m_state->history().recordPoint(std::move(*backPoint), bound);
        m_state->setCurrentIndex(index);
    });
    if (!current)
        return;

    const int count = element.itemCount();
    const QString elementText = loadString(kTextElementCaption).replace(QLatin1String("%s"), element.caption());
    const QString countText = loadString(kTextObjectCount).replace(QLatin1String("%i"), QString::number(count));
    if (BrowserWindow* w = window())
        w->setCurrentElement(&element, index);
    if (BrowserWindow* w = window())
        w->setElementPaneText(elementText);
    if (BrowserWindow* w = window())
        w->setListItemCount(element.listItemCount());
    if (BrowserWindow* w = window())
        w->setObjectCountPaneText(countText);
    if (BrowserWindow* w = window())
        w->setSqlPaneText(element.queryText().value_or(QString()));
}

} // namespace qb::browser
