#pragma once
// psqlODBC passes every date and timestamp through calendar fields of its own, also when asked
// for text (SQL_C_CHAR and SQL_C_WCHAR alike; SQL_C_BINARY is refused with 07006), so values
// those fields cannot hold come out as stand-ins that look like ordinary dates:
//
//   server's value                      psqlODBC's text
//   timestamp 'infinity'                9999-12-31 23:59:59
//   timestamp '-infinity'               9999-01-01 00:00:00 BC   (no such timestamp exists)
//   timestamp after year 9999           0000-00-00 00:00:00
//   date 'infinity', '-infinity'        0000-00-00
//   date after year 9999                its first four digits, then -00-00
//
// The server's text cannot be had through the driver, so the provider puts back the server's
// words where the stand-in tells which value it is, and reports the others as unavailable rather
// than show a date the server does not hold. What the text cannot tell:
//   - a stored 9999-12-31 23:59:59 (without fraction) is read as 'infinity';
//   - a date before year 1 loses its era ("4713-01-01" for 4713-01-01 BC); timestamps keep it;
//   - a timestamp with time zone comes as the session's wall-clock time, without the offset.
#include "dataaccess/DbTypes.h"

#include <string_view>

namespace qb::data::odbc {

struct DateText {
    enum class Kind {
        AsGiven,     // an ordinary value: the driver's text is right
        ServerText,  // a stand-in: `serverText` is what the server holds
        Unavailable, // a stand-in for a value the driver could not read
    };
    Kind kind = Kind::AsGiven;
    std::string_view serverText; // static text, for ServerText
};

// What psqlODBC's text of a value means, for a column of `type`; AsGiven for anything but
// DBTYPE_DBDATE and DBTYPE_DBTIMESTAMP.
DateText psqlodbcDateText(DBTYPE type, std::string_view driverText);

} // namespace qb::data::odbc
