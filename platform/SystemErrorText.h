#pragma once
// The system's text for an errno value: what a failed system call tells the user.
#include <QString>

namespace qb {

QString systemErrorText(int errnoValue);

} // namespace qb
