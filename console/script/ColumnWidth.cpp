#include "console/script/ColumnWidth.h"

#include <algorithm>

namespace qb::console {

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
    default:
        return 20;
    }
}

} // namespace qb::console
