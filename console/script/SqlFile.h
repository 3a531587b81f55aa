#pragma once
// Reading and writing SQL files. Files are UTF-8 without a byte-order mark (one is skipped when
// present). Reading takes CR LF, LF and CR each as one line break; writing stores LF.
//
// Reading decodes the whole stream with one stateful decoder, block after block, so a character
// whose bytes straddle two blocks stays whole. Writing goes to a temporary file in the target's
// folder that replaces the target only once it is complete: a full disk or a folder without
// write access leaves the old file as it was.
#include <QString>

namespace qb::console {

struct SqlFileResult {
    bool ok = false;
    QString text;  // reading: the file's text with "\n" line breaks
    QString error; // the system's text when !ok
};

SqlFileResult readSqlFile(const QString& path);
// `text` uses "\n" (or the editor's paragraph separators U+2029) for line breaks.
SqlFileResult writeSqlFile(const QString& path, const QString& text);

// "\r\n" and lone "\r" become "\n".
QString normalizeLineBreaks(QString text);

} // namespace qb::console
