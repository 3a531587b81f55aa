#pragma once
// A SequentialStream over a copy of one value, so the stream stays valid after the rowset moves on.
#include "dataaccess/Provider.h"

#include <QByteArray>
#include <cstring>

namespace qb::data {

class BufferStream final : public SequentialStream {
public:
    explicit BufferStream(QByteArray bytes) : m_bytes(std::move(bytes)) {}
    size_t read(void* buffer, size_t size) override
    {
        const size_t left = size_t(m_bytes.size()) - m_pos;
        const size_t n = size < left ? size : left;
        if (n)
            std::memcpy(buffer, m_bytes.constData() + m_pos, n);
        m_pos += n;
        return n;
    }

private:
    QByteArray m_bytes;
    size_t m_pos = 0;
};

} // namespace qb::data
