#include "shellext/CorePath.h"

#include "platform/Registry.h"
#include "shellext/RegistryText.h"
#include "shellext/ShellExtKeys.h"

#include <QFile>

namespace qb::shellext {

std::optional<QByteArray> readCorePath(QString* why)
{
    reg::KeyGuard installation;
    std::optional<QString> folder;
    if (reg::RegOpenKeyEx(reg::HKEY_LOCAL_MACHINE, installationKey(), installation.out()) == reg::ERROR_SUCCESS)
        folder = readText(installation.get(), corePathValue());
    if (!folder || folder->isEmpty()) {
        *why = QStringLiteral("the installation folder (\"%1\") is not in the registry").arg(corePathValue());
        return std::nullopt;
    }
    if (!folder->startsWith(u'/')) {
        *why = QStringLiteral("the installation folder \"%1\" is not an absolute path").arg(*folder);
        return std::nullopt;
    }
    QByteArray bytes = QFile::encodeName(*folder);
    // Written with its trailing "/"; one missing is added rather than gluing folder and program.
    if (!bytes.endsWith('/'))
        bytes += '/';
    return bytes;
}

} // namespace qb::shellext
