#pragma once
// User-visible texts keyed by their documented numeric ids, used exactly as written.
// Each module keeps its entries in platform/strings/<module>.inc.
#include <QString>

namespace qb {

// The text of the id, or an empty text when the table has no such id.
QString loadString(int id);
bool hasString(int id);

} // namespace qb
