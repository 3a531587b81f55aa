#pragma once
#include "dataaccess/Provider.h"

#include <cstdint>

namespace qb::console {

// Widest field of a text table column, in characters.
constexpr uint32_t kMaxColumnWidth = 600;

// The width of a column in a text table, from its declared type and size: wide text twice its
// size, narrow text and bytes their size, each at most 600 (so a long value, declared with size
// 0x7FFFFFFF, is 600 wide); every other type 20, or the room its longest text needs where that
// is more (wide decimals, timestamps with fractions and an era, GUIDs, doubles), so no value is
// cut into a different one. A text or binary column of size 0 (one whose size the provider does
// not know) has width 0, which the printer refuses.
uint32_t columnWidth(const data::ColumnInfo& column);

} // namespace qb::console
