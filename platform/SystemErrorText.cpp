#include "platform/SystemErrorText.h"

#include <system_error>

namespace qb {

QString systemErrorText(int errnoValue)
{
    // error_category::message is thread-safe where strerror is not.
    return QString::fromStdString(std::generic_category().message(errnoValue));
}

} // namespace qb
