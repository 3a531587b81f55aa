#pragma once
// The connection of one main window, with the frame every opening command of either program
// follows: a trial open (so a bad name leaves the current connection as it was), the window's
// before-connect step, the window's close command, the real open with its session, the
// recent-list entry for a file, the after-connect step. The steps are hooks the window fills in;
// a step that refuses ends the command quietly. Failures throw Brelib::exception with the
// complete message.
#include "dataaccess/Connection.h"

#include <QString>
#include <functional>

namespace qb {

class WindowConnection : public data::Connection {
public:
    struct Hooks {
        std::function<bool()> beforeConnect;    // false: the command ends; unset: goes on
        std::function<bool()> closeConnection;  // the window's close command; unset: close()
        std::function<void(const QString& path)> addToRecentList; // files only
        std::function<void()> afterConnect;
    };

    enum class OpenResult { Opened, Refused };

    // The connection name of a connection opened from a connection string.
    static QString connectionStringName() { return QStringLiteral("connection string"); }

    WindowConnection() = default;
    explicit WindowConnection(Hooks hooks) : m_hooks(std::move(hooks)) {}
    void setHooks(Hooks hooks) { m_hooks = std::move(hooks); }

    // Opens a data link file (isDataLinkFile) or a connection string. A failed trial open throws
    // "The new connection has been interrupted: " + the provider's text and changes nothing;
    // a failure of the real open or of the session throws the provider's text alone (the old
    // connection is closed by then).
    OpenResult openConnection(const QString& name, bool isDataLinkFile);

    // What follows the program's name in the window caption:
    //   " - no connection", " - [" + connection name + "]", or " - connection string" when the
    //   name is empty.
    QString captionSuffix() const;
    static QString captionSuffix(bool connected, const QString& connectionName);

private:
    Hooks m_hooks;
};

} // namespace qb
