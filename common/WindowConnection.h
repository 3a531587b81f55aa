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

    // The steps of openConnection, for the commands that make their data source another way (a
    // new data link file, the connection-string prompt) and go through the same frame:
    //   trialOpen: an initialized data source for the name is made and dropped again; a failure
    //     throws "The new connection has been interrupted: " + the provider's text;
    //   beforeConnect / closeForNewConnection: the window's steps; false ends the command;
    //   replaceConnection: what follows the before-connect step (close, real open, session,
    //     recent list, after-connect);
    //   afterConnect: the window's after-connect step.
    static void trialOpen(const QString& name, bool isDataLinkFile);
    bool beforeConnect();
    bool closeForNewConnection();
    OpenResult replaceConnection(const QString& name, bool isDataLinkFile);
    void afterConnect();

    // What follows the program's name in the window caption:
    //   " - no connection", " - [" + connection name + "]", or " - connection string" when the
    //   name is empty.
    QString captionSuffix() const;
    static QString captionSuffix(bool connected, const QString& connectionName);

private:
    Hooks m_hooks;
};

} // namespace qb
