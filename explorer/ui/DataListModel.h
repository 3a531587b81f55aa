#pragma once
// The data list's model: a virtual list over the current element. It holds no cell of its own;
// every text and image is asked of the element when a view draws it, and only while the element
// may be asked (no loader job runs), so a table of any size costs nothing here.
#include <QAbstractTableModel>
#include <functional>
#include <vector>

namespace qb::browser {
class xElement;
}

namespace qb::ui {

class DataListModel : public QAbstractTableModel {
public:
    struct Column {
        QString title;
        int width = 0;
        int format = 0; // 0 left, 1 right, 2 centred
    };

    explicit DataListModel(QObject* parent = nullptr);

    // Whether the element may be asked now (the window is idle and connected).
    void setAskGate(std::function<bool()> gate) { m_gate = std::move(gate); }

    void setElement(browser::xElement* element);
    browser::xElement* element() const { return m_element; }
    void setItemCount(int count);
    // Every visible cell is asked again (after a page change or a load).
    void refreshAll();

    void clearColumns();
    void insertColumn(int index, const Column& column);
    void setColumnWidth(int index, int width);
    const std::vector<Column>& listColumns() const { return m_columns; }

    // The element's text of a cell, or an empty text when the element may not be asked.
    QString cellText(int row, int column) const;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

private:
    bool mayAsk() const;

    std::function<bool()> m_gate;
    browser::xElement* m_element = nullptr;
    int m_rows = 0;
    std::vector<Column> m_columns;
};

} // namespace qb::ui
