#pragma once
#include "console/script/StatementKind.h"

#include <QString>

namespace qb::console {

// Receives the statements of a script in text order, on the scanning thread.
class StatementSink {
public:
    virtual ~StatementSink() = default;
    // text: an ordinary statement without its ";", or a transaction token as written, ";" included.
    virtual void onStatement(const QString& text, StatementKind kind) = 0;
};

} // namespace qb::console
