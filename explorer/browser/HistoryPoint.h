#pragma once
// One remembered element: its number, its name when it was left (the object's display name for a
// table or view, the caption otherwise), the table or view it held and the request it had last
// been shown with.
#include "dataaccess/ObjectName.h"
#include "explorer/browser/ShowRequest.h"

#include <QString>
#include <optional>

namespace qb::browser {

struct HistoryPoint {
    int element = 0;
    QString name;
    std::optional<ShowRequest> request;
    std::optional<data::ObjectName> object;
};

} // namespace qb::browser
