#pragma once
// The SQLite provider's keys of the initialization string:
//   Data Source   the database file; it must exist (never created here)
//   Mode          "ReadOnly" (or "Read") opens the file read-only; "ReadWrite" or no value opens
//                 it for reading and writing
//   Immutable     "True": the file never changes while it is open (read-only media, a snapshot):
//                 SQLite reads it without any locking, and so read-only; "False" or no value:
//                 the normal locking
// Other keys are ignored. A value outside these is an error, not a guess: a mistyped Mode must
// not open the user's file for writing.
#include "dataaccess/ConnectionString.h"

#include <QString>

namespace qb::data::sqlite {

inline constexpr char16_t kDataSourceKey[] = u"Data Source";
inline constexpr char16_t kModeKey[] = u"Mode";
inline constexpr char16_t kImmutableKey[] = u"Immutable";
inline constexpr char16_t kModeReadOnly[] = u"ReadOnly";
inline constexpr char16_t kModeReadWrite[] = u"ReadWrite";

struct SqliteOpenOptions {
    QString path;
    bool readOnly = false;
    bool immutable = false;

    // Throws ProviderError (E_INVALIDARG) naming the key and the values it takes.
    static SqliteOpenOptions from(const ConnectionString& properties);
};

} // namespace qb::data::sqlite
