#include "explorer/settings/GeneralSettings.h"

#include <algorithm>

namespace qb::settings {

GeneralSettings::GeneralSettings(QString rootPath) : SettingsGroup(std::move(rootPath))
{
    loadSave(SetDefaults);
}

void GeneralSettings::describe(SettingsVisitor& visitor)
{
    visitor.key(generalKey());
    visitor.number(QStringLiteral("GoDirectlyToTableFldr"), m_goDirectlyToTableFldr, 0);
    visitor.number(QStringLiteral("RecentListMaxEnteries"), m_recentListMaxEnteries, 4);
    visitor.number(QStringLiteral("MaxBackupPoints"), m_maxBackupPoints, 20);
    visitor.dword(QStringLiteral("SingleInstance"), m_singleInstance, 1);
}

int GeneralSettings::maxBackupPoints() const
{
    // Stored text such as "-5" reads back as the two's complement; take it as the signed number.
    const int stored = static_cast<int>(m_maxBackupPoints.get());
    return std::clamp(stored, kBackupPointsMinimum, kBackupPointsMaximum);
}

} // namespace qb::settings
