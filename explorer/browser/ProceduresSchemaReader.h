#pragma once
// The stored procedures folder: the procedures schema without restrictions. An item shows its
// name, the text of its procedure type, schema, catalog, description and definition.
#include "explorer/browser/SchemaItemReader.h"

namespace qb::browser {

class ProceduresSchemaReader : public SchemaItemReader {
public:
    std::unique_ptr<data::Rowset> open(data::Session& session) const override;
    std::vector<SchemaRow::Column> rowColumns() const override;
    SchemaItem makeItem(const SchemaRow& row) const override;
    std::span<const ListColumnSpec> listColumns() const override;
    int itemImage() const override;

    // The text of a PROCEDURE_TYPE value: 1 unknown, 2 procedure, 3 function; empty otherwise.
    static QString typeText(int procedureType);
};

} // namespace qb::browser
