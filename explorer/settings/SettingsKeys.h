#pragma once
// Where the explorer keeps its settings: one root under HKEY_CURRENT_USER, a versioned subtree
// for nearly everything, and the recent document list directly under the root.
#include <QString>

namespace qb::settings {

constexpr int kSettingsMajorVersion = 1;
constexpr int kSettingsMinorVersion = 6;

// The explorer's root below HKEY_CURRENT_USER.
inline QString explorerRootPath() { return QStringLiteral("Software\\Marrowind\\quillbase\\qorvex"); }

// "\1.6": every relative path below starts with it and is appended to the root as it is.
inline QString versionKey()
{
    return QStringLiteral("\\%1.%2").arg(kSettingsMajorVersion).arg(kSettingsMinorVersion);
}
inline QString generalKey() { return versionKey() + QStringLiteral("\\Properties\\General"); }
inline QString reportWindowKey() { return versionKey() + QStringLiteral("\\Properties\\Appearance\\ReportWnd"); }
inline QString dataListKey() { return versionKey() + QStringLiteral("\\Properties\\Appearance\\ListWnd"); }
inline QString dataTreeKey() { return versionKey() + QStringLiteral("\\Properties\\Appearance\\TreeWnd"); }
inline QString viewKey() { return versionKey() + QStringLiteral("\\view"); }
inline QString elementListKey(int slot) { return viewKey() + QStringLiteral("\\xElement#%1").arg(slot); }

} // namespace qb::settings
