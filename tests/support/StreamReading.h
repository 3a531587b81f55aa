#pragma once
// The rest of a provider's stream, read in blocks of a chosen size (odd sizes put the reads'
// boundaries where a stream's own blocks do not fall).
#include "dataaccess/Provider.h"

#include <QByteArray>
#include <vector>

namespace qbtest {

inline QByteArray drainStream(qb::data::SequentialStream* stream, size_t block)
{
    QByteArray bytes;
    std::vector<char> buffer(block);
    while (const size_t n = stream->read(buffer.data(), block))
        bytes.append(buffer.data(), qsizetype(n));
    return bytes;
}

} // namespace qbtest
