#include "CHexEditBase.h"

#include "HexClipboard.h"

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QFontDatabase>
#include <QKeyEvent>
#include <QMenu>
#include <QMimeData>
#include <QPainter>
#include <QtMath>
#include <QScrollBar>
#include <algorithm>
#include <climits>
#include <vector>

namespace bryndle {
namespace {

constexpr char kDigits[] = "0123456789ABCDEF";
constexpr int kScrollInterval = 5; // ms a tick of automatic scrolling

QChar printable(unsigned char b)
{
    return b >= 0x20 && b <= 0x7E ? QChar(b) : QChar(u'.');
}

} // namespace

CHexEditBase::CHexEditBase(QWidget* parent) : QAbstractScrollArea(parent), m_buffer(std::make_unique<MemoryHexBuffer>())
{
    setObjectName(QStringLiteral("CHexEditBase"));
    setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    setFocusPolicy(Qt::StrongFocus);
    viewport()->setCursor(Qt::IBeamCursor);
    setFrameShape(QFrame::StyledPanel);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    connect(verticalScrollBar(), &QScrollBar::valueChanged, this, &CHexEditBase::onVerticalScroll);
}

CHexEditBase::~CHexEditBase() = default;

void CHexEditBase::setData(const QByteArray& bytes, bool redraw)
{
    setBuffer(std::make_unique<MemoryHexBuffer>(bytes), redraw);
}

void CHexEditBase::setBuffer(std::unique_ptr<HexBuffer> buffer, bool redraw)
{
    m_buffer = buffer ? std::move(buffer) : std::make_unique<MemoryHexBuffer>();
    reset(redraw);
}

void CHexEditBase::reset(bool redraw)
{
    m_selection.reset();
    m_highlight.reset();
    m_caret = 0;
    m_lowNibble = false;
    m_anchor = 0;
    m_topLine = 0;
    horizontalScrollBar()->setValue(0);
    layoutChanged(redraw);
}

void CHexEditBase::layoutChanged(bool redraw)
{
    m_layoutDirty = true;
    if (redraw) {
        updateScrollBars();
        viewport()->update();
    }
}

void CHexEditBase::setAddressDigits(int digits, bool redraw)
{
    m_options.addressDigits = std::clamp(digits, 1, 16);
    layoutChanged(redraw);
}

void CHexEditBase::setShowAddress(bool show, bool redraw)
{
    m_options.showAddress = show;
    layoutChanged(redraw);
}

void CHexEditBase::setShowCharacters(bool show, bool redraw)
{
    m_options.showCharacters = show;
    layoutChanged(redraw);
}

void CHexEditBase::setBytesPerLine(int bytes, bool automatic, bool redraw)
{
    m_options.bytesPerLine = std::max(1, bytes);
    m_options.autoBytesPerLine = automatic;
    layoutChanged(redraw);
}

void CHexEditBase::setMultiLine(bool multiLine, bool redraw)
{
    m_options.multiLine = multiLine;
    layoutChanged(redraw);
}

void CHexEditBase::setColours(const HexColours& colours)
{
    m_colours = colours;
    viewport()->update();
}

const HexLayout& CHexEditBase::currentLayout()
{
    if (m_layoutDirty) {
        // Cells are whole pixels wide: the font's fractional advance is padded by letter spacing,
        // so a line drawn as one text keeps to the cells the layout counts with.
        m_cellFont = font();
        const qreal advance = QFontMetricsF(m_cellFont).horizontalAdvance(u'0');
        const int w = std::max(1, qCeil(advance));
        m_cellFont.setLetterSpacing(QFont::AbsoluteSpacing, w - advance);
        m_layout = HexLayout::compute(m_options, w, QFontMetrics(m_cellFont).height(), viewport()->size(), length());
        m_layoutDirty = false;
        m_topLine = std::min(m_topLine, m_layout.maxTopLine);
    }
    return m_layout;
}

void CHexEditBase::updateScrollBars()
{
    const HexLayout& l = currentLayout();
    // A scroll bar counts in int: a value with more lines moves several lines a step.
    m_scrollScale = std::max<uint64_t>(1, (l.maxTopLine + INT_MAX - 1) / INT_MAX);
    QScrollBar* v = verticalScrollBar();
    const QSignalBlocker block(v);
    v->setRange(0, int(l.maxTopLine / m_scrollScale));
    v->setPageStep(std::max(1, int(std::max(1, l.wholeLines - 1) / int64_t(m_scrollScale))));
    v->setSingleStep(1);
    v->setValue(int(m_topLine / m_scrollScale));
    QScrollBar* h = horizontalScrollBar();
    h->setRange(0, l.maxHorizontal);
    h->setPageStep(std::max(1, l.content.width()));
    h->setSingleStep(std::max(1, l.charWidth));
}

void CHexEditBase::onVerticalScroll(int value)
{
    m_topLine = std::min(uint64_t(std::max(0, value)) * m_scrollScale, currentLayout().maxTopLine);
    viewport()->update();
}

void CHexEditBase::setTopLine(uint64_t line)
{
    m_topLine = std::min(line, currentLayout().maxTopLine);
    const QSignalBlocker block(verticalScrollBar());
    verticalScrollBar()->setValue(int(m_topLine / m_scrollScale));
    viewport()->update();
}

int CHexEditBase::horizontalOffset() const
{
    return horizontalScrollBar()->value();
}

void CHexEditBase::scrollContentsBy(int, int)
{
    viewport()->update();
}

void CHexEditBase::changeEvent(QEvent* event)
{
    QAbstractScrollArea::changeEvent(event);
    if (event->type() == QEvent::FontChange)
        layoutChanged(true);
}

void CHexEditBase::resizeEvent(QResizeEvent* event)
{
    QAbstractScrollArea::resizeEvent(event);
    layoutChanged(true);
}

void CHexEditBase::setSelection(int64_t first, int64_t last, bool redraw)
{
    const uint64_t n = length();
    if (first < 0 || last < 0 || n == 0) {
        m_selection.reset();
    } else {
        const uint64_t a = std::min<uint64_t>(uint64_t(first), n - 1);
        const uint64_t b = std::min<uint64_t>(uint64_t(last), n - 1);
        m_selection = ByteRange{std::min(a, b), std::max(a, b)};
    }
    if (redraw)
        viewport()->update();
}

void CHexEditBase::selectAll()
{
    if (length() > 0)
        setSelection(0, int64_t(length() - 1));
}

void CHexEditBase::setHighlight(int64_t first, int64_t last, bool redraw)
{
    const uint64_t n = length();
    if (first < 0 || last < 0 || n == 0) {
        m_highlight.reset();
    } else {
        const uint64_t a = std::min<uint64_t>(uint64_t(first), n - 1);
        const uint64_t b = std::min<uint64_t>(uint64_t(last), n - 1);
        m_highlight = ByteRange{std::min(a, b), std::max(a, b)};
    }
    if (redraw)
        viewport()->update();
}

// ---- painting -------------------------------------------------------------------------------

void CHexEditBase::paintEvent(QPaintEvent*)
{
    const HexLayout& l = currentLayout();
    QPainter p(viewport());
    p.setFont(m_cellFont);
    p.fillRect(viewport()->rect(), m_colours.outside);
    p.setClipRect(l.content.adjusted(-2, 0, 2, 0));
    const int x0 = l.content.left() - horizontalOffset();
    const QRect column(0, l.content.top(), 0, l.content.height());
    if (m_options.showAddress)
        p.fillRect(column.adjusted(x0, 0, x0 + l.addressWidth, 0), m_colours.addressBackground);
    p.fillRect(column.adjusted(x0 + l.hexLeft, 0, x0 + l.hexLeft + l.hexTextWidth + HexLayout::kGap, 0),
               m_colours.hexBackground);
    if (m_options.showCharacters)
        p.fillRect(column.adjusted(x0 + l.charactersLeft, 0, x0 + l.charactersLeft + l.charactersWidth, 0),
                   m_colours.characterBackground);

    // Only the lines on screen are read, in one piece.
    const uint64_t n = uint64_t(l.bytesPerLine);
    const uint64_t lines = std::min<uint64_t>(uint64_t(l.visibleLines), l.totalLines - std::min(l.totalLines, m_topLine));
    const uint64_t first = m_topLine * n;
    const size_t count = size_t(std::min<uint64_t>(lines * n, length() - std::min(length(), first)));
    std::vector<unsigned char> bytes(count);
    const bool readable = count == 0 || m_buffer->read(first, bytes.data(), count);
    for (uint64_t i = 0; i < lines; ++i) {
        const size_t at = size_t(i * n);
        paintLine(p, l, x0, l.content.top() + int(i) * l.lineHeight, m_topLine + i, bytes.data() + at,
                  int(std::min<uint64_t>(n, count - at)), readable);
    }

    // The caret: a block over its nibble, while the view has the focus and the line is on screen.
    if (hasFocus() && length() > 0 && m_caret / n >= m_topLine && m_caret / n < m_topLine + uint64_t(l.visibleLines)) {
        const int i = int(m_caret % n);
        const int y = l.content.top() + int(m_caret / n - m_topLine) * l.lineHeight;
        const QRect caret(x0 + l.hexCellLeft(i) + (m_lowNibble ? l.charWidth : 0), y, l.charWidth,
                          std::min(l.lineHeight - 1, l.content.bottom() - y));
        p.fillRect(caret, m_colours.hexText);
        unsigned char b = 0;
        if (m_buffer->read(m_caret, &b, 1)) {
            p.setPen(m_colours.hexBackground);
            p.drawText(caret.left(), y + QFontMetrics(m_cellFont).ascent(), QString(QChar(kDigits[m_lowNibble ? b & 0xF : b >> 4])));
        }
    }
}

HexLineText formatLine(uint64_t lineStart, const unsigned char* bytes, int count, bool readable, int addressDigits)
{
    HexLineText t;
    t.address = QString::number(lineStart, 16).toUpper().rightJustified(addressDigits, u'0');
    t.hex.reserve(count * 3);
    t.characters.reserve(count);
    for (int i = 0; i < count; ++i) {
        if (i)
            t.hex += u' ';
        // A byte that cannot be read shows as "??" and "?": never as whatever the memory held.
        if (!readable) {
            t.hex += QStringLiteral("??");
            t.characters += u'?';
            continue;
        }
        t.hex += QChar(kDigits[bytes[i] >> 4]);
        t.hex += QChar(kDigits[bytes[i] & 0xF]);
        t.characters += printable(bytes[i]);
    }
    return t;
}

HexLineText CHexEditBase::lineText(uint64_t line)
{
    const HexLayout& l = currentLayout();
    const uint64_t start = line * uint64_t(l.bytesPerLine);
    if (line >= l.totalLines)
        return {};
    const int count = int(std::min<uint64_t>(uint64_t(l.bytesPerLine), length() - start));
    std::vector<unsigned char> bytes(static_cast<size_t>(count));
    const bool readable = m_buffer->read(start, bytes.data(), bytes.size());
    return formatLine(start, bytes.data(), count, readable, l.addressDigits);
}

void CHexEditBase::paintLine(QPainter& p, const HexLayout& l, int x0, int y, uint64_t line, const unsigned char* bytes,
                             int count, bool readable)
{
    const int baseline = y + QFontMetrics(m_cellFont).ascent();
    const uint64_t lineStart = line * uint64_t(l.bytesPerLine);
    const HexLineText text = formatLine(lineStart, bytes, count, readable, l.addressDigits);
    if (m_options.showAddress) {
        p.setPen(m_colours.addressText);
        p.drawText(x0, baseline, text.address);
    }
    // The highlight range under the text: filled and outlined.
    if (m_highlight) {
        for (int i = 0; i < count; ++i) {
            if (!m_highlight->contains(lineStart + uint64_t(i)))
                continue;
            const bool joined = i + 1 < count && m_highlight->contains(lineStart + uint64_t(i) + 1);
            const QRect cell(x0 + l.hexCellLeft(i), y, joined ? 3 * l.charWidth : 2 * l.charWidth, l.lineHeight);
            p.fillRect(cell, m_colours.highlightFill);
            p.setPen(m_colours.highlightOutline);
            p.drawRect(cell.adjusted(0, 0, -1, -1));
        }
    }
    p.setPen(m_colours.hexText);
    p.drawText(x0 + l.hexLeft, baseline, text.hex);
    if (m_options.showCharacters) {
        p.setPen(m_colours.characterText);
        p.drawText(x0 + l.charactersLeft, baseline, text.characters);
    }
    paintMarks(p, l, x0, y, lineStart, text, count);
}

void CHexEditBase::paintMarks(QPainter& p, const HexLayout& l, int x0, int y, uint64_t lineStart, const HexLineText& text,
                              int count)
{
    const int baseline = y + QFontMetrics(m_cellFont).ascent();
    const int w = l.charWidth;
    const auto digits = [&](int i) { return text.hex.mid(3 * i, 2); };
    const bool selecting = m_selection && (hasFocus() || m_options.multiLine);
    const QColor fill = hasFocus() ? palette().color(QPalette::Highlight) : palette().color(QPalette::Button);
    const QColor selectedText = hasFocus() ? palette().color(QPalette::HighlightedText) : palette().color(QPalette::WindowText);
    for (int i = 0; i < count; ++i) {
        const uint64_t b = lineStart + uint64_t(i);
        const int left = x0 + l.hexCellLeft(i);
        if (selecting && m_selection->contains(b)) {
            // Consecutive selected bytes join across the space between them.
            const bool joined = i + 1 < count && m_selection->contains(b + 1);
            p.fillRect(QRect(left, y, joined ? 3 * w : 2 * w, l.lineHeight), fill);
            p.setPen(selectedText);
            p.drawText(left, baseline, digits(i));
            if (m_options.showCharacters) {
                p.fillRect(QRect(x0 + l.characterCellLeft(i), y, w, l.lineHeight), fill);
                p.drawText(x0 + l.characterCellLeft(i), baseline, text.characters.mid(i, 1));
            }
        } else if (m_highlight && m_highlight->contains(b)) {
            p.setPen(m_colours.highlightText);
            p.drawText(left, baseline, digits(i));
        }
    }
}

// ---- caret and keys -------------------------------------------------------------------------

void CHexEditBase::moveCaret(int64_t byte, bool low, bool extend)
{
    const uint64_t n = length();
    if (n == 0)
        return;
    const uint64_t before = m_caret;
    if (byte < 0) {
        byte = 0;
        low = false;
    } else if (uint64_t(byte) >= n) {
        byte = int64_t(n - 1);
        low = true;
    }
    if (extend) {
        if (!m_selection)
            m_anchor = before; // where Shift went down
        m_caret = uint64_t(byte);
        m_lowNibble = low;
        m_selection = ByteRange{std::min(m_anchor, m_caret), std::max(m_anchor, m_caret)};
    } else {
        m_caret = uint64_t(byte);
        m_lowNibble = low;
        m_selection.reset();
        m_anchor = m_caret;
    }
    ensureCaretVisible();
    viewport()->update();
}

void CHexEditBase::ensureCaretVisible()
{
    const HexLayout& l = currentLayout();
    const uint64_t line = m_caret / uint64_t(l.bytesPerLine);
    if (line < m_topLine)
        setTopLine(line);
    else if (line >= m_topLine + uint64_t(l.wholeLines))
        setTopLine(line - uint64_t(l.wholeLines) + 1);
    const int x = l.hexCellLeft(int(m_caret % uint64_t(l.bytesPerLine))) + (m_lowNibble ? l.charWidth : 0);
    QScrollBar* h = horizontalScrollBar();
    if (x < h->value())
        h->setValue(x);
    else if (x + l.charWidth > h->value() + l.content.width())
        h->setValue(x + l.charWidth - l.content.width());
}

void CHexEditBase::typeNibble(int value)
{
    if (m_readOnly || length() == 0)
        return;
    unsigned char b = 0;
    if (!m_buffer->read(m_caret, &b, 1))
        return;
    b = m_lowNibble ? static_cast<unsigned char>((b & 0xF0) | value) : static_cast<unsigned char>((b & 0x0F) | (value << 4));
    if (!m_buffer->write(m_caret, &b, 1))
        return;
    if (m_lowNibble)
        moveCaret(int64_t(m_caret) + 1, false, false);
    else
        moveCaret(int64_t(m_caret), true, false);
    emit edited();
}

void CHexEditBase::keyPressEvent(QKeyEvent* event)
{
    const HexLayout& l = currentLayout();
    const int64_t n = l.bytesPerLine;
    const int64_t caret = int64_t(m_caret);
    const bool shift = event->modifiers() & Qt::ShiftModifier;
    const bool ctrl = event->modifiers() & Qt::ControlModifier;
    const int64_t page = int64_t(std::max(1, l.wholeLines - 1)) * n;
    switch (event->key()) {
    case Qt::Key_Left:
        moveCaret(m_lowNibble ? caret : caret - 1, !m_lowNibble, shift);
        return;
    case Qt::Key_Right:
        moveCaret(m_lowNibble ? caret + 1 : caret, !m_lowNibble, shift);
        return;
    case Qt::Key_Up:
        moveCaret(caret - n, m_lowNibble, shift);
        return;
    case Qt::Key_Down:
        moveCaret(caret + n, m_lowNibble, shift);
        return;
    case Qt::Key_PageUp:
        moveCaret(caret - page, m_lowNibble, shift);
        return;
    case Qt::Key_PageDown:
        moveCaret(caret + page, m_lowNibble, shift);
        return;
    case Qt::Key_Home:
        moveCaret(0, false, shift);
        return;
    case Qt::Key_End:
        moveCaret(int64_t(length()), true, shift); // clamped: the last byte's low nibble
        return;
    case Qt::Key_A:
        if (ctrl) {
            selectAll();
            return;
        }
        break;
    case Qt::Key_C:
    case Qt::Key_Insert:
        if (ctrl) {
            copy();
            return;
        }
        break;
    case Qt::Key_V:
        if (ctrl) {
            paste();
            return;
        }
        break;
    case Qt::Key_Menu: {
        const QPoint at = l.content.topLeft() + QPoint(5, 5);
        QContextMenuEvent menu(QContextMenuEvent::Keyboard, at, viewport()->mapToGlobal(at));
        contextMenuEvent(&menu);
        return;
    }
    default:
        break;
    }
    const QString text = event->text();
    if (!ctrl && text.size() == 1) {
        bool ok = false;
        const int value = QString(text).toInt(&ok, 16);
        if (ok) {
            typeNibble(value);
            return;
        }
    }
    QAbstractScrollArea::keyPressEvent(event);
}

// ---- mouse ----------------------------------------------------------------------------------

CHexEditBase::Hit CHexEditBase::hitTest(QPoint point)
{
    const HexLayout& l = currentLayout();
    const int n = l.bytesPerLine;
    const int x = point.x() - l.content.left() + horizontalOffset();
    const int y = point.y() - l.content.top();
    const uint64_t line = m_topLine + uint64_t(std::max(0, y) / l.lineHeight);
    int column = 0;
    bool low = false;
    if (m_options.showCharacters && x >= l.charactersLeft) {
        column = std::min(n - 1, (x - l.charactersLeft) / l.charWidth);
    } else if (x >= l.hexLeft) {
        const int rel = x - l.hexLeft;
        column = rel / (3 * l.charWidth);
        low = rel % (3 * l.charWidth) >= l.charWidth;
        if (column >= n) {
            column = n - 1;
            low = true;
        }
    }
    Hit hit{line * uint64_t(n) + uint64_t(column), low};
    if (length() > 0 && hit.byte >= length())
        hit = {length() - 1, true};
    return hit;
}

void CHexEditBase::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton) {
        QAbstractScrollArea::mousePressEvent(event);
        return;
    }
    setFocus(Qt::MouseFocusReason);
    if (length() == 0)
        return;
    const Hit hit = hitTest(event->position().toPoint());
    moveCaret(int64_t(hit.byte), hit.low, false);
    m_anchor = m_caret;
    m_dragging = true;
    m_leftDragStart = false;
    const int dw = QApplication::startDragDistance();
    m_dragStart = QRect(event->position().toPoint() - QPoint(dw, dw), QSize(2 * dw + 1, 2 * dw + 1));
}

void CHexEditBase::dragTo(QPoint point)
{
    m_lastPointer = point;
    const Hit hit = hitTest(point);
    m_caret = hit.byte;
    m_lowNibble = hit.low;
    m_selection = ByteRange{std::min(m_anchor, m_caret), std::max(m_anchor, m_caret)};
    viewport()->update();
}

void CHexEditBase::mouseMoveEvent(QMouseEvent* event)
{
    if (!m_dragging || !(event->buttons() & Qt::LeftButton))
        return;
    const QPoint point = event->position().toPoint();
    if (!m_leftDragStart) {
        if (m_dragStart.contains(point))
            return;
        m_leftDragStart = true;
    }
    const HexLayout& l = currentLayout();
    const bool outside = m_options.multiLine && (point.y() < l.content.top() || point.y() > l.content.bottom());
    if (outside && !m_scrollTimer.isActive()) {
        m_scrollTicks = 0;
        m_scrollTimer.start(kScrollInterval, this);
    } else if (!outside) {
        m_scrollTimer.stop();
    }
    dragTo(point);
}

void CHexEditBase::timerEvent(QTimerEvent* event)
{
    if (event->timerId() != m_scrollTimer.timerId()) {
        QAbstractScrollArea::timerEvent(event);
        return;
    }
    // Farther from the content scrolls faster: a line every 7 ticks near it, every tick far off.
    const HexLayout& l = currentLayout();
    const bool up = m_lastPointer.y() < l.content.top();
    const int distance = up ? l.content.top() - m_lastPointer.y() : m_lastPointer.y() - l.content.bottom();
    const int every = 7 - std::min(6, (distance + 1) / 5);
    if (++m_scrollTicks < every)
        return;
    m_scrollTicks = 0;
    if (up && m_topLine > 0)
        setTopLine(m_topLine - 1);
    else if (!up)
        setTopLine(m_topLine + 1);
    dragTo(m_lastPointer);
}

void CHexEditBase::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton) {
        m_dragging = false;
        m_scrollTimer.stop();
        viewport()->update();
    }
}

void CHexEditBase::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton || length() == 0)
        return;
    const Hit hit = hitTest(event->position().toPoint());
    if (m_highlight && m_highlight->contains(hit.byte))
        m_selection = m_highlight;
    else
        m_selection = ByteRange{hit.byte, hit.byte};
    viewport()->update();
}

void CHexEditBase::contextMenuEvent(QContextMenuEvent* event)
{
    if (event->reason() == QContextMenuEvent::Mouse && length() > 0) {
        const Hit hit = hitTest(event->pos());
        if (!m_selection || !m_selection->contains(hit.byte))
            moveCaret(int64_t(hit.byte), hit.low, false);
    }
    QMenu menu(this);
    QAction* copyAction = menu.addAction(QStringLiteral("Copy"));
    QAction* pasteAction = menu.addAction(QStringLiteral("Paste"));
    copyAction->setEnabled(m_selection.has_value());
    pasteAction->setEnabled(canPaste());
    const QAction* chosen = menu.exec(viewport()->mapToGlobal(event->pos()));
    if (chosen == copyAction)
        copy();
    else if (chosen == pasteAction)
        paste();
}

void CHexEditBase::focusInEvent(QFocusEvent* event)
{
    QAbstractScrollArea::focusInEvent(event);
    viewport()->update();
}

void CHexEditBase::focusOutEvent(QFocusEvent* event)
{
    QAbstractScrollArea::focusOutEvent(event);
    viewport()->update();
}

// ---- clipboard ------------------------------------------------------------------------------

void CHexEditBase::copy()
{
    if (!m_selection)
        return;
    const uint64_t size = m_selection->last - m_selection->first + 1;
    if (size > kMaxCopyBytes)
        return;
    QByteArray bytes(qsizetype(size), '\0');
    if (!m_buffer->read(m_selection->first, bytes.data(), size_t(size)))
        return;
    QGuiApplication::clipboard()->setMimeData(makeMimeData(bytes, m_selection->first, currentLayout().bytesPerLine));
}

bool CHexEditBase::canPaste() const
{
    return !m_readOnly && length() > 0 && pastedBytes(QGuiApplication::clipboard()->mimeData()).has_value();
}

void CHexEditBase::paste()
{
    if (m_readOnly || length() == 0)
        return;
    const std::optional<QByteArray> bytes = pastedBytes(QGuiApplication::clipboard()->mimeData());
    if (!bytes)
        return;
    const uint64_t start = m_selection ? m_selection->first : m_caret;
    // The data keeps its length: what does not fit before the end is left out.
    const uint64_t count = std::min<uint64_t>(uint64_t(bytes->size()), length() - start);
    if (count == 0 || !m_buffer->write(start, bytes->constData(), size_t(count)))
        return;
    m_selection = ByteRange{start, start + count - 1};
    m_anchor = start;
    m_caret = start + count - 1;
    m_lowNibble = true;
    ensureCaretVisible();
    viewport()->update();
    emit edited();
}

} // namespace bryndle
