#include "explorer/settings/ReportWindowSettings.h"

namespace qb::settings {

ReportWindowSettings::ReportWindowSettings(QString rootPath) : SettingsGroup(std::move(rootPath))
{
    loadSave(SetDefaults);
}

void ReportWindowSettings::describe(SettingsVisitor& visitor)
{
    visitor.key(reportWindowKey());
    visitor.number(QStringLiteral("IsShowGrid"), m_isShowGrid, 0);
    visitor.number(QStringLiteral("IsFullRowSel"), m_isFullRowSel, 1);
    visitor.number(QStringLiteral("IsFlatSB"), m_isFlatSB, 0);
}

} // namespace qb::settings
