#pragma once
// Pages of an SQLite table read by its row id instead of by restarting the scan and skipping rows:
// page p is "select * from T where rowid >= first(p) order by rowid", where first(p) is the row id
// that starts page p. Each page start found is remembered, so the next page and every page seen
// before are one b-tree seek away; a page reached otherwise (a jump) finds its start by an offset
// the engine walks, never by rows that cross into the program.
//
// A plain scan of a table with row ids returns them in row id order unless it reads an index
// instead, so open() accepts a table only when its scan reads the table itself: the pages are
// then the rows restart-and-skip shows.
#include "dataaccess/Provider.h"

#include <QString>
#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <vector>

namespace qb::data {

class RowidPages {
public:
    // Pages for the object named by `quotedObject` with the scan's `columns`, or nullopt where the
    // session has no row ids, the object has none (a view, a table without row ids), every row id
    // name is taken by a column, or its scan reads an index. Throws only a stop (DB_E_CANCELED).
    static std::optional<RowidPages> open(Session& session, const QString& quotedObject,
                                          const std::vector<ColumnInfo>& columns);

    // The rows of page `page` (pageSize rows each) from the page's first row on, in row id order;
    // nullptr when the table has no rows there (any more). Throws ProviderError.
    std::unique_ptr<Rowset> rowsOfPage(Session& session, int page, int pageSize);

    // A stream over the blob in `column` of row `row` of page `page`, where the session reads a
    // blob by its row id (see Session::openBlobByRowid); nullopt where not. Throws ProviderError.
    std::optional<SequentialStream*> openBlob(Session& session, int page, int row, int pageSize, const QString& column);

private:
    RowidPages(QString quotedObject, QString rowid) : m_object(std::move(quotedObject)), m_rowid(std::move(rowid)) {}
    // The row id `offset` rows after the row id `from` (inclusive; the table's first when nullopt).
    std::optional<int64_t> rowidAfter(Session& session, std::optional<int64_t> from, uint64_t offset) const;
    std::optional<int64_t> firstRowidOf(Session& session, int page, int pageSize);

    QString m_object;
    QString m_rowid; // the name the row id answers to in this table
    std::map<int, int64_t> m_firstRowid; // page -> the row id that starts it
};

} // namespace qb::data
