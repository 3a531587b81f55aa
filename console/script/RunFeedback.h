#pragma once
// What the script run shows outside the result window: the state of the run commands, the
// progress bar of the statement being executed, and the message box for failures outside the
// statements. Called on the worker thread; the window marshals each call to the GUI thread.
#include <QString>

namespace qb::console {

class RunFeedback {
public:
    virtual ~RunFeedback() = default;
    // "Stop execution" enabled; "Open connection", "Close connection", "Execute query" grayed.
    virtual void runStarted() = 0;
    // The reverse; called however the run ended.
    virtual void runFinished() = 0;
    // The progress bar of one statement (range 0 to 100): created, moved, destroyed.
    virtual void progressStarted() = 0;
    virtual void progressPosition(int position) = 0;
    virtual void progressFinished() = 0;
    // A message box captioned "Error" with an error icon.
    virtual void showError(const QString& text) = 0;
};

} // namespace qb::console
