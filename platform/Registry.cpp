// The registry calls: handles, the predefined roots and the hive each stands for, and the argument
// checks every call makes before it touches a hive. The storage itself is RegistryHive's.
//
// This process keeps one connection per hive file. A predefined root finds its hive at each call
// (QUILLBASE_REGISTRY_DIR may have changed, and then a new file is opened); a handle opened from
// it stays with the hive it was opened in.
#include "platform/Registry.h"

#include "platform/RegistryHive.h"
#include "platform/RegistryHiveFile.h"
#include "platform/RegistryNames.h"
#include "platform/RegistryPaths.h"

#include <QtGlobal>

#include <cstring>
#include <mutex>
#include <unordered_map>

namespace qb::reg {

struct KeyObject {
    int root = -1; // index into the predefined roots; -1 for an opened key
    std::shared_ptr<detail::RegistryHive> hive;
    int64_t id = detail::RegistryHive::rootKey;
};

namespace {

using detail::RegistryHive;

enum Root { ClassesRoot, CurrentUser, LocalMachine, Users, PerformanceData, CurrentConfig, DynData, RootCount };

// Only their addresses and indexes matter: each call finds the hive of its root anew.
KeyObject predefined[RootCount] = {
    {ClassesRoot, nullptr, RegistryHive::rootKey},
    {CurrentUser, nullptr, RegistryHive::rootKey},
    {LocalMachine, nullptr, RegistryHive::rootKey},
    {Users, nullptr, RegistryHive::rootKey},
    {PerformanceData, nullptr, RegistryHive::rootKey},
    {CurrentConfig, nullptr, RegistryHive::rootKey},
    {DynData, nullptr, RegistryHive::rootKey},
};

const char* const rootNames[RootCount] = {
    "HKEY_CLASSES_ROOT", "HKEY_CURRENT_USER", "HKEY_LOCAL_MACHINE", "HKEY_USERS",
    "HKEY_PERFORMANCE_DATA", "HKEY_CURRENT_CONFIG", "HKEY_DYN_DATA",
};

int predefinedIndex(HKEY key)
{
    for (int i = 0; i < RootCount; ++i)
        if (key == &predefined[i])
            return i;
    return -1;
}

// Empty for the roots that hold nothing.
QString hiveFileOf(int root)
{
    QString folder;
    if (root == CurrentUser)
        folder = detail::userHiveFolder();
    else if (root == LocalMachine || root == ClassesRoot)
        folder = detail::machineHiveFolder();
    else
        return {};
    return folder + QLatin1Char('/') + QLatin1String(rootNames[root]) + QStringLiteral(".hive");
}

class RegistryState {
public:
    std::shared_ptr<RegistryHive> hiveOf(int root)
    {
        const QString file = hiveFileOf(root);
        if (file.isEmpty())
            return m_nothing;
        std::optional<HiveReport> report;
        std::shared_ptr<RegistryHive> hive;
        {
            std::lock_guard lock(m_hiveMutex);
            OpenHive& slot = m_hives[root];
            if (slot.hive && slot.file == file)
                return slot.hive;
            detail::HiveFileSetup setup;
            setup.rootName = QLatin1String(rootNames[root]);
            setup.folder = file.left(file.lastIndexOf(QLatin1Char('/')));
            setup.file = file;
            setup.writeAheadLog = root == CurrentUser;
            setup.privateFile = root == CurrentUser;
            detail::HiveOpening opening = detail::openHiveFile(setup);
            slot = opening.keep ? OpenHive{file, opening.hive} : OpenHive{};
            hive = opening.hive;
            report = opening.report;
        }
        if (report)
            deliver(*report);
        return hive;
    }

    // Ends the connections this process keeps, so that the write-ahead logs are folded back into
    // the hive files at exit. Handles still open answer ERROR_INVALID_HANDLE from then on.
    void closeHives()
    {
        std::lock_guard lock(m_hiveMutex);
        for (OpenHive& slot : m_hives) {
            if (slot.hive)
                slot.hive->close();
            slot = {};
        }
    }

    HKEY addHandle(std::shared_ptr<RegistryHive> hive, int64_t id)
    {
        auto key = std::make_shared<KeyObject>(KeyObject{-1, std::move(hive), id});
        std::lock_guard lock(m_handleMutex);
        m_handles.emplace(key.get(), key);
        return key.get();
    }

    // A copy, so that a handle closed by another thread meanwhile stays usable for this call.
    std::shared_ptr<KeyObject> findHandle(HKEY key)
    {
        std::lock_guard lock(m_handleMutex);
        auto it = m_handles.find(key);
        return it == m_handles.end() ? nullptr : it->second;
    }

    bool removeHandle(HKEY key)
    {
        std::lock_guard lock(m_handleMutex);
        return m_handles.erase(key) == 1;
    }

    std::optional<HiveReport> lastReport()
    {
        std::lock_guard lock(m_reportMutex);
        return m_lastReport;
    }

    void setReportHandler(std::function<void(const HiveReport&)> handler)
    {
        std::lock_guard lock(m_reportMutex);
        m_reportHandler = std::move(handler);
    }

private:
    struct OpenHive {
        QString file;
        std::shared_ptr<RegistryHive> hive;
    };

    void deliver(const HiveReport& report)
    {
        std::function<void(const HiveReport&)> handler;
        {
            std::lock_guard lock(m_reportMutex);
            m_lastReport = report;
            handler = m_reportHandler;
        }
        if (report.setAsideAs.isEmpty())
            qWarning("registry: the hive %s cannot be used: %s; going on with an empty %s",
                     qPrintable(report.file), qPrintable(report.reason), qPrintable(report.rootName));
        else
            qWarning("registry: the hive %s cannot be used: %s; it was set aside as %s and %s starts empty",
                     qPrintable(report.file), qPrintable(report.reason), qPrintable(report.setAsideAs), qPrintable(report.rootName));
        if (handler)
            handler(report);
    }

    const std::shared_ptr<RegistryHive> m_nothing = RegistryHive::makeEmpty({});
    std::mutex m_hiveMutex;
    OpenHive m_hives[RootCount];
    std::mutex m_handleMutex;
    std::unordered_map<KeyObject*, std::shared_ptr<KeyObject>> m_handles;
    std::mutex m_reportMutex;
    std::optional<HiveReport> m_lastReport;
    std::function<void(const HiveReport&)> m_reportHandler;
};

// Never destroyed: code that runs at exit (static destructors elsewhere) may still close handles.
RegistryState& state()
{
    static RegistryState* const instance = new RegistryState;
    return *instance;
}

struct HivesClosedAtExit {
    ~HivesClosedAtExit() { state().closeHives(); }
} hivesClosedAtExit;

struct Key {
    std::shared_ptr<RegistryHive> hive;
    int64_t id = 0;
};

bool resolve(HKEY handle, Key* key)
{
    if (!handle)
        return false;
    const int root = predefinedIndex(handle);
    if (root >= 0) {
        *key = {state().hiveOf(root), RegistryHive::rootKey};
        return true;
    }
    const std::shared_ptr<KeyObject> object = state().findHandle(handle);
    if (!object)
        return false;
    *key = {object->hive, object->id};
    return true;
}

// How a value's bytes reach a caller: a null buffer asks for the size only; a buffer too small
// gets nothing but the size needed, so the caller can retry with the right size.
long deliverValue(const detail::StoredValue& value, uint32_t* type, void* data, uint32_t* size)
{
    if (type)
        *type = value.type;
    const auto needed = uint32_t(value.data.size());
    if (data) {
        if (*size < needed) {
            *size = needed;
            return ERROR_MORE_DATA;
        }
        if (needed)
            std::memcpy(data, value.data.constData(), needed);
    }
    if (size)
        *size = needed;
    return ERROR_SUCCESS;
}

} // namespace

HKEY const HKEY_CLASSES_ROOT = &predefined[ClassesRoot];
HKEY const HKEY_CURRENT_USER = &predefined[CurrentUser];
HKEY const HKEY_LOCAL_MACHINE = &predefined[LocalMachine];
HKEY const HKEY_USERS = &predefined[Users];
HKEY const HKEY_PERFORMANCE_DATA = &predefined[PerformanceData];
HKEY const HKEY_CURRENT_CONFIG = &predefined[CurrentConfig];
HKEY const HKEY_DYN_DATA = &predefined[DynData];

QString rootName(HKEY root)
{
    const int index = predefinedIndex(root);
    return index < 0 ? QString() : QLatin1String(rootNames[index]);
}

HKEY rootByName(const QString& name)
{
    for (int i = 0; i < RootCount; ++i)
        if (name.compare(QLatin1String(rootNames[i]), Qt::CaseInsensitive) == 0)
            return &predefined[i];
    return nullptr;
}

QString hiveFilePath(HKEY root)
{
    const int index = predefinedIndex(root);
    return index < 0 ? QString() : hiveFileOf(index);
}

std::optional<HiveReport> lastHiveReport()
{
    return state().lastReport();
}

void setHiveReportHandler(std::function<void(const HiveReport&)> handler)
{
    state().setReportHandler(std::move(handler));
}

bool isValidKeyPath(const QString& path)
{
    QStringList names;
    return detail::splitKeyPath(path, &names);
}

bool isValidValueName(const QString& name)
{
    return detail::isStorableValueName(name);
}

long RegCreateKeyEx(HKEY parent, const QString& subKey, HKEY* result, uint32_t* disposition)
{
    QStringList names;
    if (!result || !detail::splitKeyPath(subKey, &names))
        return ERROR_INVALID_PARAMETER;
    Key key;
    if (!resolve(parent, &key))
        return ERROR_INVALID_HANDLE;
    int64_t id = 0;
    bool created = false;
    const long rc = key.hive->createKey(key.id, names, &id, &created);
    if (rc != ERROR_SUCCESS)
        return rc;
    *result = state().addHandle(key.hive, id);
    if (disposition)
        *disposition = created ? REG_CREATED_NEW_KEY : REG_OPENED_EXISTING_KEY;
    return ERROR_SUCCESS;
}

long RegOpenKeyEx(HKEY parent, const QString& subKey, HKEY* result)
{
    QStringList names;
    if (!result || !detail::splitKeyPath(subKey, &names))
        return ERROR_INVALID_PARAMETER;
    Key key;
    if (!resolve(parent, &key))
        return ERROR_INVALID_HANDLE;
    int64_t id = 0;
    const long rc = key.hive->openKey(key.id, names, &id);
    if (rc != ERROR_SUCCESS)
        return rc;
    *result = state().addHandle(key.hive, id);
    return ERROR_SUCCESS;
}

long RegCloseKey(HKEY key)
{
    if (predefinedIndex(key) >= 0)
        return ERROR_SUCCESS; // the predefined roots are never closed
    return key && state().removeHandle(key) ? ERROR_SUCCESS : ERROR_INVALID_HANDLE;
}

long RegSetValueEx(HKEY key, const QString& name, uint32_t type, const void* data, uint32_t size)
{
    if (!detail::isStorableValueName(name) || (!data && size))
        return ERROR_INVALID_PARAMETER;
    Key target;
    if (!resolve(key, &target))
        return ERROR_INVALID_HANDLE;
    return target.hive->setValue(target.id, name, type, data, size);
}

long RegQueryValueEx(HKEY key, const QString& name, uint32_t* type, void* data, uint32_t* size)
{
    if (!detail::isStorableValueName(name) || (data && !size))
        return ERROR_INVALID_PARAMETER;
    Key target;
    if (!resolve(key, &target))
        return ERROR_INVALID_HANDLE;
    detail::StoredValue value;
    const long rc = target.hive->queryValue(target.id, name, &value);
    return rc == ERROR_SUCCESS ? deliverValue(value, type, data, size) : rc;
}

long RegDeleteValue(HKEY key, const QString& name)
{
    if (!detail::isStorableValueName(name))
        return ERROR_INVALID_PARAMETER;
    Key target;
    if (!resolve(key, &target))
        return ERROR_INVALID_HANDLE;
    return target.hive->deleteValue(target.id, name);
}

long RegEnumKeyEx(HKEY key, uint32_t index, QString* name)
{
    Key target;
    if (!resolve(key, &target))
        return ERROR_INVALID_HANDLE;
    QString found;
    const long rc = target.hive->enumKey(target.id, index, &found);
    if (rc == ERROR_SUCCESS && name)
        *name = found;
    return rc;
}

long RegEnumValue(HKEY key, uint32_t index, QString* name, uint32_t* type, void* data, uint32_t* size)
{
    if (data && !size)
        return ERROR_INVALID_PARAMETER;
    Key target;
    if (!resolve(key, &target))
        return ERROR_INVALID_HANDLE;
    detail::StoredValue value;
    const long rc = target.hive->enumValue(target.id, index, &value);
    if (rc != ERROR_SUCCESS)
        return rc;
    if (name)
        *name = value.name;
    return deliverValue(value, type, data, size);
}

long RegQueryInfoKey(HKEY key, KeyInfo* info)
{
    if (!info)
        return ERROR_INVALID_PARAMETER;
    Key target;
    if (!resolve(key, &target))
        return ERROR_INVALID_HANDLE;
    return target.hive->queryInfo(target.id, info);
}

long RegDeleteTree(HKEY key, const QString& subKey)
{
    QStringList names;
    if (!detail::splitKeyPath(subKey, &names))
        return ERROR_INVALID_PARAMETER;
    Key target;
    if (!resolve(key, &target))
        return ERROR_INVALID_HANDLE;
    return target.hive->deleteTree(target.id, names);
}

} // namespace qb::reg
