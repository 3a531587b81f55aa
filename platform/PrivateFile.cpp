#include "platform/PrivateFile.h"

#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QUuid>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace qb {
namespace {

QByteArray local(const QString& path)
{
    return QFile::encodeName(path);
}

// Opens a new private file for writing; -1 with errno set on failure.
int openNewPrivate(const QString& path)
{
    int fd;
    do
        fd = ::open(local(path).constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
    while (fd < 0 && errno == EINTR);
    return fd;
}

int writeAll(int fd, const QByteArray& bytes)
{
    const char* data = bytes.constData();
    qsizetype left = bytes.size();
    while (left > 0) {
        const ssize_t n = ::write(fd, data, size_t(left));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return errno;
        }
        data += n;
        left -= n;
    }
    return 0;
}

// Best effort: the rename has happened either way, and some file systems cannot sync a folder.
void syncFolderOf(const QString& path)
{
    const int dir = ::open(local(QFileInfo(path).absolutePath()).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir < 0)
        return;
    ::fsync(dir);
    ::close(dir);
}

} // namespace

int createPrivateFile(const QString& path)
{
    const int fd = openNewPrivate(path);
    if (fd < 0)
        return errno;
    ::close(fd);
    return 0;
}

int renameOver(const QString& from, const QString& to)
{
    if (::rename(local(from).constData(), local(to).constData()) != 0)
        return errno;
    syncFolderOf(to);
    return 0;
}

int writeFileReplacing(const QString& target, const QByteArray& bytes)
{
    const QFileInfo info(target);
    const QString prefix = info.absolutePath() + QStringLiteral("/.") + info.fileName() + u'.';
    QString temporary;
    int fd = -1;
    // A random name that happens to exist is simply drawn again.
    for (int attempt = 0; attempt < 16 && fd < 0; ++attempt) {
        temporary = prefix + QString::number(QRandomGenerator::system()->generate64(), 36) + QStringLiteral(".tmp");
        fd = openNewPrivate(temporary);
        if (fd < 0 && errno != EEXIST)
            return errno;
    }
    if (fd < 0)
        return EEXIST;

    int rc = writeAll(fd, bytes);
    if (rc == 0 && ::fsync(fd) != 0)
        rc = errno;
    if (::close(fd) != 0 && rc == 0)
        rc = errno;
    if (rc == 0)
        rc = renameOver(temporary, target);
    if (rc != 0)
        ::unlink(local(temporary).constData());
    return rc;
}

QString newGuidText()
{
    return QUuid::createUuid().toString(QUuid::WithBraces).toUpper();
}

} // namespace qb
