#include "dataaccess/providers/sqlite/SqliteTypeMapping.h"

#include <QByteArray>
#include <QRegularExpression>
#include <sqlite3.h>

namespace qb::data::sqlite {
namespace {

constexpr uint32_t kExpressionTextSize = 256;

// The first number in parentheses, or nullopt.
std::optional<uint32_t> lengthOf(const QByteArray& decl)
{
    static const QRegularExpression re(QStringLiteral("\\(\\s*(\\d+)"));
    const auto m = re.match(QString::fromLatin1(decl));
    if (!m.hasMatch())
        return std::nullopt;
    bool ok = false;
    const qulonglong n = m.captured(1).toULongLong(&ok);
    if (!ok || n > 0x7FFFFFFEull)
        return kLongValueSize; // absurd lengths count as unbounded
    return uint32_t(n);
}

bool startsWord(const QByteArray& decl, const char* word)
{
    if (!decl.startsWith(word))
        return false;
    const qsizetype n = qsizetype(qstrlen(word));
    return decl.size() == n || !(std::isalnum(static_cast<unsigned char>(decl[n])) || decl[n] == '_');
}

} // namespace

std::optional<ColumnType> typeOfDeclaration(const char* declaredType)
{
    if (!declaredType)
        return std::nullopt;
    const QByteArray decl = QByteArray(declaredType).trimmed().toUpper();
    if (decl.isEmpty())
        return std::nullopt;
    const auto length = lengthOf(decl);

    // SQLite's own affinity order: INT first, then text words, then BLOB, then REAL words.
    if (decl.contains("INT"))
        return ColumnType{DBTYPE_I8, 8};
    if (decl.contains("CHAR") || decl.contains("CLOB") || decl.contains("TEXT"))
        return ColumnType{DBTYPE_WSTR, length.value_or(kLongValueSize)};
    if (decl.contains("BINARY") || decl.startsWith("BLOB"))
        return ColumnType{DBTYPE_BYTES, length.value_or(kLongValueSize)};
    if (decl.contains("REAL") || decl.contains("FLOA") || decl.contains("DOUB"))
        return ColumnType{DBTYPE_R8, 8};
    if (startsWord(decl, "NUMERIC") || startsWord(decl, "DECIMAL"))
        return ColumnType{DBTYPE_NUMERIC, length.value_or(38)};
    if (startsWord(decl, "BOOLEAN") || startsWord(decl, "BOOL"))
        return ColumnType{DBTYPE_BOOL, 2};
    if (startsWord(decl, "DATETIME") || startsWord(decl, "TIMESTAMP"))
        return ColumnType{DBTYPE_DBTIMESTAMP, 19};
    if (startsWord(decl, "DATE"))
        return ColumnType{DBTYPE_DBDATE, 10};
    if (startsWord(decl, "TIME"))
        return ColumnType{DBTYPE_DBTIME, 8};
    return std::nullopt;
}

ColumnType typeOfStorageClass(int storageClass)
{
    switch (storageClass) {
    case SQLITE_INTEGER:
        return {DBTYPE_I8, 8};
    case SQLITE_FLOAT:
        return {DBTYPE_R8, 8};
    case SQLITE_BLOB:
        return {DBTYPE_BYTES, kLongValueSize};
    default:
        return {DBTYPE_WSTR, kExpressionTextSize};
    }
}

} // namespace qb::data::sqlite
