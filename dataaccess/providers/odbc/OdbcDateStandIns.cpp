#include "dataaccess/providers/odbc/OdbcDateStandIns.h"

namespace qb::data::odbc {

DateText psqlodbcDateText(DBTYPE type, std::string_view text)
{
    if (type != DBTYPE_DBDATE && type != DBTYPE_DBTIMESTAMP)
        return {};
    if (type == DBTYPE_DBTIMESTAMP) {
        if (text == "9999-12-31 23:59:59")
            return {DateText::Kind::ServerText, "infinity"};
        if (text == "9999-01-01 00:00:00 BC")
            return {DateText::Kind::ServerText, "-infinity"};
    }
    // "YYYY-MM-DD...": a month or day of 00 belongs to no date.
    if (text.size() >= 10 && (text.substr(5, 2) == "00" || text.substr(8, 2) == "00"))
        return {DateText::Kind::Unavailable, {}};
    return {};
}

} // namespace qb::data::odbc
