#pragma once
// Cuts a script into statements at ";".
//
// - Outside quotes and block comments, a run of spaces, tabs and line breaks becomes one space;
//   white space at the start of a statement is dropped, a single space before the ";" stays.
//   A line comment ("--" or "//" up to and including its line break) counts as such white space.
//   A line comment at the very end of the text, without a line break, is statement text.
// - Text inside single or double quotes (a doubled quote stays inside) and inside "/* ... */"
//   passes through verbatim, ";" and comment markers included.
// - At the start of a statement, "start transaction;", "commit;" and "rollback;" (any case, the
//   ";" directly after the word) are transaction tokens, handed over as written with their ";".
//   "commit ;" is the ordinary statement "commit ".
// - Line ends CR LF and CR count as LF. The text after the last ";" is no statement and is dropped.
#include "console/script/StatementSink.h"

#include <QStringView>

namespace qb::console {

class StatementScanner {
public:
    static void scan(QStringView text, StatementSink& sink);
};

} // namespace qb::console
