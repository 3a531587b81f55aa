#include "dataaccess/providers/sqlite/SqliteRowset.h"

#include "dataaccess/InterruptToken.h"

#include "dataaccess/providers/sqlite/SqliteDatabase.h"
#include "dataaccess/providers/sqlite/SqliteTypeMapping.h"

#include <sqlite3.h>

namespace qb::data::sqlite {

SqliteRowset::SqliteRowset(std::shared_ptr<SqliteDatabase> db, sqlite3_stmt* statement)
    : m_db(std::move(db)), m_statement(statement)
{
    try {
        describeColumns();
    } catch (...) {
        sqlite3_finalize(m_statement);
        throw;
    }
}

SqliteRowset::~SqliteRowset()
{
    m_inPlace.detach();
    sqlite3_finalize(m_statement);
}

void SqliteRowset::describeColumns()
{
    const int count = sqlite3_column_count(m_statement);
    std::vector<std::optional<ColumnType>> declared(static_cast<size_t>(count));
    bool needFirstRow = false;
    for (int i = 0; i < count; ++i) {
        declared[size_t(i)] = typeOfDeclaration(sqlite3_column_decltype(m_statement, i));
        needFirstRow = needFirstRow || !declared[size_t(i)];
    }
    // Columns without a declared type are typed by their first value: step once ahead and hand
    // that row out on the first next().
    if (needFirstRow)
        m_peeked = step();
    for (int i = 0; i < count; ++i) {
        const ColumnType t = declared[size_t(i)].value_or(
            typeOfStorageClass(m_peeked ? sqlite3_column_type(m_statement, i) : SQLITE_NULL));
        const char* name = sqlite3_column_name(m_statement, i);
        m_columns.push_back({QString::fromUtf8(name ? name : ""), uint32_t(i + 1), t.size, t.type});
    }
}

void SqliteRowset::setBindings(std::vector<Binding> bindings)
{
    validateBindings(bindings, m_columns.size());
    m_bindings = std::move(bindings);
    m_byRef.reset(m_bindings.size());
}

bool SqliteRowset::step()
{
    ++m_rowsStepped;
    SqliteDatabase::Hold hold(*m_db);
    const int rc = m_db->step(m_statement);
    if (rc == SQLITE_ROW) {
        m_state = State::OnRow;
        return true;
    }
    if (rc == SQLITE_DONE) {
        m_state = State::AtEnd;
        return false;
    }
    // Reset, so the failed statement does not stay pending on the connection.
    const ProviderError error = m_db->error(rc);
    sqlite3_reset(m_statement);
    m_state = State::AtEnd;
    throw error;
}

void SqliteRowset::restart()
{
    InterruptToken::checkArmed();
    rewind();
}

void SqliteRowset::suspend()
{
    rewind(); // never refused: it lets go of what the statement holds
}

void SqliteRowset::rewind()
{
    m_byRef.clear();
    m_inPlace.detach();
    sqlite3_reset(m_statement); // its result repeats the last step's error, already reported
    m_state = State::BeforeFirst;
    m_peeked = false;
    ++m_rowsStepped;
}

bool SqliteRowset::next(uint64_t skip)
{
    m_byRef.clear();
    m_inPlace.detach();
    for (uint64_t i = 0; i <= skip; ++i) {
        InterruptToken::checkArmed(); // between rows too: a short row may never reach the progress handler
        if (m_state == State::AtEnd)
            return false; // stepping past the end would start the statement over
        if (m_peeked) {
            m_peeked = false;
            continue;
        }
        if (!step())
            return false;
    }
    return true;
}

std::optional<HeldKind> SqliteRowset::currentValueKind(uint32_t ordinal) const
{
    if (m_state != State::OnRow || m_peeked || ordinal < 1 || ordinal > m_columns.size())
        return std::nullopt;
    const int read = m_readRow == m_rowsStepped ? m_readTypes[ordinal - 1] : -1;
    switch (read >= 0 ? read : sqlite3_column_type(m_statement, int(ordinal) - 1)) {
    case SQLITE_BLOB:
        return HeldKind::Bytes;
    case SQLITE_NULL:
        return std::nullopt;
    default:
        return HeldKind::Text; // text is UTF-8, numbers give their text
    }
}

void SqliteRowset::getData(std::byte* rowBuffer)
{
    InterruptToken::checkArmed();
    if (m_state != State::OnRow || m_peeked)
        throw ProviderError(E_UNEXPECTED, QStringLiteral("There is no current row to read."));
    m_readTypes.assign(m_columns.size(), -1);
    m_readRow = m_rowsStepped;
    // Every column call below takes the connection's lock; taken once here, the calls find it
    // held by this thread and pass at once, instead of locking and unlocking three times a value.
    const SqliteDatabase::Hold hold(*m_db);
    for (size_t i = 0; i < m_bindings.size(); ++i) {
        const Binding& b = m_bindings[i];
        const int c = int(b.ordinal) - 1;
        CellValue value;
        // The column's value object, asked directly: each sqlite3_column_* call would take the
        // connection's mutex again, three or four times a value (the Hold above keeps it ours).
        sqlite3_value* const cell = sqlite3_column_value(m_statement, c);
        const int type = sqlite3_value_type(cell);
        m_readTypes[size_t(c)] = type;
        switch (type) {
        case SQLITE_INTEGER:
            value = CellValue::fromInteger(sqlite3_value_int64(cell));
            break;
        case SQLITE_FLOAT: {
            const double d = sqlite3_value_double(cell);
            // SQLite's own rendering, as its shell shows the value.
            const auto* text = reinterpret_cast<const char*>(sqlite3_value_text(cell));
            value = CellValue::fromReal(d, text, size_t(sqlite3_value_bytes(cell)));
            break;
        }
        case SQLITE_TEXT: {
            const auto* text = reinterpret_cast<const char*>(sqlite3_value_text(cell));
            value = CellValue::fromText(text, size_t(sqlite3_value_bytes(cell)));
            break;
        }
        case SQLITE_BLOB: {
            const void* bytes = sqlite3_value_blob(cell);
            value = CellValue::fromBytes(bytes, size_t(sqlite3_value_bytes(cell)));
            break;
        }
        default:
            value = CellValue::null();
        }
        if (value.kind != CellValue::Kind::Null && !value.data && value.size == 0 &&
            (value.kind == CellValue::Kind::Text || value.kind == CellValue::Kind::Bytes))
            value.data = ""; // SQLite gives a null pointer for an empty blob
        // Text and blobs stay valid in SQLite's memory until the next step or reset: one type is asked
        // per storage class above, so no later conversion moves them.
        writeBoundValue(value, b, m_columns[size_t(c)].type, rowBuffer, m_byRef.at(i), &m_inPlace);
    }
}

} // namespace qb::data::sqlite
