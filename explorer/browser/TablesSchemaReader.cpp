#include "explorer/browser/TablesSchemaReader.h"

#include "explorer/browser/BrowserTexts.h"

namespace qb::browser {

namespace {

enum Column : size_t { Catalog, Schema, Name, Type, Description };

constexpr ListColumnSpec kListColumns[] = {
    {kTextTableName, 150}, {kTextType}, {kTextSchema, 150}, {kTextCatalog}, {kTextDescription, 150},
};

} // namespace

TablesSchemaReader::TablesSchemaReader(QString objectType, int itemImage)
    : m_objectType(std::move(objectType)), m_itemImage(itemImage)
{
}

std::unique_ptr<data::Rowset> TablesSchemaReader::open(data::Session& session) const
{
    return session.tablesSchema(m_objectType);
}

std::vector<SchemaRow::Column> TablesSchemaReader::rowColumns() const
{
    using K = SchemaRow::Kind;
    return {{"TABLE_CATALOG", K::Text}, {"TABLE_SCHEMA", K::Text}, {"TABLE_NAME", K::Text},
            {"TABLE_TYPE", K::Text}, {"DESCRIPTION", K::Text}};
}

SchemaItem TablesSchemaReader::makeItem(const SchemaRow& row) const
{
    SchemaItem item;
    item.object = {row.text(Schema), row.text(Name)};
    item.fields = {item.object.displayName(), row.text(Type), row.text(Schema), row.text(Catalog),
                   row.text(Description)};
    return item;
}

std::span<const ListColumnSpec> TablesSchemaReader::listColumns() const
{
    return kListColumns;
}

} // namespace qb::browser
