#include "dataaccess/providers/odbc/OdbcStream.h"

#include "dataaccess/providers/odbc/OdbcStatement.h"

#include <algorithm>
#include <cstring>

namespace qb::data::odbc {
namespace {

// The first block covers what the row cache takes of a long value (512 bytes) in one call.
constexpr size_t kFirstBlock = 4096;

} // namespace

OdbcStream::OdbcStream(std::shared_ptr<OdbcStatement> statement, uint16_t column, FetchKind kind)
    : m_statement(std::move(statement)), m_generation(m_statement->rowGeneration()), m_column(column), m_kind(kind)
{
}

bool OdbcStream::prime(uint64_t* length)
{
    const OdbcStatement::Value value = m_statement->read(m_column, m_kind, m_block, kFirstBlock);
    if (value.isNull)
        return false;
    m_offset = uint64_t(m_block.size());
    m_end = value.complete;
    m_total = value.total;
    *length = value.total.value_or(m_offset);
    return true;
}

size_t OdbcStream::read(void* buffer, size_t size)
{
    auto* out = static_cast<char*>(buffer);
    size_t done = 0;
    while (done < size) {
        if (m_blockPos < size_t(m_block.size())) {
            const size_t n = std::min(size - done, size_t(m_block.size()) - m_blockPos);
            std::memcpy(out + done, m_block.constData() + m_blockPos, n);
            m_blockPos += n;
            done += n;
            continue;
        }
        if (m_end)
            break;
        m_statement->readAt(m_generation, m_column, m_kind, m_offset, m_total, m_block);
        m_blockPos = 0;
        m_offset += uint64_t(m_block.size());
        if (m_block.isEmpty()) {
            m_end = true;
            break;
        }
    }
    return done;
}

} // namespace qb::data::odbc
