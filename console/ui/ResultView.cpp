#include "console/ui/ResultView.h"

#include "console/script/SqlFile.h"

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
    QScrollBar* bar = verticalScrollBar();
    const bool atEnd = bar->value() >= bar->maximum();
    QTextCursor cursor(document());
    cursor.movePosition(QTextCursor::End);
    if (format)
        cursor.setCharFormat(*format);
    cursor.insertText(normalizeLineBreaks(text));
    if (atEnd && !repaintHeld())
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
    QScrollBar* bar = verticalScrollBar();
    bar->setValue(bar->maximum());
    viewport()->update();
}

} // namespace qb::console::ui
