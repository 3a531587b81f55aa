#pragma once
// One running program per user and display: a lock file and a local socket in the user's runtime
// folder, both named from the program's instance name.
//
// A process claims the name under the lock: when a process of the same user listens on the
// socket, another instance is running; otherwise a socket left by a crashed process is removed
// and this process listens, becoming the owner. The lock (flock) only serialises two starts that
// race each other; the kernel drops it with its holder, so a lock file never outlives a crash
// in effect. A lock file or socket we may not open, or a name we cannot listen on, never keeps
// the program from starting: it then runs alone.
//
// A second process hands its request (its arguments) to the owner and waits for the owner's
// one-line answer; an owner that does not answer in time counts as not running. Both ends check
// that the other side belongs to the same user.
//
// Runs on the GUI thread: the owner's requests arrive through its event loop.
#include <QObject>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

class QLocalServer;

namespace qb {

// base + "-" + the user id + "-" + the display (WAYLAND_DISPLAY, else DISPLAY, else "console"),
// every character outside [A-Za-z0-9._-] written as %XX so that different displays never meet
// under one name. At most 259 characters.
QString sessionScopedName(const QString& base);

class SingleInstance : public QObject {
public:
    enum class Claim {
        Owner,        // no live instance: this process listens now
        OtherRunning, // a process of this user listens on the name
        Alone,        // neither: this process runs without serving (the name is unusable)
    };

    // The lock and the socket live in `folder`; by default the user's runtime folder
    // (XDG_RUNTIME_DIR when it is a folder of ours that nobody else may enter), else the
    // temporary folder.
    explicit SingleInstance(const QString& name, const QString& folder = QString());
    ~SingleInstance() override;

    Claim claim();

    // After OtherRunning: sends the request and waits up to timeoutMs for the owner's answer.
    // No answer (nothing listens any more, another user's socket, a hung owner): nullopt.
    std::optional<QString> handOver(const QStringList& request, int timeoutMs);

    // The owner's side: called on the GUI thread for each request; returns the answer line.
    using Handler = std::function<QString(const QStringList& request)>;
    void setHandler(Handler handler) { m_handler = std::move(handler); }

    // Where the socket is (for messages and tests).
    QString socketPath() const;

    // The user's runtime folder as described above.
    static QString defaultFolder();

private:
    void serve();

    QString m_name;
    QString m_folder;
    QLocalServer* m_server = nullptr;
    Handler m_handler;
};

} // namespace qb
