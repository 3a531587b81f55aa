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

void rebuildResultColumns(ReportSink& sink, const std::vector<data::ColumnInfo>& columns)
{
    sink.clearListColumns();
    sink.addListColumn(QString(), 0, kRowColumnWidth, kLeftAligned);
    for (size_t c = 0; c < columns.size(); ++c)
        sink.addListColumn(columns[c].name, int(c + 1), kDefaultColumnWidth, kLeftAligned);
}

} // namespace qb::browser
