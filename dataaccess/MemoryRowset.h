#pragma once
// A rowset over rows held in memory: what a provider returns for schema queries it answers from
// its own catalogue. Values are QVariant: null, integers, double, QString, QByteArray.
#include "dataaccess/Provider.h"
#include "dataaccess/ValueConversion.h"

#include <QVariant>
#include <vector>

namespace qb::data {

class MemoryRowset final : public Rowset {
public:
    using Row = std::vector<QVariant>;
    MemoryRowset(std::vector<ColumnInfo> columns, std::vector<Row> rows);

    std::vector<ColumnInfo> columns() const override { return m_columns; }
    void setBindings(std::vector<Binding> bindings) override;
    void restart() override;
    bool next(uint64_t skip = 0) override;
    void getData(std::byte* rowBuffer) override;
    std::optional<HeldKind> currentValueKind(uint32_t ordinal) const override;
    bool holdsRowsWhole() const override { return true; }

private:
    std::vector<ColumnInfo> m_columns;
    std::vector<Row> m_rows;
    std::vector<Binding> m_bindings;
    ByRefStore m_byRef;
    int64_t m_position = -1; // -1: before the first row
};

} // namespace qb::data
