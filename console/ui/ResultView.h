#pragma once
// The result window: read-only text that the runs append to, each piece in its category's
// format or in the format of the text before it. Appends are not undoable (a long result would
// otherwise be kept twice); the window follows the end while the user has not scrolled away.
//
// While text streams in, the window is repainted and scrolled to the end at most once every
// kRefreshInterval: each repaint and each scroll lays out the last page of the document again,
// which at the rate rows arrive cost more than appending them. The first append after a quiet
// spell shows at the end of its turn of the event loop.
#include "console/ui/ConsoleTextView.h"

#include <QElapsedTimer>
#include <QTextCharFormat>
#include <chrono>

namespace qb::console::ui {

class ResultView : public ConsoleTextView {
public:
    static constexpr std::chrono::milliseconds kRefreshInterval{100};

    explicit ResultView(QWidget* parent = nullptr);

    // CR LF, CR and LF each become one line break. `format` null: the format of the text before.
    void append(const QString& text, const QTextCharFormat* format);
    // Between these two the window is not repainted (a rowset while "show data" is off). Pairs
    // may nest.
    void holdRepaint();
    void releaseRepaint();
    bool repaintHeld() const { return m_held > 0; }
    // Appended text waits for its repaint (and the scroll to the end).
    bool refreshPending() const { return m_refreshQueued; }

private:
    void scheduleRefresh();
    void refresh();
    void scrollToEnd();
    void applyUpdatesEnabled();

    int m_held = 0;
    bool m_followEnd = false;      // the next refresh scrolls to the end
    bool m_refreshQueued = false;  // a refresh is queued or timed
    bool m_refreshWaits = false;   // ... and the window does not repaint until it comes
    QElapsedTimer m_sinceRefresh;
};

} // namespace qb::console::ui
