#include "explorer/settings/ConfigurationCommands.h"

#include "common/settings/RegistryScriptWriter.h"
#include "explorer/settings/OptionsGroups.h"
#include "explorer/settings/SettingsStrings.h"
#include "explorer/settings/UserPrompts.h"
#include "platform/StringTable.h"

namespace qb::settings {

bool saveConfiguration(const std::function<long()>& saveLayout, OptionsGroups& groups, UserPrompts& prompts)
{
    const long layoutResult = saveLayout ? saveLayout() : 0;
    const long groupsResult = groups.writeAll();
    const long failure = layoutResult != 0 ? layoutResult : groupsResult;
    if (failure != 0) {
        // Announcing success here would let the user quit believing the settings were kept.
        prompts.showMessage(MessageIcon::Error, qb::loadString(strings::ErrorCaption),
                            qb::loadString(strings::SaveFailed).replace(QLatin1String("%li"), QString::number(failure)));
        return false;
    }
    prompts.showMessage(MessageIcon::Information, qb::loadString(strings::InformationCaption),
                        qb::loadString(strings::SaveComplete));
    return true;
}

bool exportConfiguration(UserPrompts& prompts, const std::function<void()>& saveConfig, const QString& rootPath)
{
    switch (prompts.askYesNoCancel(qb::loadString(strings::QuestionCaption), qb::loadString(strings::ExportQuestion))) {
    case Answer::Cancel:
        return false;
    case Answer::Yes:
        if (saveConfig)
            saveConfig();
        break;
    case Answer::No:
        break;
    }
    SaveFileRequest request;
    request.filterName = qb::loadString(strings::RegFileFilterName);
    request.pattern = QStringLiteral("*.reg");
    request.defaultSuffix = QStringLiteral("reg");
    const QString fileName = prompts.chooseSaveFile(request);
    if (fileName.isEmpty())
        return false;
    return writeRegistryScript(QStringLiteral("HKEY_CURRENT_USER"), rootPath + versionKey(), fileName,
                               [&prompts](const QString& caption, const QString& text) {
                                   prompts.showMessage(MessageIcon::None, caption, text);
                               });
}

} // namespace qb::settings
