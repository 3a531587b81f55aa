#include "explorer/settings/ViewSettings.h"

namespace qb::settings {

ViewSettings::ViewSettings(QString rootPath) : SettingsGroup(std::move(rootPath))
{
    loadSave(SetDefaults);
}

void ViewSettings::describe(SettingsVisitor& visitor)
{
    visitor.key(versionKey());
    visitor.number(QStringLiteral("FirstStart"), m_firstStart, 1);
    visitor.key(viewKey());
    visitor.number(QStringLiteral("IsStandardTBVisible"), m_isStandardTBVisible, 1);
    visitor.number(QStringLiteral("IsDBTBVisible"), m_isDBTBVisible, 1);
    visitor.number(QStringLiteral("IsStatusBarVisible"), m_isStatusBarVisible, 1);
    visitor.number(QStringLiteral("IsLockRebarCtrl"), m_isLockRebarCtrl, 0);
}

} // namespace qb::settings
