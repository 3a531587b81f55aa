#pragma once
// One request for the loader: which element to show and how. A negative job code shows element
// -jobCode without recording the element that is left (history steps, the first show after
// connecting). The object, when present, becomes the table or view element's object before the
// load, so that opening an item or a history step shows that table.
#include "dataaccess/ObjectName.h"
#include "explorer/browser/ShowRequest.h"

#include <optional>

namespace qb::browser {

struct ShowOrder {
    int jobCode = 0;
    std::optional<ShowRequest> request;
    std::optional<data::ObjectName> object;
};

} // namespace qb::browser
