#pragma once
// One request for the loader: which element to show and how. A negative job code shows element
// -jobCode without recording the element that is left (history steps, the first show after
// connecting). The object name, when present, becomes the table or view element's object before
// the load, so that a history step brings back the table it remembered.
#include "explorer/browser/ShowRequest.h"

#include <QString>
#include <optional>

namespace qb::browser {

struct ShowOrder {
    int jobCode = 0;
    std::optional<ShowRequest> request;
    std::optional<QString> objectName;
};

} // namespace qb::browser
