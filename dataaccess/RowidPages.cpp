#include "dataaccess/RowidPages.h"

#include "dataaccess/ServerCount.h"

#include <array>
#include <cstddef>

namespace qb::data {
namespace {

// Whether the plan of `select` names an index: the scan would then not return row id order.
bool planReadsAnIndex(Session& session, const QString& select)
{
    struct Row {
        char16_t detail[256];
        uint32_t length;
        uint32_t status;
    };
    std::unique_ptr<Rowset> plan = session.execute(QStringLiteral("explain query plan ") + select);
    if (!plan)
        return true;
    Binding b;
    b.ordinal = 4; // id, parent, notused, detail
    b.type = DBTYPE_WSTR;
    b.maxLength = sizeof Row::detail;
    b.valueOffset = offsetof(Row, detail);
    b.lengthOffset = offsetof(Row, length);
    b.statusOffset = offsetof(Row, status);
    plan->setBindings({b});
    while (plan->next()) {
        Row row{};
        plan->getData(reinterpret_cast<std::byte*>(&row));
        if (QString::fromUtf16(row.detail).contains(QLatin1String("INDEX"), Qt::CaseInsensitive))
            return true;
    }
    return false;
}

} // namespace

std::optional<RowidPages> RowidPages::open(Session& session, const QString& quotedObject,
                                           const std::vector<ColumnInfo>& columns)
{
    if (!session.tablesMayHaveRowids())
        return std::nullopt;
    // A column of the same name hides the row id; SQLite knows it by three names.
    QString rowid;
    for (const char* name : {"rowid", "_rowid_", "oid"}) {
        const QString candidate = QString::fromLatin1(name);
        bool taken = false;
        for (const ColumnInfo& c : columns)
            taken = taken || c.name.compare(candidate, Qt::CaseInsensitive) == 0;
        if (!taken) {
            rowid = candidate;
            break;
        }
    }
    if (rowid.isEmpty())
        return std::nullopt;
    try {
        // A view answers NULL, a table without row ids refuses the name.
        if (!firstIntegerOf(session, QStringLiteral("select ") + rowid + QStringLiteral(" from ") + quotedObject +
                                         QStringLiteral(" limit 1")))
            return std::nullopt;
        if (planReadsAnIndex(session, QStringLiteral("select * from ") + quotedObject))
            return std::nullopt;
    } catch (const ProviderError& e) {
        if (e.hr() == DB_E_CANCELED)
            throw;
        return std::nullopt;
    }
    return RowidPages(quotedObject, rowid);
}

std::optional<int64_t> RowidPages::rowidAfter(Session& session, std::optional<int64_t> from, uint64_t offset) const
{
    // Put together piece by piece: a quoted name may hold "%" and must not meet QString::arg.
    const QString where = from ? QStringLiteral(" where ") + m_rowid + QStringLiteral(" >= ") + QString::number(*from)
                               : QString();
    return firstIntegerOf(session, QStringLiteral("select ") + m_rowid + QStringLiteral(" from ") + m_object + where +
                                       QStringLiteral(" order by ") + m_rowid + QStringLiteral(" limit 1 offset ") +
                                       QString::number(offset));
}

std::optional<int64_t> RowidPages::firstRowidOf(Session& session, int page, int pageSize)
{
    if (const auto known = m_firstRowid.find(page); known != m_firstRowid.end())
        return known->second;
    std::optional<int64_t> first;
    if (const auto before = m_firstRowid.find(page - 1); before != m_firstRowid.end())
        first = rowidAfter(session, before->second, uint64_t(pageSize)); // the next page: one seek
    else
        first = rowidAfter(session, std::nullopt, uint64_t(page) * uint64_t(pageSize)); // a jump
    if (first)
        m_firstRowid[page] = *first;
    return first;
}

std::unique_ptr<Rowset> RowidPages::rowsOfPage(Session& session, int page, int pageSize)
{
    const std::optional<int64_t> first = firstRowidOf(session, page, pageSize);
    if (!first)
        return nullptr;
    return session.execute(QStringLiteral("select * from ") + m_object + QStringLiteral(" where ") + m_rowid +
                           QStringLiteral(" >= ") + QString::number(*first) + QStringLiteral(" order by ") + m_rowid);
}

std::optional<SequentialStream*> RowidPages::openBlob(Session& session, int page, int row, int pageSize,
                                                     const QString& column)
{
    const std::optional<int64_t> first = firstRowidOf(session, page, pageSize);
    const std::optional<int64_t> rowid = first ? rowidAfter(session, first, uint64_t(row)) : std::nullopt;
    if (!rowid)
        return std::nullopt;
    return session.openBlobByRowid(m_object, m_rowid, column, *rowid);
}

} // namespace qb::data
