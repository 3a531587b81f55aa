#include "platform/RegistryPaths.h"

#include "platform/ExecutableFolder.h"

#include <QDir>
#include <pwd.h>
#include <unistd.h>

namespace qb::reg::detail {

namespace {

// Made absolute at each call: a relative folder means another hive once the current folder changes.
QString overrideFolder()
{
    const QString folder = qEnvironmentVariable("QUILLBASE_REGISTRY_DIR");
    return folder.isEmpty() ? folder : QDir(folder).absolutePath();
}

QString homeFolder()
{
    QString home = qEnvironmentVariable("HOME");
    if (home.isEmpty()) {
        if (const passwd* entry = getpwuid(getuid()))
            home = QString::fromLocal8Bit(entry->pw_dir);
    }
    return home;
}

// The executable does not move while it runs, so its prefix is looked up once.
QString installationPrefix()
{
    static const QString prefix = [] {
        QDir dir(executableFolder());
        dir.cdUp();
        return dir.absolutePath();
    }();
    return prefix;
}

} // namespace

QString userHiveFolder()
{
    const QString moved = overrideFolder();
    if (!moved.isEmpty())
        return moved;
    // A relative XDG_CONFIG_HOME is invalid and to be ignored.
    QString config = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (config.isEmpty() || QDir::isRelativePath(config))
        config = homeFolder() + QStringLiteral("/.config");
    return config + QStringLiteral("/quillbase/registry");
}

QString machineHiveFolder()
{
    const QString moved = overrideFolder();
    if (!moved.isEmpty())
        return moved;
    const QString prefix = installationPrefix();
    const QString etc = prefix == QLatin1String("/usr") ? QStringLiteral("/etc") : QDir(prefix).filePath(QStringLiteral("etc"));
    return etc + QStringLiteral("/quillbase/registry");
}

} // namespace qb::reg::detail
