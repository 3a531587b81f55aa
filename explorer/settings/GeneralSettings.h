#pragma once
// The General options (\1.6\Properties\General): the first folder shown after connecting, the
// size of the recent document list, the bound of the navigation history, single instance.
#include "common/settings/SettingsGroup.h"
#include "explorer/settings/SettingsKeys.h"

namespace qb::settings {

class GeneralSettings : public SettingsGroup {
public:
    static constexpr int kRecentListMinimum = 2;
    static constexpr int kRecentListMaximum = 16;
    static constexpr int kBackupPointsMinimum = 0;
    static constexpr int kBackupPointsMaximum = 500;

    explicit GeneralSettings(QString rootPath = explorerRootPath());

    bool goDirectlyToTableFldr() const { return m_goDirectlyToTableFldr.get() != 0; }
    // As stored; the recent document list limits it to 2..16 itself.
    uint32_t recentListMaxEnteries() const { return m_recentListMaxEnteries.get(); }
    // The navigation history's bound. A hand-edited value outside 0..500 is brought into it, so
    // the history never sees a negative or huge bound.
    int maxBackupPoints() const;
    bool singleInstance() const { return m_singleInstance.get() != 0; }

protected:
    void describe(SettingsVisitor& visitor) override;

private:
    LockedSetting m_goDirectlyToTableFldr;
    LockedSetting m_recentListMaxEnteries;
    LockedSetting m_maxBackupPoints;
    LockedSetting m_singleInstance;
};

} // namespace qb::settings
