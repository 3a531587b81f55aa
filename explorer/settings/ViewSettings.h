#pragma once
// The view group: FirstStart in \1.6 and the toolbar and status-bar flags in \1.6\view. Read when
// a main window is created, written only by the layout save.
#include "common/settings/SettingsGroup.h"
#include "explorer/settings/SettingsKeys.h"

namespace qb::settings {

class ViewSettings : public SettingsGroup {
public:
    explicit ViewSettings(QString rootPath = explorerRootPath());

    // 1 until a layout has been saved once.
    bool firstStart() const { return m_firstStart.get() != 0; }
    void setFirstStart(bool on) { m_firstStart.set(on ? 1 : 0); }
    bool standardToolbarVisible() const { return m_isStandardTBVisible.get() != 0; }
    void setStandardToolbarVisible(bool on) { m_isStandardTBVisible.set(on ? 1 : 0); }
    bool databaseToolbarVisible() const { return m_isDBTBVisible.get() != 0; }
    void setDatabaseToolbarVisible(bool on) { m_isDBTBVisible.set(on ? 1 : 0); }
    bool statusBarVisible() const { return m_isStatusBarVisible.get() != 0; }
    void setStatusBarVisible(bool on) { m_isStatusBarVisible.set(on ? 1 : 0); }
    bool toolbarsLocked() const { return m_isLockRebarCtrl.get() != 0; }
    void setToolbarsLocked(bool on) { m_isLockRebarCtrl.set(on ? 1 : 0); }

protected:
    void describe(SettingsVisitor& visitor) override;

private:
    LockedSetting m_firstStart;
    LockedSetting m_isStandardTBVisible;
    LockedSetting m_isDBTBVisible;
    LockedSetting m_isStatusBarVisible;
    LockedSetting m_isLockRebarCtrl;
};

} // namespace qb::settings
