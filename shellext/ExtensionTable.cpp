#include "shellext/ExtensionTable.h"

#include "platform/Registry.h"
#include "shellext/RegistryText.h"
#include "shellext/ShellExtKeys.h"

namespace qb::shellext {

std::optional<std::vector<ExtensionEntry>> readExtensionTable()
{
    reg::KeyGuard table;
    if (reg::RegOpenKeyEx(reg::HKEY_LOCAL_MACHINE, extensionTableKey(), table.out()) != reg::ERROR_SUCCESS)
        return std::nullopt;
    std::vector<ExtensionEntry> entries;
    QString name;
    long rc;
    for (uint32_t index = 0; (rc = reg::RegEnumKeyEx(table.get(), index, &name)) == reg::ERROR_SUCCESS; ++index) {
        reg::KeyGuard entry;
        if (reg::RegOpenKeyEx(table.get(), name, entry.out()) != reg::ERROR_SUCCESS)
            continue;
        if (std::optional<QString> argumentTemplate = readText(entry.get(), argumentTemplateValue()))
            entries.push_back({name, *argumentTemplate});
    }
    // A table read only in part would give a menu that depends on where the reading broke off.
    if (rc != reg::ERROR_NO_MORE_ITEMS)
        return std::nullopt;
    return entries;
}

const ExtensionEntry* findEntry(const std::vector<ExtensionEntry>& table, const QString& extension)
{
    for (const ExtensionEntry& entry : table)
        if (entry.extension.compare(extension, Qt::CaseInsensitive) == 0)
            return &entry;
    return nullptr;
}

} // namespace qb::shellext
