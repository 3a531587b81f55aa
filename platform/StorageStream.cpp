#include "platform/StorageStream.h"

#include <cerrno>
#include <climits>
#include <cstddef>

namespace qb {
namespace {

QbResult readFailure(int err)
{
    return err == ENOMEM ? QB_STG_E_INSUFFICIENTMEMORY : QB_STG_E_READFAULT;
}

QbResult writeFailure(int err)
{
    switch (err) {
    case ENOSPC:
    case EDQUOT:
    case EFBIG:
        return QB_STG_E_MEDIUMFULL;
    case ENOMEM:
        return QB_STG_E_INSUFFICIENTMEMORY;
    default:
        return QB_STG_E_WRITEFAULT;
    }
}

template <class Count>
void setCount(Count* out, Count value)
{
    if (out)
        *out = value;
}

} // namespace

const QbStreamTable StorageStream::s_table = {
    sizeof(QbStreamTable), &StorageStream::addRef, &StorageStream::release, &StorageStream::read,
    &StorageStream::write, &StorageStream::seek,   &StorageStream::stat,
};

StorageStream::StorageStream(std::shared_ptr<StorageElement> element) : QbStream{&s_table}, m_element(std::move(element))
{
}

QbStream* StorageStream::open(std::shared_ptr<StorageElement> element)
{
    return new StorageStream(std::move(element));
}

uint32_t StorageStream::addRef(QbStream* self)
{
    if (!self)
        return 0;
    return static_cast<StorageStream*>(self)->m_references.fetch_add(1, std::memory_order_relaxed) + 1;
}

uint32_t StorageStream::release(QbStream* self)
{
    if (!self)
        return 0;
    auto* stream = static_cast<StorageStream*>(self);
    const uint32_t left = stream->m_references.fetch_sub(1, std::memory_order_acq_rel) - 1;
    if (left == 0)
        delete stream;
    return left;
}

template <class Op>
QbResult StorageStream::withFile(Op op, uint64_t* position)
{
    try {
        std::lock_guard lock(m_element->mutex());
        StorageTempFile* file = m_element->fileLocked();
        const QbResult result = file ? op(*file) : QB_STG_E_REVERTED;
        setCount(position, m_position);
        return result;
    } catch (...) {
        return QB_E_UNEXPECTED;
    }
}

template <class Move>
QbResult StorageStream::transfer(QbStream* self, const void* buffer, uint32_t size, uint32_t* done,
                                 QbResult (*failure)(int), Move move)
{
    setCount(done, 0u);
    if (!self || (!buffer && size > 0))
        return QB_STG_E_INVALIDPOINTER;
    auto* stream = static_cast<StorageStream*>(self);
    return stream->withFile([&](StorageTempFile& file) {
        size_t moved = 0;
        const int err = move(file, stream->m_position, &moved);
        // Bytes that moved before a failure still count, as the caller is told through *done.
        stream->m_position += moved;
        setCount(done, uint32_t(moved));
        return err ? failure(err) : QB_S_OK;
    });
}

QbResult StorageStream::read(QbStream* self, void* buffer, uint32_t size, uint32_t* done)
{
    return transfer(self, buffer, size, done, readFailure, [&](StorageTempFile& file, uint64_t at, size_t* moved) {
        return file.readAt(at, buffer, size, moved);
    });
}

QbResult StorageStream::write(QbStream* self, const void* buffer, uint32_t size, uint32_t* done)
{
    return transfer(self, buffer, size, done, writeFailure, [&](StorageTempFile& file, uint64_t at, size_t* moved) {
        return file.writeAt(at, buffer, size, moved);
    });
}

QbResult StorageStream::seek(QbStream* self, int64_t offset, uint32_t origin, uint64_t* position)
{
    if (!self)
        return QB_STG_E_INVALIDPOINTER;
    auto* stream = static_cast<StorageStream*>(self);
    // *position reports where the stream stands afterwards, on failure too.
    return stream->withFile(
        [&](StorageTempFile& file) {
            int64_t base = 0;
            switch (origin) {
            case QB_STREAM_SEEK_SET:
                break;
            case QB_STREAM_SEEK_CUR:
                base = int64_t(stream->m_position);
                break;
            case QB_STREAM_SEEK_END: {
                uint64_t size = 0;
                if (file.size(&size) != 0)
                    return QB_STG_E_SEEKERROR;
                base = int64_t(size);
                break;
            }
            default:
                return QB_STG_E_INVALIDFUNCTION;
            }
            int64_t target = 0;
            if (__builtin_add_overflow(base, offset, &target) || target < 0)
                return QB_STG_E_INVALIDFUNCTION;
            stream->m_position = uint64_t(target);
            return QB_S_OK;
        },
        position);
}

QbResult StorageStream::stat(QbStream* self, QbStreamStat* out)
{
    if (!self || !out)
        return QB_STG_E_INVALIDPOINTER;
    if (out->structSize < offsetof(QbStreamStat, size) + sizeof(out->size))
        return QB_E_INVALIDARG;
    return static_cast<StorageStream*>(self)->withFile([&](StorageTempFile& file) {
        uint64_t size = 0;
        if (file.size(&size) != 0)
            return QB_STG_E_READFAULT;
        out->reserved = 0;
        out->size = size;
        return QB_S_OK;
    });
}

} // namespace qb
