#include "explorer/settings/GeneralPage.h"

#include "common/settings/SettingsNumber.h"
#include "explorer/settings/SettingsStrings.h"

namespace qb::settings {
namespace {

std::vector<OptionField> generalFields()
{
    // The order in which the page takes its values.
    return {
        {QStringLiteral("GoDirectlyToTableFldr"), FieldKind::CheckBox, strings::GoDirectlyToTableFolder},
        {QStringLiteral("SingleInstance"), FieldKind::CheckBox, strings::SingleInstance},
        {QStringLiteral("RecentListMaxEnteries"), FieldKind::Number, strings::RecentListPrefix, strings::RecentListSuffix,
         GeneralSettings::kRecentListMinimum, GeneralSettings::kRecentListMaximum},
        {QStringLiteral("MaxBackupPoints"), FieldKind::Number, strings::MaxBackupPoints, 0,
         GeneralSettings::kBackupPointsMinimum, GeneralSettings::kBackupPointsMaximum},
    };
}

} // namespace

GeneralPage::GeneralPage(GeneralSettings& settings)
    : OptionsPage(strings::GeneralPage, &settings, generalFields()), m_settings(settings)
{
}

bool GeneralPage::take(UserPrompts& prompts)
{
    if (!view())
        return true;
    const bool taken = takeFields(*view(), prompts);
    writeDwordSetting(m_settings.rootPath() + generalKey(), QStringLiteral("SingleInstance"),
                      m_settings.singleInstance() ? 1 : 0);
    return taken;
}

} // namespace qb::settings
