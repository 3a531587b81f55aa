#pragma once
// The list styles of one element kind (\1.6\view\xElement#<slot>): the view mode bits and the
// extended style bits of that kind's list. Mode 0 resets both to 0.
#include "common/settings/SettingsGroup.h"
#include "explorer/settings/SettingsKeys.h"

namespace qb::settings {

class ElementListStyles : public SettingsGroup {
public:
    explicit ElementListStyles(int slot, QString rootPath = explorerRootPath());

    int slot() const { return m_slot; }
    uint32_t listViewStyles() const { return m_listViewStyles.get(); }
    void setListViewStyles(uint32_t styles) { m_listViewStyles.set(styles); }
    uint32_t listViewStylesEx() const { return m_listViewStylesEx.get(); }
    void setListViewStylesEx(uint32_t styles) { m_listViewStylesEx.set(styles); }

protected:
    void describe(SettingsVisitor& visitor) override;

private:
    int m_slot;
    LockedSetting m_listViewStyles;
    LockedSetting m_listViewStylesEx;
};

} // namespace qb::settings
