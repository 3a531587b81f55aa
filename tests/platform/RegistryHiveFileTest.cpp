// The hive files: where they live, what happens to a damaged one, and what a user who may only read
// a hive can do with it.
#include "platform/Registry.h"
#include "support/TempDir.h"
#include "RegistryTestSupport.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QProcess>
#include <sqlite3.h>

#include <filesystem>
#include <functional>
#include <grp.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace qb::reg;
using qbtest::readValue;
using qbtest::writeValue;

namespace {

const QString helperPath = QStringLiteral(QB_REGISTRY_TEST_HELPER);

QByteArray readFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    ASSERT_EQ(file.write(bytes), bytes.size());
}

QByteArray garbage(int size)
{
    QByteArray bytes(size, Qt::Uninitialized);
    uint32_t state = 2463534242u;
    for (char& byte : bytes) {
        state ^= state << 13, state ^= state >> 17, state ^= state << 5;
        byte = char(state);
    }
    return bytes;
}

// Makes this process let go of the hives of the current folder: a call with a root opens the hive
// of another folder in its place, and the old connection ends (when no handle holds it).
void letGoOfHives()
{
    qbtest::ScopedRegistryDir elsewhere;
    for (HKEY root : {HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE, HKEY_CLASSES_ROOT}) {
        KeyGuard key;
        RegOpenKeyEx(root, QString(), key.out());
    }
}

class ScopedEnv {
public:
    ScopedEnv(const char* name, const std::optional<QString>& value)
        : m_name(name), m_previous(qgetenv(name)), m_had(qEnvironmentVariableIsSet(name))
    {
        if (value)
            qputenv(name, value->toUtf8());
        else
            qunsetenv(name);
    }
    ~ScopedEnv()
    {
        if (m_had)
            qputenv(m_name, m_previous);
        else
            qunsetenv(m_name);
    }

private:
    const char* m_name;
    QByteArray m_previous;
    bool m_had;
};

class RecordedReports {
public:
    RecordedReports() { setHiveReportHandler([this](const HiveReport& report) { reports.push_back(report); }); }
    ~RecordedReports() { setHiveReportHandler(nullptr); }
    std::vector<HiveReport> reports;
};

struct Damage {
    const char* what;
    std::function<void(const QString& file)> make;
    const char* reason;
};

class DamagedHive : public ::testing::TestWithParam<Damage> {};

TEST_P(DamagedHive, IsSetAsideReportedOnceAndReplacedByAnEmptyHive)
{
    qbtest::ScopedRegistryDir dir;
    const QString file = hiveFilePath(HKEY_CURRENT_USER);
    GetParam().make(file);
    const QByteArray damaged = readFile(file);

    RecordedReports recorded;
    KeyGuard key;
    EXPECT_EQ(RegOpenKeyEx(HKEY_CURRENT_USER, QStringLiteral("Software"), key.out()), ERROR_FILE_NOT_FOUND);
    ASSERT_EQ(recorded.reports.size(), 1u);
    const HiveReport report = recorded.reports.front();
    EXPECT_EQ(report.rootName, QStringLiteral("HKEY_CURRENT_USER"));
    EXPECT_EQ(report.file, file);
    EXPECT_TRUE(report.reason.contains(QLatin1String(GetParam().reason))) << qPrintable(report.reason);
    EXPECT_TRUE(report.setAsideAs.startsWith(file + QStringLiteral(".damaged-"))) << qPrintable(report.setAsideAs);
    EXPECT_EQ(readFile(report.setAsideAs), damaged);
    ASSERT_TRUE(lastHiveReport());
    EXPECT_EQ(lastHiveReport()->setAsideAs, report.setAsideAs);

    // The program goes on: the fresh hive takes writes and keeps them, and nothing more is reported.
    ASSERT_EQ(RegCreateKeyEx(HKEY_CURRENT_USER, QStringLiteral("Software"), key.out()), ERROR_SUCCESS);
    ASSERT_EQ(writeValue(key.get(), QStringLiteral("after"), REG_DWORD, QByteArray(4, '\7')), ERROR_SUCCESS);
    key.reset();
    letGoOfHives();
    ASSERT_EQ(RegOpenKeyEx(HKEY_CURRENT_USER, QStringLiteral("Software"), key.out()), ERROR_SUCCESS);
    EXPECT_TRUE(readValue(key.get(), QStringLiteral("after")));
    EXPECT_EQ(recorded.reports.size(), 1u);
}

TEST(RegistryHiveFile, GarbageIsSetAsideWithTheFilesBesideIt)
{
    qbtest::ScopedRegistryDir dir;
    const QString file = hiveFilePath(HKEY_CURRENT_USER);
    writeFile(file, garbage(5000));
    writeFile(file + QStringLiteral("-wal"), garbage(1000)); // must not be replayed into the fresh hive
    writeFile(file + QStringLiteral("-journal"), garbage(700));
    RecordedReports recorded;
    KeyGuard key;
    ASSERT_EQ(RegCreateKeyEx(HKEY_CURRENT_USER, QStringLiteral("Software"), key.out()), ERROR_SUCCESS);
    ASSERT_EQ(recorded.reports.size(), 1u);
    const QString aside = recorded.reports.front().setAsideAs;
    EXPECT_EQ(readFile(aside), garbage(5000));
    EXPECT_EQ(readFile(aside + QStringLiteral("-wal")), garbage(1000));
    EXPECT_EQ(readFile(aside + QStringLiteral("-journal")), garbage(700));
    EXPECT_FALSE(QFile::exists(file + QStringLiteral("-journal")));
}

void makeForeignDatabase(const QString& file)
{
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(file.toUtf8().constData(), &db), SQLITE_OK);
    EXPECT_EQ(sqlite3_exec(db, "CREATE TABLE shop(id INTEGER PRIMARY KEY, name TEXT); INSERT INTO shop(name) VALUES('ann')", nullptr, nullptr, nullptr), SQLITE_OK);
    sqlite3_close(db);
}

// A real hive with many values, whose pages after the first are then overwritten.
void makeHiveWithDamagedPages(const QString& file)
{
    {
        KeyGuard key;
        ASSERT_EQ(RegCreateKeyEx(HKEY_CURRENT_USER, QStringLiteral("Software\\Filler"), key.out()), ERROR_SUCCESS);
        for (int i = 0; i < 300; ++i)
            ASSERT_EQ(writeValue(key.get(), QStringLiteral("value%1").arg(i), REG_BINARY, QByteArray(100, char(i))), ERROR_SUCCESS);
    }
    letGoOfHives();
    QByteArray bytes = readFile(file);
    ASSERT_GT(bytes.size(), 4 * 4096);
    bytes.replace(4096, 3 * 4096, garbage(3 * 4096));
    writeFile(file, bytes);
}

INSTANTIATE_TEST_SUITE_P(
    Registry, DamagedHive,
    ::testing::Values(Damage{"Garbage", [](const QString& file) { writeFile(file, garbage(4096)); }, "not a database"},
                      Damage{"ShortText", [](const QString& file) { writeFile(file, "hello\n"); }, "not a database"},
                      Damage{"ForeignDatabase", makeForeignDatabase, "not a registry hive"},
                      Damage{"DamagedPages", makeHiveWithDamagedPages, "damaged"}),
    [](const ::testing::TestParamInfo<Damage>& info) { return std::string(info.param.what); });

TEST(RegistryHiveFile, UserWithoutWriteAccessReadsButGetsAccessDenied)
{
    qbtest::ScopedRegistryDir dir;
    {
        KeyGuard vendor;
        ASSERT_EQ(RegCreateKeyEx(HKEY_LOCAL_MACHINE, QStringLiteral("Software\\Vendor"), vendor.out()), ERROR_SUCCESS);
        ASSERT_EQ(writeValue(vendor.get(), QStringLiteral("core path"), REG_SZ, qbtest::paddedText(QStringLiteral("/opt/q/"), 16)), ERROR_SUCCESS);
    }
    // Permission bits do not stop root, so as root the probe runs as the user "nobody" in a folder
    // and hive owned by root; as any other user it runs in a folder without write permission.
    const std::string folder = dir.dir().path().string();
    QProcess probe;
    QString program = helperPath;
    qbtest::TempDir programFolder;
    if (geteuid() == 0) {
        ASSERT_EQ(::chmod(folder.c_str(), 0755), 0);
        // The build tree may lie where "nobody" cannot reach it (a clone below /root), so the
        // probe runs from a copy in a folder everyone may enter.
        ASSERT_EQ(::chmod(programFolder.path().c_str(), 0755), 0);
        program = programFolder.qfile("registry_test_helper");
        ASSERT_TRUE(QFile::copy(helperPath, program));
        ASSERT_TRUE(QFile::setPermissions(program, QFile::ReadOwner | QFile::ExeOwner | QFile::ReadOther | QFile::ExeOther
                                                       | QFile::ReadGroup | QFile::ExeGroup));
        probe.setChildProcessModifier([] {
            if (::setgroups(0, nullptr) != 0 || ::setgid(65534) != 0 || ::setuid(65534) != 0)
                ::_exit(97);
        });
    } else {
        ASSERT_EQ(::chmod(folder.c_str(), 0555), 0);
    }
    probe.start(program, {QStringLiteral("probe-readonly")});
    ASSERT_TRUE(probe.waitForFinished(120000)) << qPrintable(probe.errorString());
    ::chmod(folder.c_str(), 0700);
    ASSERT_EQ(probe.exitCode(), 0) << probe.readAllStandardError().constData();

    const QStringList results = QString::fromUtf8(probe.readAllStandardOutput()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    EXPECT_EQ(results, (QStringList{"open=0", "query=0", "set=5", "delete-value=5", "create-existing=0", "create-new=5",
                                    "delete-tree=5", "user-open=2", "user-create=5"}));
    KeyGuard vendor;
    ASSERT_EQ(RegOpenKeyEx(HKEY_LOCAL_MACHINE, QStringLiteral("Software\\Vendor"), vendor.out()), ERROR_SUCCESS);
    EXPECT_TRUE(readValue(vendor.get(), QStringLiteral("core path")));
}

// Prior to the fix, a hive that another process kept locked while this one opened it looked empty,
// so the settings read their defaults and later wrote them over the user's.
TEST(RegistryHiveFile, HiveLockedByAnotherWhileOpeningIsBusyNotEmpty)
{
    qbtest::ScopedRegistryDir dir;
    {
        KeyGuard vendor;
        ASSERT_EQ(RegCreateKeyEx(HKEY_LOCAL_MACHINE, QStringLiteral("Software\\Vendor"), vendor.out()), ERROR_SUCCESS);
    }
    const QString file = hiveFilePath(HKEY_LOCAL_MACHINE);
    letGoOfHives();
    sqlite3* other = nullptr;
    ASSERT_EQ(sqlite3_open(file.toUtf8().constData(), &other), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(other, "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr), SQLITE_OK); // a rollback journal: readers wait too

    KeyGuard vendor;
    EXPECT_EQ(RegOpenKeyEx(HKEY_LOCAL_MACHINE, QStringLiteral("Software\\Vendor"), vendor.out()), ERROR_BUSY); // after the busy timeout
    sqlite3_exec(other, "ROLLBACK", nullptr, nullptr, nullptr);
    sqlite3_close(other);
    EXPECT_EQ(RegOpenKeyEx(HKEY_LOCAL_MACHINE, QStringLiteral("Software\\Vendor"), vendor.out()), ERROR_SUCCESS);
}

TEST(RegistryHiveFile, UserHiveIsPrivateToItsOwner)
{
    qbtest::ScopedRegistryDir dir;
    KeyGuard key;
    ASSERT_EQ(RegCreateKeyEx(HKEY_CURRENT_USER, QStringLiteral("Software"), key.out()), ERROR_SUCCESS);
    struct stat info;
    ASSERT_EQ(::stat(hiveFilePath(HKEY_CURRENT_USER).toUtf8().constData(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0600u);
}

TEST(RegistryHiveFile, HivesLiveInTheUserAndMachineFoldersUnlessMoved)
{
    {
        qbtest::ScopedRegistryDir dir;
        EXPECT_EQ(hiveFilePath(HKEY_CURRENT_USER), dir.dir().qfile("HKEY_CURRENT_USER.hive"));
        EXPECT_EQ(hiveFilePath(HKEY_LOCAL_MACHINE), dir.dir().qfile("HKEY_LOCAL_MACHINE.hive"));
        EXPECT_EQ(hiveFilePath(HKEY_CLASSES_ROOT), dir.dir().qfile("HKEY_CLASSES_ROOT.hive"));
    }
    ScopedEnv unmoved("QUILLBASE_REGISTRY_DIR", std::nullopt);
    {
        ScopedEnv config("XDG_CONFIG_HOME", QStringLiteral("/home/ann/.conf"));
        EXPECT_EQ(hiveFilePath(HKEY_CURRENT_USER), QStringLiteral("/home/ann/.conf/quillbase/registry/HKEY_CURRENT_USER.hive"));
    }
    {
        ScopedEnv config("XDG_CONFIG_HOME", QStringLiteral("relative/ignored"));
        ScopedEnv home("HOME", QStringLiteral("/home/bob"));
        EXPECT_EQ(hiveFilePath(HKEY_CURRENT_USER), QStringLiteral("/home/bob/.config/quillbase/registry/HKEY_CURRENT_USER.hive"));
    }
    const auto prefix = std::filesystem::canonical("/proc/self/exe").parent_path().parent_path();
    EXPECT_EQ(hiveFilePath(HKEY_LOCAL_MACHINE).toStdString(), (prefix / "etc/quillbase/registry/HKEY_LOCAL_MACHINE.hive").string());
    EXPECT_EQ(hiveFilePath(HKEY_CLASSES_ROOT).toStdString(), (prefix / "etc/quillbase/registry/HKEY_CLASSES_ROOT.hive").string());
}

TEST(RegistryHiveFile, MovingTheFolderSwitchesHivesWhileOpenHandlesStay)
{
    qbtest::ScopedRegistryDir first;
    KeyGuard inFirst;
    ASSERT_EQ(RegCreateKeyEx(HKEY_CURRENT_USER, QStringLiteral("Software\\First"), inFirst.out()), ERROR_SUCCESS);
    {
        qbtest::ScopedRegistryDir second;
        KeyGuard key;
        EXPECT_EQ(RegOpenKeyEx(HKEY_CURRENT_USER, QStringLiteral("Software\\First"), key.out()), ERROR_FILE_NOT_FOUND);
        ASSERT_EQ(writeValue(inFirst.get(), QStringLiteral("written while moved"), REG_DWORD, QByteArray(4, '\1')), ERROR_SUCCESS);
        EXPECT_TRUE(QFile::exists(second.dir().qfile("HKEY_CURRENT_USER.hive")));
    }
    inFirst.reset();
    KeyGuard again;
    ASSERT_EQ(RegOpenKeyEx(HKEY_CURRENT_USER, QStringLiteral("Software\\First"), again.out()), ERROR_SUCCESS);
    EXPECT_TRUE(readValue(again.get(), QStringLiteral("written while moved")));
}

} // namespace
