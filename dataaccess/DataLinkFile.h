#pragma once
// Data link files: a UTF-16LE profile file with a byte-order mark whose section [oledb] holds,
// after the comment line, the initialization string:
//
//   [oledb]
//   ; Everything after this line is an OLE DB initstring
//   Provider=SQLite;Data Source=/home/ann/shop.db
//
// Reading accepts UTF-16 with a mark and UTF-8 with or without one; any line ends.
#include <QString>

namespace qb::data {

// A data link file larger than this is refused: real ones hold one line.
constexpr qint64 kMaxDataLinkFileSize = 1 << 20;

// The initialization string stored in the file. Throws ProviderError with a description naming
// the file: missing or unreadable, too large, no [oledb] section, or no string in it.
QString readDataLinkFile(const QString& path);

// The value of the key "Provider" in section [oledb], or an empty text (also for a missing or
// unreadable file): what tells whether the data link editor wrote anything.
QString readDataLinkProvider(const QString& path);

// Writes (replacing) the file with the initialization string: a new private file (mode 0600, it
// may hold a password) renamed over the old one once complete. Throws ProviderError naming the
// file and the system's reason on failure; the previous file stays intact then.
void writeDataLinkFile(const QString& path, const QString& initString);

} // namespace qb::data
