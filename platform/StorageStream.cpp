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

QbResult StorageStream::read(QbStream* self, void* buffer, uint32_t size, uint32_t* done)
{
    setCount(done, 0u);
    if (!self || (!buffer && size > 0))
        return QB_STG_E_INVALIDPOINTER;
    auto* stream = static_cast<StorageStream*>(self);
    try {
        std::lock_guard lock(stream->m_element->mutex());
        StorageTempFile* file = stream->m_element->fileLocked();
        if (!file)
            return QB_STG_E_REVERTED;
        size_t moved = 0;
        const int err = file->readAt(stream->m_position, buffer, size, &moved);
        stream->m_position += moved;
        setCount(done, uint32_t(moved));
        return err ? readFailure(err) : QB_S_OK;
    } catch (...) {
        return QB_E_UNEXPECTED;
    }
}

QbResult StorageStream::write(QbStream* self, const void* buffer, uint32_t size, uint32_t* done)
{
    setCount(done, 0u);
    if (!self || (!buffer && size > 0))
        return QB_STG_E_INVALIDPOINTER;
    auto* stream = static_cast<StorageStream*>(self);
    try {
        std::lock_guard lock(stream->m_element->mutex());
        StorageTempFile* file = stream->m_element->fileLocked();
        if (!file)
            return QB_STG_E_REVERTED;
        size_t moved = 0;
        const int err = file->writeAt(stream->m_position, buffer, size, &moved);
        stream->m_position += moved;
        setCount(done, uint32_t(moved));
        return err ? writeFailure(err) : QB_S_OK;
    } catch (...) {
        return QB_E_UNEXPECTED;
    }
}

QbResult StorageStream::seek(QbStream* self, int64_t offset, uint32_t origin, uint64_t* position)
{
    if (!self)
        return QB_STG_E_INVALIDPOINTER;
    auto* stream = static_cast<StorageStream*>(self);
    try {
        std::lock_guard lock(stream->m_element->mutex());
        setCount(position, stream->m_position);
        StorageTempFile* file = stream->m_element->fileLocked();
        if (!file)
            return QB_STG_E_REVERTED;
        int64_t base = 0;
        switch (origin) {
        case QB_STREAM_SEEK_SET:
            break;
        case QB_STREAM_SEEK_CUR:
            base = int64_t(stream->m_position);
            break;
        case QB_STREAM_SEEK_END: {
            uint64_t size = 0;
            if (file->size(&size) != 0)
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
        setCount(position, stream->m_position);
        return QB_S_OK;
    } catch (...) {
        return QB_E_UNEXPECTED;
    }
}

QbResult StorageStream::stat(QbStream* self, QbStreamStat* out)
{
    if (!self || !out)
        return QB_STG_E_INVALIDPOINTER;
    if (out->structSize < offsetof(QbStreamStat, size) + sizeof(out->size))
        return QB_E_INVALIDARG;
    auto* stream = static_cast<StorageStream*>(self);
    try {
        std::lock_guard lock(stream->m_element->mutex());
        StorageTempFile* file = stream->m_element->fileLocked();
        if (!file)
            return QB_STG_E_REVERTED;
        uint64_t size = 0;
        if (file->size(&size) != 0)
            return QB_STG_E_READFAULT;
        out->reserved = 0;
        out->size = size;
        return QB_S_OK;
    } catch (...) {
        return QB_E_UNEXPECTED;
    }
}

} // namespace qb
