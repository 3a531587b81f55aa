#include "console/ui/ResultChannel.h"

#include <QCoreApplication>
#include <QEvent>
#include <QObject>

namespace qb::console::ui {

// Receives the channel's wake-up events on the GUI thread. The event itself carries nothing.
class ResultChannel::Receiver : public QObject {
public:
    Receiver(QObject* parent, std::weak_ptr<ResultChannel> channel) : QObject(parent), m_channel(std::move(channel)) {}

protected:
    void customEvent(QEvent*) override
    {
        if (const std::shared_ptr<ResultChannel> channel = m_channel.lock())
            channel->deliver();
    }

private:
    std::weak_ptr<ResultChannel> m_channel;
};

std::shared_ptr<ResultChannel> ResultChannel::create(QObject* context, ResultWriter* writer, RunFeedback* feedback)
{
    std::shared_ptr<ResultChannel> channel(new ResultChannel(writer, feedback));
    channel->m_receiver = new Receiver(context, channel);
    return channel;
}

ResultChannel::ResultChannel(ResultWriter* writer, RunFeedback* feedback) : m_writer(writer), m_feedback(feedback) {}

void ResultChannel::detach()
{
    {
        std::lock_guard<std::mutex> guard(m_mutex);
        m_receiver = nullptr;
        m_entries.clear();
        m_pendingCharacters = 0;
    }
    m_drained.notify_all();
}

void ResultChannel::flush()
{
    // What is queued now, not what a run that goes on (one given up on) keeps adding.
    size_t entries;
    {
        std::lock_guard<std::mutex> guard(m_mutex);
        entries = m_entries.size();
    }
    for (; entries > 0; --entries) {
        std::optional<Entry> entry = take();
        if (!entry)
            return;
        apply(*entry);
    }
}

std::optional<ResultChannel::Entry> ResultChannel::take()
{
    std::optional<Entry> entry;
    {
        std::lock_guard<std::mutex> guard(m_mutex);
        if (!m_receiver || m_entries.empty())
            return entry;
        entry = std::move(m_entries.front());
        m_entries.pop_front();
        if (entry->kind == Kind::Text)
            m_pendingCharacters -= entry->text.size();
    }
    m_drained.notify_all();
    return entry;
}

qsizetype ResultChannel::pendingCharacters() const
{
    std::lock_guard<std::mutex> guard(m_mutex);
    return m_pendingCharacters;
}

void ResultChannel::wakeLocked()
{
    if (m_woken || !m_receiver)
        return;
    m_woken = true;
    QCoreApplication::postEvent(m_receiver, new QEvent(QEvent::User));
}

void ResultChannel::push(Entry entry)
{
    std::lock_guard<std::mutex> guard(m_mutex);
    if (!m_receiver)
        return;
    if (entry.kind == Kind::Progress && !m_entries.empty() && m_entries.back().kind == Kind::Progress)
        m_entries.back().position = entry.position;
    else
        m_entries.push_back(std::move(entry));
    wakeLocked();
}

void ResultChannel::appendText(const QString& text, bool formatted, ResultTextCategory category)
{
    std::unique_lock<std::mutex> lock(m_mutex);
    // Held back while the window is far behind; never once the window is gone.
    if (m_pendingCharacters > kHighWater)
        m_drained.wait(lock, [this] { return !m_receiver || m_pendingCharacters <= kLowWater; });
    if (!m_receiver)
        return;
    Entry* last = m_entries.empty() ? nullptr : &m_entries.back();
    const bool joins = last && last->kind == Kind::Text && last->text.size() < kJoinLimit &&
                       (!formatted || (last->formatted && last->category == category));
    if (joins) {
        last->text += text;
    } else {
        m_entries.push_back(Entry{Kind::Text, formatted, category, text, 0});
    }
    m_pendingCharacters += text.size();
    wakeLocked();
}

void ResultChannel::deliver()
{
    {
        std::lock_guard<std::mutex> guard(m_mutex);
        m_woken = false;
    }
    const auto end = std::chrono::steady_clock::now() + kDeliverySlice;
    // take() looks again each time: an entry may close the window or its connection.
    while (std::optional<Entry> entry = take()) {
        apply(*entry);
        if (std::chrono::steady_clock::now() >= end) {
            std::lock_guard<std::mutex> guard(m_mutex);
            if (!m_entries.empty())
                wakeLocked(); // the rest after the events waiting now (paint, input)
            return;
        }
    }
}

void ResultChannel::apply(const Entry& entry)
{
    switch (entry.kind) {
    case Kind::Text:
        if (entry.formatted)
            m_writer->appendResultText(entry.text, entry.category);
        else
            m_writer->appendPlainText(entry.text);
        break;
    case Kind::Hold:
        m_writer->holdRepaint();
        break;
    case Kind::Release:
        m_writer->releaseRepaint();
        break;
    case Kind::RunStarted:
        m_feedback->runStarted();
        break;
    case Kind::RunFinished:
        m_feedback->runFinished();
        break;
    case Kind::ProgressStarted:
        m_feedback->progressStarted();
        break;
    case Kind::Progress:
        m_feedback->progressPosition(entry.position);
        break;
    case Kind::ProgressFinished:
        m_feedback->progressFinished();
        break;
    case Kind::Error:
        m_feedback->showError(entry.text);
        break;
    }
}

void ResultChannel::appendResultText(const QString& text, ResultTextCategory category)
{
    appendText(text, true, category);
}

void ResultChannel::appendPlainText(const QString& text)
{
    appendText(text, false, ResultTextCategory::OtherText);
}

void ResultChannel::holdRepaint()
{
    push(Entry{Kind::Hold});
}

void ResultChannel::releaseRepaint()
{
    push(Entry{Kind::Release});
}

void ResultChannel::runStarted()
{
    push(Entry{Kind::RunStarted});
}

void ResultChannel::runFinished()
{
    push(Entry{Kind::RunFinished});
}

void ResultChannel::progressStarted()
{
    push(Entry{Kind::ProgressStarted});
}

void ResultChannel::progressPosition(int position)
{
    push(Entry{Kind::Progress, false, ResultTextCategory::OtherText, QString(), position});
}

void ResultChannel::progressFinished()
{
    push(Entry{Kind::ProgressFinished});
}

void ResultChannel::showError(const QString& text)
{
    push(Entry{Kind::Error, false, ResultTextCategory::OtherText, text, 0});
}

} // namespace qb::console::ui
