#include "explorer/ui/DataListModel.h"

#include "explorer/browser/xElement.h"
#include "explorer/ui/Icons.h"

namespace qb::ui {

DataListModel::DataListModel(QObject* parent) : QAbstractTableModel(parent) {}

bool DataListModel::mayAsk() const
{
    return m_element && (!m_gate || m_gate()) && m_element->isLoaded();
}

void DataListModel::setElement(browser::xElement* element)
{
    if (element == m_element)
        return;
    beginResetModel();
    m_element = element;
    if (!element)
        m_rows = 0;
    endResetModel();
}

void DataListModel::setItemCount(int count)
{
    count = std::max(0, count);
    if (count == m_rows) {
        refreshAll();
        return;
    }
    if (count > m_rows) {
        beginInsertRows(QModelIndex(), m_rows, count - 1);
        m_rows = count;
        endInsertRows();
    } else {
        beginRemoveRows(QModelIndex(), count, m_rows - 1);
        m_rows = count;
        endRemoveRows();
    }
    refreshAll();
}

void DataListModel::refreshAll()
{
    if (m_rows > 0 && !m_columns.empty())
        emit dataChanged(index(0, 0), index(m_rows - 1, int(m_columns.size()) - 1));
}

void DataListModel::clearColumns()
{
    if (m_columns.empty())
        return;
    beginRemoveColumns(QModelIndex(), 0, int(m_columns.size()) - 1);
    m_columns.clear();
    endRemoveColumns();
}

void DataListModel::insertColumn(int index, const Column& column)
{
    index = std::clamp(index, 0, int(m_columns.size()));
    beginInsertColumns(QModelIndex(), index, index);
    m_columns.insert(m_columns.begin() + index, column);
    endInsertColumns();
}

void DataListModel::setColumnWidth(int index, int width)
{
    if (index < 0 || index >= int(m_columns.size()))
        return;
    m_columns[size_t(index)].width = width;
    emit headerDataChanged(Qt::Horizontal, index, index);
}

QString DataListModel::cellText(int row, int column) const
{
    if (!mayAsk() || row < 0 || row >= m_rows)
        return QString();
    return m_element->cellText(row, column);
}

int DataListModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : m_rows;
}

int DataListModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(m_columns.size());
}

QVariant DataListModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= m_rows || index.column() >= int(m_columns.size()))
        return QVariant();
    switch (role) {
    case Qt::DisplayRole:
        return cellText(index.row(), index.column());
    case Qt::DecorationRole: {
        if (!mayAsk())
            return QVariant();
        const QIcon icon = elementIcon(m_element->itemImage(index.row(), index.column()));
        return icon.isNull() ? QVariant() : QVariant(icon);
    }
    case Qt::TextAlignmentRole: {
        const int format = m_columns[size_t(index.column())].format;
        const Qt::Alignment h = format == 1 ? Qt::AlignRight : format == 2 ? Qt::AlignHCenter : Qt::AlignLeft;
        return QVariant::fromValue(h | Qt::AlignVCenter);
    }
    default:
        return QVariant();
    }
}

QVariant DataListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || section < 0 || section >= int(m_columns.size()))
        return QAbstractTableModel::headerData(section, orientation, role);
    if (role == Qt::DisplayRole)
        return m_columns[size_t(section)].title;
    return QVariant();
}

Qt::ItemFlags DataListModel::flags(const QModelIndex& index) const
{
    return index.isValid() ? Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren : Qt::NoItemFlags;
}

} // namespace qb::ui
