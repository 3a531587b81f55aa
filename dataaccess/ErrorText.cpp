#include "dataaccess/ErrorText.h"

#include "dataaccess/Provider.h"
#include "platform/BrelibException.h"
#include "platform/StringTable.h"

namespace qb::data {

QString providerErrorText(const ProviderError& error)
{
    if (!error.description().isEmpty())
        return error.description();
    return providerErrorText(error.hr());
}

QString providerErrorText(HRESULT hr)
{
    switch (hr) {
    case E_OUTOFMEMORY:
        return QStringLiteral("Out of memory.");
    case E_INVALIDARG:
        return QStringLiteral("One or more arguments are invalid.");
    case E_UNEXPECTED:
        return QStringLiteral("Catastrophic failure.");
    case E_NOINTERFACE:
        return QStringLiteral("The operation is not supported by this provider.");
    case REGDB_E_CLASSNOTREG:
        return QStringLiteral("The provider is not known.");
    case STG_E_FILENOTFOUND:
        return QStringLiteral("The file could not be found.");
    case DB_E_ERRORSINCOMMAND:
        return QStringLiteral("The command contained one or more errors.");
    case DB_E_NOTABLE:
        return QStringLiteral("The table or view does not exist.");
    case DB_E_CANCELED:
        return QStringLiteral("The operation was canceled.");
    case DB_SEC_E_AUTH_FAILED:
        return QStringLiteral("Authentication failed.");
    case DB_E_CANTCONVERTVALUE:
        return QStringLiteral("A literal value in the command could not be converted to the correct type.");
    case DB_E_NOTSUPPORTED:
        return QStringLiteral("The method is not supported by this provider.");
    case E_WIN32_CANCELLED:
        return QStringLiteral("The operation was canceled by the user.");
    default:
        return {};
    }
}

QString composeMessage(const QString& action, const QString& text)
{
    return action + QStringLiteral(": ") + text;
}

QString composeMessage(int actionId, const ProviderError& error)
{
    return composeMessage(loadString(actionId), providerErrorText(error));
}

Brelib::exception actionError(int actionId, const ProviderError& error)
{
    return Brelib::exception(composeMessage(actionId, error));
}

} // namespace qb::data
