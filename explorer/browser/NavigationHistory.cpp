#include "explorer/browser/NavigationHistory.h"

#include "explorer/browser/BackupPointsBound.h"
#include "explorer/browser/ElementId.h"
#include "explorer/browser/ShowStarter.h"

#include <algorithm>
#include <optional>

namespace qb::browser {

NavigationHistory::NavigationHistory(ShowStarter& starter, const BackupPointsBound* bound)
    : m_starter(starter), m_bound(bound)
{
}

int NavigationHistory::bound() const
{
    std::optional<int> configured = m_bound ? m_bound->maxBackupPoints() : std::nullopt;
    // A hand-edited registry may hold anything; the option's own range is what the user meant.
    return std::clamp(configured.value_or(kUnavailableBound), 0, kMaxBound);
}

void NavigationHistory::recordPoint(HistoryPoint point)
{
    recordPoint(std::move(point), bound());
}

void NavigationHistory::recordPoint(HistoryPoint point, int bound)
{
    if (point.element <= kNoElement)
        return;
    const size_t limit = static_cast<size_t>(std::max(bound, 0));
    std::lock_guard<std::mutex> guard(m_backLock);
    m_back.push_back(std::move(point));
    if (m_back.size() > limit)
        m_back.erase(m_back.begin(), m_back.begin() + static_cast<std::ptrdiff_t>(m_back.size() - limit));
}

std::optional<HistoryPoint> NavigationHistory::pop(std::mutex& lock, std::vector<HistoryPoint>& stack)
{
    std::lock_guard<std::mutex> guard(lock);
    if (stack.empty())
        return std::nullopt;
    HistoryPoint point = std::move(stack.back());
    stack.pop_back();
    return point;
}

void NavigationHistory::startStep(HistoryPoint target, std::mutex& lock, std::vector<HistoryPoint>& stack)
{
    ShowOrder order;
    order.jobCode = -target.element;
    if (target.request) {
        ShowRequest request = *target.request;
        request.refresh = true;
        request.redraw = true;
        order.request = request;
    }
    // The table and view elements hold whichever object was opened last; bring back the one
    // this point remembers.
    if (isTableKind(target.element))
        order.object = target.object;
    try {
        m_starter.startShow(std::move(order));
    } catch (...) {
        // Nothing was shown, so the step can be taken again; the caller reports why it failed.
        std::lock_guard<std::mutex> guard(lock);
        stack.push_back(std::move(target));
        throw;
    }
}

void NavigationHistory::goBack(HistoryPoint left)
{
    std::optional<HistoryPoint> target = pop(m_backLock, m_back);
    if (!target)
        return;
    startStep(std::move(*target), m_backLock, m_back);
    if (left.element > kNoElement) {
        std::lock_guard<std::mutex> guard(m_forwardLock);
        m_forward.push_back(std::move(left));
    }
}

void NavigationHistory::goForward(HistoryPoint left)
{
    std::optional<HistoryPoint> target = pop(m_forwardLock, m_forward);
    if (!target)
        return;
    startStep(std::move(*target), m_forwardLock, m_forward);
    // Without this, Back after Forward would skip the element Forward left.
    recordPoint(std::move(left));
}

void NavigationHistory::goUp(int parentId)
{
    if (parentId <= kNoElement)
        return;
    ShowOrder order;
    order.jobCode = parentId;
    m_starter.startShow(std::move(order));
}

bool NavigationHistory::canGoBack() const
{
    std::lock_guard<std::mutex> guard(m_backLock);
    return !m_back.empty();
}

bool NavigationHistory::canGoForward() const
{
    std::lock_guard<std::mutex> guard(m_forwardLock);
    return !m_forward.empty();
}

bool NavigationHistory::upEnabled(bool connected, bool idle, int currentElement)
{
    return connected && idle && currentElement > kDatabaseElement;
}

void NavigationHistory::clear()
{
    {
        std::lock_guard<std::mutex> guard(m_backLock);
        m_back.clear();
    }
    std::lock_guard<std::mutex> guard(m_forwardLock);
    m_forward.clear();
}

std::vector<HistoryPoint> NavigationHistory::backPoints() const
{
    std::lock_guard<std::mutex> guard(m_backLock);
    return m_back;
}

std::vector<HistoryPoint> NavigationHistory::forwardPoints() const
{
    std::lock_guard<std::mutex> guard(m_forwardLock);
    return m_forward;
}

} // namespace qb::browser
