#include "tips/HyperTextControl.h"

#include <QDesktopServices>
#include <QHelpEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QTextLine>
#include <QToolTip>
#include <QUrl>

namespace qb::tips {
namespace {

constexpr int kMargin = 2;

bool isBreak(QChar c)
{
    return c == u'\n' || c == u'\r';
}

} // namespace

HyperTextControl::HyperTextControl(QWidget* parent) : QWidget(parent)
{
    // The control's own font; the dialog sets the one it wants.
    setFont(QFont(QStringLiteral("Times New Roman"), 10));
    setMouseTracking(true);
    setAttribute(Qt::WA_Hover);
}

HyperTextControl::~HyperTextControl() = default;

void HyperTextControl::setText(const QString& text)
{
    m_text = text;
    m_links = findLinks(text);
    m_hovered = m_pressed = -1;
    unsetCursor();
    relayout();
}

void HyperTextControl::setTextColor(const QColor& c)
{
    m_textColor = c;
    relayout();
}

void HyperTextControl::setLinkColor(const QColor& c)
{
    m_linkColor = c;
    relayout();
}

void HyperTextControl::setHoverColor(const QColor& c)
{
    m_hoverColor = c;
    relayout();
}

void HyperTextControl::setUnderlineLinks(bool on)
{
    m_underline = on;
    relayout();
}

void HyperTextControl::relayout()
{
    m_paragraphs.clear();
    const qreal width = qMax(1, this->width() - 2 * kMargin);
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    option.setTabStopDistance(QFontMetricsF(font()).horizontalAdvance(QLatin1Char('x')) * 8);
    qreal top = kMargin;
    qsizetype start = 0;
    while (start <= m_text.size()) {
        qsizetype end = start;
        while (end < m_text.size() && !isBreak(m_text[end]))
            ++end;
        Paragraph p;
        p.start = start;
        p.layout = std::make_unique<QTextLayout>(m_text.mid(start, end - start), font());
        p.layout->setTextOption(option);
        QList<QTextLayout::FormatRange> formats;
        for (int i = 0; i < int(m_links.size()); ++i) {
            const HyperLink& link = m_links[size_t(i)];
            const qsizetype from = qMax(link.start, start);
            const qsizetype to = qMin(link.start + link.length, end);
            if (from >= to)
                continue;
            QTextLayout::FormatRange range;
            range.start = int(from - start);
            range.length = int(to - from);
            range.format.setForeground(i == m_hovered ? m_hoverColor : m_linkColor);
            range.format.setFontUnderline(m_underline);
            formats.push_back(range);
        }
        p.layout->setFormats(formats);
        p.layout->beginLayout();
        qreal y = 0;
        for (QTextLine line = p.layout->createLine(); line.isValid(); line = p.layout->createLine()) {
            line.setLineWidth(width);
            line.setPosition(QPointF(0, y));
            y += line.height();
        }
        p.layout->endLayout();
        p.top = top;
        top += y;
        m_paragraphs.push_back(std::move(p));
        if (end >= m_text.size())
            break;
        // CR LF is one break.
        start = end + ((m_text[end] == u'\r' && end + 1 < m_text.size() && m_text[end + 1] == u'\n') ? 2 : 1);
    }
    update();
}

int HyperTextControl::lineCount() const
{
    int lines = 0;
    for (const Paragraph& p : m_paragraphs)
        lines += p.layout->lineCount();
    return lines;
}

QString HyperTextControl::lineText(int line) const
{
    for (const Paragraph& p : m_paragraphs) {
        if (line < p.layout->lineCount()) {
            const QTextLine l = p.layout->lineAt(line);
            return p.layout->text().mid(l.textStart(), l.textLength());
        }
        line -= p.layout->lineCount();
    }
    return {};
}

qsizetype HyperTextControl::positionAt(const QPoint& point) const
{
    for (const Paragraph& p : m_paragraphs) {
        for (int i = 0; i < p.layout->lineCount(); ++i) {
            const QTextLine line = p.layout->lineAt(i);
            const QRectF rect(kMargin + line.x(), p.top + line.y(), line.naturalTextWidth(), line.height());
            if (!rect.contains(point))
                continue;
            int cursor = line.xToCursor(point.x() - kMargin, QTextLine::CursorOnCharacter);
            cursor = qBound(line.textStart(), cursor, line.textStart() + line.textLength() - 1);
            return p.start + cursor;
        }
    }
    return -1;
}

int HyperTextControl::linkAt(const QPoint& point) const
{
    const qsizetype position = positionAt(point);
    if (position < 0)
        return -1;
    for (int i = 0; i < int(m_links.size()); ++i)
        if (m_links[size_t(i)].contains(position))
            return i;
    return -1;
}

QPoint HyperTextControl::linkPosition(int link) const
{
    if (link < 0 || link >= int(m_links.size()))
        return {};
    const qsizetype position = m_links[size_t(link)].start;
    for (const Paragraph& p : m_paragraphs) {
        const qsizetype local = position - p.start;
        if (local < 0 || local >= p.layout->text().size())
            continue;
        const QTextLine line = p.layout->lineForTextPosition(int(local));
        if (!line.isValid())
            return {};
        const qreal x = line.cursorToX(int(local));
        const qreal next = line.cursorToX(int(local) + 1);
        return QPointF(kMargin + (x + next) / 2, p.top + line.y() + line.height() / 2).toPoint();
    }
    return {};
}

void HyperTextControl::setHovered(int link)
{
    if (link == m_hovered)
        return;
    m_hovered = link;
    if (link >= 0)
        setCursor(Qt::PointingHandCursor);
    else
        unsetCursor();
    relayout();
}

QSize HyperTextControl::sizeHint() const
{
    return {200, 100};
}

void HyperTextControl::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setPen(m_textColor);
    for (const Paragraph& p : m_paragraphs)
        p.layout->draw(&painter, QPointF(kMargin, p.top));
}

void HyperTextControl::resizeEvent(QResizeEvent*)
{
    relayout();
}

void HyperTextControl::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::FontChange)
        relayout();
    QWidget::changeEvent(event);
}

void HyperTextControl::mouseMoveEvent(QMouseEvent* event)
{
    setHovered(linkAt(event->position().toPoint()));
}

void HyperTextControl::mousePressEvent(QMouseEvent* event)
{
    m_pressed = event->button() == Qt::LeftButton ? linkAt(event->position().toPoint()) : -1;
}

void HyperTextControl::mouseReleaseEvent(QMouseEvent* event)
{
    const int link = event->button() == Qt::LeftButton ? linkAt(event->position().toPoint()) : -1;
    const bool clicked = link >= 0 && link == m_pressed;
    m_pressed = -1;
    if (!clicked)
        return;
    const QString target = m_links[size_t(link)].target;
    emit linkActivated(target);
    QDesktopServices::openUrl(QUrl(target, QUrl::TolerantMode));
}

void HyperTextControl::leaveEvent(QEvent*)
{
    setHovered(-1);
}

bool HyperTextControl::event(QEvent* event)
{
    if (event->type() == QEvent::ToolTip) {
        auto* help = static_cast<QHelpEvent*>(event);
        const int link = linkAt(help->pos());
        if (link >= 0)
            QToolTip::showText(help->globalPos(), m_links[size_t(link)].target, this);
        else
            QToolTip::hideText();
        return true;
    }
    return QWidget::event(event);
}

} // namespace qb::tips
