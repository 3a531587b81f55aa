// The result window's caret and selection: keys, mouse, the context menu and the caret's blink.
#include "console/ui/ResultView.h"

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QScrollBar>
#include <QTextLayout>

namespace qb::console::ui {
namespace {

// Letters, digits and underscores make a word for double-click.
bool isWordCharacter(QChar c)
{
    return c.isLetterOrNumber() || c == u'_';
}

} // namespace

void ResultView::setSelection(qsizetype anchor, qsizetype caret)
{
    anchor = std::clamp<qsizetype>(anchor, 0, m_text.size());
    caret = std::clamp<qsizetype>(caret, 0, m_text.size());
    const bool selectionMoved = (anchor != caret || hasSelection()) && (anchor != m_anchor || caret != m_caret);
    const bool caretMoved = caret != m_caret;
    m_anchor = anchor;
    m_caret = caret;
    ensureCaretVisible();
    restartBlink();
    viewport()->update();
    if (selectionMoved)
        emit selectionChanged();
    if (caretMoved)
        emit cursorPositionChanged();
}

void ResultView::moveCaret(qsizetype position, bool keepAnchor, bool keepColumn)
{
    const qreal columnX = keepColumn ? (m_caretColumnX >= 0 ? m_caretColumnX : caretX()) : -1;
    setSelection(keepAnchor ? m_anchor : position, position);
    m_caretColumnX = columnX;
}

qreal ResultView::caretX() const
{
    const qsizetype line = m_text.lineAt(m_caret);
    QTextLayout layout;
    layoutLine(layout, line);
    return layout.lineAt(0).cursorToX(int(m_caret - m_text.lineStart(line)));
}

qsizetype ResultView::positionOfX(qsizetype line, qreal x) const
{
    QTextLayout layout;
    layoutLine(layout, line);
    return m_text.lineStart(line) + layout.lineAt(0).xToCursor(x, QTextLine::CursorBetweenCharacters);
}

qsizetype ResultView::positionLinesAway(qsizetype lines) const
{
    const qsizetype line = std::clamp<qsizetype>(m_text.lineAt(m_caret) + lines, 0, m_text.lineCount() - 1);
    return positionOfX(line, m_caretColumnX >= 0 ? m_caretColumnX : caretX());
}

qsizetype ResultView::positionAt(const QPointF& point) const
{
    const qreal y = point.y() - kInset;
    const qsizetype offset = y < 0 ? -1 : qsizetype(y / m_lineHeight);
    const qsizetype line = std::clamp<qsizetype>(verticalScrollBar()->value() + offset, 0, m_text.lineCount() - 1);
    return positionOfX(line, point.x() - lineOrigin(line).x());
}

void ResultView::keyPressEvent(QKeyEvent* event)
{
    if (event == QKeySequence::Copy) {
        copy();
        return;
    }
    if (event == QKeySequence::SelectAll) {
        selectAll();
        return;
    }
    const bool shift = event->modifiers() & Qt::ShiftModifier;
    const bool control = event->modifiers() & Qt::ControlModifier;
    const qsizetype line = m_text.lineAt(m_caret);
    switch (event->key()) {
    case Qt::Key_Left:
        if (control)
            moveCaret(wordBefore(m_caret), shift);
        else // without Shift a selection collapses to its start, as in an editor
            moveCaret(!shift && hasSelection() ? selectionStart() : std::max<qsizetype>(0, m_caret - 1), shift);
        break;
    case Qt::Key_Right:
        if (control)
            moveCaret(wordAfter(m_caret), shift);
        else
            moveCaret(!shift && hasSelection() ? selectionEnd() : std::min(m_text.size(), m_caret + 1), shift);
        break;
    case Qt::Key_Up:
        moveCaret(positionLinesAway(-1), shift, true);
        break;
    case Qt::Key_Down:
        moveCaret(positionLinesAway(1), shift, true);
        break;
    case Qt::Key_PageUp:
        verticalScrollBar()->setValue(verticalScrollBar()->value() - visibleLines());
        moveCaret(positionLinesAway(-visibleLines()), shift, true);
        break;
    case Qt::Key_PageDown:
        verticalScrollBar()->setValue(verticalScrollBar()->value() + visibleLines());
        moveCaret(positionLinesAway(visibleLines()), shift, true);
        break;
    case Qt::Key_Home:
        moveCaret(control ? 0 : m_text.lineStart(line), shift);
        break;
    case Qt::Key_End:
        moveCaret(control ? m_text.size() : m_text.lineEnd(line), shift);
        break;
    default:
        QAbstractScrollArea::keyPressEvent(event);
        return;
    }
    event->accept();
}

void ResultView::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton) {
        QAbstractScrollArea::mousePressEvent(event);
        return;
    }
    const qsizetype position = positionAt(event->position());
    moveCaret(position, event->modifiers() & Qt::ShiftModifier);
    m_dragging = true;
    m_dragPoint = event->position();
}

void ResultView::mouseMoveEvent(QMouseEvent* event)
{
    if (!m_dragging || !(event->buttons() & Qt::LeftButton))
        return;
    dragTo(event->position());
    // Outside the viewport the window scrolls on its own while the button stays down.
    if (viewport()->rect().contains(event->position().toPoint()))
        m_autoScroll.stop();
    else if (!m_autoScroll.isActive())
        m_autoScroll.start(50, this);
}

void ResultView::dragTo(const QPointF& point)
{
    m_dragPoint = point;
    setSelection(m_anchor, positionAt(point));
    m_caretColumnX = -1;
}

void ResultView::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton || !m_dragging)
        return;
    m_dragging = false;
    m_autoScroll.stop();
    // The X11 habit: a selection is ready for the middle button.
    QClipboard* clipboard = QGuiApplication::clipboard();
    if (hasSelection() && clipboard->supportsSelection())
        clipboard->setText(selectedText(), QClipboard::Selection);
}

void ResultView::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return;
    selectWordAt(positionAt(event->position()));
}

bool ResultView::isSpaceAt(qsizetype position) const
{
    return m_text.at(position).isSpace();
}

qsizetype ResultView::wordAfter(qsizetype position) const
{
    // Past the rest of the word (or the one other character), then past the spaces after it.
    const qsizetype size = m_text.size();
    if (position < size && isWordCharacter(m_text.at(position))) {
        while (position < size && isWordCharacter(m_text.at(position)))
            ++position;
    } else if (position < size && !isSpaceAt(position)) {
        ++position;
    }
    while (position < size && isSpaceAt(position))
        ++position;
    return position;
}

qsizetype ResultView::wordBefore(qsizetype position) const
{
    while (position > 0 && isSpaceAt(position - 1))
        --position;
    if (position > 0 && isWordCharacter(m_text.at(position - 1))) {
        while (position > 0 && isWordCharacter(m_text.at(position - 1)))
            --position;
    } else if (position > 0) {
        --position;
    }
    return position;
}

void ResultView::selectWordAt(qsizetype position)
{
    // The word on either side of the click; elsewhere the character clicked.
    qsizetype start = position;
    qsizetype end = position;
    while (start > 0 && isWordCharacter(m_text.at(start - 1)))
        --start;
    while (end < m_text.size() && isWordCharacter(m_text.at(end)))
        ++end;
    if (start == end && end < m_text.size() && m_text.at(end) != u'\n')
        ++end;
    setSelection(start, end);
}

void ResultView::contextMenuEvent(QContextMenuEvent* event)
{
    QMenu menu(this);
    QAction* copyAction = menu.addAction(tr("&Copy"), QKeySequence::Copy, this, &ResultView::copy);
    copyAction->setEnabled(hasSelection());
    menu.addSeparator();
    QAction* all = menu.addAction(tr("Select All"), QKeySequence::SelectAll, this, &ResultView::selectAll);
    all->setEnabled(hasText());
    menu.exec(event->globalPos());
}

void ResultView::focusInEvent(QFocusEvent* event)
{
    QAbstractScrollArea::focusInEvent(event);
    restartBlink();
    viewport()->update();
}

void ResultView::focusOutEvent(QFocusEvent* event)
{
    QAbstractScrollArea::focusOutEvent(event);
    m_blink.stop();
    m_caretShown = false;
    viewport()->update();
}

void ResultView::restartBlink()
{
    if (!hasFocus())
        return;
    m_caretShown = true;
    const int flash = QApplication::cursorFlashTime();
    if (flash > 0)
        m_blink.start(flash / 2, this);
    else
        m_blink.stop();
}

void ResultView::timerEvent(QTimerEvent* event)
{
    if (event->timerId() == m_blink.timerId()) {
        m_caretShown = !m_caretShown;
        viewport()->update();
    } else if (event->timerId() == m_autoScroll.timerId()) {
        const QRect area = viewport()->rect();
        QScrollBar* vertical = verticalScrollBar();
        QScrollBar* horizontal = horizontalScrollBar();
        if (m_dragPoint.y() < area.top())
            vertical->setValue(vertical->value() - 1);
        else if (m_dragPoint.y() > area.bottom())
            vertical->setValue(vertical->value() + 1);
        if (m_dragPoint.x() < area.left())
            horizontal->setValue(horizontal->value() - horizontal->singleStep());
        else if (m_dragPoint.x() > area.right())
            horizontal->setValue(horizontal->value() + horizontal->singleStep());
        dragTo(m_dragPoint);
    } else {
        QAbstractScrollArea::timerEvent(event);
    }
}

} // namespace qb::console::ui
