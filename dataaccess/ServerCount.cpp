#include "dataaccess/ServerCount.h"

#include <cstddef>
#include <cstring>

namespace qb::data {

std::optional<int64_t> firstIntegerOf(Session& session, const QString& sql)
{
    struct Row {
        int64_t value;
        uint32_t length;
        uint32_t status;
    } row{};
    std::unique_ptr<Rowset> rowset = session.execute(sql);
    if (!rowset)
        return std::nullopt;
    Binding b;
    b.ordinal = 1;
    b.type = DBTYPE_I8;
    b.valueOffset = offsetof(Row, value);
    b.lengthOffset = offsetof(Row, length);
    b.statusOffset = offsetof(Row, status);
    rowset->setBindings({b});
    if (!rowset->next())
        return std::nullopt;
    rowset->getData(reinterpret_cast<std::byte*>(&row));
    if (row.status != DBSTATUS_S_OK)
        return std::nullopt;
    return row.value;
}

std::optional<uint64_t> countOnServer(Session& session, const QString& quotedObject)
{
    std::optional<int64_t> count;
    try {
        count = firstIntegerOf(session, session.rowCountStatement(quotedObject));
    } catch (const ProviderError& e) {
        if (e.hr() == DB_E_CANCELED)
            throw;
        return std::nullopt;
    }
    if (!count || *count < 0)
        return std::nullopt;
    return uint64_t(*count);
}

} // namespace qb::data
