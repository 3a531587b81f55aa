#pragma once
// Error texts of the storage: what a failing storage call or stream result tells the user.
#include <quillbase/qbstream.h>

#include <QString>

namespace qb {

// Raises Brelib::exception carrying the system's text for the errno value.
[[noreturn]] void throwStorageError(int errnoValue);

// The system's text for the failure a stream result stands for (the full-disk result reads like
// a full disk, a revoked stream like a stale handle); "" for a success.
QString streamResultText(QbResult result);

} // namespace qb
