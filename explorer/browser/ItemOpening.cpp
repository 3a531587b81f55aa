#include "explorer/browser/ItemOpening.h"

#include "explorer/browser/xElementSchemaT.h"

namespace qb::browser {

namespace {

// The object an item of the tables or views folder opens. For a text the folder does not hold
// (a stale list) the display name is read back: schema, a full stop, and the name.
data::ObjectName objectOfItem(const ElementSet& elements, int folderId, const QString& itemText)
{
    if (const xElementSchemaT* folder = elements.folder(folderId))
        if (const std::optional<SchemaItem> item = folder->findItem(itemText))
            return item->object;
    const qsizetype dot = itemText.indexOf(QLatin1Char('.'));
    if (dot <= 0)
        return {QString(), itemText};
    return {itemText.left(dot), itemText.mid(dot + 1)};
}

int folderWithCaption(const ElementCaptions& captions, const QString& text)
{
    if (text == captions.tables)
        return kTablesFolder;
    if (text == captions.procedures)
        return kProceduresFolder;
    if (text == captions.views)
        return kViewsFolder;
    return kNoElement;
}

ShowOrder tableOrder(const ElementSet& elements, int folderId, const QString& itemText)
{
    ShowOrder order;
    order.jobCode = folderId == kTablesFolder ? kTableElement : kViewElement;
    order.object = objectOfItem(elements, folderId, itemText);
    return order;
}

} // namespace

ShowOrder orderForOpenedItem(const ElementSet& elements, int current, const QString& itemText)
{
    switch (current) {
    case kDatabaseElement:
        return ShowOrder{folderWithCaption(elements.captions(), itemText), std::nullopt, std::nullopt};
    case kTablesFolder:
    case kViewsFolder:
        return tableOrder(elements, current, itemText);
    default:
        return {};
    }
}

int elementForTreeNode(const ElementCaptions& captions, const QString& nodeText,
                       const std::optional<QString>& parentText)
{
    if (!parentText)
        return nodeText == captions.database ? kDatabaseElement : kNoElement;
    if (*parentText == captions.database)
        return folderWithCaption(captions, nodeText);
    if (*parentText == captions.tables)
        return kTableElement;
    if (*parentText == captions.views)
        return kViewElement;
    return kNoElement;
}

ShowOrder orderForTreeNode(const ElementSet& elements, const QString& nodeText,
                           const std::optional<QString>& parentText)
{
    const int id = elementForTreeNode(elements.captions(), nodeText, parentText);
    if (isTableKind(id))
        return tableOrder(elements, id == kTableElement ? kTablesFolder : kViewsFolder, nodeText);
    return ShowOrder{id, std::nullopt, std::nullopt};
}

} // namespace qb::browser
