#include "shellext/DetachedProcess.h"

#include <QFile>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <linux/close_range.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace qb::shellext {

namespace {

QString failure(const QByteArray& program, int error)
{
    return QStringLiteral("cannot start %1: %2")
        .arg(QFile::decodeName(program), QString::fromLocal8Bit(std::strerror(error)));
}

// Only async-signal-safe calls from here on: the caller may have threads, and after fork only the
// forking thread exists.
[[noreturn]] void runProgram(const char* program, char* const* argv, int reportFd)
{
    ::setsid();
    // Every other inherited file closes at exec; the report pipe is close-on-exec already.
    ::syscall(SYS_close_range, 3u, ~0u, CLOSE_RANGE_CLOEXEC);
    ::execv(program, argv);
    const int error = errno;
    (void)!::write(reportFd, &error, sizeof error);
    ::_exit(127);
}

} // namespace

QString startDetached(const QByteArray& program, const QList<QByteArray>& arguments)
{
    std::vector<QByteArray> storage;
    storage.reserve(arguments.size() + 1);
    storage.push_back(program);
    for (const QByteArray& argument : arguments)
        storage.push_back(argument);
    std::vector<char*> argv;
    for (QByteArray& argument : storage)
        argv.push_back(argument.data());
    argv.push_back(nullptr);

    int report[2];
    if (::pipe2(report, O_CLOEXEC) != 0)
        return failure(program, errno);

    // Two forks: the middle process ends at once and is reaped here, so the program is nobody's
    // child that anyone would have to wait for.
    const pid_t middle = ::fork();
    if (middle < 0) {
        const int error = errno;
        ::close(report[0]);
        ::close(report[1]);
        return failure(program, error);
    }
    if (middle == 0) {
        ::close(report[0]);
        const pid_t child = ::fork();
        if (child == 0)
            runProgram(program.constData(), argv.data(), report[1]);
        if (child < 0) {
            const int error = errno;
            (void)!::write(report[1], &error, sizeof error);
        }
        ::_exit(0);
    }
    ::close(report[1]);
    int status = 0;
    while (::waitpid(middle, &status, 0) < 0 && errno == EINTR) {
    }

    // The pipe closes without a word when exec succeeded; otherwise it carries exec's error.
    int error = 0;
    ssize_t got;
    while ((got = ::read(report[0], &error, sizeof error)) < 0 && errno == EINTR) {
    }
    ::close(report[0]);
    return got == sizeof error ? failure(program, error) : QString();
}

} // namespace qb::shellext
