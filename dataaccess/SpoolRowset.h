#pragma once
// A rowset over a spool (Spool.h): the rows of one execution, served by the same binding rules
// as a provider's (Provider.h, ValueConversion.h), so the table data and the console read it as
// they read any rowset. restart() never runs the statement again; rows the spool does not hold
// yet are fetched from its source as next() reaches them. Several of these may read one spool
// (the table's pages, and the whole value of one cell for a plug-in).
//
// Like a provider's calls, restart, next, getData and stream reads fail with DB_E_CANCELED once
// the interrupt token armed on the calling thread is set (InterruptToken.h).
//
// next(skip) goes to a row's page through the spool's offsets and reads at most the 99 rows
// before it on that page, so a later page costs the same as the first. Values are read from a
// window of the file; a long value is read only as far as an inline binding needs it (its length
// comes from the spool), and a stream binding reads it from the file as the caller asks.
#include "dataaccess/Provider.h"
#include "dataaccess/ValueConversion.h"

#include <QByteArray>
#include <memory>
#include <vector>

namespace qb::data {

class Spool;
class SpoolFile;

class SpoolRowset final : public Rowset {
public:
    explicit SpoolRowset(std::shared_ptr<Spool> spool);
    ~SpoolRowset() override;

    const std::shared_ptr<Spool>& spool() const { return m_spool; }

    std::vector<ColumnInfo> columns() const override;
    void setBindings(std::vector<Binding> bindings) override;
    void restart() override;
    bool next(uint64_t skip = 0) override;
    void getData(std::byte* rowBuffer) override;
    // The reader has what it wants (the table data, after its count and first page): the source
    // is released, with whatever it holds in the database, even if it still had rows.
    void suspend() override;

private:
    struct Value {
        uint8_t kind = 0;
        uint32_t status = 0; // for a status record
        uint64_t offset = 0; // of the bytes
        uint64_t length = 0;
    };
    enum class State { BeforeFirst, OnRow, AtEnd };

    void readCurrentRow();
    uint64_t readRow(uint64_t offset, bool keep);
    // The bytes [offset, offset + count) in memory: in the window where they fit, else in `spill`.
    const std::byte* bytesAt(uint64_t offset, size_t count, QByteArray& spill);
    void writeValue(const Value& v, const Binding& b, size_t bindingIndex, std::byte* row);

    std::shared_ptr<Spool> m_spool;
    std::vector<ColumnInfo> m_columns;
    std::vector<Binding> m_bindings;
    ByRefStore m_byRef;
    std::vector<QByteArray> m_spill; // per binding: a value too large for the window

    State m_state = State::BeforeFirst;
    uint64_t m_row = 0;                 // the current row, when on one
    uint64_t m_valuesRow = UINT64_MAX;  // the row m_values describes
    std::vector<Value> m_values;
    uint64_t m_knownRow = UINT64_MAX;   // a row whose start is known besides the page starts
    uint64_t m_knownOffset = 0;

    std::shared_ptr<SpoolFile> m_file;
    std::unique_ptr<char16_t[]> m_window; // char16_t, so wide text in it is aligned
    uint64_t m_windowStart = 0;
    size_t m_windowBytes = 0;
};

} // namespace qb::data
