#pragma once
// The rows of one table, view or query, as the table element shows them: the column records, the
// bindings into a row buffer of ColumnBinding records, the total row count and one cached page of
// 100 rows, with the text of each cell. The table element owns one and delegates to it.
//
// Threads: a load runs on the loader thread; cellText, cellDescription, loadPage and the
// getters are called from the GUI thread. A load builds the new content without holding the
// cache lock and publishes it under the lock at the end, so a GUI request never waits for a load
// that may itself be waiting for the GUI thread (the LoadSink's owner may carry its calls over
// there). A load is stopped through the
// interrupt token its caller armed on the loading thread (InterruptToken.h).
#include "dataaccess/ColumnBinding.h"
#include "dataaccess/ObjectName.h"
#include "dataaccess/Provider.h"

#include <QString>
#include <cstddef>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <vector>

namespace qb::data {

class LoadSink;
class RowCache;

class TableData {
public:
    static constexpr int kPageSize = 100;

    enum class LoadResult {
        Loaded,   // rows counted, first page cached
        NoRowset, // the statement returned no rows (quietly ended)
        Failed,   // an error entry went to the sink; content as far as it got
    };

    TableData();
    ~TableData();
    TableData(const TableData&) = delete;
    TableData& operator=(const TableData&) = delete;

    // The whole load of one result, in one of two kinds:
    //   loadObject: the plain scan of a table or view ("select * from " + the quoted object), a
    //     statement the program builds. The engine counts the object (Session::rowCountStatement,
    //     "select count(*) from " + the quoted object as a rule) and the scan is read for the first
    //     page only; where the count fails the
    //     scan's rows are walked instead, without a message. Later pages of an SQLite table with
    //     row ids start at a remembered row id (RowidPages.h); other objects are read from a cursor
    //     the server positions on the page (Session::executePositioned), opened at the first page
    //     move and closed with the content, or where there is none run the scan again and skip to
    //     the page. Rows the count did not see (a table growing meanwhile) are not shown.
    //   loadUserSql: SQL the user typed, which runs exactly once: the count, every page and the
    //     whole values of cells read what that one run returned, from a spool of its rows in
    //     temporary storage (Spool.h) that goes with the content (clearData, the next load).
    // Stages and positions go to the sink as they come; with `redraw` the result's columns go to
    // it too. Provider failures, and a spool that cannot be written, become the sink's error and
    // are not thrown; anything else (out of memory, a programming error) propagates to the
    // caller. Always ends with the stage Finished at position 100.
    // A load whose interrupt token is set, before it began or at any point of it, stops at its
    // next provider call, which fails with DB_E_CANCELED: reported as that stage's failure.
    LoadResult loadObject(const std::shared_ptr<Session>& session, const ObjectName& object, bool redraw,
                          LoadSink& sink);
    LoadResult loadUserSql(const std::shared_ptr<Session>& session, const QString& sqlText, bool redraw,
                           LoadSink& sink);

    // Brings page p into the cache; nothing when p is the current page or p >= pageCount().
    // Throws Brelib::exception ("Trying to get the data from a field: ...") on failure.
    void loadPage(int page);

    // Display text of a cell: row within the current page, column from 1 (column 0 has no text).
    // "(NULL)" for NULL, otherwise formatValue. Empty outside the page or when not loaded.
    QString cellText(int row, int column) const;
    // The longer text of the description tooltip: "(EMPTY)" for NULL, the text (at most its first
    // 512 bytes), "Binary data" for bytes.
    QString cellDescription(int row, int column) const;
    // Format value of column index c (0-based) on a value area (ValueFormat.h), at most `capacity`
    // characters.
    QString formatValue(int c, const std::byte* valueArea, int capacity) const;

    // Copies the whole value of a cell (row within the current page, column from 1) to `write`, in
    // blocks, for the plug-in hand-off. Long, by-reference and cut values are read again in full:
    // from the spool for SQL the user typed, for the program's own scan the way its pages are read;
    // other inline values give their own bytes (their length, not the whole inline area).
    // Returns the value's type (the declared type for values read again, the bound type otherwise), or nullopt for
    // NULL. Throws Brelib::exception ("Trying to get the data from a field: ...") on failure.
    std::optional<DBTYPE> copyCellValue(int row, int column,
                                        const std::function<void(const std::byte*, size_t)>& write) const;

    // Releases the rowset, the row cache and the column records: not loaded afterwards.
    void clearData();

    bool isLoaded() const;
    uint64_t rowCount() const;
    // 0 below 100 rows, else the row count divided by 100, rounded up.
    int pageCount() const;
    int currentPage() const;
    // Rows held by the current page (100, or fewer on the last page).
    int rowsOnCurrentPage() const;
    int columnCount() const;
    std::vector<ColumnInfo> columns() const;
    // The binding record (type, length, flag) chosen for column index c (0-based), without a value.
    std::optional<ColumnBinding> columnBinding(int c) const;
    // The query text the last load ran (empty before the first).
    QString queryText() const;

private:
    struct Content;
    enum class Origin { ObjectScan, UserSql };
    LoadResult load(const std::shared_ptr<Session>& session, Origin origin, const ObjectName& object,
                    const QString& sqlText, bool redraw, LoadSink& sink);
    // The cached cell, with the cache lock held by the caller; nullptr outside the page.
    const ColumnBinding* cellLocked(int row, int column) const;
    void publish(std::unique_ptr<Content> content);

    mutable std::mutex m_cacheMutex; // the cache lock: rowset, row buffer, page memory, columns
    mutable std::mutex m_pageMutex;  // the page lock: the current page index; taken before the cache lock
    std::unique_ptr<Content> m_content;
    int m_currentPage = 0;

    mutable std::mutex m_queryMutex;
    QString m_queryText;
};

} // namespace qb::data
