#pragma once
#include "dataaccess/Provider.h"

#include <cstdint>

namespace qb::console {

// Widest field of a text table column, in characters.
constexpr uint32_t kMaxColumnWidth = 600;

// The width of a column in a text table, from its declared type and size: wide text twice its
// size, narrow text and bytes their size, each at most 600; every other type 20. A long value
// (a text or binary column of unbounded size, which the data layer declares with size 0) is as
// wide as the widest column.
uint32_t columnWidth(const data::ColumnInfo& column);

} // namespace qb::console
