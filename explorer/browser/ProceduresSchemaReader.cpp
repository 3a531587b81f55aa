#include "explorer/browser/ProceduresSchemaReader.h"

#include "explorer/browser/BrowserTexts.h"
#include "explorer/browser/ElementId.h"
#include "platform/StringTable.h"

namespace qb::browser {

namespace {

enum Column : size_t { Catalog, Schema, Name, Type, Description, Definition };

constexpr ListColumnSpec kListColumns[] = {
    {kTextProcName, 150},        {kTextProcType},          {kTextProcSchema, 150},
    {kTextProcCatalog},          {kTextProcDescription, 150}, {kTextProcDefinition},
};

} // namespace

std::unique_ptr<data::Rowset> ProceduresSchemaReader::open(data::Session& session) const
{
    return session.proceduresSchema();
}

std::vector<SchemaRow::Column> ProceduresSchemaReader::rowColumns() const
{
    using K = SchemaRow::Kind;
    return {{"PROCEDURE_CATALOG", K::Text}, {"PROCEDURE_SCHEMA", K::Text}, {"PROCEDURE_NAME", K::Text},
            {"PROCEDURE_TYPE", K::Number},  {"DESCRIPTION", K::Text},      {"PROCEDURE_DEFINITION", K::Text}};
}

SchemaItem ProceduresSchemaReader::makeItem(const SchemaRow& row) const
{
    SchemaItem item;
    item.object = {row.text(Schema), row.text(Name)};
    item.fields = {row.text(Name),    typeText(row.number(Type)), row.text(Schema),
                   row.text(Catalog), row.text(Description),      row.text(Definition)};
    return item;
}

std::span<const ListColumnSpec> ProceduresSchemaReader::listColumns() const
{
    return kListColumns;
}

int ProceduresSchemaReader::itemImage() const
{
    return kProcedureImage;
}

QString ProceduresSchemaReader::typeText(int procedureType)
{
    switch (procedureType) {
    case 1:
        return loadString(kTextProcTypeUnknown);
    case 2:
        return loadString(kTextProcTypeProcedure);
    case 3:
        return loadString(kTextProcTypeFunction);
    default:
        return {};
    }
}

} // namespace qb::browser
