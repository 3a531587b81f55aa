#pragma once
// Name/value pairs as an editable table: the All page and a driver's own keys. The last row is
// always empty; typing a name there adds a pair, clearing a name removes its pair. A name the
// string cannot hold is refused (the cell goes back) and reported through `problem`.
#include "dataaccess/ConnectionString.h"

#include <QTableWidget>
#include <vector>

namespace qb::datalinks {

class PropertyTable : public QTableWidget {
    Q_OBJECT
public:
    explicit PropertyTable(QWidget* parent = nullptr);

    void setEntries(const std::vector<data::ConnectionString::Entry>& entries);
    std::vector<data::ConnectionString::Entry> entries() const;

signals:
    // A pair was added, changed or removed.
    void edited();
    // Why an edit was refused.
    void problem(const QString& text);

private:
    void onCellChanged(int row, int column);
    void appendEmptyRow();

    bool m_filling = false;
};

} // namespace qb::datalinks
