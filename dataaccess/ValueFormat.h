#pragma once
// Turning a cached value into the text of the data list and of the description tooltip.
#include "dataaccess/ColumnBinding.h"

#include <QString>

namespace qb::data {

// The display text of one value area by the column's bound type (numbers printf-style: "%i",
// "%g", "%I64i" as a 64-bit signed decimal, "%u", "%I64u"; markers "(TEXT)", "(BLOB)",
// "(UNKNOWN)"), at most `capacity` characters and never cut inside a character.
// `declaredType` decides for stream-typed columns. Text runs to its terminator: the value area is
// always followed by the record's zero terminator, and the length the provider wrote is the whole
// value's, which for a cut value is more than the area holds, so it bounds nothing here.
QString formatValue(DBTYPE boundType, DBTYPE declaredType, const std::byte* valueArea, int capacity);

// The description text of a non-NULL value area by the column's declared type: wide text as is,
// "Binary data" for bytes, anything else as narrow (UTF-8) text.
QString describeValue(DBTYPE declaredType, const std::byte* valueArea);

// Texts of the value rules.
inline constexpr char16_t kNullText[] = u"(NULL)";
inline constexpr char16_t kEmptyText[] = u"(EMPTY)";
inline constexpr char16_t kTextMarker[] = u"(TEXT)";
inline constexpr char16_t kBlobMarker[] = u"(BLOB)";
inline constexpr char16_t kUnknownMarker[] = u"(UNKNOWN)";
inline constexpr char16_t kBinaryDataText[] = u"Binary data";

} // namespace qb::data
