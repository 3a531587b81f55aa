#pragma once
// The history's bound taken from the window's General settings group (MaxBackupPoints).
#include "explorer/browser/BackupPointsBound.h"
#include "explorer/settings/GeneralSettings.h"

namespace qb::browser {

class GeneralSettingsBound : public BackupPointsBound {
public:
    // The group must outlive this object; null means the bound is unavailable.
    explicit GeneralSettingsBound(const settings::GeneralSettings* general) : m_general(general) {}

    std::optional<int> maxBackupPoints() const override
    {
        if (!m_general)
            return std::nullopt;
        return m_general->maxBackupPoints();
    }

private:
    const settings::GeneralSettings* m_general;
};

} // namespace qb::browser
