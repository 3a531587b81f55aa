#pragma once
// One page of rows: PageSize x column count ColumnBinding records, zero-filled at creation, plus
// the total row count of the result. Not locked itself: its owner (TableData) holds the cache lock.
#include "dataaccess/ColumnBinding.h"

#include <cstdint>
#include <memory>

namespace qb::data {

class RowCache {
public:
    static constexpr int kPageSize = 100;

    RowCache() = default;
    // Page memory for the columns; throws std::bad_alloc when it cannot be had.
    explicit RowCache(int columnCount);

    int columnCount() const { return m_columnCount; }
    uint64_t rowCount() const { return m_rowCount; }
    void setRowCount(uint64_t rows) { m_rowCount = rows; }
    // Rows of the current page actually held (a failed page load holds fewer).
    int rowsHeld() const { return m_rowsHeld; }
    void setRowsHeld(int rows) { m_rowsHeld = rows; }

    // 0 while the rows fit on less than a page (no paging needed); else as many pages as the rows
    // fill, the last one possibly short.
    int pageCount() const;
    // Rows page p holds: the page size, or on the last page the rest.
    int rowsOnPage(int page) const;

    ColumnBinding* row(int r) { return m_pages.get() + size_t(r) * size_t(m_columnCount); }
    // The cell of row r (0..kPageSize-1) and column index c (0-based); nullptr outside.
    const ColumnBinding* cell(int r, int c) const;

private:
    int m_columnCount = 0;
    uint64_t m_rowCount = 0;
    int m_rowsHeld = 0;
    std::unique_ptr<ColumnBinding[]> m_pages;
};

} // namespace qb::data
