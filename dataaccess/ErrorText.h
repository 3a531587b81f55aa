#pragma once
// Turning provider and system failures into the user's message: an action text (what the program
// was trying to do, from the string table), ": ", and the text of the failure.
#include "dataaccess/DbTypes.h"

#include <QString>

namespace Brelib {
class exception;
}

namespace qb::data {

class ProviderError;

// String-table ids of the action texts.
enum ActionText : int {
    kErrorBoxTitle = 60000,
    kActionCreateDataLink = 60001,
    kActionConnect = 60002,
    kUnknownError = 60004,
    kActionColumnInfo = 60006,
    kActionFieldData = 60009,
    kActionTableData = 60010,
    kActionElementInfo = 60011,
    kActionElementsInfo = 60012,
    kStorageNotCreatedWarning = 60013,
    kStorageNotCreated = 60014,
};

// The provider's description of the failure; without one, a fixed text for well-known codes;
// else an empty text.
QString providerErrorText(const ProviderError& error);
QString providerErrorText(HRESULT hr);

// action + ": " + text; either side may be empty.
QString composeMessage(const QString& action, const QString& text);
// The action text by string id, ": ", and the provider's text.
QString composeMessage(int actionId, const ProviderError& error);
Brelib::exception actionError(int actionId, const ProviderError& error);

} // namespace qb::data
