#pragma once
// The slot of one result column in a row buffer. The table data lays out its row buffers itself:
// a row is nothing but these records side by side in column order, so a row of the page memory is
// the same array and a fetched row is kept by copying records, and a cached cell still carries
// the bound type, length and status its text is made from.
//
// Providers write into the record through byte offsets (Binding), so the offsets are part of its
// contract. The value area begins at byte 7, unaligned, and numbers are read from it by copying.
// The pointer field is 8 bytes wide and naturally aligned, so it starts at 528 and the record is
// 544 bytes. binding_offsets states every offset once; the static_asserts hold the struct to them.
#include "dataaccess/DbTypes.h"

#include <cstddef>
#include <cstdint>

namespace qb::data {

class SequentialStream;

struct ColumnBinding {
    static constexpr size_t kValueCapacity = 512; // inline value area
    static constexpr size_t kInlineBuffer = 514;  // value area plus the terminator

    uint32_t bufferLength;          // the binding's maximum length chosen for the column
    DBTYPE boundType;               // type bound (see BindingRules.h)
    uint8_t boundByDeclaredType;    // 1: a stream-typed column bound inline by its declared type
    std::byte value[kValueCapacity]; // inline value: narrow or wide text, bytes, or a number (unaligned)
    std::byte terminator[2];        // kept at zero, so text filling the whole area stays terminated
    // by-reference binding: the provider's data pointer; stream binding: the SequentialStream
    void* pointer;
    uint32_t length; // written by the provider: the value's full length in bytes
    DBSTATUS status; // written by the provider; DBSTATUS_S_ISNULL for NULL
};

namespace binding_offsets {
constexpr size_t kBufferLength = 0;
constexpr size_t kBoundType = 4;
constexpr size_t kFlag = 6;
constexpr size_t kValue = 7;
constexpr size_t kTerminator = 519;
constexpr size_t kPointer = 528;
constexpr size_t kLength = 536;
constexpr size_t kStatus = 540;
constexpr size_t kRecordSize = 544;
} // namespace binding_offsets

static_assert(offsetof(ColumnBinding, bufferLength) == binding_offsets::kBufferLength);
static_assert(offsetof(ColumnBinding, boundType) == binding_offsets::kBoundType);
static_assert(offsetof(ColumnBinding, boundByDeclaredType) == binding_offsets::kFlag);
static_assert(offsetof(ColumnBinding, value) == binding_offsets::kValue);
static_assert(offsetof(ColumnBinding, terminator) == binding_offsets::kTerminator);
static_assert(offsetof(ColumnBinding, pointer) == binding_offsets::kPointer);
static_assert(offsetof(ColumnBinding, length) == binding_offsets::kLength);
static_assert(offsetof(ColumnBinding, status) == binding_offsets::kStatus);
static_assert(sizeof(ColumnBinding) == binding_offsets::kRecordSize);
static_assert(sizeof(void*) == 8, "the record layout above is stated for 64-bit platforms");

} // namespace qb::data
