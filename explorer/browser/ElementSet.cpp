#include "explorer/browser/ElementSet.h"

#include "explorer/browser/BrowserTexts.h"
#include "explorer/browser/ProceduresSchemaReader.h"
#include "explorer/browser/TablesSchemaReader.h"
#include "explorer/browser/xElementSchemaT.h"
#include "explorer/browser/xElement_DB.h"
#include "explorer/browser/xElement_Table.h"
#include "explorer/settings/ElementListStyles.h"

namespace qb::browser {

ElementSet::ElementSet(ReportSink& sink, SessionSource session, const QString& settingsRoot)
{
    using Kind = xElement::Kind;
    m_slots[kDatabaseElement] = std::make_unique<xElement_DB>(sink);
    m_slots[kTablesFolder] = std::make_unique<xElementSchemaT>(
        Kind{kTablesFolder, kTextTables, kTablesFolderImage, kDatabaseElement, kTableElement}, sink, session,
        std::make_unique<TablesSchemaReader>(QStringLiteral("TABLE"), kTableImage));
    m_slots[kProceduresFolder] = std::make_unique<xElementSchemaT>(
        Kind{kProceduresFolder, kTextStoreProcedures, kProceduresFolderImage, kDatabaseElement, kNoRelative}, sink,
        session, std::make_unique<ProceduresSchemaReader>());
    m_slots[kViewsFolder] = std::make_unique<xElementSchemaT>(
        Kind{kViewsFolder, kTextTableViews, kViewsFolderImage, kDatabaseElement, kViewElement}, sink, session,
        std::make_unique<TablesSchemaReader>(QStringLiteral("VIEW"), kViewImage));
    m_slots[kTableElement] = std::make_unique<xElement_Table>(
        Kind{kTableElement, kTextTable, kTableImage, kTablesFolder, kNoRelative}, sink, session);
    m_slots[kViewElement] = std::make_unique<xElement_Table>(
        Kind{kViewElement, kTextView, kViewImage, kViewsFolder, kNoRelative}, sink, session);

    for (int id = kDatabaseElement; id <= kViewElement; ++id)
        m_listStyles[id] = std::make_unique<settings::ElementListStyles>(id, settingsRoot);
    // A registry that cannot be read leaves every kind on the window's current style.
    readListStyles();
}

ElementSet::~ElementSet() = default;

xElement* ElementSet::element(int id) const
{
    return isElementId(id) ? m_slots[static_cast<size_t>(id)].get() : nullptr;
}

xElement_DB& ElementSet::database() const
{
    return static_cast<xElement_DB&>(*m_slots[kDatabaseElement]);
}

xElementSchemaT* ElementSet::folder(int id) const
{
    if (id != kTablesFolder && id != kProceduresFolder && id != kViewsFolder)
        return nullptr;
    return static_cast<xElementSchemaT*>(m_slots[static_cast<size_t>(id)].get());
}

xElement_Table* ElementSet::table(int id) const
{
    return isTableKind(id) ? static_cast<xElement_Table*>(m_slots[static_cast<size_t>(id)].get()) : nullptr;
}

ElementCaptions ElementSet::captions() const
{
    return {element(kDatabaseElement)->caption(), element(kTablesFolder)->caption(),
            element(kProceduresFolder)->caption(), element(kViewsFolder)->caption()};
}

void ElementSet::clearLoaded()
{
    // Unloaded elements are cleared too: a load still running for the closed connection must not
    // publish its rows afterwards.
    for (int id = kDatabaseElement; id <= kViewElement; ++id)
        element(id)->clear();
}

settings::ElementListStyles* ElementSet::listStyles(int id) const
{
    return isElementId(id) ? m_listStyles[static_cast<size_t>(id)].get() : nullptr;
}

long ElementSet::eachListStyles(int mode)
{
    for (int id = kDatabaseElement; id <= kViewElement; ++id)
        if (const long rc = m_listStyles[static_cast<size_t>(id)]->loadSave(mode); rc != 0)
            return rc;
    return 0;
}

long ElementSet::readListStyles()
{
    return eachListStyles(settings::SettingsGroup::Read);
}

long ElementSet::writeListStyles()
{
    return eachListStyles(settings::SettingsGroup::Write);
}

void ElementSet::resetListStyles()
{
    eachListStyles(settings::SettingsGroup::SetDefaults);
}

} // namespace qb::browser
