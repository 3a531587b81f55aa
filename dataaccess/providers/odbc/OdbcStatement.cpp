#include "dataaccess/providers/odbc/OdbcStatement.h"

#include "dataaccess/providers/odbc/OdbcCheck.h"
#include "dataaccess/providers/odbc/OdbcConnection.h"
#include "dataaccess/providers/odbc/OdbcText.h"

#include <algorithm>
#include <cstring>
#include <iterator>
#include <limits>

namespace qb::data::odbc {
namespace {

constexpr size_t kFirstChunk = 256;
// Columns declared up to this many characters or bytes are bound; longer ones are read with
// SQLGetData as they come.
constexpr uint32_t kBindLimit = 2000;
constexpr size_t kSkipChunk = 64 * 1024;

bool isIntegerType(SQLSMALLINT t)
{
    return t == SQL_SMALLINT || t == SQL_TINYINT || t == SQL_INTEGER || t == SQL_BIGINT;
}

// Wide chunks must stay whole UTF-16 units.
size_t roundUp(FetchKind kind, size_t n)
{
    return kind == FetchKind::WideText ? (n + 1) & ~size_t(1) : n;
}

} // namespace

using DriverCall = InterruptToken::DriverCall;

OdbcStatement::OdbcStatement(std::shared_ptr<OdbcConnection> connection) : m_connection(std::move(connection)) {}

OdbcStatement::~OdbcStatement()
{
    release();
}

const OdbcDriverInfo& OdbcStatement::driver() const
{
    return m_connection->info();
}

SQLRETURN OdbcStatement::checked(SQLRETURN rc) const
{
    return check(rc, SQL_HANDLE_STMT, handle(), InterruptToken::armedInterrupted());
}

void OdbcStatement::renewHandle()
{
    m_handle = OdbcHandle::allocate(SQL_HANDLE_STMT, SQL_HANDLE_DBC, m_connection->handle());
    ++m_rowGeneration;
    m_getDataColumn = 0;
    m_boundColumns.clear();
    m_bound = m_rowIsBound = false;
}

void OdbcStatement::release()
{
    m_handle.reset();
    ++m_rowGeneration;
    m_boundColumns.clear();
    m_bound = m_rowIsBound = false;
}

bool OdbcStatement::execute(const QString& sql, int64_t* rowsAffected)
{
    InterruptToken::checkArmed();
    renewHandle();
    DriverCall call(*this);
    // Set before the execution: the driver chooses its cursor then.
    if (m_scrollable)
        checked(SQLSetStmtAttrW(handle(), SQL_ATTR_CURSOR_TYPE, reinterpret_cast<SQLPOINTER>(uintptr_t(SQL_CURSOR_STATIC)),
                                SQL_IS_UINTEGER));
    SQLRETURN rc;
    if (driver().narrowStatementText) {
        QByteArray utf8 = sql.toUtf8();
        rc = checked(SQLExecDirect(handle(), reinterpret_cast<SQLCHAR*>(utf8.data()), SQLINTEGER(utf8.size())));
    } else {
        rc = checked(SQLExecDirectW(handle(), wideArg(sql), SQL_NTS));
    }
    if (rc == SQL_NO_DATA) {
        // A searched UPDATE or DELETE that matched no row.
        if (rowsAffected)
            *rowsAffected = 0;
        return false;
    }
    for (;;) {
        SQLSMALLINT columns = 0;
        checked(SQLNumResultCols(handle(), &columns));
        if (columns > 0)
            return true;
        SQLLEN count = -1;
        if (SQL_SUCCEEDED(SQLRowCount(handle(), &count)) && count >= 0 && rowsAffected)
            *rowsAffected = count;
        // Several statements in one text: go on to the next result, if the driver has one.
        rc = checked(SQLMoreResults(handle()));
        if (rc == SQL_NO_DATA)
            return false;
    }
}

void OdbcStatement::catalogTables(const QString& tableType)
{
    InterruptToken::checkArmed();
    renewHandle();
    DriverCall call(*this);
    // psqlODBC searches only the current schema when the schema is NULL; "%" means every schema.
    const QString all = QStringLiteral("%");
    const QString type = tableType.trimmed();
    checked(SQLTablesW(handle(), nullptr, 0, wideArg(all), SQL_NTS, wideArg(all), SQL_NTS,
                       type.isEmpty() ? nullptr : wideArg(type), type.isEmpty() ? 0 : SQL_NTS));
}

void OdbcStatement::catalogProcedures()
{
    InterruptToken::checkArmed();
    renewHandle();
    DriverCall call(*this);
    const QString all = QStringLiteral("%");
    checked(SQLProceduresW(handle(), nullptr, 0, wideArg(all), SQL_NTS, wideArg(all), SQL_NTS));
}

std::vector<OdbcColumn> OdbcStatement::describeColumns()
{
    DriverCall call(*this);
    SQLSMALLINT count = 0;
    checked(SQLNumResultCols(handle(), &count));
    std::vector<OdbcColumn> columns;
    columns.reserve(size_t(count));
    for (SQLUSMALLINT c = 1; c <= SQLUSMALLINT(count); ++c) {
        SQLWCHAR name[512];
        SQLSMALLINT nameLength = 0;
        SQLSMALLINT sqlType = 0;
        SQLULEN size = 0;
        SQLSMALLINT digits = 0;
        SQLSMALLINT nullable = 0;
        checked(SQLDescribeColW(handle(), c, name, SQLSMALLINT(std::size(name)), &nameLength, &sqlType, &size, &digits,
                                &nullable));
        SQLLEN isUnsigned = SQL_FALSE;
        if (isIntegerType(sqlType))
            SQLColAttributeW(handle(), c, SQL_DESC_UNSIGNED, nullptr, 0, nullptr, &isUnsigned);
        const OdbcColumnType t = mapColumnType(sqlType, size, isUnsigned == SQL_TRUE);
        OdbcColumn column;
        column.info.name = fromWide(name, nameLength, qsizetype(std::size(name)) - 1);
        column.info.ordinal = c;
        column.info.columnSize = t.size;
        column.info.type = t.type;
        column.fetch = t.fetch;
        columns.push_back(std::move(column));
    }
    return columns;
}

bool OdbcStatement::fetch()
{
    return fetchScroll(SQL_FETCH_NEXT, 0);
}

bool OdbcStatement::fetchAbsolute(uint64_t row)
{
    if (row > uint64_t(std::numeric_limits<SQLLEN>::max()))
        return false;
    return fetchScroll(SQL_FETCH_ABSOLUTE, SQLLEN(row));
}

bool OdbcStatement::fetchScroll(SQLSMALLINT orientation, SQLLEN offset)
{
    DriverCall call(*this);
    if (!m_handle)
        throw ProviderError(E_UNEXPECTED, QStringLiteral("The statement has been released."));
    ++m_rowGeneration;
    m_getDataColumn = 0;
    m_rowIsBound = m_bound;
    const SQLRETURN rc = orientation == SQL_FETCH_NEXT ? SQLFetch(handle()) : SQLFetchScroll(handle(), orientation, offset);
    return checked(rc) != SQL_NO_DATA;
}

void OdbcStatement::bindColumns(const std::vector<OdbcColumn>& columns, const std::vector<bool>& wanted)
{
    if (m_bound || !m_handle || !driver().bindAndGetData)
        return;
    m_boundColumns.assign(columns.size(), {});
    for (size_t i = 0; i < columns.size(); ++i) {
        const uint32_t size = columns[i].info.columnSize;
        if (!wanted[i] || size == 0 || size > kBindLimit)
            continue;
        BoundColumn& b = m_boundColumns[i];
        const FetchKind kind = columns[i].fetch;
        b.terminator = terminatorSize(kind);
        // Characters may take two UTF-16 units; the text of a number or date may be longer than
        // the column size the driver states.
        const size_t capacity = kind == FetchKind::WideText ? (2 * size_t(size) + 1) * 2
                                : kind == FetchKind::Text   ? size_t(size) + 64
                                                            : size_t(size);
        b.buffer.resize(qsizetype(capacity));
        checked(SQLBindCol(handle(), SQLUSMALLINT(i + 1), cTypeOf(kind), b.buffer.data(), SQLLEN(capacity), &b.indicator));
        b.active = true;
        m_bound = true;
    }
}

void OdbcStatement::unbindColumns()
{
    if (!m_bound)
        return;
    checked(SQLFreeStmt(handle(), SQL_UNBIND));
    m_bound = false;
}

std::optional<OdbcStatement::BoundValue> OdbcStatement::boundValue(uint16_t column) const
{
    if (!m_rowIsBound || column == 0 || column > m_boundColumns.size())
        return std::nullopt;
    const BoundColumn& b = m_boundColumns[column - 1];
    if (!b.active)
        return std::nullopt;
    if (b.indicator == SQL_NULL_DATA)
        return BoundValue{true, nullptr, 0};
    if (b.indicator < 0 || size_t(b.indicator) > size_t(b.buffer.size()) - b.terminator)
        return std::nullopt; // cut: the caller reads it whole
    return BoundValue{false, b.buffer.constData(), size_t(b.indicator)};
}

void OdbcStatement::positionOn(uint16_t column)
{
    // SQLGetData on another column starts that column's value from its beginning.
    if (m_getDataColumn != column) {
        m_getDataColumn = column;
        m_getDataConsumed = 0;
        m_getDataDone = false;
    }
}

OdbcStatement::Chunk OdbcStatement::getChunk(uint16_t column, FetchKind kind, char* buffer, size_t capacity)
{
    Chunk chunk;
    if (m_getDataDone) {
        chunk.noData = true;
        return chunk;
    }
    SQLLEN indicator = 0;
    const SQLRETURN rc = checked(SQLGetData(handle(), column, cTypeOf(kind), buffer, SQLLEN(capacity), &indicator));
    if (rc == SQL_NO_DATA) {
        m_getDataDone = true;
        chunk.noData = true;
        return chunk;
    }
    if (indicator == SQL_NULL_DATA) {
        m_getDataDone = true;
        chunk.isNull = true;
        return chunk;
    }
    const size_t room = capacity - terminatorSize(kind);
    if (indicator != SQL_NO_TOTAL && size_t(indicator) <= room) {
        chunk.bytes = size_t(indicator);
        chunk.remaining = uint64_t(indicator);
        m_getDataDone = true;
    } else {
        chunk.bytes = room;
        chunk.more = true;
        if (indicator != SQL_NO_TOTAL)
            chunk.remaining = uint64_t(indicator);
    }
    m_getDataConsumed += chunk.bytes;
    return chunk;
}

OdbcStatement::Value OdbcStatement::read(uint16_t column, FetchKind kind, QByteArray& out, size_t limit)
{
    DriverCall call(*this);
    positionOn(column);
    const size_t terminator = terminatorSize(kind);
    const size_t limitCapacity = limit == SIZE_MAX ? SIZE_MAX : roundUp(kind, limit + terminator);
    size_t capacity = std::min(roundUp(kind, std::max<size_t>(size_t(out.capacity()), kFirstChunk + terminator)), limitCapacity);
    Value value;
    size_t have = 0;
    for (bool first = true;; first = false) {
        out.resize(qsizetype(capacity));
        const Chunk chunk = getChunk(column, kind, out.data() + have, capacity - have);
        if (chunk.isNull) {
            out.resize(0);
            value.isNull = true;
            return value;
        }
        if (chunk.noData)
            break; // nothing (more) to read
        if (first && chunk.remaining)
            value.total = *chunk.remaining;
        have += chunk.bytes;
        if (!chunk.more)
            break;
        if (have >= limit) {
            value.complete = false;
            out.resize(qsizetype(have));
            return value;
        }
        // Grow to the whole value when the driver told its length, else double.
        capacity = chunk.remaining ? have + size_t(*chunk.remaining - chunk.bytes) + terminator : capacity * 2;
        capacity = std::min(roundUp(kind, capacity), limitCapacity);
    }
    out.resize(qsizetype(have));
    value.total = have;
    return value;
}

uint64_t OdbcStatement::skipRest(uint16_t column, FetchKind kind)
{
    DriverCall call(*this);
    positionOn(column);
    uint64_t skipped = 0;
    m_scratch.resize(qsizetype(kSkipChunk));
    for (;;) {
        const Chunk chunk = getChunk(column, kind, m_scratch.data(), size_t(m_scratch.size()));
        if (chunk.isNull || chunk.noData)
            return skipped;
        skipped += chunk.bytes;
        if (!chunk.more)
            return skipped;
    }
}

void OdbcStatement::readAt(uint64_t generation, uint16_t column, FetchKind kind, uint64_t offset,
                           std::optional<uint64_t> total, QByteArray& out)
{
    out.resize(0);
    DriverCall call(*this);
    if (generation != m_rowGeneration || !m_handle)
        throw ProviderError(E_UNEXPECTED,
                            QStringLiteral("The value can no longer be read: its rowset has moved to another row."));
    const bool cameBack = m_getDataColumn != column;
    if (!cameBack && m_getDataConsumed != offset)
        throw ProviderError(E_UNEXPECTED, QStringLiteral("The value cannot be read again from an earlier position."));
    positionOn(column);
    // Where the driver's next chunk starts; unknown when we come back to the column.
    std::optional<uint64_t> position;
    if (!cameBack || offset == 0)
        position = offset;
    m_scratch.resize(qsizetype(kSkipChunk));
    for (;;) {
        const Chunk chunk = getChunk(column, kind, m_scratch.data(), size_t(m_scratch.size()));
        if (chunk.isNull || chunk.noData)
            break;
        if (!position) {
            // Drivers differ (OdbcDriverInfo); the length the driver reports tells which when
            // the value's length is known: the whole value again, or what was left.
            const bool startedOver = total && chunk.remaining ? *chunk.remaining == *total : !driver().getDataResumesColumns;
            position = startedOver ? 0 : offset;
        }
        const uint64_t start = *position;
        const uint64_t end = start + chunk.bytes;
        if (end > offset) {
            const size_t skip = size_t(std::max(offset, start) - start);
            out.append(m_scratch.constData() + skip, qsizetype(chunk.bytes - skip));
        }
        position = end;
        if (!chunk.more || !out.isEmpty())
            break;
    }
    m_getDataConsumed = position.value_or(offset);
}

void OdbcStatement::cancel()
{
    // The handle cannot change meanwhile: its owner is inside a driver call on it. A cancel that
    // reaches the server before the statement is under way there is lost (PostgreSQL ignores a
    // cancel for a query it is not running yet); the token sends it again while the call lasts.
    if (driver().cancelFromOtherThread && m_handle)
        SQLCancel(m_handle.get());
}

} // namespace qb::data::odbc
