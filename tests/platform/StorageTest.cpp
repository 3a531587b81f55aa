#include "platform/BrelibException.h"
#include "platform/Storage.h"
#include "platform/StorageError.h"
#include "platform/SystemErrorText.h"

#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern "C" long long qbtest_read_all_from_c(QbStream* stream, unsigned char* buffer, uint32_t capacity);
extern "C" int qbtest_table_has_stat_from_c(QbStream* stream);

namespace {

const QString kStreamName = "PluginBLOB_StreamName";

// Points TMPDIR at a fresh folder for the life of the object.
class ScopedTempFolder {
public:
    ScopedTempFolder() : m_previous(std::getenv("TMPDIR") ? std::getenv("TMPDIR") : "")
    {
        setenv("TMPDIR", m_dir.path().c_str(), 1);
    }
    ~ScopedTempFolder()
    {
        if (m_previous.empty())
            unsetenv("TMPDIR");
        else
            setenv("TMPDIR", m_previous.c_str(), 1);
    }
    bool isEmpty() const { return std::filesystem::is_empty(m_dir.path()); }

private:
    qbtest::TempDir m_dir;
    std::string m_previous;
};

// Owns one reference to a stream; calls go through the C table like a plug-in's.
class StreamRef {
public:
    explicit StreamRef(QbStream* stream) : m_stream(stream) {}
    ~StreamRef()
    {
        if (m_stream)
            m_stream->table->release(m_stream);
    }
    StreamRef(const StreamRef&) = delete;
    StreamRef& operator=(const StreamRef&) = delete;

    QbStream* get() const { return m_stream; }
    QbResult write(const std::string& bytes, uint32_t* done = nullptr) const
    {
        return m_stream->table->write(m_stream, bytes.data(), uint32_t(bytes.size()), done);
    }
    QbResult read(std::string& out, uint32_t size) const
    {
        out.assign(size, '\0');
        uint32_t done = 0;
        const QbResult result = m_stream->table->read(m_stream, out.data(), size, &done);
        out.resize(done);
        return result;
    }
    uint64_t seek(int64_t offset, uint32_t origin, QbResult* result = nullptr) const
    {
        uint64_t position = 0;
        const QbResult r = m_stream->table->seek(m_stream, offset, origin, &position);
        if (result)
            *result = r;
        return position;
    }
    uint64_t size() const
    {
        QbStreamStat stat{};
        stat.structSize = sizeof stat;
        EXPECT_EQ(m_stream->table->stat(m_stream, &stat), QB_S_OK);
        return stat.size;
    }

private:
    QbStream* m_stream;
};

TEST(Storage, StreamReadsWritesSeeksAndStatsThroughTheTable)
{
    const ScopedTempFolder folder;
    qb::Storage storage;
    const StreamRef stream(storage.createStream(kStreamName));
    ASSERT_NE(stream.get(), nullptr);
    EXPECT_TRUE(qbtest_table_has_stat_from_c(stream.get()));

    uint32_t done = 0;
    EXPECT_EQ(stream.write("hello world", &done), QB_S_OK);
    EXPECT_EQ(done, 11u);
    EXPECT_EQ(stream.size(), 11u);
    EXPECT_EQ(stream.seek(0, QB_STREAM_SEEK_CUR), 11u) << "the position stays at the end of the data";

    std::string text;
    EXPECT_EQ(stream.seek(-5, QB_STREAM_SEEK_END), 6u);
    EXPECT_EQ(stream.read(text, 100), QB_S_OK);
    EXPECT_EQ(text, "world") << "fewer bytes than asked: the end";
    EXPECT_EQ(stream.read(text, 100), QB_S_OK);
    EXPECT_EQ(text, "");

    QbResult result = QB_S_OK;
    EXPECT_EQ(stream.seek(-1, QB_STREAM_SEEK_SET, &result), 11u);
    EXPECT_EQ(result, QB_STG_E_INVALIDFUNCTION) << "before the start fails and the position stays";
    stream.seek(0, 7, &result);
    EXPECT_EQ(result, QB_STG_E_INVALIDFUNCTION);
    stream.seek(INT64_MAX, QB_STREAM_SEEK_SET);
    stream.seek(1, QB_STREAM_SEEK_CUR, &result);
    EXPECT_EQ(result, QB_STG_E_INVALIDFUNCTION) << "no overflow past the largest position";

    EXPECT_EQ(stream.seek(3, QB_STREAM_SEEK_END), 14u);
    EXPECT_EQ(stream.write("!"), QB_S_OK);
    EXPECT_EQ(stream.seek(0, QB_STREAM_SEEK_SET), 0u);
    EXPECT_EQ(stream.read(text, 100), QB_S_OK);
    EXPECT_EQ(text, std::string("hello world\0\0\0!", 15)) << "a write past the end fills the gap with zeros";

    unsigned char buffer[64];
    EXPECT_EQ(qbtest_read_all_from_c(stream.get(), buffer, sizeof buffer), 15);
}

TEST(Storage, BadArgumentsGetResultsNotCrashes)
{
    const ScopedTempFolder folder;
    qb::Storage storage;
    const StreamRef stream(storage.createStream(kStreamName));
    const QbStreamTable* table = stream.get()->table;
    uint32_t done = 99;
    EXPECT_EQ(table->read(stream.get(), nullptr, 4, &done), QB_STG_E_INVALIDPOINTER);
    EXPECT_EQ(done, 0u);
    EXPECT_EQ(table->write(stream.get(), nullptr, 4, nullptr), QB_STG_E_INVALIDPOINTER);
    EXPECT_EQ(table->write(stream.get(), nullptr, 0, nullptr), QB_S_OK);
    EXPECT_EQ(table->stat(stream.get(), nullptr), QB_STG_E_INVALIDPOINTER);
    QbStreamStat tooSmall{};
    tooSmall.structSize = 8;
    EXPECT_EQ(table->stat(stream.get(), &tooSmall), QB_E_INVALIDARG);
    EXPECT_THROW(storage.createStream(""), Brelib::exception);
}

TEST(Storage, CreatingAgainReplacesTheStreamAndRevertsTheOldOne)
{
    const ScopedTempFolder folder;
    qb::Storage storage;
    const StreamRef first(storage.createStream(kStreamName));
    ASSERT_EQ(first.write("first value"), QB_S_OK);

    const StreamRef second(storage.createStream(kStreamName.toUpper()));
    EXPECT_EQ(second.size(), 0u) << "a new, empty stream";
    EXPECT_EQ(storage.elementNames(), QStringList({kStreamName.toUpper()}));

    std::string text;
    EXPECT_EQ(first.read(text, 10), QB_STG_E_REVERTED);
    EXPECT_EQ(first.write("x"), QB_STG_E_REVERTED);
    QbResult result = QB_S_OK;
    EXPECT_EQ(first.seek(0, QB_STREAM_SEEK_SET, &result), 11u) << "a reverted stream still reports where it stands";
    EXPECT_EQ(result, QB_STG_E_REVERTED);
    EXPECT_EQ(first.get()->table->addRef(first.get()), 2u);
    EXPECT_EQ(first.get()->table->release(first.get()), 1u);
}

TEST(Storage, DestroyRemovesTheElementAndOpenSharesIt)
{
    const ScopedTempFolder folder;
    qb::Storage storage;
    const StreamRef created(storage.createStream("a"));
    ASSERT_EQ(created.write("shared bytes"), QB_S_OK);
    EXPECT_EQ(storage.openStream("missing"), nullptr);

    const StreamRef opened(storage.openStream("A"));
    ASSERT_NE(opened.get(), nullptr);
    std::string text;
    EXPECT_EQ(opened.read(text, 6), QB_S_OK);
    EXPECT_EQ(text, "shared") << "each object has its own position, starting at 0";

    EXPECT_TRUE(storage.destroyElement("a"));
    EXPECT_FALSE(storage.destroyElement("a"));
    EXPECT_TRUE(storage.elementNames().isEmpty());
    EXPECT_EQ(storage.openStream("a"), nullptr);
    EXPECT_EQ(opened.read(text, 6), QB_STG_E_REVERTED);
    QbStreamStat stat{};
    stat.structSize = sizeof stat;
    EXPECT_EQ(created.get()->table->stat(created.get(), &stat), QB_STG_E_REVERTED);
}

TEST(Storage, StreamKeptPastTheStorageIsRevertedNotDangling)
{
    const ScopedTempFolder folder;
    auto storage = std::make_unique<qb::Storage>();
    const StreamRef kept(storage->createStream(kStreamName));
    ASSERT_EQ(kept.write("value"), QB_S_OK);
    storage.reset();
    std::string text;
    EXPECT_EQ(kept.read(text, 5), QB_STG_E_REVERTED);
    EXPECT_EQ(qb::streamResultText(QB_STG_E_REVERTED), qb::systemErrorText(ESTALE));
}

TEST(Storage, LargeValuePassesInBlocks)
{
    const ScopedTempFolder folder;
    qb::Storage storage;
    const StreamRef stream(storage.createStream(kStreamName));
    constexpr uint32_t block = 1 << 20;
    constexpr int blocks = 40;
    std::string chunk(block, '\0');
    for (int b = 0; b < blocks; ++b) {
        for (uint32_t i = 0; i < block; i += 4096)
            chunk[i] = char(b + i / 4096);
        uint32_t done = 0;
        ASSERT_EQ(stream.write(chunk, &done), QB_S_OK);
        ASSERT_EQ(done, block);
    }
    EXPECT_EQ(stream.size(), uint64_t(block) * blocks);
    stream.seek(0, QB_STREAM_SEEK_SET);
    std::string text;
    for (int b = 0; b < blocks; ++b) {
        for (uint32_t i = 0; i < block; i += 4096) {
            ASSERT_EQ(stream.read(text, 4096), QB_S_OK);
            ASSERT_EQ(text.size(), 4096u);
            ASSERT_EQ(text[0], char(b + i / 4096)) << "block " << b << " offset " << i;
        }
    }
    EXPECT_EQ(stream.read(text, 4096), QB_S_OK);
    EXPECT_TRUE(text.empty()) << "a value of whole blocks ends with one empty read";
}

TEST(Storage, LeavesNothingInTheTemporaryFolder)
{
    for (const auto kind : {qb::StorageTempFile::Kind::Nameless, qb::StorageTempFile::Kind::UnlinkedAtOnce}) {
        const ScopedTempFolder folder;
        {
            qb::Storage storage(kind);
            const StreamRef a(storage.createStream("a"));
            const StreamRef b(storage.createStream("b"));
            ASSERT_EQ(a.write(std::string(100000, 'a')), QB_S_OK);
            EXPECT_TRUE(folder.isEmpty()) << "no element ever has a name in the folder";
        }
        EXPECT_TRUE(folder.isEmpty());
    }
}

TEST(Storage, KilledProcessLeavesNothingBehind)
{
    const ScopedTempFolder folder;
    int ready[2];
    ASSERT_EQ(pipe(ready), 0);
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        char answer = 'n';
        try {
            qb::Storage storage;
            QbStream* stream = storage.createStream(kStreamName);
            const std::string value(1 << 20, 'v');
            uint32_t done = 0;
            if (stream->table->write(stream, value.data(), uint32_t(value.size()), &done) == QB_S_OK)
                answer = 'y';
            (void)!write(ready[1], &answer, 1);
            for (;;)
                pause();
        } catch (...) {
        }
        (void)!write(ready[1], &answer, 1);
        _exit(1);
    }
    close(ready[1]);
    char answer = 0;
    ASSERT_EQ(read(ready[0], &answer, 1), 1);
    close(ready[0]);
    EXPECT_EQ(answer, 'y');
    kill(child, SIGKILL);
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFSIGNALED(status));
    EXPECT_TRUE(folder.isEmpty());
}

TEST(Storage, FullMediumIsReportedWithTheBytesWritten)
{
    // A file size limit stands in for a full disk: the write past it fails with EFBIG.
    const ScopedTempFolder folder;
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        int code = 2;
        try {
            signal(SIGXFSZ, SIG_IGN);
            const rlimit limit{65536, 65536};
            setrlimit(RLIMIT_FSIZE, &limit);
            qb::Storage storage;
            QbStream* stream = storage.createStream(kStreamName);
            const std::string value(100000, 'v');
            uint32_t done = 0;
            const QbResult result = stream->table->write(stream, value.data(), uint32_t(value.size()), &done);
            uint64_t position = 0;
            stream->table->seek(stream, 0, QB_STREAM_SEEK_CUR, &position);
            // The bytes that went in before the failure count: the position stands past them.
            code = result == QB_STG_E_MEDIUMFULL && done == 65536 && position == 65536 ? 0 : 1;
        } catch (...) {
        }
        _exit(code);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
    EXPECT_EQ(qb::streamResultText(QB_STG_E_MEDIUMFULL), qb::systemErrorText(ENOSPC));
}

TEST(Storage, MissingTemporaryFolderFailsWithTheSystemText)
{
    const ScopedTempFolder folder;
    setenv("TMPDIR", "/nonexistent/quillbase", 1);
    try {
        qb::Storage storage;
        FAIL() << "a storage without a folder";
    } catch (const Brelib::exception& e) {
        EXPECT_EQ(e.text(), qb::systemErrorText(ENOENT));
        EXPECT_EQ(e.text(), u"No such file or directory");
    }
}

} // namespace
