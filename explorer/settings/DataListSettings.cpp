#include "explorer/settings/DataListSettings.h"

namespace qb::settings {

DataListSettings::DataListSettings(QString rootPath) : SettingsGroup(std::move(rootPath))
{
    loadSave(SetDefaults);
}

void DataListSettings::describe(SettingsVisitor& visitor)
{
    visitor.key(dataListKey());
    visitor.number(QStringLiteral("UseIndividualProp"), m_useIndividualProp, 1);
    visitor.number(QStringLiteral("IsShowGrid"), m_isShowGrid, 1);
    visitor.number(QStringLiteral("IsFullRowSel"), m_isFullRowSel, 1);
    visitor.number(QStringLiteral("IsFlatSB"), m_isFlatSB, 0);
    visitor.number(QStringLiteral("ShowTT1"), m_showTT1, 0);
    visitor.number(QStringLiteral("ShowTT2"), m_showTT2, 1);
}

} // namespace qb::settings
