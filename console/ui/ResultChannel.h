#pragma once
// The result window and the run's feedback as the script run sees them on its worker thread: a
// ResultWriter and RunFeedback that carry every call over to the GUI thread, where the window's
// own implementations run. The worker never touches a widget.
//
// - Calls are queued under the channel's own lock and the GUI thread is woken with an empty
//   event; the worker never waits for the GUI thread to run them, except that it is held back
//   while more than kHighWater characters wait (so a fast query cannot pile up the whole result
//   in memory). That wait needs nothing of the GUI thread but that it keeps handling events,
//   which a window waiting for its run does (WorkerThread's pump), and it ends at once when the
//   channel is detached.
// - Text appended in a row is joined into one insertion of up to kJoinLimit characters (a plain
//   append takes the format of the text before it, so it joins whatever precedes it); progress
//   keeps only its latest position. Few large insertions cost the window less than many small
//   ones: each one updates the scroll bars and the window's commands.
// - The GUI thread applies entries for at most kDeliverySlice per event and wakes itself again
//   for the rest, so painting and input get their turn while a large result streams in, and the
//   window is repainted once a slice rather than once a few rows.
// - detach() (the window is going) drops everything, also what is queued.
#include "console/script/ResultWriter.h"
#include "console/script/RunFeedback.h"

#include <chrono>
#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>
#include <optional>

class QObject;

namespace qb::console::ui {

class ResultChannel final : public ResultWriter, public RunFeedback, public std::enable_shared_from_this<ResultChannel> {
public:
    static constexpr qsizetype kHighWater = 1 << 20;
    static constexpr qsizetype kLowWater = 1 << 18;
    static constexpr qsizetype kJoinLimit = 1 << 18;
    static constexpr std::chrono::milliseconds kDeliverySlice{20};

    // `context` lives on the GUI thread; `writer` and `feedback` are its GUI-thread
    // implementations (usually the window itself) and must outlive it or detach() first.
    static std::shared_ptr<ResultChannel> create(QObject* context, ResultWriter* writer, RunFeedback* feedback);

    void detach();
    // GUI thread: applies everything queued at the call, whatever the slice (the run has ended
    // and the window wants its last lines before it goes on).
    void flush();
    // Characters queued and not yet delivered.
    qsizetype pendingCharacters() const;

    // ResultWriter, any thread but the GUI thread.
    void appendResultText(const QString& text, ResultTextCategory category) override;
    void appendPlainText(const QString& text) override;
    void holdRepaint() override;
    void releaseRepaint() override;
    // RunFeedback, any thread but the GUI thread.
    void runStarted() override;
    void runFinished() override;
    void progressStarted() override;
    void progressPosition(int position) override;
    void progressFinished() override;
    void showError(const QString& text) override;

private:
    enum class Kind { Text, Hold, Release, RunStarted, RunFinished, ProgressStarted, Progress, ProgressFinished, Error };
    struct Entry {
        Kind kind = Kind::Text;
        bool formatted = false; // Text: the category applies (else the format of the text before it)
        ResultTextCategory category = ResultTextCategory::OtherText;
        QString text;
        int position = 0;
    };
    class Receiver;

    ResultChannel(ResultWriter* writer, RunFeedback* feedback);
    void push(Entry entry);
    void appendText(const QString& text, bool formatted, ResultTextCategory category);
    // Called with the lock held.
    void wakeLocked();
    // GUI thread: applies what is queued, for one slice.
    void deliver();
    // GUI thread: the first entry, taken from the queue; none when it is empty or detached.
    std::optional<Entry> take();
    void apply(const Entry& entry);

    ResultWriter* const m_writer;
    RunFeedback* const m_feedback;

    mutable std::mutex m_mutex;
    std::condition_variable m_drained;
    QObject* m_receiver = nullptr; // null once detached
    std::deque<Entry> m_entries;
    qsizetype m_pendingCharacters = 0;
    bool m_woken = false;
};

} // namespace qb::console::ui
