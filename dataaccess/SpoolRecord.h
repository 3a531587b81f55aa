#pragma once
// The binary layout of a spool (Spool.h), shared by its writer and its readers. A row is its
// values in column order, each one:
//
//   tag byte   kind in the low bits; kFixedLength set when an 8-byte length follows instead of a
//              varint (a value streamed in before its length was known, patched afterwards)
//   length     varint (7 bits a byte, low bits first) or 8 bytes in host order; for kStatus the
//              status code itself, with no bytes after it
//   bytes      the value in its representation; wide text starts at an even file offset (one
//              padding byte before it where needed), so a reader can use it in place as UTF-16
//
// Null has neither length nor bytes. The spool is private to this process and dies with it, so
// host byte order and no version mark are enough.
#include "dataaccess/DbTypes.h"

#include <cstddef>
#include <cstdint>

namespace qb::data::spool {

enum Kind : uint8_t {
    kNull = 0,
    kText = 1,     // UTF-8 (numbers and dates in their text form too)
    kWideText = 2, // UTF-16
    kBytes = 3,
    kStatus = 4, // the provider reported this status instead of a value
};
constexpr uint8_t kKindMask = 0x0F;
constexpr uint8_t kFixedLength = 0x80;
constexpr size_t kFixedLengthBytes = 8;
constexpr size_t kMaxVarintBytes = 10;
// Room for any value's tag and length.
constexpr size_t kMaxHeaderBytes = 1 + kMaxVarintBytes;

// Writes v as a varint at out (room for kMaxVarintBytes); returns the bytes written.
inline size_t putVarint(std::byte* out, uint64_t v)
{
    size_t n = 0;
    while (v >= 0x80) {
        out[n++] = std::byte(uint8_t(v) | 0x80);
        v >>= 7;
    }
    out[n++] = std::byte(uint8_t(v));
    return n;
}

// Reads a varint from at most `available` bytes; returns the bytes it took, 0 when it is cut off
// or longer than a varint can be.
inline size_t getVarint(const std::byte* in, size_t available, uint64_t* v)
{
    uint64_t result = 0;
    for (size_t i = 0; i < available && i < kMaxVarintBytes; ++i) {
        const auto b = uint8_t(in[i]);
        result |= uint64_t(b & 0x7F) << (7 * i);
        if ((b & 0x80) == 0) {
            *v = result;
            return i + 1;
        }
    }
    return 0;
}

// The kind a column's values have in its declared representation, as its stream gives them.
inline uint8_t kindOfDeclaredType(DBTYPE type)
{
    if (type == DBTYPE_WSTR)
        return kWideText;
    if (type == DBTYPE_BYTES || type == DBTYPE_IUNKNOWN || type == DBTYPE_IDISPATCH)
        return kBytes;
    return kText;
}

// Whether a value of this kind is preceded by a padding byte when its bytes would start at an
// odd offset.
inline bool alignsToEven(uint8_t kind)
{
    return kind == kWideText;
}

} // namespace qb::data::spool
