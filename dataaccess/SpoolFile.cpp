#include "dataaccess/SpoolFile.h"

#include "platform/BrelibException.h"
#include "platform/Storage.h"
#include "platform/StorageError.h"

#include <algorithm>
#include <cstring>
#include <limits>

namespace qb::data {
namespace {

// Large enough that the file sees few, big writes.
constexpr size_t kBufferBytes = 256 * 1024;
// The most one stream call moves (its sizes are 32-bit).
constexpr size_t kMaxCall = size_t(1) << 30;

[[noreturn]] void fail(HRESULT hr, const QString& what, const QString& reason)
{
    throw SpoolError(hr, what + QStringLiteral(": ") + reason);
}

[[noreturn]] void writeFailed(QbResult result)
{
    fail(result, QStringLiteral("The rows could not be written to temporary storage"), streamResultText(result));
}

[[noreturn]] void readFailed(QbResult result)
{
    fail(result, QStringLiteral("The rows could not be read back from temporary storage"), streamResultText(result));
}

} // namespace

SpoolFile::SpoolFile()
{
    try {
        m_storage = std::make_unique<Storage>();
        m_stream = m_storage->createStream(QStringLiteral("rows"));
    } catch (const Brelib::exception& e) {
        fail(E_FAIL, QStringLiteral("The temporary storage for the rows could not be created"), e.text());
    }
    m_buffer.reserve(kBufferBytes);
}

SpoolFile::~SpoolFile()
{
    if (m_stream)
        m_stream->table->release(m_stream);
    // m_storage goes next, and the file with it.
}

uint64_t SpoolFile::size() const
{
    std::lock_guard lock(m_mutex);
    return m_flushed + m_buffer.size();
}

void SpoolFile::append(const void* bytes, size_t count)
{
    std::lock_guard lock(m_mutex);
    if (m_buffer.size() + count > kBufferBytes)
        flushLocked();
    if (count >= kBufferBytes) {
        writeLocked(m_flushed, bytes, count);
        m_flushed += count;
        return;
    }
    const auto* p = static_cast<const std::byte*>(bytes);
    m_buffer.insert(m_buffer.end(), p, p + count);
}

void SpoolFile::patch(uint64_t offset, const void* bytes, size_t count)
{
    std::lock_guard lock(m_mutex);
    const auto* p = static_cast<const std::byte*>(bytes);
    // The part in the file, then the part still in the buffer.
    if (offset < m_flushed) {
        const size_t inFile = size_t(std::min<uint64_t>(count, m_flushed - offset));
        writeLocked(offset, p, inFile);
        offset += inFile;
        p += inFile;
        count -= inFile;
    }
    if (count > 0)
        std::memcpy(m_buffer.data() + (offset - m_flushed), p, count);
}

size_t SpoolFile::readAt(uint64_t offset, void* out, size_t count) const
{
    std::lock_guard lock(m_mutex);
    const uint64_t end = m_flushed + m_buffer.size();
    if (offset >= end)
        return 0;
    count = size_t(std::min<uint64_t>(count, end - offset));
    auto* p = static_cast<std::byte*>(out);
    size_t done = 0;
    while (offset + done < m_flushed && done < count) {
        const size_t want = size_t(std::min<uint64_t>({count - done, m_flushed - offset - done, kMaxCall}));
        uint64_t position = 0;
        QbResult r = m_stream->table->seek(m_stream, int64_t(offset + done), QB_STREAM_SEEK_SET, &position);
        uint32_t got = 0;
        if (QB_SUCCEEDED(r))
            r = m_stream->table->read(m_stream, p + done, uint32_t(want), &got);
        if (QB_FAILED(r))
            readFailed(r);
        if (got == 0)
            readFailed(QB_STG_E_READFAULT); // the file is shorter than what was written to it
        done += got;
    }
    if (done < count) {
        const size_t inBuffer = size_t(offset + done - m_flushed);
        std::memcpy(p + done, m_buffer.data() + inBuffer, count - done);
        done = count;
    }
    return done;
}

void SpoolFile::flushLocked()
{
    if (m_buffer.empty())
        return;
    writeLocked(m_flushed, m_buffer.data(), m_buffer.size());
    m_flushed += m_buffer.size();
    m_buffer.clear();
}

void SpoolFile::writeLocked(uint64_t offset, const void* bytes, size_t count)
{
    uint64_t position = 0;
    QbResult r = m_stream->table->seek(m_stream, int64_t(offset), QB_STREAM_SEEK_SET, &position);
    if (QB_FAILED(r))
        writeFailed(r);
    const auto* p = static_cast<const std::byte*>(bytes);
    while (count > 0) {
        const auto n = uint32_t(std::min(count, kMaxCall));
        uint32_t done = 0;
        r = m_stream->table->write(m_stream, p, n, &done);
        if (QB_FAILED(r))
            writeFailed(r);
        if (done == 0)
            writeFailed(QB_STG_E_WRITEFAULT); // no progress and no reason: do not spin
        p += done;
        count -= done;
    }
}

} // namespace qb::data
