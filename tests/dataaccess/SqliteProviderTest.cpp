// The SQLite provider: column types, schemas, commands, value conversions, streams,
// transactions and interruption.
#include "dataaccess/DataSourceFactory.h"
#include "dataaccess/InterruptToken.h"
#include "dataaccess/providers/sqlite/SqliteTypeMapping.h"
#include "support/Backends.h"
#include "support/StreamReading.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <QFile>

#include <atomic>
#include <cstring>
#include <functional>
#include <string_view>
#include <thread>
#include <vector>

using namespace qb::data;

namespace qbtest {
namespace {

class SqliteProviderTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        backend = makeBackend("sqlite", scratch);
        backend->exec(QStringLiteral(
            "CREATE TABLE k (i INTEGER, big BIGINT, r REAL, d DOUBLE PRECISION, v VARCHAR(40), nv NVARCHAR(7), t TEXT, "
            "b BLOB, vb VARBINARY(16), n NUMERIC(10,2), flag BOOLEAN, day DATE, at DATETIME, notype);"
            "INSERT INTO k VALUES (1, 2, 1.25, 2.5, 'v', 'nv', 'text', X'0102', X'03', 12.5, 1, '2024-02-29', "
            "'2024-02-29 10:00:00', 'x');"
            "CREATE VIEW kv AS SELECT i, v FROM k;"
            "CREATE INDEX ki ON k(i);"));
        auto source = createDataSource(backend->connectionString());
        source->initialize();
        session = source->createSession();
    }

    struct Cell {
        DBSTATUS status;
        uint32_t length;
        std::byte value[64];
    };
    // Reads column `ordinal` of the first row bound as `type` with `maxLength`.
    Cell readAs(const QString& sql, uint32_t ordinal, DBTYPE type, uint32_t maxLength = 64)
    {
        auto rowset = session->execute(sql);
        Cell cell{};
        rowset->setBindings({{ordinal, offsetof(Cell, value), offsetof(Cell, length), offsetof(Cell, status), maxLength, type}});
        EXPECT_TRUE(rowset->next());
        rowset->getData(reinterpret_cast<std::byte*>(&cell));
        return cell;
    }
    QString wideOf(const Cell& c) { return QString::fromUtf16(reinterpret_cast<const char16_t*>(c.value)); }

    TempDir scratch;
    std::unique_ptr<Backend> backend;
    std::shared_ptr<Session> session;
};

TEST_F(SqliteProviderTest, ColumnTypesFollowTheDeclarations)
{
    const auto cols = session->execute(QStringLiteral("select * from k"))->columns();
    const std::vector<std::pair<DBTYPE, uint32_t>> expected = {
        {DBTYPE_I8, 8},     {DBTYPE_I8, 8},        {DBTYPE_R8, 8},      {DBTYPE_R8, 8},
        {DBTYPE_WSTR, 40},  {DBTYPE_WSTR, 7},      {DBTYPE_WSTR, kLongValueSize}, {DBTYPE_BYTES, kLongValueSize},
        {DBTYPE_BYTES, 16}, {DBTYPE_NUMERIC, 10},  {DBTYPE_BOOL, 2},    {DBTYPE_DBDATE, 10},
        {DBTYPE_DBTIMESTAMP, 19}, {DBTYPE_WSTR, 256}};
    ASSERT_EQ(cols.size(), expected.size());
    for (size_t i = 0; i < cols.size(); ++i) {
        EXPECT_EQ(cols[i].type, expected[i].first) << cols[i].name.toStdString();
        EXPECT_EQ(cols[i].columnSize, expected[i].second) << cols[i].name.toStdString();
        EXPECT_EQ(cols[i].ordinal, i + 1);
    }
    EXPECT_EQ(cols[4].name, u"v");
}

TEST_F(SqliteProviderTest, ViewColumnsKeepTheTableTypesAndExpressionsTakeTheFirstValue)
{
    const auto view = session->execute(QStringLiteral("select * from kv"))->columns();
    ASSERT_EQ(view.size(), 2u);
    EXPECT_EQ(view[0].type, DBTYPE_I8);
    EXPECT_EQ(view[1].type, DBTYPE_WSTR);
    EXPECT_EQ(view[1].columnSize, 40u);

    auto rowset = session->execute(QStringLiteral("select 1 + 1 as two, 0.5 * 3, 'a' || 'b', x'00', null"));
    const auto expr = rowset->columns();
    EXPECT_EQ(expr[0].type, DBTYPE_I8);
    EXPECT_EQ(expr[1].type, DBTYPE_R8);
    EXPECT_EQ(expr[2].type, DBTYPE_WSTR);
    EXPECT_EQ(expr[2].columnSize, 256u);
    EXPECT_EQ(expr[3].type, DBTYPE_BYTES);
    EXPECT_EQ(expr[3].columnSize, kLongValueSize) << "a blob an expression yields is a long value";
    EXPECT_EQ(expr[4].type, DBTYPE_WSTR);
    EXPECT_EQ(expr[0].name, u"two");
    // The row read ahead for typing is still handed out, once.
    EXPECT_TRUE(rowset->next());
    EXPECT_FALSE(rowset->next());
    EXPECT_FALSE(rowset->next()) << "no restart from the end by stepping on";
}

TEST_F(SqliteProviderTest, DeclarationMapping)
{
    using sqlite::typeOfDeclaration;
    // Without a length a text or binary column is a long value; a length of 0 is a size unknown.
    EXPECT_EQ(typeOfDeclaration("varchar"), (sqlite::ColumnType{DBTYPE_WSTR, kLongValueSize}));
    EXPECT_EQ(typeOfDeclaration("clob"), (sqlite::ColumnType{DBTYPE_WSTR, kLongValueSize}));
    EXPECT_EQ(typeOfDeclaration("VARBINARY"), (sqlite::ColumnType{DBTYPE_BYTES, kLongValueSize}));
    EXPECT_EQ(typeOfDeclaration("VARCHAR(0)"), (sqlite::ColumnType{DBTYPE_WSTR, 0}));
    EXPECT_EQ(typeOfDeclaration(" character varying ( 12 ) "), (sqlite::ColumnType{DBTYPE_WSTR, 12}));
    EXPECT_EQ(typeOfDeclaration("BINARY(4)"), (sqlite::ColumnType{DBTYPE_BYTES, 4}));
    EXPECT_EQ(typeOfDeclaration("decimal"), (sqlite::ColumnType{DBTYPE_NUMERIC, 38}));
    EXPECT_EQ(typeOfDeclaration("TIME"), (sqlite::ColumnType{DBTYPE_DBTIME, 8}));
    EXPECT_EQ(typeOfDeclaration("TIMESTAMP"), (sqlite::ColumnType{DBTYPE_DBTIMESTAMP, 19}));
    EXPECT_EQ(typeOfDeclaration("VARCHAR(99999999999)"), (sqlite::ColumnType{DBTYPE_WSTR, 0x7FFFFFFF}));
    EXPECT_FALSE(typeOfDeclaration("JSON").has_value());
    EXPECT_FALSE(typeOfDeclaration("").has_value());
    EXPECT_FALSE(typeOfDeclaration(nullptr).has_value());
}

TEST_F(SqliteProviderTest, TablesSchemaListsTablesAndViewsWithoutInternalTables)
{
    backend->exec(QStringLiteral("CREATE TABLE \"with space\" (a); CREATE TABLE auto (id INTEGER PRIMARY KEY AUTOINCREMENT);"));
    const auto names = [&](const QString& type) {
        auto rowset = session->tablesSchema(type);
        struct Row {
            DBSTATUS s[4];
            uint32_t l[4];
            char16_t v[4][130];
        } row{};
        std::vector<Binding> bindings;
        for (uint32_t i = 0; i < 4; ++i)
            bindings.push_back({i + 1, offsetof(Row, v) + i * sizeof row.v[0], offsetof(Row, l) + i * 4, offsetof(Row, s) + i * 4,
                                sizeof row.v[0], DBTYPE_WSTR});
        rowset->setBindings(bindings);
        QStringList out;
        while (rowset->next()) {
            rowset->getData(reinterpret_cast<std::byte*>(&row));
            EXPECT_EQ(row.s[0], DBSTATUS_S_ISNULL) << "no catalog";
            EXPECT_EQ(row.s[1], DBSTATUS_S_ISNULL) << "the main database has no schema";
            out << QString::fromUtf16(row.v[2]) + u'/' + QString::fromUtf16(row.v[3]);
        }
        return out;
    };
    EXPECT_EQ(names(QStringLiteral("TABLE")), (QStringList{QStringLiteral("auto/TABLE"), QStringLiteral("k/TABLE"), QStringLiteral("with space/TABLE")}));
    EXPECT_EQ(names(QStringLiteral("VIEW")), QStringList{QStringLiteral("kv/VIEW")});
    EXPECT_EQ(names(QString()).size(), 4);
    EXPECT_TRUE(names(QStringLiteral("SYSTEM TABLE")).isEmpty());

    auto procedures = session->proceduresSchema();
    EXPECT_EQ(procedures->columns().size(), 6u);
    EXPECT_EQ(procedures->columns()[3].type, DBTYPE_I2);
    EXPECT_FALSE(procedures->next());
}

TEST_F(SqliteProviderTest, RowsAffected)
{
    int64_t affected = 12345;
    EXPECT_EQ(session->execute(QStringLiteral("insert into k (i) values (5), (6)"), &affected), nullptr);
    EXPECT_EQ(affected, 2);
    EXPECT_EQ(session->execute(QStringLiteral("create table z (a)"), &affected), nullptr);
    EXPECT_EQ(affected, 0) << "a CREATE changes no rows, whatever came before";
    EXPECT_NE(session->execute(QStringLiteral("select * from k"), &affected), nullptr);
    EXPECT_EQ(affected, -1);
    affected = 77;
    EXPECT_EQ(session->execute(QStringLiteral("  -- only a comment\n"), &affected), nullptr);
    EXPECT_EQ(affected, 77);
    // Several statements: all run, the last one's rows come back.
    auto rowset = session->execute(QStringLiteral("delete from z; insert into z values (9); select a from z; -- end"));
    ASSERT_NE(rowset, nullptr);
    EXPECT_TRUE(rowset->next());
    EXPECT_THROW(session->execute(QStringLiteral("selec 1")), ProviderError);
}

TEST_F(SqliteProviderTest, ConversionsIntoTheBoundType)
{
    const QString sql = QStringLiteral("select i, r, v, b, n, t from k");
    EXPECT_EQ(wideOf(readAs(sql, 1, DBTYPE_WSTR)), u"1");
    EXPECT_EQ(wideOf(readAs(sql, 2, DBTYPE_WSTR)), u"1.25");
    EXPECT_EQ(wideOf(readAs(sql, 4, DBTYPE_WSTR)), u"0102") << "bytes as hexadecimal text";
    EXPECT_EQ(QByteArray(reinterpret_cast<const char*>(readAs(sql, 3, DBTYPE_STR).value)), "v");

    Cell c = readAs(sql, 1, DBTYPE_I4);
    int32_t i4;
    std::memcpy(&i4, c.value, 4);
    EXPECT_EQ(c.status, DBSTATUS_S_OK);
    EXPECT_EQ(i4, 1);
    c = readAs(sql, 5, DBTYPE_R8);
    double d;
    std::memcpy(&d, c.value, 8);
    EXPECT_EQ(d, 12.5);
    EXPECT_EQ(readAs(sql, 6, DBTYPE_I8).status, DBSTATUS_E_CANTCONVERTVALUE) << "'text' is no number";
    EXPECT_EQ(readAs(QStringLiteral("select -1"), 1, DBTYPE_UI4).status, DBSTATUS_E_SIGNMISMATCH);
    EXPECT_EQ(readAs(QStringLiteral("select 70000"), 1, DBTYPE_I2).status, DBSTATUS_E_DATAOVERFLOW);
    EXPECT_EQ(readAs(QStringLiteral("select x'01'"), 1, DBTYPE_I4).status, DBSTATUS_E_CANTCONVERTVALUE);
    EXPECT_EQ(readAs(QStringLiteral("select 1"), 1, DBTYPE_GUID).status, DBSTATUS_E_CANTCONVERTVALUE);
    EXPECT_EQ(readAs(QStringLiteral("select null"), 1, DBTYPE_WSTR).status, DBSTATUS_S_ISNULL);
}

TEST_F(SqliteProviderTest, TruncationNeverSplitsACharacter)
{
    // "a😀": 3 UTF-16 units. Room for 2 units would cut the pair: only "a" fits.
    Cell c = readAs(QStringLiteral("select 'a😀'"), 1, DBTYPE_WSTR, 7);
    EXPECT_EQ(c.status, DBSTATUS_S_TRUNCATED);
    EXPECT_EQ(c.length, 6u);
    EXPECT_EQ(wideOf(c), u"a");
    c = readAs(QStringLiteral("select 'a😀'"), 1, DBTYPE_WSTR, 8);
    EXPECT_EQ(c.status, DBSTATUS_S_OK);
    EXPECT_EQ(wideOf(c), QStringLiteral("a😀"));
    // "aé": UTF-8 61 C3 A9; room for 2 bytes would cut é.
    c = readAs(QStringLiteral("select 'aé'"), 1, DBTYPE_STR, 3);
    EXPECT_EQ(c.status, DBSTATUS_S_TRUNCATED);
    EXPECT_EQ(QByteArray(reinterpret_cast<const char*>(c.value)), "a");
    EXPECT_EQ(c.length, 3u);
}

TEST_F(SqliteProviderTest, ByReferenceAndStreamValues)
{
    const QString text = QString(3000, u'q') + QStringLiteral("end");
    backend->exec(QStringLiteral("CREATE TABLE big (t TEXT); INSERT INTO big VALUES ('%1')").arg(text));
    auto rowset = session->execute(QStringLiteral("select t, t from big"));
    struct Row {
        const char16_t* p;
        SequentialStream* s;
        uint32_t l1, l2;
        DBSTATUS s1, s2;
    } row{};
    rowset->setBindings({{1, offsetof(Row, p), offsetof(Row, l1), offsetof(Row, s1), 0, DBTYPE(DBTYPE_WSTR | DBTYPE_BYREF)},
                         {2, offsetof(Row, s), offsetof(Row, l2), offsetof(Row, s2), 0, DBTYPE_IUNKNOWN}});
    ASSERT_TRUE(rowset->next());
    rowset->getData(reinterpret_cast<std::byte*>(&row));
    EXPECT_EQ(row.l1, uint32_t(text.size() * 2));
    EXPECT_EQ(QString::fromUtf16(row.p), text);
    ASSERT_NE(row.s, nullptr);
    QByteArray streamed;
    char block[1000];
    size_t n;
    while ((n = row.s->read(block, sizeof block)) > 0)
        streamed.append(block, qsizetype(n));
    row.s->release();
    EXPECT_EQ(QString::fromUtf16(reinterpret_cast<const char16_t*>(streamed.constData()), streamed.size() / 2), text)
        << "a WSTR column streams UTF-16";
}

TEST_F(SqliteProviderTest, StreamsAndBytesByReferenceReadSqlitesOwnMemoryAndOutliveTheRow)
{
    // Blobs and text stream from SQLite's memory for the row instead of from a copy; a stream the
    // caller keeps past the row (next, restart, the rowset's end) must still give the whole value.
    QByteArray first(70000, '\0'), second(50000, '\0');
    for (int i = 0; i < first.size(); ++i)
        first[i] = char(i * 31 + i / 256);
    for (int i = 0; i < second.size(); ++i)
        second[i] = char(255 - i % 253);
    backend->exec(QStringLiteral("CREATE TABLE bb (b BLOB, v BLOB); INSERT INTO bb VALUES (%1, '%2'), (%3, '');"
                                 "INSERT INTO bb VALUES (X'', NULL)")
                      .arg(backend->blobLiteral(first), QString(8000, u'v'), backend->blobLiteral(second)));
    struct Row {
        SequentialStream* s;
        const char* p;
        SequentialStream* narrow;
        uint32_t l1, l2, l3;
        DBSTATUS s1, s2, s3;
    } row{};
    const std::vector<Binding> bindings{
        {1, offsetof(Row, s), offsetof(Row, l1), offsetof(Row, s1), 0, DBTYPE_IUNKNOWN},
        {1, offsetof(Row, p), offsetof(Row, l2), offsetof(Row, s2), 0, DBTYPE(DBTYPE_BYTES | DBTYPE_BYREF)},
        {2, offsetof(Row, narrow), offsetof(Row, l3), offsetof(Row, s3), 0, DBTYPE_IUNKNOWN}};
    for (const char* move : {"next", "restart", "end of the rowset"}) {
        SCOPED_TRACE(move);
        auto rowset = session->execute(QStringLiteral("select b, v from bb"));
        rowset->setBindings(bindings);
        ASSERT_TRUE(rowset->next());
        rowset->getData(reinterpret_cast<std::byte*>(&row));
        ASSERT_EQ(row.s1, DBSTATUS_S_OK);
        EXPECT_EQ(row.l1, uint32_t(first.size()));
        EXPECT_EQ(QByteArray(row.p, qsizetype(row.l2)), first) << "bytes by reference";
        char start[1000];
        ASSERT_EQ(row.s->read(start, sizeof start), sizeof start);
        SequentialStream* kept = row.s;
        SequentialStream* keptText = row.narrow;
        if (std::string_view(move) == "next") {
            ASSERT_TRUE(rowset->next());
            rowset->getData(reinterpret_cast<std::byte*>(&row));
            EXPECT_EQ(drainStream(row.s, 4096), second) << "the next row's own stream";
            row.s->release();
            row.narrow->release();
        } else if (std::string_view(move) == "restart") {
            rowset->restart();
        } else {
            rowset.reset();
        }
        EXPECT_EQ(QByteArray(start, sizeof start) + drainStream(kept, 777), first) << "the kept stream goes on where it was";
        EXPECT_EQ(drainStream(keptText, 333), QByteArray(8000, 'v')) << "text in a blob column streams its UTF-8, unread, past the row";
        kept->release();
        keptText->release();
    }
    auto rowset = session->execute(QStringLiteral("select b, v from bb where v is null"));
    rowset->setBindings(bindings);
    ASSERT_TRUE(rowset->next());
    rowset->getData(reinterpret_cast<std::byte*>(&row));
    ASSERT_EQ(row.s1, DBSTATUS_S_OK) << "an empty blob is a value, not NULL";
    EXPECT_EQ(row.l1, 0u);
    EXPECT_EQ(drainStream(row.s, 16), QByteArray());
    row.s->release();
    EXPECT_EQ(row.s3, DBSTATUS_S_ISNULL);
}

TEST_F(SqliteProviderTest, ABlobIsReadByRowIdOnlyWhereItIsATablesBlob)
{
    // Names as the engine resolves them: an attached database, quotes inside a name, a column
    // named in another case.
    const QString other = scratch.qpath() + QStringLiteral("/o.db");
    QFile(other).open(QIODevice::WriteOnly); // the provider creates no database file; an empty one is one
    session->execute(QStringLiteral("ATTACH DATABASE '%1' AS [other db]").arg(other));
    session->execute(QStringLiteral("CREATE TABLE [other db].[my \"odd\" table] ([Big Value] BLOB)"));
    QByteArray bytes(300000, '\0');
    for (qsizetype i = 0; i < bytes.size(); ++i)
        bytes[i] = char(i * 7 + i / 4093);
    session->execute(QStringLiteral("INSERT INTO [other db].[my \"odd\" table] (rowid, [Big Value]) VALUES "
                                    "(7, X'%1'), (8, 'text'), (9, NULL)")
                         .arg(QString::fromLatin1(bytes.toHex())));
    session->execute(QStringLiteral("CREATE VIEW [other db].oddview AS SELECT * FROM [my \"odd\" table]"));
    const QString table = QStringLiteral("[other db].[my \"odd\" table]");
    const auto open = [&](const QString& object, int64_t rowid) {
        return session->openBlobByRowid(object, QStringLiteral("rowid"), QStringLiteral("big value"), rowid);
    };
    const std::optional<SequentialStream*> blob = open(table, 7);
    ASSERT_TRUE(blob && *blob);
    EXPECT_EQ(drainStream(*blob, 65537), bytes);
    (*blob)->release();
    // Text comes in the database's encoding through the handle, so it is left to the row read.
    EXPECT_EQ(open(table, 8), std::nullopt) << "text";
    EXPECT_EQ(open(table, 9), std::nullopt) << "NULL";
    EXPECT_EQ(open(table, 10), std::nullopt) << "no such row";
    EXPECT_EQ(open(QStringLiteral("[other db].oddview"), 7), std::nullopt) << "a view";

    // The row changes between two reads: the read fails rather than join two values.
    const std::optional<SequentialStream*> changing = open(table, 7);
    ASSERT_TRUE(changing && *changing);
    char piece[1000];
    ASSERT_EQ((*changing)->read(piece, sizeof piece), sizeof piece);
    session->execute(QStringLiteral("UPDATE [other db].[my \"odd\" table] SET [Big Value] = X'00' WHERE rowid = 7"));
    EXPECT_THROW((*changing)->read(piece, sizeof piece), ProviderError);
    (*changing)->release();
}

TEST_F(SqliteProviderTest, RestartAndSkip)
{
    backend->exec(QStringLiteral("CREATE TABLE s (n INTEGER); WITH RECURSIVE c(i) AS (SELECT 0 UNION ALL SELECT i + 1 FROM c "
                                 "WHERE i < 9) INSERT INTO s SELECT i FROM c"));
    auto rowset = session->execute(QStringLiteral("select n from s order by n"));
    struct Row {
        int64_t v;
        uint32_t l;
        DBSTATUS s;
    } row{};
    rowset->setBindings({{1, offsetof(Row, v), offsetof(Row, l), offsetof(Row, s), 8, DBTYPE_I8}});
    ASSERT_TRUE(rowset->next(3));
    rowset->getData(reinterpret_cast<std::byte*>(&row));
    EXPECT_EQ(row.v, 3);
    ASSERT_TRUE(rowset->next(5));
    rowset->getData(reinterpret_cast<std::byte*>(&row));
    EXPECT_EQ(row.v, 9);
    EXPECT_FALSE(rowset->next());
    rowset->restart();
    ASSERT_TRUE(rowset->next());
    rowset->getData(reinterpret_cast<std::byte*>(&row));
    EXPECT_EQ(row.v, 0);
    EXPECT_FALSE(rowset->next(100));
    EXPECT_THROW(rowset->getData(reinterpret_cast<std::byte*>(&row)), ProviderError);
    EXPECT_THROW(rowset->setBindings({{2, 0, 8, 12, 8, DBTYPE_I8}}), ProviderError) << "no column 2";
}

TEST_F(SqliteProviderTest, TransactionsCommitAndAbort)
{
    EXPECT_TRUE(session->supportsTransactions());
    session->startTransaction();
    session->execute(QStringLiteral("insert into k (i) values (100)"));
    session->abort();
    session->startTransaction();
    session->execute(QStringLiteral("insert into k (i) values (200)"));
    session->commit();
    auto rowset = session->execute(QStringLiteral("select group_concat(i) from k where i >= 100"));
    struct Row {
        char v[32];
        uint32_t l;
        DBSTATUS s;
    } row{};
    rowset->setBindings({{1, offsetof(Row, v), offsetof(Row, l), offsetof(Row, s), 32, DBTYPE_STR}});
    ASSERT_TRUE(rowset->next());
    rowset->getData(reinterpret_cast<std::byte*>(&row));
    EXPECT_STREQ(row.v, "200");
    EXPECT_THROW(session->commit(), ProviderError) << "no transaction is open";
}

HRESULT failureOf(const std::function<void()>& call)
{
    try {
        call();
    } catch (const ProviderError& e) {
        return e.hr();
    }
    return S_OK;
}

TEST_F(SqliteProviderTest, AnArmedTokenStopsTheStatementItLandsInAndEveryLaterCall)
{
    InterruptToken token;
    token.interrupt(); // armed nowhere: nothing is refused
    auto idle = session->execute(QStringLiteral("select i from k"));
    ASSERT_NE(idle, nullptr);

    // Set before the calls: each one is refused on entry, also between the rows of a rowset.
    {
        InterruptToken::Armed armed(token);
        EXPECT_EQ(failureOf([&] { session->execute(QStringLiteral("select 1")); }), DB_E_CANCELED);
        EXPECT_EQ(failureOf([&] { idle->next(); }), DB_E_CANCELED);
        EXPECT_EQ(failureOf([&] { session->tablesSchema(QString()); }), DB_E_CANCELED);
        EXPECT_EQ(failureOf([&] { session->startTransaction(); }), DB_E_CANCELED);
    }
    // Not armed on this thread: the same connection goes on working.
    EXPECT_TRUE(idle->next());

    // Set from another thread while a statement that never ends runs, or just before it starts:
    // once, without retries, and the statement fails either way.
    token.reset();
    HRESULT result = S_OK;
    std::thread worker([&] {
        InterruptToken::Armed armed(token);
        result = failureOf([&] {
            session->execute(QStringLiteral("WITH RECURSIVE c(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM c) SELECT count(*) FROM c"));
        });
    });
    token.interrupt();
    worker.join();
    EXPECT_EQ(result, DB_E_CANCELED);
    EXPECT_TRUE(session->execute(QStringLiteral("select count(*) from k"))->next());
}

TEST_F(SqliteProviderTest, AFailureSharingTheConnectionWithAnotherThreadKeepsItsOwnErrorText)
{
    // Prior to the fix, the message was read after the failing call had let go of the connection,
    // so a call of the other thread could come in between and its outcome ("not an error", or its
    // own failure) was reported instead.
    std::atomic<bool> done{false};
    std::thread other([&] {
        while (!done)
            session->execute(QStringLiteral("select 1"));
    });
    int mixedUp = 0;
    for (int i = 0; i < 5000 && mixedUp == 0; ++i) {
        try {
            session->execute(QStringLiteral("select * from missing_table"));
        } catch (const ProviderError& e) {
            if (!e.description().contains(u"missing_table"))
                ++mixedUp;
        }
    }
    done = true;
    other.join();
    EXPECT_EQ(mixedUp, 0);
}

} // namespace
} // namespace qbtest
