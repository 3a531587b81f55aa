#pragma once
// Files that may hold a secret (a data link file with a password) are never created readable by
// others and never appear half-written:
//
//   - createPrivateFile makes a new file, mode 0600, refusing to open one that exists or to
//     follow a link planted under the name (O_EXCL), so nobody can hand us a file they can read;
//   - writeFileReplacing writes a private file with a random name beside the target, flushes it
//     to disk and renames it over the target: readers see the old file or the whole new one, and
//     a failure leaves the target as it was and no stray file behind.
//
// Results are errno values (0 on success); callers turn them into the system's text.
#include <QByteArray>
#include <QString>

namespace qb {

// 0, or the errno of the failing call.
int createPrivateFile(const QString& path);

// Renames `from` over `to` in one step (the target is never missing in between), then flushes
// the folder so the rename survives a crash. 0, or the errno of the rename.
int renameOver(const QString& from, const QString& to);

// The bytes as the new content of `target`, by a private file beside it renamed over it. The
// result is a private file whatever the old target's mode was. 0, or the errno.
int writeFileReplacing(const QString& target, const QByteArray& bytes);

// A new random identifier in the registry form "{8-4-4-4-12}" (upper-case hex, braces).
QString newGuidText();

} // namespace qb
