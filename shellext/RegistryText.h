#pragma once
// Text values of the registry as the extension reads and writes them: REG_SZ data is UTF-16LE with
// its terminator.
#include "platform/Registry.h"

#include <QString>
#include <optional>

namespace qb::shellext {

// The value's text up to its first zero character, whatever its length; nullopt when the value is
// missing, unreadable or not of a string type (REG_SZ or REG_EXPAND_SZ, taken as written).
std::optional<QString> readText(reg::HKEY key, const QString& name);
long writeText(reg::HKEY key, const QString& name, const QString& text);

} // namespace qb::shellext
