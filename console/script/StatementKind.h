#pragma once

namespace qb::console {

// What the statement scanner found. The transaction tokens are echoed only: the run's own local
// transaction stands in for them.
enum class StatementKind {
    Ordinary = 0, // executed
    StartTransaction = 1,
    Commit = 2,
    Rollback = 3,
};

} // namespace qb::console
