#include "platform/StorageError.h"

#include "platform/BrelibException.h"
#include "platform/SystemErrorText.h"

#include <cerrno>

namespace qb {

void throwStorageError(int errnoValue)
{
    throw Brelib::exception(systemErrorText(errnoValue));
}

QString streamResultText(QbResult result)
{
    if (QB_SUCCEEDED(result))
        return {};
    switch (result) {
    case QB_STG_E_MEDIUMFULL:
        return systemErrorText(ENOSPC);
    case QB_STG_E_READFAULT:
    case QB_STG_E_WRITEFAULT:
    case QB_STG_E_SEEKERROR:
        return systemErrorText(EIO);
    case QB_STG_E_INSUFFICIENTMEMORY:
        return systemErrorText(ENOMEM);
    case QB_STG_E_INVALIDPOINTER:
        return systemErrorText(EFAULT);
    case QB_STG_E_REVERTED:
        return systemErrorText(ESTALE);
    case QB_E_INVALIDARG:
    case QB_STG_E_INVALIDFUNCTION:
        return systemErrorText(EINVAL);
    default:
        return QStringLiteral("Error 0x") + QString::number(quint32(result), 16).toUpper().rightJustified(8, u'0');
    }
}

} // namespace qb
