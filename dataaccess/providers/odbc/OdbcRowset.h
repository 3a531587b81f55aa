#pragma once
// The rows of one executed statement. The cursor is forward-only (psqlODBC with UseDeclareFetch,
// SQLite ODBC with StepAPI): restart() executes the text again; next(skip) fetches past the
// skipped rows without reading their values.
//
// getData reads the bound columns in ascending column order (drivers without SQL_GD_ANY_ORDER
// need it) and converts by the shared rules (ValueConversion.h). A column bound once as a stream
// is read lazily in chunks (OdbcStream) where the driver reads columns in any order; otherwise
// its whole value is read into memory first. An inline wide-text or bytes binding reads only the
// first bytes it can hold, and learns the full length from the driver.
#include "dataaccess/Provider.h"
#include "dataaccess/ValueConversion.h"
#include "dataaccess/providers/odbc/OdbcStatement.h"

#include <QByteArray>
#include <QString>
#include <memory>
#include <vector>

namespace qb::data::odbc {

class OdbcRowset final : public Rowset {
public:
    // `statement` has just executed `sql` and is positioned before its first row.
    OdbcRowset(std::shared_ptr<OdbcStatement> statement, QString sql);
    ~OdbcRowset() override;

    std::vector<ColumnInfo> columns() const override;
    void setBindings(std::vector<Binding> bindings) override;
    void restart() override;
    bool next(uint64_t skip = 0) override;
    void getData(std::byte* rowBuffer) override;
    // For a statement made scrollable before it ran (OdbcSession::executePositioned).
    bool moveTo(uint64_t position) override;
    // Frees the statement handle: the SQLite ODBC driver's locks and psqlODBC's server cursor
    // (with the transaction it keeps open) go with it; restart() executes the text again.
    void suspend() override;

private:
    enum class State { BeforeFirst, OnRow, AtEnd };
    // Binds the short columns before a fetch that reads values, once getData has been called.
    void prepareFetch(bool skipping);
    // The value as the driver gave it, or what the driver's stand-in means (OdbcDateStandIns.h).
    CellValue cellOf(const OdbcColumn& column, const char* data, size_t size) const;
    void readColumn(size_t column, std::byte* row);
    void readStream(const Binding& b, const OdbcColumn& column, std::byte* row);
    void readPrefix(const Binding& b, size_t bindingIndex, const OdbcColumn& column, std::byte* row);
    void readWhole(const std::vector<size_t>& bindings, const OdbcColumn& column, std::byte* row);

    std::shared_ptr<OdbcStatement> m_statement;
    QString m_sql;
    std::vector<OdbcColumn> m_columns;
    std::vector<Binding> m_bindings;
    std::vector<std::vector<size_t>> m_bindingsOfColumn; // binding indices per column index
    ByRefStore m_byRef;
    QByteArray m_value; // the value being read
    State m_state = State::BeforeFirst;
    bool m_executedFresh = true; // executed and nothing fetched yet: restart has nothing to do
    bool m_bindAtNextFetch = false; // getData was called: bind short columns before the next fetch
    bool m_datesHaveStandIns = false; // psqlODBC: dates it cannot represent come as stand-ins
};

} // namespace qb::data::odbc
