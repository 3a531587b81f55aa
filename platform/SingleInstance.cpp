#include "platform/SingleInstance.h"

#include <QCryptographicHash>
#include <QDataStream>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QLocalServer>
#include <QLocalSocket>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace qb {
namespace {

constexpr int kNameLimit = 259;
// How long a start waits for a racing start to finish its claim before going on without the lock.
constexpr int kLockWaitMs = 3000;
constexpr int kConnectTimeoutMs = 1000;
// A request larger than this is not ours.
constexpr quint32 kRequestLimit = 1 << 20;

QString escaped(const QString& text)
{
    QString out;
    for (const char c : text.toUtf8()) {
        const bool plain = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '.' ||
                           c == '_' || c == '-';
        out += plain ? QString(QLatin1Char(c)) : QStringLiteral("%%1").arg(uchar(c), 2, 16, QLatin1Char('0')).toUpper();
    }
    return out;
}

// The user id of the process at the other end of a connected local socket, or -1.
long peerUser(qintptr descriptor)
{
    struct ucred credentials {};
    socklen_t size = sizeof credentials;
    if (::getsockopt(int(descriptor), SOL_SOCKET, SO_PEERCRED, &credentials, &size) != 0)
        return -1;
    return long(credentials.uid);
}

bool fromSameUser(const QLocalSocket& socket)
{
    return peerUser(socket.socketDescriptor()) == long(::getuid());
}

// The flock of the claim, released when it goes (or with the process).
class ClaimLock {
public:
    explicit ClaimLock(const QString& path)
    {
        m_fd = ::open(QFile::encodeName(path).constData(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
        if (m_fd < 0)
            return;
        const QDeadlineTimer deadline(kLockWaitMs);
        while (::flock(m_fd, LOCK_EX | LOCK_NB) != 0) {
            if (deadline.hasExpired()) {
                // A start that hangs inside its claim must not keep this one from starting.
                ::close(m_fd);
                m_fd = -1;
                return;
            }
            ::usleep(10000);
        }
    }
    ~ClaimLock()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    ClaimLock(const ClaimLock&) = delete;
    ClaimLock& operator=(const ClaimLock&) = delete;

private:
    int m_fd = -1;
};

void writeFrame(QLocalSocket& socket, const QByteArray& payload)
{
    QByteArray frame;
    QDataStream out(&frame, QIODevice::WriteOnly);
    out << quint32(payload.size());
    frame += payload;
    socket.write(frame);
}

// Reads one length-prefixed frame, waiting up to the deadline; nullopt on time-out or garbage.
std::optional<QByteArray> readFrame(QLocalSocket& socket, const QDeadlineTimer& deadline)
{
    while (socket.bytesAvailable() < qint64(sizeof(quint32))) {
        if (socket.state() != QLocalSocket::ConnectedState || !socket.waitForReadyRead(int(deadline.remainingTime())))
            return std::nullopt;
    }
    quint32 size = 0;
    {
        QDataStream in(socket.read(sizeof size));
        in >> size;
    }
    if (size > kRequestLimit)
        return std::nullopt;
    QByteArray payload;
    while (payload.size() < qsizetype(size)) {
        payload += socket.read(size - payload.size());
        if (payload.size() < qsizetype(size) &&
            (socket.state() != QLocalSocket::ConnectedState || !socket.waitForReadyRead(int(deadline.remainingTime()))))
            return std::nullopt;
    }
    return payload;
}

} // namespace

QString sessionScopedName(const QString& base)
{
    QString display = qEnvironmentVariable("WAYLAND_DISPLAY");
    if (display.isEmpty())
        display = qEnvironmentVariable("DISPLAY");
    if (display.isEmpty())
        display = QStringLiteral("console");
    return (base + QStringLiteral("-%1-").arg(::getuid()) + escaped(display)).left(kNameLimit);
}

QString SingleInstance::defaultFolder()
{
    const QByteArray runtime = qgetenv("XDG_RUNTIME_DIR");
    struct stat st {};
    if (!runtime.isEmpty() && ::lstat(runtime.constData(), &st) == 0 && S_ISDIR(st.st_mode) && st.st_uid == ::getuid() &&
        (st.st_mode & 077) == 0)
        return QFile::decodeName(runtime);
    return QDir::tempPath();
}

SingleInstance::SingleInstance(const QString& name, const QString& folder)
    : m_name(name), m_folder(folder.isEmpty() ? defaultFolder() : folder)
{
}

SingleInstance::~SingleInstance() = default;

QString SingleInstance::socketPath() const
{
    QString path = m_folder + QLatin1Char('/') + m_name;
    // A socket's path has a small fixed limit; a long name goes by its digest instead.
    if (QFile::encodeName(path).size() >= qsizetype(sizeof(sockaddr_un::sun_path))) {
        const QByteArray digest = QCryptographicHash::hash(m_name.toUtf8(), QCryptographicHash::Sha1).toHex();
        path = m_folder + QStringLiteral("/qb-") + QString::fromLatin1(digest);
    }
    return path;
}

SingleInstance::Claim SingleInstance::claim()
{
    const QString path = socketPath();
    ClaimLock lock(path + QStringLiteral(".lock"));
    {
        QLocalSocket probe;
        probe.connectToServer(path);
        if (probe.waitForConnected(kConnectTimeoutMs)) {
            // Someone else's socket under our name is not an instance of ours, and not ours to remove.
            return fromSameUser(probe) ? Claim::OtherRunning : Claim::Alone;
        }
    }
    // Nobody answers: a socket file left by a crash (or anything else under the name) goes.
    QLocalServer::removeServer(path);
    auto* server = new QLocalServer(this);
    server->setSocketOptions(QLocalServer::UserAccessOption);
    if (!server->listen(path)) {
        delete server;
        return Claim::Alone;
    }
    m_server = server;
    connect(m_server, &QLocalServer::newConnection, this, &SingleInstance::serve);
    return Claim::Owner;
}

std::optional<QString> SingleInstance::handOver(const QStringList& request, int timeoutMs)
{
    const QDeadlineTimer deadline(timeoutMs);
    QLocalSocket socket;
    socket.connectToServer(socketPath());
    if (!socket.waitForConnected(int(deadline.remainingTime())) || !fromSameUser(socket))
        return std::nullopt;
    QByteArray payload;
    {
        QDataStream out(&payload, QIODevice::WriteOnly);
        out << request;
    }
    writeFrame(socket, payload);
    while (socket.bytesToWrite() > 0)
        if (!socket.waitForBytesWritten(int(deadline.remainingTime())))
            return std::nullopt;
    const std::optional<QByteArray> answer = readFrame(socket, deadline);
    if (!answer)
        return std::nullopt;
    return QString::fromUtf8(*answer);
}

void SingleInstance::serve()
{
    while (QLocalSocket* socket = m_server->nextPendingConnection()) {
        socket->setParent(this);
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        if (!fromSameUser(*socket)) {
            socket->abort();
            continue;
        }
        // The request is small and comes at once; it is read as it arrives.
        connect(socket, &QLocalSocket::readyRead, socket, [this, socket] {
            if (socket->property("qbAnswered").toBool())
                return;
            if (socket->bytesAvailable() < qint64(sizeof(quint32)))
                return;
            quint32 size = 0;
            QDataStream(socket->peek(sizeof size)) >> size;
            if (size > kRequestLimit) {
                socket->abort();
                return;
            }
            if (socket->bytesAvailable() < qint64(sizeof size + size))
                return;
            socket->read(sizeof size);
            QStringList request;
            QDataStream in(socket->read(size));
            in >> request;
            socket->setProperty("qbAnswered", true);
            const QString answer = m_handler ? m_handler(request) : QString();
            writeFrame(*socket, answer.toUtf8());
            socket->disconnectFromServer();
        });
    }
}

} // namespace qb
