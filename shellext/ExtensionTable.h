#pragma once
// The table of file extensions the menu applies to, each with the template of the argument the
// programs get for such a file. It lives in HKEY_LOCAL_MACHINE, written when the suite is
// installed, and is read afresh for every selection so that a change applies at once.
#include <QString>
#include <optional>
#include <vector>

namespace qb::shellext {

struct ExtensionEntry {
    QString extension;        // with its dot, as the key is spelled (".udl")
    QString argumentTemplate; // "%1" the file's full path, "%0" its folder with a trailing "/"
};

// The entries in the registry's order of the subkeys. A subkey without a text "connection string"
// value is left out. nullopt when the table's key is missing or cannot be read: no file type gets
// the menu then.
std::optional<std::vector<ExtensionEntry>> readExtensionTable();

// The first entry for the extension, compared without regard to case; nullptr when none.
const ExtensionEntry* findEntry(const std::vector<ExtensionEntry>& table, const QString& extension);

} // namespace qb::shellext
