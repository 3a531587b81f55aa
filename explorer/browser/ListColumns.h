#pragma once
// The list columns an element asks the data list for when it is shown with the redraw flag.
#include <span>

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

} // namespace qb::browser
