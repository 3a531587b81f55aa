#pragma once
// Opening a hive file: create it (and its folder) when it is missing and this user may write
// there, open it read-only when this user may only read it, and check that it is a hive of ours.
// A file that is not (garbage, a damaged database, some other database) is set aside under a new
// name next to it and a fresh hive takes its place; the caller reports that once.
//
// The checks and the setting aside run under an exclusive lock on the folder (flock), so two
// processes that find the same damaged file at once set it aside once, not also each other's
// fresh hive.
#include "platform/Registry.h"
#include "platform/RegistryHive.h"

#include <memory>
#include <optional>

namespace qb::reg::detail {

struct HiveFileSetup {
    QString rootName; // for the report
    QString folder;
    QString file;
    // Write-ahead log: readers never wait for a writer and a commit costs one sync. Machine hives
    // keep a rollback journal instead, so that users who may not write next to them (no -shm
    // file) can still read them.
    bool writeAheadLog = true;
    // Created readable by its owner only (the user's hive may hold connection strings).
    bool privateFile = false;
};

struct HiveOpening {
    std::shared_ptr<RegistryHive> hive;
    std::optional<HiveReport> report;
    // False when the file could not be opened for a passing reason (a lock held too long, an I/O
    // error): the caller should try again next time instead of keeping the stand-in.
    bool keep = true;
};

HiveOpening openHiveFile(const HiveFileSetup& setup);

} // namespace qb::reg::detail
