#pragma once
// The names under which the extension lives in the registry: its class keys in
// HKEY_CLASSES_ROOT, and the installation's keys in HKEY_LOCAL_MACHINE that say which file
// types get the menu and where the programs are.
#include <QString>

namespace qb::shellext {

inline QString classId() { return QStringLiteral("{38CBF15E-482A-4D37-A299-C1145D02FC43}"); }
inline QString className() { return QStringLiteral("$QuillbaseShellExt Class"); }
inline QString progId() { return QStringLiteral("Paskel.QuillbaseShellExt.1"); }
inline QString versionIndependentProgId() { return QStringLiteral("Paskel.QuillbaseShellExt"); }
inline QString typeLibraryId() { return QStringLiteral("{6844C886-373A-4484-8348-16B5C8ADEB34}"); }
inline QString typeLibraryName() { return QStringLiteral("paskel 1.0 Type Library"); }

// HKEY_LOCAL_MACHINE: "core path" (the programs' folder) and the extension table below it.
inline QString installationKey() { return QStringLiteral("SOFTWARE\\Marrowind\\quillbase"); }
inline QString corePathValue() { return QStringLiteral("core path"); }
inline QString extensionTableKey() { return QStringLiteral("SOFTWARE\\Marrowind\\quillbase\\shellex"); }
inline QString argumentTemplateValue() { return QStringLiteral("connection string"); }

// String 102 and string 103: the two menu items.
inline QString exploreItemText() { return QStringLiteral("Explore data base"); }
inline QString executeItemText() { return QStringLiteral("Execute SQL query"); }

} // namespace qb::shellext
