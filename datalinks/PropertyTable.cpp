#include "datalinks/PropertyTable.h"

#include "datalinks/DataLinkModel.h"

#include <QHeaderView>
#include <QStyledItemDelegate>
#include <QPersistentModelIndex>

namespace qb::datalinks {
namespace {

// Shows a password's value as dots, like the password field does; editing shows the text.
class PasswordMaskingDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override
    {
        QStyledItemDelegate::initStyleOption(option, index);
        if (index.column() == 1 && DataLinkModel::isPasswordKey(index.siblingAtColumn(0).data().toString()))
            option->text = QString(option->text.size(), QChar(0x25CF));
    }
};

} // namespace

PropertyTable::PropertyTable(QWidget* parent) : QTableWidget(0, 2, parent)
{
    setHorizontalHeaderLabels({tr("Name"), tr("Value")});
    horizontalHeader()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    horizontalHeader()->setStretchLastSection(true);
    verticalHeader()->hide();
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 8);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                    QAbstractItemView::AnyKeyPressed);
    setItemDelegate(new PasswordMaskingDelegate(this));
    connect(this, &QTableWidget::cellChanged, this, &PropertyTable::onCellChanged);
    appendEmptyRow();
}

void PropertyTable::setEntries(const std::vector<data::ConnectionString::Entry>& entries)
{
    m_filling = true;
    setRowCount(0);
    for (const auto& e : entries) {
        const int row = rowCount();
        insertRow(row);
        setItem(row, 0, new QTableWidgetItem(e.key));
        setItem(row, 1, new QTableWidgetItem(e.value));
    }
    appendEmptyRow();
    m_filling = false;
}

std::vector<data::ConnectionString::Entry> PropertyTable::entries() const
{
    std::vector<data::ConnectionString::Entry> result;
    for (int row = 0; row < rowCount(); ++row) {
        const QTableWidgetItem* name = item(row, 0);
        const QTableWidgetItem* value = item(row, 1);
        if (name && !name->text().trimmed().isEmpty())
            result.push_back({name->text().trimmed(), value ? value->text() : QString()});
    }
    return result;
}

void PropertyTable::appendEmptyRow()
{
    const bool filling = std::exchange(m_filling, true);
    const int row = rowCount();
    insertRow(row);
    setItem(row, 0, new QTableWidgetItem);
    setItem(row, 1, new QTableWidgetItem);
    m_filling = filling;
}

void PropertyTable::onCellChanged(int row, int column)
{
    if (m_filling)
        return;
    QTableWidgetItem* name = item(row, 0);
    const QString key = name ? name->text() : QString();
    if (column == 0 && !key.trimmed().isEmpty()) {
        const QString why = DataLinkModel::keyProblem(key);
        if (!why.isEmpty()) {
            m_filling = true;
            name->setText(QString());
            m_filling = false;
            emit problem(why);
            return;
        }
    }
    const bool lastRow = row == rowCount() - 1;
    if (key.trimmed().isEmpty() && !lastRow && column == 0) {
        // A cleared name removes its pair; not from inside the edit that is still being committed.
        const QPersistentModelIndex index = model()->index(row, 0);
        QMetaObject::invokeMethod(this, [this, index] {
            if (index.isValid() && index.row() < rowCount() - 1)
                removeRow(index.row());
        }, Qt::QueuedConnection);
    } else if (lastRow && !key.trimmed().isEmpty()) {
        appendEmptyRow();
    }
    emit edited();
}

} // namespace qb::datalinks
