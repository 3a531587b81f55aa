// The registry shared between processes and threads: concurrent writers lose nothing, and a writer
// killed in the middle of a write leaves the old or the new value, never a torn one.
#include "platform/Registry.h"
#include "support/TempDir.h"
#include "RegistryCrashValue.h"
#include "RegistryTestSupport.h"

#include <gtest/gtest.h>

#include <QProcess>

#include <atomic>
#include <chrono>
#include <random>
#include <thread>

using namespace qb::reg;
using qbtest::readValue;

namespace {

const QString helperPath = QStringLiteral(QB_REGISTRY_TEST_HELPER);
constexpr int hangGuardMs = 10 * 60 * 1000;

uint32_t dwordOf(const QByteArray& data)
{
    uint32_t number = 0;
    std::memcpy(&number, data.constData(), std::min<size_t>(4, data.size()));
    return number;
}

// Both journals: the user's hive keeps a write-ahead log, the machine's a rollback journal.
std::string rootParamName(const ::testing::TestParamInfo<const char*>& info)
{
    return info.param;
}

class ConcurrentWriters : public ::testing::TestWithParam<const char*> {};

TEST_P(ConcurrentWriters, LoseNoValue)
{
    qbtest::ScopedRegistryDir dir;
    constexpr int perProcess = 2000; // each its own transaction
    QProcess writers[2];
    const char* prefixes[2] = {"a", "b"};
    for (int i = 0; i < 2; ++i) {
        writers[i].start(helperPath, {QStringLiteral("write-values"), QLatin1String(GetParam()), QLatin1String(prefixes[i]), QString::number(perProcess)});
        ASSERT_TRUE(writers[i].waitForStarted()) << qPrintable(writers[i].errorString());
    }
    for (QProcess& writer : writers) {
        writer.write("go\n");
        writer.closeWriteChannel();
    }
    for (QProcess& writer : writers) {
        ASSERT_TRUE(writer.waitForFinished(hangGuardMs));
        EXPECT_EQ(writer.exitCode(), 0) << writer.readAllStandardError().constData();
    }

    KeyGuard key;
    ASSERT_EQ(RegOpenKeyEx(rootByName(QLatin1String(GetParam())), QStringLiteral("Software\\Concurrent"), key.out()), ERROR_SUCCESS);
    KeyInfo info;
    ASSERT_EQ(RegQueryInfoKey(key.get(), &info), ERROR_SUCCESS);
    EXPECT_EQ(info.values, uint32_t(2 * perProcess));
    int missing = 0;
    for (const char* prefix : prefixes)
        for (int i = 0; i < perProcess; ++i) {
            const auto value = readValue(key.get(), QLatin1String(prefix) + QString::number(i));
            if (!value || value->type != REG_DWORD || dwordOf(value->data) != uint32_t(i))
                ++missing;
        }
    EXPECT_EQ(missing, 0);
}

INSTANTIATE_TEST_SUITE_P(Registry, ConcurrentWriters, ::testing::Values("HKEY_CURRENT_USER", "HKEY_LOCAL_MACHINE"),
                         rootParamName);

class KilledWriter : public ::testing::TestWithParam<const char*> {};

TEST_P(KilledWriter, LeavesTheOldOrTheNewValue)
{
    std::mt19937 random(20240611);
    for (int round = 0; round < 4; ++round) {
        qbtest::ScopedRegistryDir dir; // a fresh folder: the hive is first opened here after the crash
        QProcess writer;
        writer.start(helperPath, {QStringLiteral("rewrite"), QLatin1String(GetParam())});
        ASSERT_TRUE(writer.waitForStarted()) << qPrintable(writer.errorString());
        QByteArray printed;
        while (!printed.contains('\n') && writer.waitForReadyRead(hangGuardMs))
            printed += writer.readAllStandardOutput();
        ASSERT_TRUE(printed.contains('\n')) << writer.readAllStandardError().constData();
        std::this_thread::sleep_for(std::chrono::milliseconds(std::uniform_int_distribution<int>(0, 40)(random)));
        writer.kill(); // SIGKILL
        ASSERT_TRUE(writer.waitForFinished(hangGuardMs));
        printed += writer.readAllStandardOutput();
        const QList<QByteArray> lines = printed.split('\n');
        const uint32_t lastWritten = lines.size() >= 2 ? lines[lines.size() - 2].toUInt() : 0;
        ASSERT_GT(lastWritten, 0u);

        KeyGuard key;
        ASSERT_EQ(RegOpenKeyEx(rootByName(QLatin1String(GetParam())), QStringLiteral("Software\\Crash"), key.out()), ERROR_SUCCESS);
        const auto value = readValue(key.get(), QStringLiteral("Big"));
        ASSERT_TRUE(value);
        const auto generation = qbtest::crashValueGeneration(value->data);
        ASSERT_TRUE(generation) << "a torn value in round " << round;
        // The last write reported done is there, or the one after it if it finished before the kill.
        EXPECT_TRUE(*generation == lastWritten || *generation == lastWritten + 1)
            << "stored " << *generation << ", last written " << lastWritten;
        EXPECT_EQ(qbtest::writeValue(key.get(), QStringLiteral("after"), REG_DWORD, QByteArray(4, '\0')), ERROR_SUCCESS);
        EXPECT_FALSE(lastHiveReport() && lastHiveReport()->file == hiveFilePath(rootByName(QLatin1String(GetParam()))));
    }
}

INSTANTIATE_TEST_SUITE_P(Registry, KilledWriter, ::testing::Values("HKEY_CURRENT_USER", "HKEY_LOCAL_MACHINE"),
                         rootParamName);

TEST(RegistryThreads, SeveralThreadsShareTheRegistry)
{
    qbtest::ScopedRegistryDir dir;
    constexpr int threads = 4, perThread = 200;
    std::atomic<int> failures{0};
    std::atomic<bool> writing{true};
    std::vector<std::thread> workers;
    for (int t = 0; t < threads; ++t)
        workers.emplace_back([&, t] {
            KeyGuard shared, own;
            if (RegCreateKeyEx(HKEY_CURRENT_USER, QStringLiteral("Software\\Shared"), shared.out()) != ERROR_SUCCESS
                || RegCreateKeyEx(shared.get(), QStringLiteral("Thread%1").arg(t), own.out()) != ERROR_SUCCESS)
                ++failures;
            for (uint32_t i = 0; i < perThread; ++i) {
                if (RegSetValueEx(shared.get(), QStringLiteral("t%1-%2").arg(t).arg(i), REG_DWORD, &i, 4) != ERROR_SUCCESS
                    || RegSetValueEx(own.get(), QStringLiteral("Counter"), REG_DWORD, &i, 4) != ERROR_SUCCESS)
                    ++failures;
            }
        });
    // Meanwhile a reader enumerates and opens and closes handles of its own.
    std::thread reader([&] {
        while (writing) {
            KeyGuard shared;
            if (RegCreateKeyEx(HKEY_CURRENT_USER, QStringLiteral("Software\\Shared"), shared.out()) != ERROR_SUCCESS) {
                ++failures;
                return;
            }
            qbtest::subKeyNames(shared.get());
            KeyInfo info;
            if (RegQueryInfoKey(shared.get(), &info) != ERROR_SUCCESS)
                ++failures;
        }
    });
    for (auto& worker : workers)
        worker.join();
    writing = false;
    reader.join();
    EXPECT_EQ(failures, 0);

    KeyGuard shared;
    ASSERT_EQ(RegOpenKeyEx(HKEY_CURRENT_USER, QStringLiteral("Software\\Shared"), shared.out()), ERROR_SUCCESS);
    KeyInfo info;
    ASSERT_EQ(RegQueryInfoKey(shared.get(), &info), ERROR_SUCCESS);
    EXPECT_EQ(info.subKeys, uint32_t(threads));
    EXPECT_EQ(info.values, uint32_t(threads * perThread));
    for (int t = 0; t < threads; ++t) {
        KeyGuard own;
        ASSERT_EQ(RegOpenKeyEx(shared.get(), QStringLiteral("thread%1").arg(t), own.out()), ERROR_SUCCESS);
        EXPECT_EQ(dwordOf(readValue(own.get(), QStringLiteral("Counter"))->data), uint32_t(perThread - 1));
    }
}

} // namespace
