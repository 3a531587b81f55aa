#pragma once
// The database tree's styles (\1.6\Properties\Appearance\TreeWnd).
#include "common/settings/SettingsGroup.h"
#include "explorer/settings/SettingsKeys.h"

namespace qb::settings {

class DataTreeSettings : public SettingsGroup {
public:
    explicit DataTreeSettings(QString rootPath = explorerRootPath());

    bool hasButtons() const { return m_isHasButtons.get() != 0; }
    bool hasLines() const { return m_isHasLines.get() != 0; }
    bool fullRowSelect() const { return m_isFullRowSel.get() != 0; }
    bool trackSelect() const { return m_isTrackSelect.get() != 0; }

protected:
    void describe(SettingsVisitor& visitor) override;

private:
    LockedSetting m_isHasButtons;
    LockedSetting m_isHasLines;
    LockedSetting m_isFullRowSel;
    LockedSetting m_isTrackSelect;
};

} // namespace qb::settings
