#pragma once
// The tables and views folders: the tables schema restricted to one object type ("TABLE",
// "VIEW"). An item shows its display name (schema + "." + name when the schema is not empty),
// type, schema, catalog and description.
#include "explorer/browser/SchemaItemReader.h"

#include <QString>

namespace qb::browser {

class TablesSchemaReader : public SchemaItemReader {
public:
    TablesSchemaReader(QString objectType, int itemImage);

    std::unique_ptr<data::Rowset> open(data::Session& session) const override;
    std::vector<SchemaRow::Column> rowColumns() const override;
    SchemaItem makeItem(const SchemaRow& row) const override;
    std::span<const ListColumnSpec> listColumns() const override;
    int itemImage() const override { return m_itemImage; }

private:
    QString m_objectType;
    int m_itemImage;
};

} // namespace qb::browser
