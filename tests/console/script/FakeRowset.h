#pragma once
// Rows with chosen column descriptions (types and sizes no real table needs to have), and
// failures injected where a provider could fail.
#include "dataaccess/MemoryRowset.h"

#include <memory>

namespace qbtest {

struct FakeRowsetFaults {
    bool columnsFail = false;
    bool bindingFails = false;
    int fetchesBeforeFailure = -1; // -1: never; else next() fails after that many rows of a pass
    bool restartGivesOtherRows = false; // like a statement that changes data: running it again returns other rows
};

class FakeRowset : public qb::data::Rowset {
public:
    FakeRowset(std::vector<qb::data::ColumnInfo> columns, std::vector<qb::data::MemoryRowset::Row> rows,
               FakeRowsetFaults faults = {})
        : m_rows(std::move(columns), std::move(rows)), m_faults(faults)
    {
    }

    std::vector<qb::data::ColumnInfo> columns() const override
    {
        if (m_faults.columnsFail)
            throw qb::data::ProviderError(qb::data::E_FAIL, QStringLiteral("no column information"));
        return m_rows.columns();
    }
    void setBindings(std::vector<qb::data::Binding> bindings) override
    {
        if (m_faults.bindingFails)
            throw qb::data::ProviderError(qb::data::E_FAIL, QStringLiteral("cannot bind"));
        m_rows.setBindings(std::move(bindings));
    }
    void restart() override
    {
        ++m_restarts;
        m_fetched = 0;
        m_rows.restart();
    }
    bool next(uint64_t skip = 0) override
    {
        if (m_faults.fetchesBeforeFailure >= 0 && m_fetched >= m_faults.fetchesBeforeFailure)
            throw qb::data::ProviderError(qb::data::E_FAIL, QStringLiteral("connection lost"));
        ++m_fetched;
        if (m_faults.restartGivesOtherRows && m_restarts > 0)
            return m_rows.next(skip + 1); // the first row is gone
        return m_rows.next(skip);
    }
    int restarts() const { return m_restarts; }
    void getData(std::byte* rowBuffer) override { m_rows.getData(rowBuffer); }
    std::optional<qb::data::HeldKind> currentValueKind(uint32_t ordinal) const override { return m_rows.currentValueKind(ordinal); }
    bool holdsRowsWhole() const override { return m_rows.holdsRowsWhole(); }

private:
    qb::data::MemoryRowset m_rows;
    FakeRowsetFaults m_faults;
    int m_restarts = 0;
    int m_fetched = 0;
};

} // namespace qbtest
