#include "shellext/ServerRegistration.h"

#include "platform/Registry.h"
#include "shellext/ActionFiles.h"
#include "shellext/ContextMenu.h"
#include "shellext/RegistryText.h"
#include "shellext/ShellExtKeys.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <dlfcn.h>

namespace qb::shellext {

namespace {

struct ClassValue {
    QString key;
    QString name; // empty: the key's default value
    QString text;
};

// The keys and values registration writes below HKEY_CLASSES_ROOT, in the order written.
std::vector<ClassValue> classValues(const QString& modulePath)
{
    const QString classKey = QStringLiteral("CLSID\\") + classId();
    return {
        {progId(), {}, className()},
        {progId() + QStringLiteral("\\CLSID"), {}, classId()},
        {versionIndependentProgId(), {}, className()},
        {versionIndependentProgId() + QStringLiteral("\\CLSID"), {}, classId()},
        {versionIndependentProgId() + QStringLiteral("\\CurVer"), {}, progId()},
        {classKey, {}, className()},
        {classKey + QStringLiteral("\\ProgID"), {}, progId()},
        {classKey + QStringLiteral("\\VersionIndependentProgID"), {}, versionIndependentProgId()},
        {classKey + QStringLiteral("\\InprocServer32"), {}, modulePath},
        {classKey + QStringLiteral("\\InprocServer32"), QStringLiteral("ThreadingModel"), QStringLiteral("Apartment")},
        {classKey + QStringLiteral("\\TypeLib"), {}, typeLibraryId()},
        {QStringLiteral("TypeLib\\") + typeLibraryId() + QStringLiteral("\\1.0"), {}, typeLibraryName()},
        {QStringLiteral("*\\shellex\\ContextMenuHandlers\\") + className(), {}, classId()},
    };
}

// The keys unregistration removes whole; their parents stay.
QStringList removedKeys()
{
    return {
        progId(),
        versionIndependentProgId(),
        QStringLiteral("CLSID\\") + classId(),
        QStringLiteral("TypeLib\\") + typeLibraryId(),
        QStringLiteral("*\\shellex\\ContextMenuHandlers\\") + className(),
    };
}

long writeClassValue(const ClassValue& value)
{
    reg::KeyGuard key;
    const long rc = reg::RegCreateKeyEx(reg::HKEY_CLASSES_ROOT, value.key, key.out());
    return rc != reg::ERROR_SUCCESS ? rc : writeText(key.get(), value.name, value.text);
}

QString registryFailure(const QString& what, long rc)
{
    return QStringLiteral("cannot %1 in HKEY_CLASSES_ROOT (registry error %2)").arg(what).arg(rc);
}

int32_t removeClassKeys(QString* why)
{
    for (const QString& key : removedKeys()) {
        const long rc = reg::RegDeleteTree(reg::HKEY_CLASSES_ROOT, key);
        if (rc == reg::ERROR_SUCCESS || rc == reg::ERROR_FILE_NOT_FOUND)
            continue;
        *why = registryFailure(QStringLiteral("remove %1").arg(key), rc);
        return rc == reg::ERROR_ACCESS_DENIED ? kAccessDenied : kFail;
    }
    return kOk;
}

} // namespace

RegistrationPlaces installedPlaces()
{
    Dl_info info{};
    QString module;
    if (::dladdr(reinterpret_cast<void*>(&installedPlaces), &info) && info.dli_fname)
        module = QFileInfo(QFile::decodeName(info.dli_fname)).canonicalFilePath();
    const QDir folder = QFileInfo(module).absoluteDir();
    const QString share = QDir::cleanPath(folder.absoluteFilePath(QStringLiteral("../share")));
    return {module, folder.absoluteFilePath(QStringLiteral("paskel")), share + QStringLiteral("/quillbase/paskel"), share};
}

int32_t registerServer(const RegistrationPlaces& places, QString* why)
{
    for (const ClassValue& value : classValues(places.modulePath)) {
        const long rc = writeClassValue(value);
        if (rc == reg::ERROR_SUCCESS)
            continue;
        *why = registryFailure(QStringLiteral("write %1").arg(value.key), rc);
        // Denied at the first key means nothing was written; later it takes back what was.
        QString ignored;
        removeClassKeys(&ignored);
        return rc == reg::ERROR_ACCESS_DENIED ? kAccessDenied : kFail;
    }
    const QString failure = writeActionFiles(places.templateFolder, places.dataFolder, places.command);
    if (!failure.isEmpty()) {
        *why = failure;
        QString ignored;
        unregisterServer(places, &ignored);
        return kFail;
    }
    return kOk;
}

int32_t unregisterServer(const RegistrationPlaces& places, QString* why)
{
    const int32_t result = removeClassKeys(why);
    if (result != kOk)
        return result;
    const QString failure = removeActionFiles(places.dataFolder);
    if (!failure.isEmpty()) {
        *why = failure;
        return kFail;
    }
    return kOk;
}

} // namespace qb::shellext
