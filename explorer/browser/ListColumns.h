#pragma once
// The list columns an element asks the data list for when it is shown with the redraw flag.
#include "dataaccess/Provider.h"

#include <span>
#include <vector>

namespace qb {
class ReportSink;
}

namespace qb::browser {

struct ListColumnSpec {
    int titleId;    // string-table id of the title
    int width = 0;  // pixels; 0: the default width below
};

// Columns whose width is not given get this one, so that no column opens collapsed.
constexpr int kDefaultColumnWidth = 100;
constexpr int kLeftAligned = 0;

// Clears the list's columns and adds these, in order.
void rebuildListColumns(ReportSink& sink, std::span<const ListColumnSpec> columns);

// The columns of a table, view or query result: an untitled narrow first column (the row's own
// column, which carries no value), then one column per result column under its name.
constexpr int kRowColumnWidth = 20;
void rebuildResultColumns(ReportSink& sink, const std::vector<data::ColumnInfo>& columns);

} // namespace qb::browser
