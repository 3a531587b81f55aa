#include "explorer/ui/DataCellDelegate.h"

#include <QApplication>
#include <QPainter>

namespace qb::ui {

DataCellDelegate::DataCellDelegate(QObject* parent) : QStyledItemDelegate(parent) {}

bool DataCellDelegate::isLongValueText(const QString& text)
{
    return text == QLatin1String("(BLOB)") || text == QLatin1String("(TEXT)");
}

QColor DataCellDelegate::blended(const QColor& highlight, double f)
{
    auto part = [f](int c) { return int(c + (255 - c) * f); };
    return QColor(part(highlight.red()), part(highlight.green()), part(highlight.blue()));
}

void DataCellDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    const QPalette& pal = option.palette;
    const QColor highlight = pal.color(QPalette::Active, QPalette::Highlight);
    const bool cursorRow = index.row() == m_cursor.row;
    const bool cursorCell = cursorRow && (m_cursor.rowsOnly || index.column() == m_cursor.column);

    QColor background = blended(highlight, 0.99);
    QColor text = pal.color(QPalette::Text);
    if (cursorCell) {
        background = blended(highlight, 0.5);
        text = pal.color(QPalette::Active, QPalette::HighlightedText);
    } else if (cursorRow && m_cursor.fullRow) {
        background = blended(highlight, 0.9);
    }

    const QString cellText = index.data(Qt::DisplayRole).toString();
    if (!isLongValueText(cellText)) {
        QStyleOptionViewItem opt = option;
        initStyleOption(&opt, index);
        opt.state &= ~(QStyle::State_Selected | QStyle::State_HasFocus);
        opt.backgroundBrush = background;
        opt.palette.setColor(QPalette::Text, text);
        painter->fillRect(option.rect, background);
        const QWidget* widget = option.widget;
        QStyle* style = widget ? widget->style() : QApplication::style();
        style->drawControl(QStyle::CE_ItemViewItem, &opt, painter, widget);
        return;
    }

    // A long value: painted here entirely.
    const QRect r = option.rect;
    painter->save();
    painter->fillRect(r, background);
    painter->setPen(text);
    painter->setFont(option.font);
    const QRect textRect = r.adjusted(24, 0, -2, 0);
    const QString shown = option.fontMetrics.elidedText(cellText, Qt::ElideRight, textRect.width());
    painter->drawText(textRect, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, shown);
    // The triangle: rows of 7, 5, 3 and 1 pixels, 7 to 10 pixels below the cell's top.
    for (int k = 0; k < 4; ++k)
        painter->fillRect(QRect(r.left() + 7 + k, r.top() + 7 + k, 7 - 2 * k, 1), text);
    painter->restore();
}

} // namespace qb::ui
