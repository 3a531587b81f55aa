#pragma once
// Where elements find the session of the window's open connection at the start of a load:
// null when no connection is open. The session is shared, so a load that outlives the connection
// (a detached job) still works on live objects.
#include "dataaccess/Provider.h"

#include <functional>
#include <memory>

namespace qb::browser {

using SessionSource = std::function<std::shared_ptr<data::Session>()>;

} // namespace qb::browser
