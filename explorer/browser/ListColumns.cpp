#include "explorer/browser/ListColumns.h"

#include "common/ReportSink.h"
#include "platform/StringTable.h"

namespace qb::browser {

void rebuildListColumns(ReportSink& sink, std::span<const ListColumnSpec> columns)
{
    sink.clearListColumns();
    int index = 0;
    for (const ListColumnSpec& column : columns) {
        const int width = column.width > 0 ? column.width : kDefaultColumnWidth;
        sink.addListColumn(loadString(column.titleId), index++, width, kLeftAligned);
    }
}

} // namespace qb::browser
