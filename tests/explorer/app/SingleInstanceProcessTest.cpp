// Two real qorvex processes on the offscreen platform, with a private runtime folder and registry:
// the second hands over and ends with 0, or runs on its own when SingleInstance is 0; a data link
// file given to the second opens in the first; a socket left by a crash does not stop a start.
#include "explorer/settings/SettingsKeys.h"
#include "common/settings/SettingsNumber.h"
#include "dataaccess/DataLinkFile.h"
#include "datalinks/SqliteFile.h"
#include "platform/SingleInstance.h"
#include "support/TempDir.h"
#include "support/WaitUntil.h"

#include <gtest/gtest.h>

#include <QDeadlineTimer>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <QThread>

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace {

using qbtest::waitUntil;

// Whether the process has the file open (its data source).
bool hasOpen(qint64 pid, const QString& file)
{
    const QString folder = QStringLiteral("/proc/%1/fd/").arg(pid);
    for (const QString& fd : QDir(folder).entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot)) {
        char target[4096];
        const ssize_t size = ::readlink(QFile::encodeName(folder + fd).constData(), target, sizeof target);
        if (size > 0 && QFile::decodeName(QByteArray(target, int(size))) == file)
            return true;
    }
    return false;
}

class SingleInstanceProcesses : public ::testing::Test {
protected:
    SingleInstanceProcesses()
    {
        ::chmod(runtime.path().c_str(), 0700);
        qputenv("QUILLBASE_REGISTRY_DIR", registry.qpath().toUtf8());
        // No tip dialog in the way of the test.
        qb::settings::writeDwordSetting(qb::settings::explorerRootPath() + qb::settings::versionKey(),
                                        QStringLiteral("ShowTipOfTheDay"), 0);
        environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime.qpath());
        environment.insert(QStringLiteral("QUILLBASE_REGISTRY_DIR"), registry.qpath());
        environment.insert(QStringLiteral("ASAN_OPTIONS"), QStringLiteral("detect_leaks=0"));
    }
    ~SingleInstanceProcesses() override
    {
        for (QProcess* p : {&first, &second}) {
            if (p->state() != QProcess::NotRunning) {
                p->kill();
                p->waitForFinished(10000);
            }
        }
    }

    void start(QProcess& process, const QStringList& arguments)
    {
        process.setProcessEnvironment(environment);
        process.setWorkingDirectory(scratch.qpath());
        process.start(QStringLiteral(QB_QORVEX), arguments);
        ASSERT_TRUE(process.waitForStarted(10000));
    }

    QString socketPath() const
    {
        // The name qorvex builds for this user and display, in the runtime folder it is given.
        return qb::SingleInstance(qb::sessionScopedName(QStringLiteral("8941781C-295C-4d23-BD5C-966B86288D44")),
                                  runtime.qpath())
            .socketPath();
    }

    // The first process owns the name once its socket is there.
    void startFirst(const QStringList& arguments = {})
    {
        start(first, arguments);
        ASSERT_TRUE(waitUntil([&] { return QFileInfo(socketPath()).exists(); }));
    }

    QString sqliteLink(const std::string& name)
    {
        database = scratch.qfile(name + ".db");
        qbtest::makeSqliteFile(database);
        const QString udl = scratch.qfile(name + ".udl");
        qb::data::writeDataLinkFile(udl, QStringLiteral("Provider=SQLite;Data Source=") + database);
        return udl;
    }

    qbtest::TempDir runtime;
    qbtest::TempDir registry;
    qbtest::TempDir scratch;
    QProcessEnvironment environment;
    QProcess first;
    QProcess second;
    QString database;
};

TEST_F(SingleInstanceProcesses, TheSecondEndsWithZeroAndTheFirstBringsItsWindowForward)
{
    startFirst();
    QElapsedTimer clock;
    clock.start();
    start(second, {});
    ASSERT_TRUE(second.waitForFinished(30000));
    const qint64 elapsed = clock.elapsed();
    EXPECT_EQ(second.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(second.exitCode(), 0);
    const QString said = QString::fromUtf8(second.readAllStandardError());
    EXPECT_TRUE(said.contains(QStringLiteral("(process %1)").arg(first.processId()))) << said.toStdString();
    EXPECT_TRUE(said.contains("its window \"Vexa@Qorvex - no connection\" was brought forward")) << said.toStdString();
    EXPECT_EQ(first.state(), QProcess::Running);
    std::printf("second process ended after %lld ms\n", elapsed);
}

TEST_F(SingleInstanceProcesses, ADataLinkFileGivenToTheSecondOpensInTheFirst)
{
    const QString udl = sqliteLink("handed over");
    startFirst();
    // A relative path: the first process works in another folder.
    start(second, {QStringLiteral("-udl"), QStringLiteral("handed over.udl")});
    ASSERT_TRUE(second.waitForFinished(30000));
    EXPECT_EQ(second.exitCode(), 0);
    const QString said = QString::fromUtf8(second.readAllStandardError());
    EXPECT_TRUE(said.contains("opens " + udl + " in a new window")) << said.toStdString();
    EXPECT_TRUE(waitUntil([&] { return hasOpen(first.processId(), database); }));
}

TEST_F(SingleInstanceProcesses, WithSingleInstanceOffTheSecondRunsOnItsOwn)
{
    startFirst();
    ASSERT_EQ(qb::settings::writeDwordSetting(qb::settings::explorerRootPath() + qb::settings::generalKey(),
                                              QStringLiteral("SingleInstance"), 0),
              0);
    const QString udl = sqliteLink("own");
    start(second, {QStringLiteral("-udl"), udl});
    // The second opens the file itself; the first never sees it.
    EXPECT_TRUE(waitUntil([&] { return hasOpen(second.processId(), database); }));
    EXPECT_EQ(second.state(), QProcess::Running);
    EXPECT_FALSE(hasOpen(first.processId(), database));
}

TEST_F(SingleInstanceProcesses, ASocketLeftByACrashedOwnerDoesNotStopTheNextStart)
{
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    ASSERT_GE(fd, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const QByteArray path = QFile::encodeName(socketPath());
    std::memcpy(address.sun_path, path.constData(), size_t(path.size()));
    ASSERT_EQ(::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    ::close(fd);

    const QString udl = sqliteLink("after crash");
    start(first, {QStringLiteral("-udl"), udl});
    EXPECT_TRUE(waitUntil([&] { return hasOpen(first.processId(), database); }));
    // And it serves: a second start hands over to it.
    start(second, {});
    ASSERT_TRUE(second.waitForFinished(30000));
    EXPECT_EQ(second.exitCode(), 0);
    EXPECT_TRUE(QString::fromUtf8(second.readAllStandardError()).contains(QString::number(first.processId())));
}

} // namespace
