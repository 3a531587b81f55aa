#include "explorer/ui/DatabaseTree.h"

#include "explorer/ui/Icons.h"

#include <QHeaderView>
#include <QPainter>
#include <QStyledItemDelegate>

namespace qb::ui {
namespace {

// Underlines the item under the pointer when hot tracking is on.
class TreeItemDelegate : public QStyledItemDelegate {
public:
    TreeItemDelegate(const DatabaseTree& tree) : QStyledItemDelegate(const_cast<DatabaseTree*>(&tree)), m_tree(tree) {}

protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override
    {
        QStyledItemDelegate::initStyleOption(option, index);
        if (m_tree.styles().hotTrack && (option->state & QStyle::State_MouseOver)) {
            option->font.setUnderline(true);
            option->palette.setColor(QPalette::Text, option->palette.color(QPalette::Link));
        }
        option->state &= ~QStyle::State_MouseOver;
    }

private:
    const DatabaseTree& m_tree;
};

} // namespace

DatabaseTree::DatabaseTree(QWidget* parent) : QTreeWidget(parent)
{
    setHeaderHidden(true);
    setColumnCount(1);
    setRootIsDecorated(true);
    setUniformRowHeights(true);
    setIconSize(QSize(16, 16));
    setItemDelegate(new TreeItemDelegate(*this));
    setSelectionMode(QAbstractItemView::SingleSelection);
    setExpandsOnDoubleClick(true);
    setAnimated(false);
    setStyles(m_styles);
}

void DatabaseTree::setStyles(const Styles& styles)
{
    m_styles = styles;
    setMouseTracking(styles.hotTrack);
    viewport()->setAttribute(Qt::WA_Hover, styles.hotTrack);
    setAllColumnsShowFocus(styles.fullRow);
    viewport()->update();
}

void DatabaseTree::resetRoot(const QString& caption)
{
    clear();
    auto* root = new QTreeWidgetItem(this, QStringList{caption});
    root->setIcon(0, elementIcon(0));
    root->setChildIndicatorPolicy(QTreeWidgetItem::ShowIndicator);
}

void DatabaseTree::fillChildren(QTreeWidgetItem* node, const std::vector<browser::TreeChild>& children)
{
    for (const browser::TreeChild& child : children) {
        auto* item = new QTreeWidgetItem(node, QStringList{child.text});
        const QIcon icon = elementIcon(child.image);
        if (!icon.isNull())
            item->setIcon(0, icon);
        item->setChildIndicatorPolicy(child.expandable ? QTreeWidgetItem::ShowIndicator
                                                       : QTreeWidgetItem::DontShowIndicatorWhenChildless);
    }
    if (children.empty())
        node->setChildIndicatorPolicy(QTreeWidgetItem::DontShowIndicatorWhenChildless);
}

std::optional<QString> DatabaseTree::parentText(const QTreeWidgetItem* node)
{
    if (!node || !node->parent())
        return std::nullopt;
    return node->parent()->text(0);
}

bool DatabaseTree::showsButton(const QModelIndex& index) const
{
    const QTreeWidgetItem* item = itemFromIndex(index);
    return item && (item->childCount() > 0 || item->childIndicatorPolicy() == QTreeWidgetItem::ShowIndicator);
}

void DatabaseTree::drawRow(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    if (m_styles.fullRow && selectionModel()->isSelected(index))
        painter->fillRect(QRect(0, option.rect.top(), viewport()->width(), option.rect.height()),
                          option.palette.brush(hasFocus() ? QPalette::Active : QPalette::Inactive, QPalette::Highlight));
    QTreeWidget::drawRow(painter, option, index);
}

void DatabaseTree::drawBranches(QPainter* painter, const QRect& rect, const QModelIndex& index) const
{
    const int indent = indentation();
    const int x = rect.right() + 1 - indent; // the column of this node's own level
    const int cx = x + indent / 2;
    const int cy = rect.top() + rect.height() / 2;
    const QColor lineColor = palette().color(QPalette::Dark);

    painter->save();
    if (m_styles.hasLines) {
        QPen pen(lineColor, 0, Qt::DotLine);
        pen.setCosmetic(true);
        painter->setPen(pen);
        const bool hasNext = index.sibling(index.row() + 1, 0).isValid();
        const bool hasAbove = index.row() > 0 || index.parent().isValid();
        painter->drawLine(cx, hasAbove ? rect.top() : cy, cx, hasNext ? rect.bottom() : cy);
        painter->drawLine(cx, cy, x + indent - 2, cy);
        int ax = x - indent;
        for (QModelIndex a = index.parent(); a.isValid(); a = a.parent(), ax -= indent)
            if (a.sibling(a.row() + 1, 0).isValid())
                painter->drawLine(ax + indent / 2, rect.top(), ax + indent / 2, rect.bottom());
    }
    if (m_styles.hasButtons && showsButton(index)) {
        const QRect box(cx - 4, cy - 4, 9, 9);
        painter->setPen(QPen(lineColor, 0));
        painter->setBrush(palette().color(QPalette::Base));
        painter->drawRect(box);
        painter->setPen(QPen(palette().color(QPalette::Text), 0));
        painter->drawLine(box.left() + 2, cy, box.right() - 2, cy);
        if (!isExpanded(index))
            painter->drawLine(cx, box.top() + 2, cx, box.bottom() - 2);
    }
    painter->restore();
}

} // namespace qb::ui
