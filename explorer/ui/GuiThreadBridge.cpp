#include "explorer/ui/GuiThreadBridge.h"

#include <QMetaObject>
#include <QObject>
#include <QThread>

namespace qb::ui {

GuiThreadBridge::GuiThreadBridge(QObject* context, ReportSink* sink, browser::BrowserWindow* window)
    : m_guiThread(context->thread()), m_sink(sink), m_window(window), m_context(context)
{
}

void GuiThreadBridge::detach()
{
    std::lock_guard<std::mutex> guard(m_mutex);
    m_context = nullptr;
    ++m_generation;
}

void GuiThreadBridge::dropPending()
{
    std::lock_guard<std::mutex> guard(m_mutex);
    ++m_generation;
    m_status = Status{};
}

bool GuiThreadBridge::onGuiThread() const
{
    return QThread::currentThread() == m_guiThread;
}

bool GuiThreadBridge::stillCurrent(uint64_t generation) const
{
    std::lock_guard<std::mutex> guard(m_mutex);
    return m_context && generation == m_generation;
}

void GuiThreadBridge::post(std::function<void()> call)
{
    if (onGuiThread()) {
        bool attached;
        {
            std::lock_guard<std::mutex> guard(m_mutex);
            attached = m_context != nullptr;
        }
        if (attached)
            call();
        return;
    }
    // Posting under the lock: detach() cannot slip in between the check and the post, and the
    // context is destroyed only after detach() returned.
    std::lock_guard<std::mutex> guard(m_mutex);
    if (!m_context)
        return;
    QMetaObject::invokeMethod(
        m_context,
        [self = shared_from_this(), generation = m_generation, call = std::move(call)] {
            if (self->stillCurrent(generation))
                call();
        },
        Qt::QueuedConnection);
}

void GuiThreadBridge::updateStatus(const std::function<void(Status&)>& change)
{
    if (onGuiThread()) {
        // What a worker left pending comes first, so the values keep the order they were made in.
        flushStatus();
        Status now;
        change(now);
        bool attached;
        {
            std::lock_guard<std::mutex> guard(m_mutex);
            attached = m_context != nullptr;
        }
        if (attached)
            applyStatus(now);
        return;
    }
    std::lock_guard<std::mutex> guard(m_mutex);
    if (!m_context)
        return;
    change(m_status);
    if (m_status.flushPosted)
        return;
    m_status.flushPosted = true;
    QMetaObject::invokeMethod(
        m_context, [self = shared_from_this()] { self->flushStatus(); }, Qt::QueuedConnection);
}

void GuiThreadBridge::flushStatus()
{
    Status status;
    {
        std::lock_guard<std::mutex> guard(m_mutex);
        if (!m_context)
            return;
        status = std::exchange(m_status, Status{});
    }
    applyStatus(status);
}

void GuiThreadBridge::applyStatus(const Status& status)
{
    if (status.range)
        m_sink->setProgressRange(status.range->first, status.range->second);
    if (status.text)
        m_sink->postText(*status.text, status.pos.value_or(0));
    else if (status.pos)
        m_sink->setProgressPos(*status.pos);
    if (status.hide)
        m_sink->hideProgress();
}

void GuiThreadBridge::setProgressRange(int minimum, int maximum)
{
    updateStatus([=](Status& s) {
        s.range = std::pair(minimum, maximum);
        s.hide = false;
    });
}

void GuiThreadBridge::setProgressPos(int pos)
{
    updateStatus([=](Status& s) {
        s.pos = pos;
        s.hide = false;
    });
}

void GuiThreadBridge::hideProgress()
{
    updateStatus([](Status& s) { s.hide = true; });
}

void GuiThreadBridge::postText(const QString& text, int pos)
{
    updateStatus([&](Status& s) {
        s.text = text;
        s.pos = pos;
        s.hide = false;
    });
}

void GuiThreadBridge::clearListColumns()
{
    post([sink = m_sink] { sink->clearListColumns(); });
}

void GuiThreadBridge::addListColumn(const QString& text, int index, int width, int format)
{
    post([sink = m_sink, text, index, width, format] { sink->addListColumn(text, index, width, format); });
}

void GuiThreadBridge::setColumnWidth(int index, int width)
{
    post([sink = m_sink, index, width] { sink->setColumnWidth(index, width); });
}

void GuiThreadBridge::addError(const QString& text)
{
    post([sink = m_sink, text] { sink->addError(text); });
}

void GuiThreadBridge::addInformation(const QString& text)
{
    post([sink = m_sink, text] { sink->addInformation(text); });
}

void GuiThreadBridge::setCurrentElement(browser::xElement* element, int index)
{
    post([w = m_window, element, index] { w->setCurrentElement(element, index); });
}

void GuiThreadBridge::setListItemCount(int count)
{
    post([w = m_window, count] { w->setListItemCount(count); });
}

void GuiThreadBridge::setElementPaneText(const QString& text)
{
    post([w = m_window, text] { w->setElementPaneText(text); });
}

void GuiThreadBridge::setObjectCountPaneText(const QString& text)
{
    post([w = m_window, text] { w->setObjectCountPaneText(text); });
}

void GuiThreadBridge::setSqlPaneText(const QString& text)
{
    post([w = m_window, text] { w->setSqlPaneText(text); });
}

void GuiThreadBridge::enableQuickViewBar(bool enable)
{
    post([w = m_window, enable] { w->enableQuickViewBar(enable); });
}

void GuiThreadBridge::redrawList()
{
    post([w = m_window] { w->redrawList(); });
}

void GuiThreadBridge::showErrorBox(const QString& title, const QString& text)
{
    post([w = m_window, title, text] { w->showErrorBox(title, text); });
}

} // namespace qb::ui
