#pragma once
// The provider interface: every operation the suite calls on a data source. Two providers
// implement it (providers/sqlite over the SQLite C API, providers/odbc over unixODBC).
//
// Failures are thrown as ProviderError (a result code plus the provider's own diagnostic text);
// callers compose the user's message from it (ErrorText.h). A call is broken off through the interrupt
// token its caller armed (InterruptToken.h): it then fails with DB_E_CANCELED. Objects are shared: a rowset keeps its
// session alive and a session keeps its data source alive, so a job that outlives its window
// (a detached worker) never touches freed memory.
#include "dataaccess/DbTypes.h"

#include <QString>
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <exception>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace qb::data {

class ProviderError : public std::exception {
public:
    ProviderError(HRESULT hr, QString description)
        : m_hr(hr), m_description(std::move(description)), m_utf8(m_description.toStdString()) {}
    HRESULT hr() const noexcept { return m_hr; }
    // The provider's diagnostic for this failure (for ODBC "[SQLSTATE] message"); may be empty.
    const QString& description() const noexcept { return m_description; }
    const char* what() const noexcept override { return m_utf8.c_str(); }

private:
    HRESULT m_hr;
    QString m_description;
    std::string m_utf8;
};

// One result column, as the provider describes it.
struct ColumnInfo {
    QString name;
    uint32_t ordinal = 0;    // 1-based
    // Declared size: characters for text, bytes for binary. An unbounded text or binary column
    // (a long value) has kLongValueSize (0x7FFFFFFF). 0 means the provider knows no size (a driver
    // that states none, a declared length of 0): the row cache binds such a column as a long
    // value; the console cannot lay it out and fails the statement with "Unknown field size".
    uint32_t columnSize = 0;
    DBTYPE type = DBTYPE_EMPTY;
};

// Where getData writes one column in the caller's row buffer.
//   type WSTR / STR / BYTES: the value inline at valueOffset, at most maxLength bytes; text is
//     zero-terminated inside maxLength (so at most maxLength-2 bytes of UTF-16, maxLength-1 of UTF-8);
//     length = the full length of the value in bytes (without terminator); status S_TRUNCATED when cut.
//   type X | BYREF (X one of WSTR, STR, BYTES): a pointer to provider-owned memory holding the whole
//     value (text zero-terminated) is written at valueOffset (8 bytes); it stays valid until the next
//     fetch, restart or destruction of the rowset; maxLength is ignored.
//   type IUNKNOWN: a SequentialStream* is written at valueOffset; the caller owns one reference and
//     calls release(). The stream yields the value in the column's declared representation
//     (WSTR columns UTF-16, binary and stream columns their bytes, any other column UTF-8 text).
//   numeric types (I2, I4, I8, UI2, UI4, UI8, R4, R8, CY, BOOL): the number in host byte order;
//     a value that does not convert gives status E_CANTCONVERTVALUE.
//   any other type: status E_CANTCONVERTVALUE.
//   NULL: status S_ISNULL, length 0, value area untouched.
//   a value the provider cannot give (its driver could not read it): status E_UNAVAILABLE,
//     length 0, value area untouched.
// lengthOffset and statusOffset each receive a uint32_t.
struct Binding {
    uint32_t ordinal = 0;
    size_t valueOffset = 0;
    size_t lengthOffset = 0;
    size_t statusOffset = 0;
    uint32_t maxLength = 0;
    DBTYPE type = DBTYPE_EMPTY;
};

// How a provider holds a value: UTF-8 text (a number counts as its text), UTF-16 text, or bytes.
// A bytes binding gives its bytes in that form.
enum class HeldKind { Text, WideText, Bytes };

// A reference-counted forward-only byte stream over a long value.
class SequentialStream {
public:
    void addRef() { m_refs.fetch_add(1, std::memory_order_relaxed); }
    void release()
    {
        if (m_refs.fetch_sub(1, std::memory_order_acq_rel) == 1)
            delete this;
    }
    // Reads up to size bytes; fewer than asked means the end. Throws ProviderError on failure.
    virtual size_t read(void* buffer, size_t size) = 0;

protected:
    virtual ~SequentialStream() = default;

private:
    std::atomic<int> m_refs{1};
};

// The rows of one executed statement or schema query. Forward-only; restart re-positions before
// the first row (re-executing where the source cannot rewind, which is why SQL the user typed is
// read through a Spool). Not thread-safe: one thread at a time.
class Rowset {
public:
    virtual ~Rowset() = default;
    virtual std::vector<ColumnInfo> columns() const = 0;
    // Creates the accessor. Throws ProviderError when a binding cannot be honoured.
    virtual void setBindings(std::vector<Binding> bindings) = 0;
    // Back before the first row.
    virtual void restart() = 0;
    // Skips `skip` rows, then moves to the next one. False at the end of the rows.
    // Cheap: values are read only by getData.
    virtual bool next(uint64_t skip = 0) = 0;
    // Writes the current row into the caller's buffer by the bindings.
    virtual void getData(std::byte* rowBuffer) = 0;
    // The caller stops reading for a while (a page is cached); its next call is restart().
    // A provider releases what an open cursor holds meanwhile: SQLite's read lock, which would
    // otherwise keep every other connection from writing to the file.
    virtual void suspend() {}
    // How the provider holds the current row's value in column `ordinal`, where its columns may
    // hold values of another kind than declared (SQLite); nullopt where the declared type tells
    // (and for NULL). A copy of the rows (Spool) keeps it, so a text held in a bytes column
    // converts later as the provider converts it: as text, not as hexadecimal digits.
    virtual std::optional<HeldKind> currentValueKind(uint32_t ordinal) const
    {
        (void)ordinal;
        return std::nullopt;
    }
    // Whether a fetched row's values, long ones too, are already in memory whole (SQLite), so
    // binding a long value by reference costs no more than reading it as a stream.
    virtual bool holdsRowsWhole() const { return false; }
    // Moves onto row `position` (from 0) without the rows before it crossing into the program;
    // false when there is no such row. Only rowsets of Session::executePositioned can; the
    // others throw ProviderError (E_NOTIMPL).
    virtual bool moveTo(uint64_t position)
    {
        (void)position;
        throw ProviderError(E_NOTIMPL, QStringLiteral("The rowset cannot move to a row by its position."));
    }
};

// Restrictions of the tables schema: only the object type ("TABLE", "VIEW") is used.
// The tables schema rowset has the columns TABLE_CATALOG, TABLE_SCHEMA, TABLE_NAME, TABLE_TYPE,
// DESCRIPTION (all WSTR). The procedures schema rowset has PROCEDURE_CATALOG, PROCEDURE_SCHEMA,
// PROCEDURE_NAME, PROCEDURE_TYPE (I2), DESCRIPTION, PROCEDURE_DEFINITION.
class Session {
public:
    virtual ~Session() = default;
    // Executes one statement. Returns nullptr when it yields no rowset. *rowsAffected is written
    // when the provider knows it (-1 for a statement that returns rows and whose count is unknown);
    // it is left untouched otherwise.
    virtual std::unique_ptr<Rowset> execute(const QString& sql, int64_t* rowsAffected = nullptr) = 0;
    virtual std::unique_ptr<Rowset> tablesSchema(const QString& tableType) = 0;
    virtual std::unique_ptr<Rowset> proceduresSchema() = 0;

    // Local transactions; supportsTransactions false means the calls do nothing.
    virtual bool supportsTransactions() const = 0;
    virtual void startTransaction() = 0; // read committed
    virtual void commit() = 0;
    virtual void abort() = 0;

    // Whether a table may carry SQLite's row id (rowid, _rowid_, oid), which reaches any row by a
    // b-tree seek: the table data then pages by it. Each table is still checked before it is used.
    virtual bool tablesMayHaveRowids() const { return false; }
    // The statement that has the engine count the rows of `quotedObject` (quoted for this session).
    // psqlODBC (declare/fetch) keeps SELECT: a statement it sends without a cursor commits the
    // transaction that holds the scan's cursor, and the server then copies the whole result.
    virtual QString rowCountStatement(const QString& quotedObject) const
    {
        return QStringLiteral("select count(*) from ") + quotedObject;
    }
    // Executes `sql` on a cursor the server keeps, which moveTo() positions by row number: for
    // paging through a big result without reading it from its start each time. The cursor runs on
    // a connection of its own, so it neither waits for nor holds up the session's statements and
    // transactions; what it holds on the server (a reading transaction, which makes only schema
    // changes of the tables it reads wait) goes with the rowset. nullptr where the provider has no
    // such cursor. Throws ProviderError.
    virtual std::unique_ptr<Rowset> executePositioned(const QString& sql)
    {
        (void)sql;
        return nullptr;
    }

    // A stream over the long value of `column` (its name as the result describes it, `type` its
    // declared type) in the row that comes `row`-th (from 0) in the plain scan of `quotedObject`,
    // for a provider that can have the database hand it out in pieces where reading the scan again
    // would hold the whole value in memory, several times over (psqlODBC). nullopt where the
    // provider has no such way for this value, and the caller reads the scan again; a null stream
    // for a NULL value. The caller owns the stream's reference. Throws ProviderError.
    virtual std::optional<SequentialStream*> openValueInPieces(const QString& quotedObject, const QString& column,
                                                               DBTYPE type, uint64_t row)
    {
        (void)quotedObject, (void)column, (void)type, (void)row;
        return std::nullopt;
    }

    // A stream over the blob in `column` of the row of `quotedObject` whose row id (the name it
    // answers to: `rowidName`) is `rowid`, read by the engine piece by piece from the table itself,
    // for a provider that can do so cheaper than reading the row. nullopt where it cannot for this
    // value, and the caller reads the row again. The caller owns the stream's reference. Throws
    // ProviderError.
    virtual std::optional<SequentialStream*> openBlobByRowid(const QString& quotedObject, const QString& rowidName,
                                                             const QString& column, int64_t rowid)
    {
        (void)quotedObject, (void)rowidName, (void)column, (void)rowid;
        return std::nullopt;
    }

    // Opening and closing quote for identifiers ("[" and "]" for SQLite, the driver's quote for ODBC).
    virtual QString identifierQuoteOpen() const = 0;
    virtual QString identifierQuoteClose() const = 0;
};

class DataSource {
public:
    virtual ~DataSource() = default;
    // Connects. Throws ProviderError.
    virtual void initialize() = 0;
    virtual void uninitialize() = 0;
    virtual bool isInitialized() const = 0;
    virtual std::shared_ptr<Session> createSession() = 0;
};

} // namespace qb::data
