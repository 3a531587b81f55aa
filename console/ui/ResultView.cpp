#include "console/ui/ResultView.h"

#include <QScrollBar>
#include <QTextCursor>
#include <QTextDocument>

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
    // Whether the window follows the end is decided before the text goes in. The scroll itself
    // waits until this turn of the event loop has appended all it has: every scroll lays out the
    // last page of the document again.
    if (!m_scrollPending && !repaintHeld()) {
        const QScrollBar* bar = verticalScrollBar();
        if (bar->value() >= bar->maximum()) {
            m_scrollPending = true;
            QMetaObject::invokeMethod(this, &ResultView::followEnd, Qt::QueuedConnection);
        }
    }
    QTextCursor cursor(document());
    cursor.movePosition(QTextCursor::End);
    if (format)
        cursor.setCharFormat(*format);
    // The document takes CR LF, a lone CR and LF each as one line break by itself.
    cursor.insertText(text);
}

void ResultView::followEnd()
{
    m_scrollPending = false;
    if (!repaintHeld())
        scrollToEnd();
}

void ResultView::scrollToEnd()
{
    QScrollBar* bar = verticalScrollBar();
    bar->setValue(bar->maximum());
}

void ResultView::holdRepaint()
{
    if (m_held++ == 0)
        viewport()->setUpdatesEnabled(false);
}

void ResultView::releaseRepaint()
{
    if (m_held == 0 || --m_held > 0)
        return;
    viewport()->setUpdatesEnabled(true);
    scrollToEnd();
    viewport()->update();
}

} // namespace qb::console::ui
