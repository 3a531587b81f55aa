#include "console/ui/ResultView.h"

#include <QScrollBar>
#include <QTextCursor>
#include <QTextDocument>
#include <QTimer>

namespace qb::console::ui {

ResultView::ResultView(QWidget* parent) : ConsoleTextView(parent)
{
    setReadOnly(true);
    setUndoRedoEnabled(false);
    // Keyboard selection and copying still work in a read-only window.
    setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
}

void ResultView::append(const QString& text, const QTextCharFormat* format)
{
    // Whether the window follows the end is decided before the text goes in.
    if (!m_followEnd && !repaintHeld()) {
        const QScrollBar* bar = verticalScrollBar();
        m_followEnd = bar->value() >= bar->maximum();
    }
    QTextCursor cursor(document());
    cursor.movePosition(QTextCursor::End);
    if (format)
        cursor.setCharFormat(*format);
    // The document takes CR LF, a lone CR and LF each as one line break by itself.
    cursor.insertText(text);
    scheduleRefresh();
}

void ResultView::scheduleRefresh()
{
    if (m_refreshQueued)
        return;
    m_refreshQueued = true;
    const auto since = std::chrono::milliseconds(m_sinceRefresh.isValid() ? m_sinceRefresh.elapsed() : kRefreshInterval.count());
    if (since >= kRefreshInterval) {
        QMetaObject::invokeMethod(this, &ResultView::refresh, Qt::QueuedConnection);
        return;
    }
    m_refreshWaits = true;
    applyUpdatesEnabled();
    QTimer::singleShot(kRefreshInterval - since, this, &ResultView::refresh);
}

void ResultView::refresh()
{
    m_refreshQueued = false;
    m_refreshWaits = false;
    m_sinceRefresh.start();
    applyUpdatesEnabled();
    if (m_followEnd && !repaintHeld())
        scrollToEnd();
    m_followEnd = false;
}

void ResultView::scrollToEnd()
{
    QScrollBar* bar = verticalScrollBar();
    bar->setValue(bar->maximum());
}

void ResultView::applyUpdatesEnabled()
{
    viewport()->setUpdatesEnabled(m_held == 0 && !m_refreshWaits);
}

void ResultView::holdRepaint()
{
    if (m_held++ == 0)
        applyUpdatesEnabled();
}

void ResultView::releaseRepaint()
{
    if (m_held == 0 || --m_held > 0)
        return;
    applyUpdatesEnabled();
    scrollToEnd();
    viewport()->update();
}

} // namespace qb::console::ui
