#include "explorer/settings/ElementListStyles.h"

namespace qb::settings {

ElementListStyles::ElementListStyles(int slot, QString rootPath) : SettingsGroup(std::move(rootPath)), m_slot(slot)
{
    loadSave(SetDefaults);
}

void ElementListStyles::describe(SettingsVisitor& visitor)
{
    visitor.key(elementListKey(m_slot));
    visitor.number(QStringLiteral("ListViewStyles"), m_listViewStyles, 0);
    visitor.number(QStringLiteral("m_dwListViewStylesEx"), m_listViewStylesEx, 0);
}

} // namespace qb::settings
