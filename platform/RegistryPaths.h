#pragma once
// Where the hive files live. QUILLBASE_REGISTRY_DIR, read at each call so that tests can change
// it, moves every hive into that one folder.
#include <QString>

namespace qb::reg::detail {

// HKEY_CURRENT_USER: $XDG_CONFIG_HOME/quillbase/registry, by default ~/.config/quillbase/registry.
QString userHiveFolder();
// HKEY_LOCAL_MACHINE and HKEY_CLASSES_ROOT: <prefix>/etc/quillbase/registry, where the prefix is
// the parent of the running executable's folder (and /etc itself for a program in /usr/bin).
QString machineHiveFolder();

} // namespace qb::reg::detail
