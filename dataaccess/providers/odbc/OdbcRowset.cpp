#include "dataaccess/providers/odbc/OdbcRowset.h"

#include "dataaccess/providers/odbc/OdbcConnection.h"
#include "dataaccess/providers/odbc/OdbcDateStandIns.h"
#include "dataaccess/providers/odbc/OdbcStream.h"

#include <cstring>
#include <limits>

namespace qb::data::odbc {
namespace {

void put32(std::byte* row, size_t offset, uint32_t v)
{
    std::memcpy(row + offset, &v, sizeof v);
}

CellValue cellOfKind(FetchKind kind, const char* data, size_t size)
{
    switch (kind) {
    case FetchKind::WideText:
        return CellValue::fromWideText(reinterpret_cast<const char16_t*>(data), size / 2);
    case FetchKind::Bytes:
        return CellValue::fromBytes(data, size);
    case FetchKind::Text:
        break;
    }
    return CellValue::fromText(data, size);
}

} // namespace

OdbcRowset::OdbcRowset(std::shared_ptr<OdbcStatement> statement, QString sql)
    : m_statement(std::move(statement)), m_sql(std::move(sql))
{
    m_datesHaveStandIns = m_statement->driver().kind == DriverKind::PostgreSql;
    m_columns = m_statement->describeColumns();
    m_bindingsOfColumn.resize(m_columns.size());
}

OdbcRowset::~OdbcRowset()
{
    // Streams handed out may still hold the statement; its handle goes now, with the cursor
    // and whatever the driver locks for it.
    m_statement->release();
}

std::vector<ColumnInfo> OdbcRowset::columns() const
{
    std::vector<ColumnInfo> infos;
    infos.reserve(m_columns.size());
    for (const OdbcColumn& c : m_columns)
        infos.push_back(c.info);
    return infos;
}

void OdbcRowset::setBindings(std::vector<Binding> bindings)
{
    validateBindings(bindings, m_columns.size());
    m_bindings = std::move(bindings);
    m_byRef.reset(m_bindings.size());
    m_bindingsOfColumn.assign(m_columns.size(), {});
    for (size_t i = 0; i < m_bindings.size(); ++i)
        m_bindingsOfColumn[m_bindings[i].ordinal - 1].push_back(i);
}

void OdbcRowset::restart()
{
    m_byRef.clear();
    if (m_executedFresh) {
        InterruptToken::checkArmed();
        return;
    }
    if (!m_statement->execute(m_sql, nullptr))
        throw ProviderError(E_UNEXPECTED, QStringLiteral("The statement no longer returns rows."));
    const std::vector<OdbcColumn> again = m_statement->describeColumns();
    if (again.size() != m_columns.size())
        throw ProviderError(E_UNEXPECTED, QStringLiteral("The statement now returns %1 columns instead of %2.")
                                              .arg(again.size()).arg(m_columns.size()));
    m_state = State::BeforeFirst;
    m_executedFresh = true;
}

void OdbcRowset::suspend()
{
    m_byRef.clear();
    m_statement->release();
    m_state = State::AtEnd;
    m_executedFresh = false;
}

void OdbcRowset::prepareFetch(bool skipping)
{
    m_byRef.clear();
    m_executedFresh = false;
    if (skipping) {
        m_statement->unbindColumns();
    } else if (m_bindAtNextFetch) {
        std::vector<bool> wanted(m_columns.size());
        for (size_t c = 0; c < m_columns.size(); ++c)
            wanted[c] = !m_bindingsOfColumn[c].empty();
        m_statement->bindColumns(m_columns, wanted);
    }
    m_bindAtNextFetch = false;
}

bool OdbcRowset::moveTo(uint64_t position)
{
    if (!m_statement->isScrollable())
        return Rowset::moveTo(position);
    prepareFetch(false);
    const bool found = m_statement->fetchAbsolute(position + 1);
    m_state = found ? State::OnRow : State::AtEnd;
    return found;
}

bool OdbcRowset::next(uint64_t skip)
{
    prepareFetch(skip > 0);
    for (uint64_t i = 0; i <= skip; ++i) {
        if (m_state == State::AtEnd)
            return false;
        if (!m_statement->fetch()) {
            m_state = State::AtEnd;
            return false;
        }
        m_state = State::OnRow;
    }
    return true;
}

void OdbcRowset::getData(std::byte* rowBuffer)
{
    if (m_state != State::OnRow)
        throw ProviderError(E_UNEXPECTED, QStringLiteral("There is no current row to read."));
    InterruptToken::checkArmed();
    for (size_t c = 0; c < m_columns.size(); ++c)
        if (!m_bindingsOfColumn[c].empty())
            readColumn(c, rowBuffer);
    // Rows are being read: from the next fetch on, let the driver fill the short columns while
    // it fetches. Not bound now: the SQLite ODBC driver starts a value over when columns are
    // bound, and a stream of this row may still be read.
    m_bindAtNextFetch = !m_statement->hasBoundColumns();
}

CellValue OdbcRowset::cellOf(const OdbcColumn& column, const char* data, size_t size) const
{
    if (m_datesHaveStandIns && column.fetch == FetchKind::Text) {
        const DateText date = psqlodbcDateText(column.info.type, std::string_view(data, size));
        if (date.kind == DateText::Kind::Unavailable)
            return CellValue::unavailable();
        if (date.kind == DateText::Kind::ServerText)
            return CellValue::fromText(date.serverText.data(), date.serverText.size());
    }
    return cellOfKind(column.fetch, data, size);
}

void OdbcRowset::readColumn(size_t column, std::byte* row)
{
    const std::vector<size_t>& bindings = m_bindingsOfColumn[column];
    const OdbcColumn& c = m_columns[column];
    if (const auto bound = m_statement->boundValue(uint16_t(c.info.ordinal))) {
        const CellValue cell = bound->isNull ? CellValue::null() : cellOf(c, bound->data, bound->size);
        for (size_t i : bindings)
            writeBoundValue(cell, m_bindings[i], c.info.type, row, m_byRef.at(i));
        return;
    }
    if (bindings.size() == 1) {
        const size_t i = bindings.front();
        const Binding& b = m_bindings[i];
        if (b.type == DBTYPE_IUNKNOWN && m_statement->driver().anyOrderGetData) {
            readStream(b, c, row);
            return;
        }
        if ((b.type == DBTYPE_WSTR && c.fetch == FetchKind::WideText) ||
            (b.type == DBTYPE_BYTES && c.fetch == FetchKind::Bytes)) {
            readPrefix(b, i, c, row);
            return;
        }
    }
    readWhole(bindings, c, row);
}

void OdbcRowset::readStream(const Binding& b, const OdbcColumn& column, std::byte* row)
{
    auto* stream = new OdbcStream(m_statement, uint16_t(column.info.ordinal), column.fetch);
    uint64_t length = 0;
    bool present = false;
    try {
        present = stream->prime(&length);
    } catch (...) {
        stream->release();
        throw;
    }
    if (!present) {
        stream->release();
        put32(row, b.lengthOffset, 0);
        put32(row, b.statusOffset, DBSTATUS_S_ISNULL);
        return;
    }
    SequentialStream* base = stream;
    std::memcpy(row + b.valueOffset, &base, sizeof base);
    put32(row, b.lengthOffset, uint32_t(std::min<uint64_t>(length, std::numeric_limits<uint32_t>::max())));
    put32(row, b.statusOffset, DBSTATUS_S_OK);
}

void OdbcRowset::readPrefix(const Binding& b, size_t bindingIndex, const OdbcColumn& column, std::byte* row)
{
    // A little more than fits, so the shared conversion sees the cut and marks it truncated.
    const uint16_t ordinal = uint16_t(column.info.ordinal);
    const OdbcStatement::Value value = m_statement->read(ordinal, column.fetch, m_value, size_t(b.maxLength) + 4);
    if (value.isNull) {
        writeBoundValue(CellValue::null(), b, column.info.type, row, m_byRef.at(bindingIndex));
        return;
    }
    writeBoundValue(cellOf(column, m_value.constData(), size_t(m_value.size())), b, column.info.type, row,
                    m_byRef.at(bindingIndex));
    if (!value.complete) {
        const uint64_t total = value.total ? *value.total : uint64_t(m_value.size()) + m_statement->skipRest(ordinal, column.fetch);
        put32(row, b.lengthOffset, uint32_t(std::min<uint64_t>(total, std::numeric_limits<uint32_t>::max())));
        put32(row, b.statusOffset, DBSTATUS_S_TRUNCATED);
    }
}

void OdbcRowset::readWhole(const std::vector<size_t>& bindings, const OdbcColumn& column, std::byte* row)
{
    const OdbcStatement::Value value = m_statement->read(uint16_t(column.info.ordinal), column.fetch, m_value);
    const CellValue cell = value.isNull ? CellValue::null() : cellOf(column, m_value.constData(), size_t(m_value.size()));
    for (size_t i : bindings)
        writeBoundValue(cell, m_bindings[i], column.info.type, row, m_byRef.at(i));
}

} // namespace qb::data::odbc
