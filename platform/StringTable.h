#pragma once
// User-visible texts keyed by fixed numeric ids, used exactly as written (tests pin them by id).
// The table sits in platform, below every module, so any layer can look a text up; each module
// keeps its entries in platform/strings/<module>.inc.
#include <QString>

namespace qb {

// The text of the id, or an empty text when the table has no such id.
QString loadString(int id);
bool hasString(int id);

} // namespace qb
