#include "StreamHexBuffer.h"

#include <algorithm>
#include <cstring>

namespace bryndle {

StreamHexBuffer::StreamHexBuffer(QbStream* stream, QbResult* result) : m_stream(stream)
{
    QbStreamStat stat{sizeof(QbStreamStat), 0, 0};
    *result = stream ? stream->table->stat(stream, &stat) : QB_STG_E_INVALIDPOINTER;
    if (QB_SUCCEEDED(*result))
        m_length = stat.size;
}

bool StreamHexBuffer::load(uint64_t index, QByteArray& into)
{
    const uint64_t start = index * kPageSize;
    const size_t size = size_t(std::min<uint64_t>(kPageSize, m_length - start));
    into.resize(qsizetype(size));
    uint64_t position = 0;
    QbResult r = m_stream->table->seek(m_stream, int64_t(start), QB_STREAM_SEEK_SET, &position);
    if (QB_FAILED(r) || position != start) {
        m_lastFailure = QB_FAILED(r) ? r : QB_STG_E_SEEKERROR;
        return false;
    }
    // A stream may hand out less than asked before its end: read until the page is complete.
    size_t got = 0;
    while (got < size) {
        uint32_t done = 0;
        r = m_stream->table->read(m_stream, into.data() + got, uint32_t(size - got), &done);
        if (QB_FAILED(r) || done == 0) {
            m_lastFailure = QB_FAILED(r) ? r : QB_STG_E_READFAULT; // shorter than its statistics said
            return false;
        }
        got += done;
    }
    return true;
}

const QByteArray* StreamHexBuffer::page(uint64_t index)
{
    if (const auto edited = m_edited.find(index); edited != m_edited.end())
        return &edited->second;
    for (auto it = m_cache.begin(); it != m_cache.end(); ++it) {
        if (it->first == index) {
            m_cache.splice(m_cache.begin(), m_cache, it);
            return &m_cache.front().second;
        }
    }
    QByteArray bytes;
    if (!load(index, bytes))
        return nullptr;
    if (m_cache.size() >= kCachedPages)
        m_cache.pop_back();
    m_cache.emplace_front(index, std::move(bytes));
    return &m_cache.front().second;
}

QByteArray* StreamHexBuffer::editablePage(uint64_t index)
{
    if (const auto edited = m_edited.find(index); edited != m_edited.end())
        return &edited->second;
    const QByteArray* original = page(index);
    if (!original)
        return nullptr;
    QByteArray copy = *original;
    m_cache.remove_if([index](const auto& entry) { return entry.first == index; });
    return &m_edited.emplace(index, std::move(copy)).first->second;
}

bool StreamHexBuffer::read(uint64_t offset, void* out, size_t size)
{
    if (!rangeWithin(offset, size, m_length))
        return false;
    auto* target = static_cast<char*>(out);
    while (size > 0) {
        const uint64_t index = offset / kPageSize;
        const QByteArray* bytes = page(index);
        if (!bytes)
            return false;
        const size_t inPage = size_t(offset - index * kPageSize);
        const size_t n = std::min(size, size_t(bytes->size()) - inPage);
        std::memcpy(target, bytes->constData() + inPage, n);
        target += n;
        offset += n;
        size -= n;
    }
    return true;
}

bool StreamHexBuffer::write(uint64_t offset, const void* in, size_t size)
{
    if (!rangeWithin(offset, size, m_length))
        return false;
    const auto* source = static_cast<const char*>(in);
    while (size > 0) {
        const uint64_t index = offset / kPageSize;
        QByteArray* bytes = editablePage(index);
        if (!bytes)
            return false;
        const size_t inPage = size_t(offset - index * kPageSize);
        const size_t n = std::min(size, size_t(bytes->size()) - inPage);
        std::memcpy(bytes->data() + inPage, source, n);
        source += n;
        offset += n;
        size -= n;
    }
    return true;
}

} // namespace bryndle
