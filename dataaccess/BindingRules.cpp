#include "dataaccess/BindingRules.h"

#include <algorithm>

namespace qb::data {
namespace {

constexpr uint32_t kInlineLimit = 512;
constexpr uint32_t kWideInlineChars = 256;

bool isTextOrBytes(DBTYPE t)
{
    return t == DBTYPE_BYTES || t == DBTYPE_STR || t == DBTYPE_WSTR;
}

} // namespace

ColumnBinding bindingRecordFor(const ColumnInfo& column)
{
    ColumnBinding record{};
    const DBTYPE t = column.type;
    const uint32_t s = column.columnSize;
    if ((isUnboundedSize(s) && isTextOrBytes(t)) || t == DBTYPE_IUNKNOWN || t == DBTYPE_IDISPATCH) {
        record.boundType = DBTYPE_IUNKNOWN;
        record.bufferLength = 4;
        record.boundByDeclaredType = isTextOrBytes(t) ? 1 : 0;
    } else if ((t == DBTYPE_BYTES || t == DBTYPE_STR) && s > kInlineLimit) {
        record.boundType = DBTYPE(t | DBTYPE_BYREF);
        record.bufferLength = s;
    } else if (t == DBTYPE_WSTR && s <= kWideInlineChars) {
        record.boundType = DBTYPE_WSTR;
        record.bufferLength = kInlineLimit;
    } else if (t == DBTYPE_WSTR) {
        record.boundType = DBTYPE(DBTYPE_WSTR | DBTYPE_BYREF);
        record.bufferLength = uint32_t(std::min<uint64_t>(2ull * s, 0xFFFFFFFFull));
    } else if (t == DBTYPE_BYTES) {
        record.boundType = DBTYPE_BYTES;
        record.bufferLength = kInlineLimit;
    } else {
        record.boundType = DBTYPE_STR;
        record.bufferLength = kInlineLimit;
    }
    return record;
}

Binding providerBindingFor(const ColumnBinding& record, const ColumnInfo& column, size_t recordOffset)
{
    Binding b;
    b.ordinal = column.ordinal;
    b.lengthOffset = recordOffset + binding_offsets::kLength;
    b.statusOffset = recordOffset + binding_offsets::kStatus;
    DBTYPE inlineType = record.boundType;
    if (record.boundByDeclaredType)
        inlineType = column.type;
    if (inlineType & DBTYPE_BYREF || inlineType == DBTYPE_IUNKNOWN) {
        b.type = inlineType;
        b.valueOffset = recordOffset + binding_offsets::kPointer;
        b.maxLength = record.bufferLength;
        return b;
    }
    b.type = inlineType;
    b.valueOffset = recordOffset + binding_offsets::kValue;
    // Text may fill the whole value area: its terminator then lands in the record's terminator
    // field, so a 256-character wide value shows whole.
    b.maxLength = inlineType == DBTYPE_WSTR  ? uint32_t(ColumnBinding::kInlineBuffer)
                  : inlineType == DBTYPE_STR ? uint32_t(ColumnBinding::kValueCapacity + 1)
                                             : uint32_t(ColumnBinding::kValueCapacity);
    return b;
}

} // namespace qb::data
