#pragma once
// The rows of one prepared SQLite statement. next() only steps; values are read in getData.
// restart() resets the statement, which runs the query again from its first row. Every call but
// suspend() is refused once the caller's interrupt token is set (InterruptToken.h).
#include "dataaccess/Provider.h"
#include "dataaccess/ValueConversion.h"

#include <memory>
#include <vector>

struct sqlite3_stmt;

namespace qb::data::sqlite {

class SqliteDatabase;

class SqliteRowset final : public Rowset {
public:
    // Takes ownership of the statement (which has result columns).
    SqliteRowset(std::shared_ptr<SqliteDatabase> db, sqlite3_stmt* statement);
    ~SqliteRowset() override;

    std::vector<ColumnInfo> columns() const override { return m_columns; }
    void setBindings(std::vector<Binding> bindings) override;
    void restart() override;
    bool next(uint64_t skip = 0) override;
    void getData(std::byte* rowBuffer) override;
    void suspend() override;
    // A column holds values of any kind, whatever its declared type.
    std::optional<HeldKind> currentValueKind(uint32_t ordinal) const override;
    bool holdsRowsWhole() const override { return true; }

private:
    enum class State { BeforeFirst, OnRow, AtEnd };
    bool step(); // one sqlite3_step; false at the end; throws on failure
    void rewind(); // back before the first row (sqlite3_reset)
    void describeColumns();

    std::shared_ptr<SqliteDatabase> m_db;
    sqlite3_stmt* m_statement;
    std::vector<ColumnInfo> m_columns;
    std::vector<Binding> m_bindings;
    ByRefStore m_byRef;
    InPlaceValues m_inPlace; // detached before every step and reset
    State m_state = State::BeforeFirst;
    bool m_peeked = false; // a row was stepped ahead (to type expression columns) and not yet handed out
    // Storage classes as getData found them, per column (-1: not read), for currentValueKind:
    // asking again after getData converted a value (a float read as text) has no defined answer.
    // Valid while m_readRow == m_rowsStepped.
    std::vector<int> m_readTypes;
    uint64_t m_rowsStepped = 0;
    uint64_t m_readRow = UINT64_MAX;
};

} // namespace qb::data::sqlite
