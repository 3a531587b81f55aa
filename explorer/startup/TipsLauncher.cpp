#include "explorer/startup/TipsLauncher.h"

#include "explorer/settings/SettingsKeys.h"
#include "platform/ExecutableFolder.h"
#include "platform/Registry.h"
#include "platform/SharedLibrary.h"
#include "quillbase/qbtips.h"

namespace qb::explorer {
namespace {

const QString kFlagName = QStringLiteral("ShowTipOfTheDay");

uint32_t readFlag(reg::HKEY key)
{
    uint32_t type = 0;
    uint32_t value = 0;
    uint32_t size = sizeof value;
    if (!key || reg::RegQueryValueEx(key, kFlagName, &type, &value, &size) != reg::ERROR_SUCCESS ||
        type != reg::REG_DWORD || size != sizeof value)
        return 1;
    return value;
}

} // namespace

QString tipsLibraryMissingText()
{
    return QStringLiteral("Program can't load the \"%1\" library. Please, reinstall this software.")
        .arg(QStringLiteral(QB_TIPS_LIBRARY_NAME));
}

TipsOutcome TipsLauncher::show(QbWindow owner, bool force) const
{
    reg::KeyGuard key;
    reg::RegCreateKeyEx(reg::HKEY_CURRENT_USER, settings::explorerRootPath() + settings::versionKey(), key.out());
    uint32_t flag = readFlag(key.get());

    TipsOutcome outcome = TipsOutcome::NotWanted;
    if (flag != 0 || force) {
        const QString dir = folder.isEmpty() ? executableFolder() : folder;
        SharedLibrary library(dir + QStringLiteral("/" QB_TIPS_LIBRARY_NAME));
        if (!library.isLoaded()) {
            outcome = TipsOutcome::LibraryMissing;
            if (showError)
                showError(tipsLibraryMissingText());
        } else if (auto showTips = library.function<QbShowTipsDialogW>("ShowTipsDialogW")) {
            const QString tipsFile = dir + QStringLiteral("/qorvex.tip");
            flag = showTips(owner, reinterpret_cast<const char16_t*>(tipsFile.utf16()), int32_t(flag)) & 0xFF;
            outcome = TipsOutcome::Shown;
        } else {
            outcome = TipsOutcome::ExportMissing;
        }
    }
    if (key)
        reg::RegSetValueEx(key.get(), kFlagName, reg::REG_DWORD, &flag, sizeof flag);
    return outcome;
}

} // namespace qb::explorer
