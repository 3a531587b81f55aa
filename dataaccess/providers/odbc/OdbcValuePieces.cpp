#include "dataaccess/providers/odbc/OdbcValuePieces.h"

#include "dataaccess/ObjectName.h"
#include "dataaccess/providers/odbc/OdbcConnection.h"
#include "dataaccess/providers/odbc/OdbcSession.h"

#include <QByteArray>
#include <QRegularExpression>

#include <algorithm>
#include <cstddef>
#include <cstring>

namespace qb::data::odbc {
namespace {

QString sqlLiteral(const QString& text)
{
    QString quoted = text;
    quoted.replace(QLatin1Char('\''), QStringLiteral("''"));
    return QLatin1Char('\'') + quoted + QLatin1Char('\'');
}

// Column 1 of a row as a binding writes it: its value, length and status.
template <class Value>
struct FirstColumn {
    Value value;
    uint32_t length;
    uint32_t status;
};

template <class Value>
void bindFirstColumn(Rowset& rowset, DBTYPE type)
{
    Binding b;
    b.ordinal = 1;
    b.type = type;
    b.maxLength = sizeof(Value);
    b.valueOffset = offsetof(FirstColumn<Value>, value);
    b.lengthOffset = offsetof(FirstColumn<Value>, length);
    b.statusOffset = offsetof(FirstColumn<Value>, status);
    rowset.setBindings({b});
}

// The text of the first column of the `skip`-th row (from 0) the statement returns; nullopt when
// it returns fewer rows. A NULL gives an empty text.
std::optional<QString> textAt(Session& session, const QString& sql, uint64_t skip)
{
    using Text = char16_t[128];
    FirstColumn<Text> row{};
    std::unique_ptr<Rowset> rowset = session.execute(sql);
    if (!rowset)
        return std::nullopt;
    bindFirstColumn<Text>(*rowset, DBTYPE_WSTR);
    if (!rowset->next(skip))
        return std::nullopt;
    rowset->getData(reinterpret_cast<std::byte*>(&row));
    if (row.status == DBSTATUS_S_ISNULL)
        return QString();
    if (row.status != DBSTATUS_S_OK)
        throw ProviderError(E_UNEXPECTED, QStringLiteral("The row locator cannot be read."));
    return QString::fromUtf16(row.value);
}

// The statement of one piece: `head` + first unit (from 1) + " for " + units + `tail`.
struct PieceStatement {
    QString head;
    QString tail;
    QString sql(uint64_t first, uint64_t units) const
    {
        return head + QString::number(first) + QStringLiteral(" for ") + QString::number(units) + tail;
    }
};

class PieceStream final : public SequentialStream {
public:
    // `wide`: the pieces count characters and arrive as UTF-16, else they count bytes.
    PieceStream(std::shared_ptr<OdbcConnection> connection, PieceStatement statement, bool wide, uint64_t pieceUnits)
        : m_session(std::move(connection)), m_statement(std::move(statement)), m_wide(wide), m_pieceUnits(pieceUnits)
    {
    }

    // Reads the first piece: false when the value is NULL.
    bool prime() { return fetch(); }

    size_t read(void* buffer, size_t size) override
    {
        auto* out = static_cast<char*>(buffer);
        size_t done = 0;
        while (done < size) {
            if (m_used == size_t(m_piece.size()) && (m_end || !fetch() || m_piece.isEmpty()))
                break;
            const size_t n = std::min(size - done, size_t(m_piece.size()) - m_used);
            std::memcpy(out + done, m_piece.constData() + m_used, n);
            m_used += n;
            done += n;
        }
        return done;
    }

private:
    // The next piece into m_piece; false for NULL. A piece shorter than asked is the last one.
    bool fetch()
    {
        FirstColumn<SequentialStream*> row{};
        std::unique_ptr<Rowset> rowset = m_session.execute(m_statement.sql(m_next, m_pieceUnits));
        if (!rowset)
            throw ProviderError(E_UNEXPECTED, QStringLiteral("The value's row no longer returns rows."));
        bindFirstColumn<SequentialStream*>(*rowset, DBTYPE_IUNKNOWN);
        if (!rowset->next())
            throw ProviderError(E_UNEXPECTED, QStringLiteral("The row is no longer there: it was changed or deleted."));
        rowset->getData(reinterpret_cast<std::byte*>(&row));
        m_piece.resize(0);
        m_used = 0;
        if (row.status == DBSTATUS_S_ISNULL) {
            m_end = true;
            return false;
        }
        if (row.status != DBSTATUS_S_OK || !row.value)
            throw ProviderError(DB_E_CANTCONVERTVALUE, QStringLiteral("A piece of the value cannot be read."));
        struct Release {
            SequentialStream* s;
            ~Release() { s->release(); }
        } release{row.value};
        char block[64 * 1024];
        while (const size_t n = row.value->read(block, sizeof block))
            m_piece.append(block, qsizetype(n));
        const uint64_t units = m_wide ? characterCount() : uint64_t(m_piece.size());
        m_next += units;
        m_end = units < m_pieceUnits;
        return true;
    }

    // Characters in a piece of UTF-16 text: its units less the second of each surrogate pair.
    uint64_t characterCount() const
    {
        const auto* units = reinterpret_cast<const char16_t*>(m_piece.constData());
        const size_t count = size_t(m_piece.size()) / 2;
        uint64_t characters = 0;
        for (size_t i = 0; i < count; ++i)
            characters += (units[i] & 0xFC00) != 0xDC00;
        return characters;
    }

    OdbcSession m_session;
    const PieceStatement m_statement;
    const bool m_wide;
    const uint64_t m_pieceUnits;
    QByteArray m_piece;
    size_t m_used = 0;
    uint64_t m_next = 1;
    bool m_end = false;
};

} // namespace

std::optional<SequentialStream*> openValuePieces(const std::shared_ptr<OdbcConnection>& connection,
                                                 const QString& quotedObject, const QString& column,
                                                 DBTYPE type, uint64_t row, uint64_t pieceUnits)
{
    const OdbcDriverInfo& driver = connection->info();
    if (driver.kind != DriverKind::PostgreSql || (type != DBTYPE_BYTES && type != DBTYPE_WSTR))
        return std::nullopt;
    OdbcSession session(connection);
    // Only a table's rows have a tuple id, and only these types have a substring of their own
    // whose pieces join to what the driver would hand out whole. Asked first, so no failing
    // statement spoils a transaction the user has open.
    const std::optional<QString> kind = textAt(
        session,
        QStringLiteral("select c.relkind::text || ' ' || pg_catalog.format_type(a.atttypid, null) from pg_catalog.pg_class c "
                       "join pg_catalog.pg_attribute a on a.attrelid = c.oid "
                       "where c.oid = pg_catalog.to_regclass(%1) and a.attname = %2 and a.attnum > 0 and not a.attisdropped")
            .arg(sqlLiteral(quotedObject), sqlLiteral(column)),
        0);
    const QStringList parts = kind.value_or(QString()).split(QLatin1Char(' '));
    const QString relkind = parts.value(0);
    const QString columnType = parts.mid(1).join(QLatin1Char(' '));
    const bool bytes = columnType == QLatin1String("bytea");
    const bool text = columnType == QLatin1String("text") || columnType == QLatin1String("character varying");
    if (!(relkind == QLatin1String("r") || relkind == QLatin1String("p") || relkind == QLatin1String("m")) ||
        !(type == DBTYPE_BYTES ? bytes : text))
        return std::nullopt;

    // The table oid with the tuple id: a tuple id alone repeats across the partitions and child
    // tables a scan of their parent reads.
    const std::optional<QString> locator =
        textAt(session, QStringLiteral("select tableoid::text || ' ' || ctid::text from ") + quotedObject, row);
    static const QRegularExpression wellFormed(QStringLiteral("^(\\d+) (\\(\\d+,\\d+\\))$"));
    const QRegularExpressionMatch match = wellFormed.match(locator.value_or(QString()));
    if (!locator)
        throw ProviderError(E_UNEXPECTED, QStringLiteral("The row is no longer there."));
    if (!match.hasMatch())
        throw ProviderError(E_UNEXPECTED, QStringLiteral("The row cannot be located."));
    const QString quotedColumn = quoteIdentifierPart(column, driver.quoteOpen, driver.quoteClose);
    PieceStatement statement{QStringLiteral("select substring(") + quotedColumn + QStringLiteral(" from "),
                             QStringLiteral(") from ") + quotedObject + QStringLiteral(" where tableoid = ") +
                                 match.captured(1) + QStringLiteral(" and ctid = '") + match.captured(2) +
                                 QStringLiteral("'")};
    auto* stream = new PieceStream(connection, std::move(statement), type == DBTYPE_WSTR, std::max<uint64_t>(pieceUnits, 1));
    try {
        if (!stream->prime()) {
            stream->release();
            return nullptr;
        }
    } catch (...) {
        stream->release();
        throw;
    }
    return stream;
}

} // namespace qb::data::odbc
