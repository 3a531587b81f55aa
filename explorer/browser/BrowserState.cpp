#include "explorer/browser/BrowserState.h"

#include "explorer/browser/BackupPointsBound.h"
#include "explorer/browser/BrowserWindow.h"

namespace qb::browser {

BrowserState::BrowserState(Parts parts, ShowStarter& starter)
    : m_window(std::move(parts.window))
    , m_bound(std::move(parts.bound))
    , m_sink(std::move(parts.sink))
    , m_elements(m_sink, std::move(parts.session), parts.settingsRoot)
    , m_history(starter, m_bound.get())
{
}

int BrowserState::currentIndex() const
{
    std::lock_guard<std::mutex> guard(m_currentMutex);
    return m_currentIndex;
}

xElement* BrowserState::currentElement() const
{
    return m_elements.element(currentIndex());
}

void BrowserState::setCurrentIndex(int index)
{
    std::lock_guard<std::mutex> guard(m_currentMutex);
    m_currentIndex = index;
}

} // namespace qb::browser
