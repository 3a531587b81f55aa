#pragma once
// A long value of the current row, read from the driver in chunks as the caller asks
// (SQLGetData), so a large value is never held whole. Valid while its row is current: once the
// rowset moves on, read() fails.
#include "dataaccess/Provider.h"
#include "dataaccess/providers/odbc/OdbcTypeMapping.h"

#include <QByteArray>
#include <memory>
#include <optional>

namespace qb::data::odbc {

class OdbcStatement;

class OdbcStream final : public SequentialStream {
public:
    OdbcStream(std::shared_ptr<OdbcStatement> statement, uint16_t column, FetchKind kind);

    // Reads the first block. False when the value is NULL; else *length is the value's full
    // length when the driver tells it, or the bytes of this block.
    bool prime(uint64_t* length);
    size_t read(void* buffer, size_t size) override;

private:
    std::shared_ptr<OdbcStatement> m_statement;
    uint64_t m_generation;
    uint16_t m_column;
    FetchKind m_kind;
    QByteArray m_block;     // read from the driver, not yet handed out
    size_t m_blockPos = 0;
    uint64_t m_offset = 0;  // bytes of the value taken from the driver so far
    std::optional<uint64_t> m_total; // the value's length, when the driver told it
    bool m_end = false;
};

} // namespace qb::data::odbc
