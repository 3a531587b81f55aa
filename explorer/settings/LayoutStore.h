#pragma once
// Where a main window's layout goes in the registry (\1.6 and \1.6\view) and how it comes back.
// Measuring and applying belong to the window.
#include "explorer/settings/SettingsKeys.h"
#include "explorer/settings/ViewSettings.h"
#include "explorer/settings/WindowLayout.h"

namespace qb {
class RecentDocumentList;
}

namespace qb::settings {

class LayoutStore {
public:
    explicit LayoutStore(QString rootPath = explorerRootPath()) : m_rootPath(std::move(rootPath)) {}

    // The save at window close and by "Save the Configuration". With the save-layout flag set
    // (cleared by -dontsavelayout): FirstStart becomes 0 and the view group is written, then
    // IsFullWnd (1 for a maximised window), the rectangle only
    // when it is 0, the bands in order, and the four docking records. The recent document list is
    // written in any case. Answers 0 or the first registry error; nothing is reported.
    long save(ViewSettings& view, const WindowLayout& layout, bool saveLayoutFlag, const RecentDocumentList& recent) const;

    // The stored window state for a restore: bands 60160, 60161, ... are read while fewer than
    // bandCount were found, stopping at the first missing one.
    StoredLayout read(int bandCount) const;

private:
    long saveView(ViewSettings& view, const WindowLayout& layout) const;

    QString m_rootPath;
};

} // namespace qb::settings
