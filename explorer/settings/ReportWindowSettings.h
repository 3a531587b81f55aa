#pragma once
// The report window's list styles (\1.6\Properties\Appearance\ReportWnd).
#include "common/settings/SettingsGroup.h"
#include "explorer/settings/SettingsKeys.h"

namespace qb::settings {

class ReportWindowSettings : public SettingsGroup {
public:
    explicit ReportWindowSettings(QString rootPath = explorerRootPath());

    bool showGrid() const { return m_isShowGrid.get() != 0; }
    bool fullRowSelect() const { return m_isFullRowSel.get() != 0; }
    bool flatScrollBars() const { return m_isFlatSB.get() != 0; }

protected:
    void describe(SettingsVisitor& visitor) override;

private:
    LockedSetting m_isShowGrid;
    LockedSetting m_isFullRowSel;
    LockedSetting m_isFlatSB;
};

} // namespace qb::settings
