#include "explorer/ui/GuiThreadBridge.h"

#include <QCoreApplication>
#include <QEvent>
#include <QObject>
#include <QThread>

namespace qb::ui {

// Receives the bridge's wake-up events on the GUI thread. The event itself carries nothing.
class GuiThreadBridge::Receiver : public QObject {
public:
    Receiver(QObject* parent, std::weak_ptr<GuiThreadBridge> bridge) : QObject(parent), m_bridge(std::move(bridge)) {}

protected:
    void customEvent(QEvent*) override
    {
        if (const std::shared_ptr<GuiThreadBridge> bridge = m_bridge.lock())
            bridge->deliver();
    }

private:
    std::weak_ptr<GuiThreadBridge> m_bridge;
};

std::shared_ptr<GuiThreadBridge> GuiThreadBridge::create(QObject* context, ReportSink* sink, browser::BrowserWindow* window)
{
    std::shared_ptr<GuiThreadBridge> bridge(new GuiThreadBridge(context, sink, window));
    bridge->m_receiver = new Receiver(context, bridge);
    return bridge;
}

GuiThreadBridge::GuiThreadBridge(QObject* context, ReportSink* sink, browser::BrowserWindow* window)
    : m_guiThread(context->thread()), m_sink(sink), m_window(window), m_context(context)
{
}

void GuiThreadBridge::detach()
{
    std::lock_guard<std::mutex> guard(m_mutex);
    m_context = nullptr;
    m_receiver = nullptr;
    ++m_generation;
    m_pending.clear();
    m_status = Status{};
}

void GuiThreadBridge::dropPending()
{
    std::lock_guard<std::mutex> guard(m_mutex);
    ++m_generation;
    m_pending.clear();
    m_status = Status{};
}

bool GuiThreadBridge::onGuiThread() const
{
    return QThread::currentThread() == m_guiThread;
}

void GuiThreadBridge::wakeLocked()
{
    if (m_woken || !m_receiver)
        return;
    m_woken = true;
    QCoreApplication::postEvent(m_receiver, new QEvent(QEvent::User));
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
    // Queued under the lock: detach() cannot slip in between the check and the wake-up, and the
    // receiver is destroyed only after detach() returned.
    std::lock_guard<std::mutex> guard(m_mutex);
    if (!m_context)
        return;
    m_pending.push_back(Pending{m_generation, std::move(call)});
    wakeLocked();
}

void GuiThreadBridge::deliver()
{
    std::vector<Pending> calls;
    uint64_t generation;
    {
        std::lock_guard<std::mutex> guard(m_mutex);
        m_woken = false;
        if (!m_context)
            return;
        calls.swap(m_pending);
        generation = m_generation;
    }
    for (Pending& p : calls) {
        // A call may close the connection (dropping what is pending) or take the window down.
        {
            std::lock_guard<std::mutex> guard(m_mutex);
            if (!m_context || m_generation != generation || p.generation != generation)
                return;
        }
        p.call();
    }
    flushStatus();
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
    wakeLocked();
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
