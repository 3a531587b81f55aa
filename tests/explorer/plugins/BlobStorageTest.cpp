// The hand-off of cell values to viewers against every backend: the bytes and type a plug-in
// receives for each kind of column, NULL, values off the first page, and failures.
#include "explorer/plugins/BlobStorage.h"

#include "dataaccess/TableData.h"
#include "support/BackendFixture.h"
#include "support/RecordingLoadSink.h"
#include "support/RecordingReportSink.h"

#include <quillbase/qbplugin.h>

#include <gtest/gtest.h>

using namespace qb::data;
using namespace qb::plugins;

namespace qbtest {
namespace {

struct Received {
    uint32_t type = 0;
    QByteArray bytes;
    uint64_t position = 0; // where the stream was handed over
};

QByteArray utf16(const QString& s)
{
    return QByteArray(reinterpret_cast<const char*>(s.utf16()), s.size() * 2);
}

// The bytes of a text in the encoding its type says.
QByteArray encoded(const QString& text, uint32_t type)
{
    return type == QB_TYPE_WSTR ? utf16(text) : text.toUtf8();
}

class BlobStorageTest : public BackendFixture {
protected:
    void SetUp() override
    {
        BackendFixture::SetUp();
        session = dataSource->createSession();
    }

    void load(const QString& sql)
    {
        RecordingLoadSink loading;
        ASSERT_EQ(data.loadUserSql(session, sql, false, loading), TableData::LoadResult::Loaded)
            << loading.errorList().join(u'\n').toStdString();
    }

    // What a plug-in gets for the cell: the value read from the start of the stream.
    std::optional<Received> receive(int row, int column)
    {
        BlobValue value{nullptr, 0};
        if (!storage.fillValue(row, column, &value)) {
            EXPECT_EQ(value.stream, nullptr);
            return std::nullopt;
        }
        Received r;
        r.type = value.type;
        QbStream* s = value.stream;
        s->table->seek(s, 0, QB_STREAM_SEEK_CUR, &r.position);
        uint64_t at = 0;
        s->table->seek(s, 0, QB_STREAM_SEEK_SET, &at);
        char block[3000];
        for (uint32_t done = 1; done > 0;) {
            EXPECT_TRUE(QB_SUCCEEDED(s->table->read(s, block, sizeof block, &done)));
            r.bytes.append(block, done);
        }
        storage.releaseValue(&value);
        EXPECT_EQ(value.stream, nullptr);
        return r;
    }

    std::shared_ptr<Session> session;
    TableData data;
    RecordingReportSink sink;
    BlobStorage storage{data, sink};
};

TEST_P(BlobStorageTest, LongAndShortValuesArriveWholeWithTheirOwnLength)
{
    backend->exec(QStringLiteral("CREATE TABLE v (b %1, t %2, s VARCHAR(20), n INTEGER, r VARCHAR(1000))")
                      .arg(backend->blobType(), backend->textType()));
    QByteArray bytes(70000, '\0');
    for (int i = 0; i < bytes.size(); ++i)
        bytes[i] = char(i * 31 + 7);
    QString text;
    for (int i = 0; i < 9000; ++i)
        text += QChar(u'a' + i % 26);
    text += QStringLiteral("\u00e9\u4e2d");
    const QString byReference(700, u'r');
    backend->exec(QStringLiteral("INSERT INTO v VALUES (%1, '%2', 'hello', 42, '%3')")
                      .arg(backend->blobLiteral(bytes), text, byReference));
    load(QStringLiteral("select b, t, s, n, r from v"));

    const auto blob = receive(0, 1);
    ASSERT_TRUE(blob);
    EXPECT_EQ(blob->type, QB_TYPE_BYTES);
    EXPECT_EQ(blob->bytes.size(), bytes.size());
    EXPECT_EQ(blob->bytes, bytes);
    EXPECT_EQ(blob->position, uint64_t(bytes.size())) << "handed over at the end of the data";

    const auto longText = receive(0, 2);
    ASSERT_TRUE(longText);
    EXPECT_EQ(longText->type, QB_TYPE_WSTR);
    EXPECT_EQ(longText->bytes, encoded(text, longText->type));

    // A short inline value: its own bytes, not the whole inline area.
    const auto shortText = receive(0, 3);
    ASSERT_TRUE(shortText);
    EXPECT_EQ(shortText->bytes, encoded(QStringLiteral("hello"), shortText->type));

    // A number is bound as 8-bit text: the plug-in gets its digits.
    const auto number = receive(0, 4);
    ASSERT_TRUE(number);
    EXPECT_EQ(number->type, QB_TYPE_STR);
    EXPECT_EQ(number->bytes, QByteArray("42"));

    const auto longer = receive(0, 5);
    ASSERT_TRUE(longer);
    EXPECT_EQ(longer->bytes, encoded(byReference, longer->type));
    EXPECT_TRUE(sink.errorList().isEmpty()) << sink.errorList().join(u'\n').toStdString();
}

TEST_P(BlobStorageTest, AShortBinaryValueIsNotPadded)
{
    backend->exec(QStringLiteral("CREATE TABLE p (k VARCHAR(4), b %1)").arg(isSqlite() ? QStringLiteral("VARBINARY(16)") : backend->blobType()));
    backend->exec(QStringLiteral("INSERT INTO p VALUES ('x', %1)").arg(backend->blobLiteral(QByteArray("\x01\x00\x02", 3))));
    load(QStringLiteral("select b from p"));
    const auto value = receive(0, 1);
    ASSERT_TRUE(value);
    EXPECT_EQ(value->type, QB_TYPE_BYTES);
    EXPECT_EQ(value->bytes, QByteArray("\x01\x00\x02", 3));
}

TEST_P(BlobStorageTest, ANullCellGivesNoValueNoErrorAndNoStream)
{
    backend->exec(QStringLiteral("CREATE TABLE n (b %1, t %2)").arg(backend->blobType(), backend->textType()));
    backend->exec(QStringLiteral("INSERT INTO n VALUES (NULL, NULL)"));
    load(QStringLiteral("select * from n"));
    EXPECT_FALSE(receive(0, 1));
    EXPECT_FALSE(receive(0, 2));
    EXPECT_TRUE(sink.errorList().isEmpty());
    EXPECT_EQ(storage.streamCount(), 0);
}

TEST_P(BlobStorageTest, AValueFromTheThirdPageIsTheRowShownThere)
{
    backend->exec(QStringLiteral("CREATE TABLE pages (id INTEGER, b %1)").arg(backend->blobType()));
    for (int i = 1; i <= 250; ++i)
        backend->exec(QStringLiteral("INSERT INTO pages VALUES (%1, %2)")
                          .arg(i)
                          .arg(backend->blobLiteral(QByteArray(600 + i, char(i)))));
    load(QStringLiteral("select id, b from pages order by id"));
    data.loadPage(2);
    ASSERT_EQ(data.cellText(10, 1), u"211");
    const auto value = receive(10, 2);
    ASSERT_TRUE(value);
    EXPECT_EQ(value->bytes, QByteArray(811, char(211)));
}

TEST_P(BlobStorageTest, CellsOutsideTheRowsFailWithAReportAndLeaveNoStream)
{
    makeNumberedTable(QStringLiteral("t"), 3);
    load(QStringLiteral("select id from t"));
    EXPECT_FALSE(receive(5, 1));
    EXPECT_FALSE(receive(0, 0)) << "column 0 holds no value";
    EXPECT_FALSE(receive(-1, 1));
    ASSERT_EQ(sink.errorList().size(), 1) << "only the fill that got as far as the table reports";
    EXPECT_TRUE(sink.errorList()[0].startsWith(u"Trying to get the data from a field: "));
    EXPECT_EQ(storage.streamCount(), 0);
}

INSTANTIATE_TEST_SUITE_P(Backends, BlobStorageTest, ::testing::ValuesIn(backendNames()), backendTestName);

TEST(BlobStorage, WithoutItsTemporaryStorageFillingFailsWithAReport)
{
    const QByteArray previous = qgetenv("TMPDIR");
    qputenv("TMPDIR", "/nonexistent/quillbase-test");
    TableData data;
    RecordingReportSink sink;
    BlobStorage storage(data, sink);
    qputenv("TMPDIR", previous);
    EXPECT_FALSE(storage.hasStorage());
    EXPECT_TRUE(storage.creationError().startsWith(u"Can't create the storage file. All components that require the "
                                                   u"storage file will not work (for examples: blob plugins): "))
        << storage.creationError().toStdString();
    BlobValue value{nullptr, 77};
    EXPECT_FALSE(storage.fillValue(0, 1, &value));
    EXPECT_EQ(value.stream, nullptr);
    EXPECT_EQ(sink.errorList(), QStringList{QStringLiteral("Storage file has not been created")});
}

} // namespace
} // namespace qbtest
