#pragma once
// One ODBC statement handle of a connection: runs SQL text or a catalog function, describes the
// result columns, fetches rows and reads values with SQLGetData, whole or in chunks.
//
// Each execution gets a fresh handle: the SQLite ODBC driver (with StepAPI) keeps its table
// locks until the statement handle is freed; closing the cursor is not enough.
//
// Not thread-safe, except cancel(), which the caller's interrupt token calls from another thread
// while, and only while, this statement is in a driver call (InterruptToken::DriverCall): the
// driver manager closes the cursor of a statement cancelled while idle, which would break a
// rowset that merely waits for its next page. Every call is refused once the token is set.
#include "dataaccess/InterruptToken.h"
#include "dataaccess/Provider.h"
#include "dataaccess/providers/odbc/OdbcHandle.h"
#include "dataaccess/providers/odbc/OdbcTypeMapping.h"

#include <QByteArray>
#include <QString>
#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

namespace qb::data::odbc {

class OdbcConnection;
struct OdbcDriverInfo;

struct OdbcColumn {
    ColumnInfo info;
    FetchKind fetch = FetchKind::WideText;
};

class OdbcStatement final : public InterruptToken::Cancellable {
public:
    explicit OdbcStatement(std::shared_ptr<OdbcConnection> connection);
    ~OdbcStatement();
    OdbcStatement(const OdbcStatement&) = delete;
    OdbcStatement& operator=(const OdbcStatement&) = delete;

    const OdbcDriverInfo& driver() const;

    // Runs the text. True when it yields a result with columns (positioned before its first
    // row). For a text without rows, *rowsAffected receives the count the driver knows.
    bool execute(const QString& sql, int64_t* rowsAffected);
    // The catalog functions: SQLTables (tableType empty: every type) and SQLProcedures, over all
    // schemas.
    void catalogTables(const QString& tableType);
    void catalogProcedures();
    // Frees the handle (the cursor and whatever the driver holds for it).
    void release();
    // From the next execution on, results are static cursors that fetchAbsolute() positions.
    void setScrollable() { m_scrollable = true; }
    bool isScrollable() const { return m_scrollable; }

    std::vector<OdbcColumn> describeColumns();

    // The next row; false at the end. Values are read only by the calls below.
    bool fetch();
    // Row `row` (from 1) of a scrollable result; false when there is none.
    bool fetchAbsolute(uint64_t row);

    // Short columns of a result read row after row are bound (SQLBindCol) from the next fetch
    // on: the driver then fills them during the fetch, which costs less than one SQLGetData
    // each. `wanted[i]` says whether column i + 1 is read at all. Long columns and drivers that
    // cannot mix bound columns with SQLGetData stay with SQLGetData.
    void bindColumns(const std::vector<OdbcColumn>& columns, const std::vector<bool>& wanted);
    // Skipped rows are fetched without filling bound buffers.
    void unbindColumns();
    bool hasBoundColumns() const { return m_bound; }
    struct BoundValue {
        bool isNull = false;
        const char* data = nullptr;
        size_t size = 0;
    };
    // The value of `column` in the current row from its bound buffer; nullopt when the column
    // is not bound, the row was fetched before binding, or the value did not fit (read() it).
    std::optional<BoundValue> boundValue(uint16_t column) const;
    // Counts every fetch, so a stream can tell that its row is gone.
    uint64_t rowGeneration() const { return m_rowGeneration; }

    struct Value {
        bool isNull = false;
        bool complete = true;          // false: stopped at the limit, more follows
        std::optional<uint64_t> total; // the full length in bytes, when known
    };
    // Reads column `column` of the current row into `out` (without terminator): the whole
    // value, or at least `limit` bytes of it when it is longer.
    Value read(uint16_t column, FetchKind kind, QByteArray& out, size_t limit = SIZE_MAX);
    // After a read that stopped at its limit: the bytes that were left, read and dropped.
    uint64_t skipRest(uint16_t column, FetchKind kind);
    // For streams: the next bytes of `column` from byte `offset` of its value (`total` bytes long
    // when known), in the row of `generation`; empty at the end of the value.
    void readAt(uint64_t generation, uint16_t column, FetchKind kind, uint64_t offset, std::optional<uint64_t> total,
                QByteArray& out);

    // SQLCancel, where the driver takes it from another thread (OdbcDriverInfo).
    void cancel() override;

private:
    struct Chunk {
        bool isNull = false;
        bool noData = false;                // SQL_NO_DATA: nothing (more) to read
        size_t bytes = 0;
        bool more = false;                  // the value goes on
        std::optional<uint64_t> remaining; // bytes left before this chunk, when the driver knows
    };
    Chunk getChunk(uint16_t column, FetchKind kind, char* buffer, size_t capacity);
    bool fetchScroll(SQLSMALLINT orientation, SQLLEN offset);
    void positionOn(uint16_t column);
    void renewHandle();
    SQLHSTMT handle() const { return m_handle.get(); }
    SQLRETURN checked(SQLRETURN rc) const;

    struct BoundColumn {
        QByteArray buffer;
        SQLLEN indicator = 0;
        size_t terminator = 0;
        bool active = false;
    };

    std::shared_ptr<OdbcConnection> m_connection;
    OdbcHandle m_handle;
    uint64_t m_rowGeneration = 0;
    // Where SQLGetData stands: the column being read and the bytes of it read so far.
    uint16_t m_getDataColumn = 0;
    uint64_t m_getDataConsumed = 0;
    bool m_getDataDone = false;
    QByteArray m_scratch;
    std::vector<BoundColumn> m_boundColumns; // per column index; filled by SQLFetch
    bool m_bound = false;
    bool m_rowIsBound = false; // the current row was fetched with the columns bound
    bool m_scrollable = false;
};

} // namespace qb::data::odbc
