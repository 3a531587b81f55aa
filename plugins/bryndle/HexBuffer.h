#pragma once
// What the hex view shows and edits: bytes addressed by 64-bit offsets, read and overwritten in
// place (the length never changes). Every call says whether it did all it was asked; the view
// shows nothing it could not read.
#include <QByteArray>
#include <cstddef>
#include <cstdint>

namespace bryndle {

class HexBuffer {
public:
    virtual ~HexBuffer() = default;
    virtual uint64_t length() const = 0;
    // Copies `size` bytes from `offset` into `out`; false when they cannot all be read (a range
    // past the end, a failing read).
    virtual bool read(uint64_t offset, void* out, size_t size) = 0;
    // Overwrites `size` bytes at `offset`; false when the range leaves the data or the write fails.
    virtual bool write(uint64_t offset, const void* in, size_t size) = 0;
};

// Bytes held in memory.
class MemoryHexBuffer final : public HexBuffer {
public:
    explicit MemoryHexBuffer(QByteArray bytes = {}) : m_bytes(std::move(bytes)) {}
    uint64_t length() const override { return uint64_t(m_bytes.size()); }
    bool read(uint64_t offset, void* out, size_t size) override;
    bool write(uint64_t offset, const void* in, size_t size) override;
    const QByteArray& bytes() const { return m_bytes; }

private:
    QByteArray m_bytes;
};

// Whether [offset, offset + size) lies within a length, without overflow.
inline bool rangeWithin(uint64_t offset, uint64_t size, uint64_t length)
{
    return offset <= length && size <= length - offset;
}

} // namespace bryndle
