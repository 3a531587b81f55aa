#pragma once
// How an element is to be shown: the caller's SQL text (empty: the element's own query), whether
// the list columns are rebuilt, and whether loaded content is dropped first.
#include <QString>

namespace qb::browser {

struct ShowRequest {
    QString sql;
    bool redraw = true;
    bool refresh = false;

    bool operator==(const ShowRequest&) const = default;
};

} // namespace qb::browser
