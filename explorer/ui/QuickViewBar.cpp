#include "explorer/ui/QuickViewBar.h"

#include "explorer/ui/Icons.h"
#include "platform/StringTable.h"

#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace qb::ui {
namespace {

constexpr int kUserObjectsText = 57500;
constexpr int kElementRole = Qt::UserRole + 1;

} // namespace

QuickViewBar::QuickViewBar(QWidget* parent)
    : QWidget(parent), m_folder(new QPushButton(loadString(kUserObjectsText), this)), m_items(new QListWidget(this))
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(m_folder);
    layout->addWidget(m_items, 1);
    m_folder->setFlat(false);
    m_folder->setFocusPolicy(Qt::NoFocus);
    m_items->setViewMode(QListView::IconMode);
    m_items->setFlow(QListView::TopToBottom);
    m_items->setWrapping(false);
    m_items->setMovement(QListView::Static);
    m_items->setIconSize(QSize(32, 32));
    m_items->setGridSize(QSize(120, 64));
    m_items->setWordWrap(true);
    m_items->setSelectionMode(QAbstractItemView::SingleSelection);
    m_items->setBackgroundRole(QPalette::Mid);
    connect(m_items, &QListWidget::itemClicked, this, [this](QListWidgetItem* item) {
        emit elementChosen(item->data(kElementRole).toInt());
    });
    connect(m_items, &QListWidget::itemActivated, this, [this](QListWidgetItem* item) {
        emit elementChosen(item->data(kElementRole).toInt());
    });
}

void QuickViewBar::addItem(const QString& caption, int imageIndex, int elementId)
{
    auto* item = new QListWidgetItem(elementIcon(imageIndex), caption, m_items);
    item->setData(kElementRole, elementId);
    item->setTextAlignment(Qt::AlignHCenter);
}

void QuickViewBar::markElement(int elementId)
{
    for (int i = 0; i < m_items->count(); ++i) {
        QListWidgetItem* item = m_items->item(i);
        item->setSelected(item->data(kElementRole).toInt() == elementId);
    }
}

} // namespace qb::ui
