#include "explorer/settings/DataTreeSettings.h"

namespace qb::settings {

DataTreeSettings::DataTreeSettings(QString rootPath) : SettingsGroup(std::move(rootPath))
{
    loadSave(SetDefaults);
}

void DataTreeSettings::describe(SettingsVisitor& visitor)
{
    visitor.key(dataTreeKey());
    visitor.number(QStringLiteral("IsHasButtons"), m_isHasButtons, 1);
    visitor.number(QStringLiteral("IsHasLines"), m_isHasLines, 1);
    visitor.number(QStringLiteral("IsFullRowSel"), m_isFullRowSel, 0);
    visitor.number(QStringLiteral("IsTrackSelect"), m_isTrackSelect, 0);
}

} // namespace qb::settings
