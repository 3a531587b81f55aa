#include "console/script/ColumnWidth.h"

#include <algorithm>

namespace qb::console {
namespace {

constexpr uint32_t kOtherTypeWidth = 20;

} // namespace

uint32_t columnWidth(const data::ColumnInfo& column)
{
    switch (column.type) {
    case data::DBTYPE_WSTR:
    case data::DBTYPE_STR:
    case data::DBTYPE_BYTES: {
        // 64-bit, so a huge declared size cannot wrap round to a small width.
        const uint64_t factor = column.type == data::DBTYPE_WSTR ? 2 : 1;
        return uint32_t(std::min<uint64_t>(uint64_t(column.columnSize) * factor, kMaxColumnWidth));
    }
    case data::DBTYPE_NUMERIC: // its digits, a sign and a decimal point
        return uint32_t(std::clamp<uint64_t>(uint64_t(column.columnSize) + 2, kOtherTypeWidth, kMaxColumnWidth));
    case data::DBTYPE_DBTIMESTAMP: // the declared characters, then an era: " BC"
        return uint32_t(std::clamp<uint64_t>(uint64_t(column.columnSize) + 3, kOtherTypeWidth, kMaxColumnWidth));
    case data::DBTYPE_GUID: // 32 hexadecimal digits, 4 hyphens, braces
        return 38;
    case data::DBTYPE_R8: // the shortest text that reads back the same double: -2.2250738585072014e-308
        return 24;
    default:
        return kOtherTypeWidth;
    }
}

} // namespace qb::console
