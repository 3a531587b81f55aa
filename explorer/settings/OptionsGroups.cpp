#include "explorer/settings/OptionsGroups.h"

namespace qb::settings {

OptionsGroups::OptionsGroups(const QString& rootPath)
    : m_general(rootPath), m_dataList(rootPath), m_dataTree(rootPath), m_reportWindow(rootPath)
{
    // Each group already holds its defaults; a group whose key cannot be opened keeps them.
    m_general.loadSave(SettingsGroup::Read);
    m_dataList.loadSave(SettingsGroup::Read);
    m_dataTree.loadSave(SettingsGroup::Read);
    m_reportWindow.loadSave(SettingsGroup::Read);
}

OptionsGroups::~OptionsGroups()
{
    writeChanged();
}

long OptionsGroups::writeAll()
{
    return write(false);
}

long OptionsGroups::writeChanged()
{
    return write(true);
}

long OptionsGroups::write(bool onlyChanged)
{
    long first = 0;
    for (SettingsGroup* group : {static_cast<SettingsGroup*>(&m_general), static_cast<SettingsGroup*>(&m_dataList),
                                 static_cast<SettingsGroup*>(&m_dataTree), static_cast<SettingsGroup*>(&m_reportWindow)}) {
        if (onlyChanged && !group->changed())
            continue;
        const long rc = group->loadSave(SettingsGroup::Write);
        if (first == 0)
            first = rc;
    }
    return first;
}

} // namespace qb::settings
