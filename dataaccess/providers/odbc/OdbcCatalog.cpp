#include "dataaccess/providers/odbc/OdbcCatalog.h"

#include "dataaccess/MemoryRowset.h"
#include "dataaccess/providers/odbc/OdbcConnection.h"
#include "dataaccess/providers/odbc/OdbcStatement.h"

#include <QVariant>
#include <sqlext.h>

namespace qb::data::odbc {
namespace {

constexpr uint32_t kNameSize = 128;
constexpr uint32_t kDescriptionSize = 255;

ColumnInfo textColumn(const char* name, uint32_t ordinal, uint32_t size = kNameSize)
{
    return {QString::fromLatin1(name), ordinal, size, DBTYPE_WSTR};
}

// Column `ordinal` of the current catalog row as text, or a null QVariant.
QVariant textAt(OdbcStatement& statement, uint16_t ordinal, QByteArray& buffer)
{
    const OdbcStatement::Value v = statement.read(ordinal, FetchKind::WideText, buffer);
    if (v.isNull)
        return {};
    return QString::fromUtf16(reinterpret_cast<const char16_t*>(buffer.constData()), buffer.size() / 2);
}

QVariant emptyAsNull(const QVariant& v)
{
    return v.isNull() || v.toString().isEmpty() ? QVariant() : v;
}

// SQL_PT_UNKNOWN, SQL_PT_PROCEDURE, SQL_PT_FUNCTION as the schema's unknown / procedure / function.
QVariant procedureTypeOf(const QVariant& odbcType)
{
    bool isNumber = false;
    const int type = odbcType.toString().trimmed().toInt(&isNumber);
    if (!isNumber)
        return {};
    switch (type) {
    case SQL_PT_PROCEDURE:
        return 2;
    case SQL_PT_FUNCTION:
        return 3;
    default:
        return 1;
    }
}

bool isPostgresSystemSchema(const QString& schema)
{
    return schema == u"pg_catalog" || schema == u"information_schema" || schema.startsWith(u"pg_toast") ||
           schema.startsWith(u"pg_temp");
}

} // namespace

std::unique_ptr<Rowset> readTablesSchema(const std::shared_ptr<OdbcConnection>& connection, const QString& tableType)
{
    std::vector<ColumnInfo> columns = {textColumn("TABLE_CATALOG", 1), textColumn("TABLE_SCHEMA", 2),
                                       textColumn("TABLE_NAME", 3), textColumn("TABLE_TYPE", 4),
                                       textColumn("DESCRIPTION", 5, kDescriptionSize)};
    OdbcStatement statement(connection);
    statement.catalogTables(tableType);
    std::vector<MemoryRowset::Row> rows;
    QByteArray buffer;
    while (statement.fetch()) {
        MemoryRowset::Row row;
        // SQLTables: TABLE_CAT, TABLE_SCHEM, TABLE_NAME, TABLE_TYPE, REMARKS.
        for (uint16_t c = 1; c <= 5; ++c)
            row.push_back(textAt(statement, c, buffer));
        row[4] = emptyAsNull(row[4]); // psqlODBC gives an empty REMARKS for "no comment"
        rows.push_back(std::move(row));
    }
    return std::make_unique<MemoryRowset>(std::move(columns), std::move(rows));
}

std::unique_ptr<Rowset> readProceduresSchema(const std::shared_ptr<OdbcConnection>& connection)
{
    std::vector<ColumnInfo> columns = {textColumn("PROCEDURE_CATALOG", 1),
                                       textColumn("PROCEDURE_SCHEMA", 2),
                                       textColumn("PROCEDURE_NAME", 3),
                                       {QStringLiteral("PROCEDURE_TYPE"), 4, 2, DBTYPE_I2},
                                       textColumn("DESCRIPTION", 5, kDescriptionSize),
                                       textColumn("PROCEDURE_DEFINITION", 6, 0)};
    const OdbcDriverInfo& driver = connection->info();
    const bool hideSystem = driver.kind == DriverKind::PostgreSql && !driver.showSystemObjects;
    OdbcStatement statement(connection);
    statement.catalogProcedures();
    std::vector<MemoryRowset::Row> rows;
    QByteArray buffer;
    while (statement.fetch()) {
        // SQLProcedures: PROCEDURE_CAT, PROCEDURE_SCHEM, PROCEDURE_NAME, NUM_INPUT_PARAMS,
        // NUM_OUTPUT_PARAMS, NUM_RESULT_SETS, REMARKS, PROCEDURE_TYPE; read in column order.
        const QVariant catalog = emptyAsNull(textAt(statement, 1, buffer));
        const QVariant schema = textAt(statement, 2, buffer);
        if (hideSystem && isPostgresSystemSchema(schema.toString()))
            continue;
        const QVariant name = textAt(statement, 3, buffer);
        const QVariant remarks = emptyAsNull(textAt(statement, 7, buffer));
        const QVariant type = procedureTypeOf(textAt(statement, 8, buffer));
        rows.push_back({catalog, schema, name, type, remarks, QVariant()});
    }
    return std::make_unique<MemoryRowset>(std::move(columns), std::move(rows));
}

} // namespace qb::data::odbc
