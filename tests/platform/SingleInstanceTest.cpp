// The single-instance service inside one test process: the owner in the test's event loop, the
// second start on a thread of its own (it waits for the owner's answer). Sockets left by a crash,
// plain files and silent owners under the name.
#include "platform/SingleInstance.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QFile>
#include <QFileInfo>
#include <QLocalServer>

#include <atomic>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <thread>
#include <fcntl.h>
#include <unistd.h>

using qb::SingleInstance;

namespace {

const QString kName = QStringLiteral("qb-single-instance-test");

// Runs `call` on a thread of its own while the event loop turns here; returns its result.
template <typename Call>
auto onOtherThread(Call call) -> decltype(call())
{
    std::atomic<bool> done{false};
    decltype(call()) result{};
    std::thread thread([&] {
        result = call();
        done = true;
    });
    QDeadlineTimer deadline(30000);
    while (!done && !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    thread.join();
    return result;
}

// A socket file nobody listens on, as a crashed owner leaves it.
void leaveStaleSocket(const QString& path)
{
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    ASSERT_GE(fd, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const QByteArray name = QFile::encodeName(path);
    ASSERT_LT(size_t(name.size()), sizeof address.sun_path);
    std::memcpy(address.sun_path, name.constData(), size_t(name.size()));
    ASSERT_EQ(::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    ::close(fd);
    ASSERT_TRUE(QFileInfo(path).exists());
}

class EnvironmentGuard {
public:
    explicit EnvironmentGuard(std::initializer_list<const char*> names)
    {
        for (const char* n : names)
            m_saved.push_back({n, qgetenv(n), qEnvironmentVariableIsSet(n)});
    }
    ~EnvironmentGuard()
    {
        for (const auto& s : m_saved) {
            if (s.set)
                qputenv(s.name, s.value);
            else
                qunsetenv(s.name);
        }
    }

private:
    struct Saved {
        const char* name;
        QByteArray value;
        bool set;
    };
    std::vector<Saved> m_saved;
};

} // namespace

TEST(SingleInstance, TheSecondFindsTheOwnerAndGetsItsAnswerToItsRequest)
{
    qbtest::TempDir dir;
    SingleInstance owner(kName, dir.qpath());
    QStringList received;
    owner.setHandler([&](const QStringList& request) {
        received = request;
        return QStringLiteral("brought forward");
    });
    ASSERT_EQ(owner.claim(), SingleInstance::Claim::Owner);

    const auto answer = onOtherThread([&] {
        SingleInstance second(kName, dir.qpath());
        EXPECT_EQ(second.claim(), SingleInstance::Claim::OtherRunning);
        return second.handOver({QStringLiteral("-udl"), QStringLiteral("/data/a b.udl")}, 10000);
    });
    ASSERT_TRUE(answer.has_value());
    EXPECT_EQ(*answer, "brought forward");
    EXPECT_EQ(received, (QStringList{"-udl", "/data/a b.udl"}));
}

TEST(SingleInstance, ASocketLeftByACrashOrAPlainFileUnderTheNameIsReplaced)
{
    qbtest::TempDir dir;
    {
        SingleInstance first(kName, dir.qpath());
        leaveStaleSocket(first.socketPath());
        ASSERT_EQ(first.claim(), SingleInstance::Claim::Owner);
    }
    // The owner's socket went with it; a plain file takes its place now.
    SingleInstance probe(kName, dir.qpath());
    QFile plain(probe.socketPath());
    ASSERT_TRUE(plain.open(QIODevice::WriteOnly));
    plain.close();
    EXPECT_EQ(probe.claim(), SingleInstance::Claim::Owner);
}

TEST(SingleInstance, AnOwnerThatNeverAnswersCountsAsNotRunning)
{
    qbtest::TempDir dir;
    SingleInstance second(kName, dir.qpath());
    // Listens, but nobody reads or answers (a hung process).
    QLocalServer silent;
    ASSERT_TRUE(silent.listen(second.socketPath()));
    EXPECT_EQ(second.claim(), SingleInstance::Claim::OtherRunning);
    EXPECT_EQ(second.handOver({QStringLiteral("-x")}, 300), std::nullopt);
}

TEST(SingleInstance, ALockHeldByAHungStartDelaysButNeverBlocksTheClaim)
{
    qbtest::TempDir dir;
    SingleInstance instance(kName, dir.qpath());
    const int fd = ::open(QFile::encodeName(instance.socketPath() + ".lock").constData(), O_RDWR | O_CREAT, 0600);
    ASSERT_GE(fd, 0);
    // Another open file description: flock conflicts with it as with another process.
    ASSERT_EQ(::flock(fd, LOCK_EX), 0);
    EXPECT_EQ(instance.claim(), SingleInstance::Claim::Owner);
    ::close(fd);
}

TEST(SingleInstance, NamesSeparateUsersAndDisplaysAndTheFolderMustBePrivate)
{
    EnvironmentGuard guard({"DISPLAY", "WAYLAND_DISPLAY", "XDG_RUNTIME_DIR"});
    qunsetenv("WAYLAND_DISPLAY");
    qputenv("DISPLAY", ":0");
    const QString onZero = qb::sessionScopedName(QStringLiteral("base"));
    EXPECT_EQ(onZero, QStringLiteral("base-%1-%3A0").arg(::getuid()));
    qputenv("DISPLAY", "_0");
    EXPECT_NE(qb::sessionScopedName(QStringLiteral("base")), onZero);
    qputenv("WAYLAND_DISPLAY", "/run/user/7/wayland-1");
    EXPECT_EQ(qb::sessionScopedName(QStringLiteral("base")),
              QStringLiteral("base-%1-%2Frun%2Fuser%2F7%2Fwayland-1").arg(::getuid()));
    qunsetenv("WAYLAND_DISPLAY");
    qunsetenv("DISPLAY");
    EXPECT_TRUE(qb::sessionScopedName(QStringLiteral("base")).endsWith("-console"));
    EXPECT_EQ(qb::sessionScopedName(QString(300, u'x')).size(), 259);

    qbtest::TempDir runtime;
    qputenv("XDG_RUNTIME_DIR", runtime.qpath().toUtf8());
    ASSERT_EQ(::chmod(runtime.path().c_str(), 0755), 0);
    EXPECT_NE(SingleInstance::defaultFolder(), runtime.qpath());
    ASSERT_EQ(::chmod(runtime.path().c_str(), 0700), 0);
    EXPECT_EQ(SingleInstance::defaultFolder(), runtime.qpath());

    // A long name still makes a socket path the system takes.
    SingleInstance longName(QString(200, u'n'), runtime.qpath());
    EXPECT_EQ(longName.claim(), SingleInstance::Claim::Owner);
}
