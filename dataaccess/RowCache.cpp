#include "dataaccess/RowCache.h"

#include <algorithm>

namespace qb::data {

RowCache::RowCache(int columnCount)
    : m_columnCount(columnCount), m_pages(new ColumnBinding[size_t(kPageSize) * size_t(std::max(columnCount, 1))]())
{
}

int RowCache::pageCount() const
{
    if (m_rowCount < uint64_t(kPageSize))
        return 0;
    const uint64_t pages = (m_rowCount + kPageSize - 1) / kPageSize;
    return int(std::min<uint64_t>(pages, uint64_t(INT32_MAX)));
}

int RowCache::rowsOnPage(int page) const
{
    if (page < 0)
        return 0;
    const uint64_t first = uint64_t(page) * kPageSize;
    if (first >= m_rowCount)
        return 0;
    return int(std::min<uint64_t>(kPageSize, m_rowCount - first));
}

const ColumnBinding* RowCache::cell(int r, int c) const
{
    if (!m_pages || r < 0 || r >= kPageSize || c < 0 || c >= m_columnCount)
        return nullptr;
    return m_pages.get() + size_t(r) * size_t(m_columnCount) + size_t(c);
}

} // namespace qb::data
