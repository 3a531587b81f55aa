#include "console/ui/ResultView.h"

#include <QApplication>
#include <QClipboard>
#include <QFontMetricsF>
#include <QPainter>
#include <QPaintEvent>
#include <QScrollBar>
#include <QTextLayout>
#include <QTimer>
#include <cmath>

namespace qb::console::ui {
namespace {

// Lines are laid out without a width limit.
constexpr qreal kUnboundedWidth = 1e7;
// A longer line (a long value in one row) is measured by its characters times the widest
// advance rather than laid out on every append that makes it grow.
constexpr qsizetype kMeasuredLength = 4096;

} // namespace

ResultView::ResultView(QWidget* parent) : QAbstractScrollArea(parent)
{
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_InputMethodEnabled, false);
    viewport()->setCursor(Qt::IBeamCursor);
    viewport()->setAutoFillBackground(false);
    QPalette pal = palette();
    pal.setColor(QPalette::Base, Qt::white);
    pal.setColor(QPalette::Text, Qt::black);
    setPalette(pal);
    updateLineHeight();
    applyEditorOptions(m_options, font());
}

// Text and streaming.

void ResultView::append(const QString& text, const QTextCharFormat* format)
{
    // Whether the window follows the end is decided before the text goes in.
    if (!m_followEnd && !repaintHeld()) {
        const QScrollBar* bar = verticalScrollBar();
        m_followEnd = bar->value() >= bar->maximum();
    }
    m_text.append(text, format);
    if (m_text.formats().size() != m_formatsMeasured)
        updateLineHeight();
    updateScrollBars();
    emit textChanged();
    scheduleRefresh();
}

void ResultView::clearText()
{
    m_text.clear();
    m_contentWidth = 0;
    m_measuredLine = m_measuredLength = -1;
    const bool hadSelection = hasSelection();
    const bool caretMoved = m_caret != 0;
    m_anchor = m_caret = 0;
    m_caretColumnX = -1;
    updateScrollBars();
    viewport()->update();
    emit textChanged();
    if (hadSelection)
        emit selectionChanged();
    if (caretMoved)
        emit cursorPositionChanged();
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

void ResultView::applyEditorOptions(const EditorOptions& options, const QFont& tabFont)
{
    m_options = options;
    m_tabStop = tabStopDistance(options.tabCount, tabFont);
    setViewportMargins(int(options.leftMargin), 0, int(options.rightMargin), 0);
    // Tabs change every width.
    m_contentWidth = 0;
    m_measuredLine = -1;
    updateScrollBars();
    viewport()->update();
}

// Geometry.

void ResultView::layoutLine(QTextLayout& layout, qsizetype line) const
{
    layout.setText(m_text.lineText(line));
    layout.setFont(font());
    QTextOption option;
    option.setWrapMode(QTextOption::NoWrap);
    // Zero keeps the default stops, as the SQL window does.
    if (m_tabStop > 0)
        option.setTabStopDistance(m_tabStop);
    layout.setTextOption(option);
    layout.setFormats(m_text.lineFormats(line));
    layout.beginLayout();
    QTextLine textLine = layout.createLine();
    if (textLine.isValid()) {
        textLine.setLineWidth(kUnboundedWidth);
        textLine.setPosition(QPointF(0, 0));
    }
    layout.endLayout();
}

void ResultView::updateLineHeight()
{
    qreal height = QFontMetricsF(font()).lineSpacing();
    m_widestAdvance = QFontMetricsF(font()).maxWidth();
    for (const QTextCharFormat& format : m_text.formats()) {
        const QFontMetricsF metrics(format.font());
        height = std::max(height, metrics.lineSpacing());
        m_widestAdvance = std::max(m_widestAdvance, metrics.maxWidth());
    }
    m_formatsMeasured = m_text.formats().size();
    m_lineHeight = std::max(1, int(std::ceil(height)));
    // The longest line may be in a new font.
    m_measuredLine = -1;
}

int ResultView::visibleLines() const
{
    return std::max(1, (viewport()->height() - kInset) / m_lineHeight);
}

QPoint ResultView::lineOrigin(qsizetype line) const
{
    return QPoint(kInset - horizontalScrollBar()->value(), kInset + int(line - verticalScrollBar()->value()) * m_lineHeight);
}

void ResultView::updateScrollBars()
{
    if (m_measuredLine != m_text.longestLine() || m_measuredLength != m_text.lineLength(m_text.longestLine())) {
        m_measuredLine = m_text.longestLine();
        m_measuredLength = m_text.lineLength(m_measuredLine);
        if (m_measuredLength > kMeasuredLength) {
            m_contentWidth = std::max(m_contentWidth, qreal(m_measuredLength) * std::max(m_widestAdvance, m_tabStop));
        } else {
            QTextLayout layout;
            layoutLine(layout, m_measuredLine);
            m_contentWidth = std::max(m_contentWidth, layout.lineAt(0).naturalTextWidth());
        }
    }
    QScrollBar* vertical = verticalScrollBar();
    const int page = visibleLines();
    const qsizetype lines = m_text.lineCount();
    vertical->setRange(0, int(std::min<qsizetype>(std::max<qsizetype>(0, lines - page), INT_MAX)));
    vertical->setPageStep(page);
    vertical->setSingleStep(1);
    QScrollBar* horizontal = horizontalScrollBar();
    const int width = viewport()->width();
    horizontal->setRange(0, std::max(0, int(std::ceil(m_contentWidth)) + 2 * kInset - width));
    horizontal->setPageStep(width);
    horizontal->setSingleStep(std::max(1, QFontMetrics(font()).averageCharWidth()));
}

void ResultView::notePaintedWidth(qreal width)
{
    if (width <= m_contentWidth)
        return;
    m_contentWidth = width;
    // Not while painting: a scroll bar that appears resizes the viewport.
    QMetaObject::invokeMethod(this, &ResultView::updateScrollBars, Qt::QueuedConnection);
}

void ResultView::resizeEvent(QResizeEvent* event)
{
    QAbstractScrollArea::resizeEvent(event);
    updateScrollBars();
}

void ResultView::scrollContentsBy(int, int)
{
    viewport()->update();
}

void ResultView::changeEvent(QEvent* event)
{
    QAbstractScrollArea::changeEvent(event);
    if (event->type() == QEvent::FontChange) {
        m_contentWidth = 0;
        updateLineHeight();
        updateScrollBars();
        viewport()->update();
    }
}

void ResultView::ensureCaretVisible()
{
    const qsizetype line = m_text.lineAt(m_caret);
    QScrollBar* vertical = verticalScrollBar();
    if (line < vertical->value())
        vertical->setValue(int(line));
    else if (line >= vertical->value() + visibleLines())
        vertical->setValue(int(line - visibleLines() + 1));
    QScrollBar* horizontal = horizontalScrollBar();
    const int x = int(caretX()) + kInset;
    const int margin = horizontal->singleStep() * 2;
    if (x < horizontal->value())
        horizontal->setValue(x - margin);
    else if (x > horizontal->value() + viewport()->width() - margin)
        horizontal->setValue(x - viewport()->width() + margin);
}

// Painting.

void ResultView::paintEvent(QPaintEvent* event)
{
    QPainter painter(viewport());
    painter.fillRect(event->rect(), palette().color(QPalette::Base));
    const qsizetype first = verticalScrollBar()->value();
    const qsizetype last = std::min(m_text.lineCount() - 1, first + viewport()->height() / m_lineHeight + 1);
    for (qsizetype line = first; line <= last; ++line)
        drawLine(painter, line);
}

void ResultView::drawLine(QPainter& painter, qsizetype line)
{
    QTextLayout layout;
    layoutLine(layout, line);
    const QTextLine textLine = layout.lineAt(0);
    notePaintedWidth(textLine.naturalTextWidth());
    const QPoint origin = lineOrigin(line);
    const qsizetype start = m_text.lineStart(line);
    const qsizetype end = m_text.lineEnd(line);

    // The selection keeps its colours when the window loses the focus.
    const QPalette::ColorGroup group = hasFocus() ? QPalette::Active : QPalette::Inactive;
    QList<QTextLayout::FormatRange> selections;
    const qsizetype from = std::max(selectionStart(), start);
    const qsizetype to = std::min(selectionEnd(), end);
    if (hasSelection() && from <= end && selectionEnd() > start) {
        QTextCharFormat selected;
        selected.setBackground(palette().color(group, QPalette::Highlight));
        selected.setForeground(palette().color(group, QPalette::HighlightedText));
        if (to > from)
            selections.append({int(from - start), int(to - from), selected});
        // A selected line break shows as a space's width after the line.
        if (selectionEnd() > end && line + 1 < m_text.lineCount()) {
            const qreal x = origin.x() + textLine.cursorToX(int(end - start));
            painter.fillRect(QRectF(x, origin.y(), QFontMetricsF(font()).horizontalAdvance(u' '), m_lineHeight),
                             selected.background());
        }
    }
    painter.setPen(palette().color(QPalette::Text));
    layout.draw(&painter, origin, selections);

    if (m_caretShown && hasFocus() && m_text.lineAt(m_caret) == line) {
        const qreal x = origin.x() + textLine.cursorToX(int(m_caret - start));
        painter.fillRect(QRectF(x, origin.y(), 1, m_lineHeight), palette().color(QPalette::Text));
    }
}

// What the window's commands do.

QString ResultView::selectedText() const
{
    return m_text.mid(selectionStart(), selectionEnd() - selectionStart());
}

void ResultView::copy()
{
    if (hasSelection())
        QGuiApplication::clipboard()->setText(selectedText());
}

void ResultView::selectAll()
{
    setSelection(0, m_text.size());
}

bool ResultView::findText(const TextSearch& search)
{
    const qsizetype hit = m_text.find(search, search.down ? selectionEnd() : selectionStart());
    if (hit < 0)
        return false;
    setSelection(hit, hit + search.text.size());
    return true;
}

std::pair<int, int> ResultView::caretRowColumn(uint32_t tabCount) const
{
    const qsizetype line = m_text.lineAt(m_caret);
    const int column = tabbedColumn(m_text.lineText(line).left(m_caret - m_text.lineStart(line)), tabCount);
    return {int(line) + 1, column + 1};
}

} // namespace qb::console::ui
