#pragma once
// The data list's options (\1.6\Properties\Appearance\ListWnd).
#include "common/settings/SettingsGroup.h"
#include "explorer/settings/SettingsKeys.h"

namespace qb::settings {

class DataListSettings : public SettingsGroup {
public:
    explicit DataListSettings(QString rootPath = explorerRootPath());

    bool useIndividualProperties() const { return m_useIndividualProp.get() != 0; }
    bool showGrid() const { return m_isShowGrid.get() != 0; }
    bool fullRowSelect() const { return m_isFullRowSel.get() != 0; }
    bool flatScrollBars() const { return m_isFlatSB.get() != 0; }
    bool tooltipOnClick() const { return m_showTT1.get() != 0; }
    bool tooltipOnShiftClick() const { return m_showTT2.get() != 0; }

protected:
    void describe(SettingsVisitor& visitor) override;

private:
    LockedSetting m_useIndividualProp;
    LockedSetting m_isShowGrid;
    LockedSetting m_isFullRowSel;
    LockedSetting m_isFlatSB;
    LockedSetting m_showTT1;
    LockedSetting m_showTT2;
};

} // namespace qb::settings
