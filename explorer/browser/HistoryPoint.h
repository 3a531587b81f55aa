#pragma once
// One remembered element: its number, its name when it was left (the object name for a table or
// view, the caption otherwise) and the request it had last been shown with.
#include "explorer/browser/ShowRequest.h"

#include <QString>
#include <optional>

namespace qb::browser {

struct HistoryPoint {
    int element = 0;
    QString name;
    std::optional<ShowRequest> request;
};

} // namespace qb::browser
