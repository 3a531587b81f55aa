// The table data on bigger tables against every backend: the engine counts the program's own scan,
// a count that fails is replaced by walking, and every page shows the rows restart-and-skip shows,
// whether it was reached by row id (SQLite, also through its ODBC driver) or by a cursor the server
// positions (PostgreSQL).
#include "BackendFixture.h"

#include "dataaccess/ConnectionString.h"
#include "dataaccess/DataSourceFactory.h"
#include "dataaccess/TableData.h"
#include "support/ForwardingSession.h"
#include "support/QStringPrinting.h"
#include "support/RecordingLoadSink.h"

#include <functional>

using namespace qb::data;

namespace qbtest {
namespace {

// Records what runs, and lets a test fail or precede the count statement.
class CountWatchingSession : public ForwardingSession {
public:
    using ForwardingSession::ForwardingSession;
    std::unique_ptr<Rowset> execute(const QString& sql, int64_t* rowsAffected = nullptr) override
    {
        executed << sql;
        if (sql.contains(QStringLiteral("count(*)"))) {
            if (failCount)
                throw ProviderError(E_FAIL, QStringLiteral("[HYC00] Optional feature not implemented"));
            if (beforeCount)
                beforeCount();
        }
        return ForwardingSession::execute(sql, rowsAffected);
    }
    std::unique_ptr<Rowset> executePositioned(const QString& sql) override
    {
        positioned << sql;
        return ForwardingSession::executePositioned(sql);
    }
    QStringList executed;
    QStringList positioned; // statements given a positioned cursor
    bool failCount = false;
    std::function<void()> beforeCount;
};

class TableDataPagingTest : public BackendTest {
protected:
    void SetUp() override
    {
        BackendTest::SetUp();
        watching = std::make_shared<CountWatchingSession>(session);
    }
    bool isPostgres() const { return GetParam() == "postgres"; }
    TableData::LoadResult loadTable(const QString& name)
    {
        return data.loadObject(watching, {backend->defaultSchema(), name}, true, sink);
    }
    // The first column of every row, in the order one execution of the table's scan returns them:
    // what restart-and-skip shows page by page.
    QStringList scannedIds(const QString& table)
    {
        TableData whole;
        RecordingLoadSink quiet;
        EXPECT_EQ(whole.loadUserSql(session, QStringLiteral("select * from ") + table, false, quiet),
                  TableData::LoadResult::Loaded);
        QStringList ids;
        for (int p = 0; p < std::max(whole.pageCount(), 1); ++p) {
            whole.loadPage(p);
            for (int r = 0; r < whole.rowsOnCurrentPage(); ++r)
                ids << whole.cellText(r, 1);
        }
        return ids;
    }
    // The ids the current page holds.
    QStringList pageIds() const
    {
        QStringList ids;
        for (int r = 0; r < data.rowsOnCurrentPage(); ++r)
            ids << data.cellText(r, 1);
        return ids;
    }

    // Walks every page forward, then back, comparing each with the rows of restart-and-skip.
    void walkEveryPageBothWays(const QString& table, int rows)
    {
        ASSERT_EQ(loadTable(table), TableData::LoadResult::Loaded) << sink.errorList().join(u'\n').toStdString();
        const QStringList expected = scannedIds(table);
        ASSERT_EQ(expected.size(), rows);
        const int pages = data.pageCount();
        ASSERT_EQ(pages, rows < 100 ? 0 : (rows + 99) / 100);
        std::vector<int> order;
        for (int p = 0; p < pages; ++p)
            order.push_back(p);
        for (int p = pages - 2; p >= 0; --p)
            order.push_back(p);
        for (const int p : order) {
            data.loadPage(p);
            ASSERT_EQ(data.currentPage(), p);
            ASSERT_EQ(data.rowsOnCurrentPage(), std::min(100, rows - p * 100)) << p;
            ASSERT_EQ(pageIds(), expected.mid(p * 100, 100)) << p;
        }
    }
    // The whole value of column 2 in row `row` of the current page, as text.
    QString copiedCell(int row) const
    {
        QByteArray bytes;
        const auto type = data.copyCellValue(row, 2, [&](const std::byte* p, size_t n) {
            bytes.append(reinterpret_cast<const char*>(p), qsizetype(n));
        });
        if (type == DBTYPE_WSTR)
            return QString::fromUtf16(reinterpret_cast<const char16_t*>(bytes.constData()), bytes.size() / 2);
        return QString::fromUtf8(bytes);
    }
    int statementsReadingByRowid() const
    {
        int n = 0;
        for (const QString& sql : watching->executed)
            n += sql.contains(QLatin1String(" >= ")) && sql.startsWith(QLatin1String("select * from"));
        return n;
    }

    std::shared_ptr<CountWatchingSession> watching;
    TableData data;
    RecordingLoadSink sink;
};

TEST_P(TableDataPagingTest, TheEngineCountsTheTableAndTheScanRunsOnceForTheFirstPage)
{
    makeNumberedTable(QStringLiteral("t"), 250);
    ASSERT_EQ(loadTable(QStringLiteral("t")), TableData::LoadResult::Loaded) << sink.errorList().join(u'\n').toStdString();
    const QString quoted = data.queryText().mid(QStringLiteral("select * from ").size());
    ASSERT_GE(watching->executed.size(), 2);
    EXPECT_EQ(watching->executed.mid(0, 2), (QStringList{data.queryText(), session->rowCountStatement(quoted)}));
    EXPECT_EQ(watching->executed.count(data.queryText()), 1) << "the scan is not run again to count";
    EXPECT_EQ(data.rowCount(), 250u);
    EXPECT_EQ(data.pageCount(), 3);
    EXPECT_EQ(data.rowsOnCurrentPage(), 100);

    // SQL the user typed is counted by walking its one execution: nothing else runs.
    watching->executed.clear();
    ASSERT_EQ(data.loadUserSql(watching, QStringLiteral("select * from t where id > 20"), true, sink),
              TableData::LoadResult::Loaded);
    EXPECT_EQ(watching->executed, QStringList{QStringLiteral("select * from t where id > 20")});
    EXPECT_EQ(data.rowCount(), 230u);
}

TEST_P(TableDataPagingTest, ATableWhoseCountFailsIsCountedByWalkingWithoutAMessage)
{
    makeNumberedTable(QStringLiteral("t"), 250);
    watching->failCount = true;
    ASSERT_EQ(loadTable(QStringLiteral("t")), TableData::LoadResult::Loaded);
    EXPECT_TRUE(sink.errorList().isEmpty()) << sink.errorList().join(u'\n').toStdString();
    EXPECT_EQ(data.rowCount(), 250u);
    EXPECT_EQ(data.pageCount(), 3);
    data.loadPage(2);
    EXPECT_EQ(data.rowsOnCurrentPage(), 50);
    EXPECT_EQ(pageIds(), scannedIds(QStringLiteral("t")).mid(200));
}

TEST_P(TableDataPagingTest, EveryPageForwardAndBackShowsTheRowsOfRestartAndSkip)
{
    // The SQLite provider reads a table with row ids page by page from a remembered row id; the
    // 100,001 rows run there only, as restart-and-skip over ODBC takes minutes for them.
    for (const int rows : {250, 10000, 100001}) {
        SCOPED_TRACE(rows);
        const QString table = QStringLiteral("t%1").arg(rows);
        makeNumberedTable(table, rows);
        watching->executed.clear();
        watching->positioned.clear();
        walkEveryPageBothWays(table, rows);
        const int pageReads = 2 * ((rows + 99) / 100) - 2;
        EXPECT_EQ(statementsReadingByRowid(), isPostgres() ? 0 : pageReads);
        // PostgreSQL: one cursor for every page move, and the scan is never run again.
        EXPECT_EQ(watching->positioned.size(), isPostgres() ? 1 : 0);
        EXPECT_EQ(watching->executed.count(data.queryText()), 1);
    }
    // A shown page keeps no lock that stops other connections from writing.
    EXPECT_NO_THROW(backend->exec(QStringLiteral("INSERT INTO t250 VALUES (251, 'late')")));
}

TEST_P(TableDataPagingTest, ObjectsWithoutUsableRowidsPageByRestartAndSkip)
{
    // A view, a column that takes the name rowid (in reverse order), and on SQLite a table
    // without row ids: every page is still the rows restart-and-skip shows.
    makeNumberedTable(QStringLiteral("t"), 500);
    backend->exec(QStringLiteral("CREATE VIEW v AS SELECT * FROM t WHERE id > 260"));
    backend->exec(QStringLiteral("CREATE TABLE r (rowid INTEGER, name VARCHAR(20))"));
    backend->exec(QStringLiteral("INSERT INTO r SELECT 1000 - id, name FROM t WHERE id <= 230"));
    walkEveryPageBothWays(QStringLiteral("v"), 240);
    EXPECT_EQ(statementsReadingByRowid(), 0);
    watching->executed.clear();
    walkEveryPageBothWays(QStringLiteral("r"), 230);
    EXPECT_EQ(statementsReadingByRowid(), isPostgres() ? 0 : 4) << "the row id under its other name";
    if (!isPostgres()) {
        backend->exec(QStringLiteral("CREATE TABLE w (id INTEGER PRIMARY KEY, name VARCHAR(20)) WITHOUT ROWID"));
        backend->exec(QStringLiteral("INSERT INTO w SELECT 1000 - id, name FROM t WHERE id <= 210"));
        watching->executed.clear();
        walkEveryPageBothWays(QStringLiteral("w"), 210);
        EXPECT_EQ(statementsReadingByRowid(), 0);
    }
}

TEST_P(TableDataPagingTest, ATableChangedBetweenTheCountAndThePagesShowsConsistentPages)
{
    // Another connection grows or shrinks the table after the scan ran and before the count:
    // the pages never show more rows than the count, and each row they show is a real one.
    struct Change {
        const char* sql;
        int countAfter;
    };
    for (const Change& change : {Change{"INSERT INTO t (id, name) SELECT id + 1000, name FROM t WHERE id <= 30", 280},
                                 Change{"DELETE FROM t WHERE id > 220", 220}}) {
        SCOPED_TRACE(change.sql);
        data.clearData(); // a shown table keeps others from dropping it (PostgreSQL)
        backend->exec(QStringLiteral("DROP TABLE IF EXISTS t"));
        makeNumberedTable(QStringLiteral("t"), 250);
        watching->beforeCount = [&] { backend->exec(QString::fromLatin1(change.sql)); };
        ASSERT_EQ(loadTable(QStringLiteral("t")), TableData::LoadResult::Loaded) << sink.errorList().join(u'\n').toStdString();
        watching->beforeCount = nullptr;
        EXPECT_EQ(data.rowCount(), uint64_t(change.countAfter));
        const QStringList now = scannedIds(QStringLiteral("t"));
        for (int p = 0; p < data.pageCount(); ++p) {
            data.loadPage(p);
            const int allowed = std::min<int>(100, change.countAfter - p * 100);
            EXPECT_LE(data.rowsOnCurrentPage(), allowed) << p;
            for (const QString& id : pageIds())
                EXPECT_TRUE(now.contains(id)) << id.toStdString();
        }
    }
}

TEST_P(TableDataPagingTest, ATableChangedWhilePagedShowsConsistentPages)
{
    // Changes after the page moves began: PostgreSQL's cursor keeps showing the rows it started
    // with, a page read by row id shows what is there now; neither goes past the count.
    makeNumberedTable(QStringLiteral("t"), 450);
    const QStringList before = scannedIds(QStringLiteral("t"));
    ASSERT_EQ(loadTable(QStringLiteral("t")), TableData::LoadResult::Loaded);
    data.loadPage(1);
    backend->exec(QStringLiteral("DELETE FROM t WHERE id > 250"));
    backend->exec(QStringLiteral("INSERT INTO t (id, name) SELECT id + 1000, name FROM t WHERE id <= 100"));
    for (const int p : {2, 3, 4, 3, 2}) {
        data.loadPage(p);
        EXPECT_LE(data.rowsOnCurrentPage(), p == 4 ? 50 : 100) << p;
        if (isPostgres()) {
            EXPECT_EQ(pageIds(), before.mid(p * 100, 100)) << p;
        }
        const QStringList now = scannedIds(QStringLiteral("t"));
        for (const QString& id : pageIds())
            EXPECT_TRUE(before.contains(id) || now.contains(id)) << id.toStdString();
    }
}

TEST_P(TableDataPagingTest, AWholeValueOnALaterPageIsReadTheWayPagesAre)
{
    // Notes longer than the cache keeps of a value: the copy reads them again.
    makeNumberedTable(QStringLiteral("t"), 450);
    backend->exec(QStringLiteral("CREATE TABLE n (id INTEGER, note %1)").arg(backend->textType()));
    const QString xs = isPostgres() ? QStringLiteral("repeat('x', 3000)") : QStringLiteral("replace(hex(zeroblob(1500)), '0', 'x')");
    backend->exec(QStringLiteral("INSERT INTO n SELECT id, name || ' ' || %1 FROM t").arg(xs));
    ASSERT_EQ(loadTable(QStringLiteral("n")), TableData::LoadResult::Loaded) << sink.errorList().join(u'\n').toStdString();
    data.loadPage(1);
    data.loadPage(2);
    watching->executed.clear();
    EXPECT_EQ(copiedCell(7), QStringLiteral("row 208 ") + QString(3000, u'x'));
    EXPECT_EQ(watching->executed.count(data.queryText()), 0) << "the scan is not run again to reach the row";
    // The page reads go on as before after the copy.
    data.loadPage(3);
    EXPECT_EQ(data.cellText(0, 1), u"301");
    data.loadPage(2);
    EXPECT_EQ(data.cellText(7, 1), u"208");
    EXPECT_EQ(copiedCell(99), QStringLiteral("row 300 ") + QString(3000, u'x'));
}

TEST_P(TableDataPagingTest, ABlobOnALaterPageBehindDeletedRowsIsTheValueOfItsOwnRow)
{
    // Deleted rows put row ids and positions apart: the value read for the hand-off must be the
    // shown row's. SQLite reads it by row id from the table without running the row's scan again.
    makeNumberedTable(QStringLiteral("t"), 250);
    backend->exec(QStringLiteral("CREATE TABLE b (id INTEGER, v %1)").arg(backend->blobType()));
    // The id's two hex digits, repeated: a value of its own length and bytes for every row.
    const auto valueOf = [](int id) { return QByteArray::number(id % 256, 16).toUpper().rightJustified(2, '0').repeated(300 + id); };
    const QString value = isPostgres() ? QStringLiteral("convert_to(repeat(lpad(upper(to_hex(id % 256)), 2, '0'), 300 + id), 'UTF8')")
                                       : QStringLiteral("cast(replace(hex(zeroblob(300 + id)), '00', printf('%02X', id % 256)) AS BLOB)");
    backend->exec(QStringLiteral("INSERT INTO b SELECT id, ") + value +
                  QStringLiteral(" FROM t"));
    backend->exec(QStringLiteral("DELETE FROM b WHERE id IN (3, 150)"));
    ASSERT_EQ(loadTable(QStringLiteral("b")), TableData::LoadResult::Loaded) << sink.errorList().join(u'\n').toStdString();
    data.loadPage(1);
    data.loadPage(2);
    ASSERT_EQ(data.rowsOnCurrentPage(), 48);
    watching->executed.clear();
    for (int row : {0, 47}) {
        const int id = data.cellText(row, 1).toInt();
        EXPECT_EQ(id, 203 + row);
        QByteArray bytes;
        data.copyCellValue(row, 2, [&](const std::byte* p, size_t n) { bytes.append(reinterpret_cast<const char*>(p), qsizetype(n)); });
        EXPECT_EQ(bytes, valueOf(id)) << "row " << row;
    }
    if (GetParam() == "sqlite")
        EXPECT_EQ(watching->executed.filter(QStringLiteral("select * from")), QStringList());
}

TEST_P(TableDataPagingTest, AShownPageHoldsUpNoOtherWritesAndClosingTheTableReleasesEverything)
{
    makeNumberedTable(QStringLiteral("t"), 450);
    if (isPostgres())
        backend->exec(QStringLiteral("SET lock_timeout = '200ms'")); // a wait becomes an error
    ASSERT_EQ(loadTable(QStringLiteral("t")), TableData::LoadResult::Loaded);
    data.loadPage(1);
    data.loadPage(2);
    EXPECT_NO_THROW(backend->exec(QStringLiteral("INSERT INTO t (id, name) VALUES (1001, 'late')")));
    EXPECT_NO_THROW(backend->exec(QStringLiteral("UPDATE t SET name = 'changed' WHERE id = 5")));
    EXPECT_NO_THROW(backend->exec(QStringLiteral("DELETE FROM t WHERE id = 6")));
    // Known difference: the server's cursor keeps the table from changing shape while it is shown.
    if (isPostgres()) {
        EXPECT_ANY_THROW(backend->exec(QStringLiteral("ALTER TABLE t ADD COLUMN extra INTEGER")));
    }
    data.clearData();
    EXPECT_NO_THROW(backend->exec(QStringLiteral("ALTER TABLE t ADD COLUMN more INTEGER")));
    EXPECT_NO_THROW(backend->exec(QStringLiteral("DROP TABLE t")));
}

INSTANTIATE_TEST_SUITE_P(Backends, TableDataPagingTest, ::testing::ValuesIn(backendNames()), backendTestName);

// PostgreSQL only: a count the server itself refuses.
class PostgresCountRefusedTest : public TableDataPagingTest {};

TEST_P(PostgresCountRefusedTest, ACountTheServerRefusesIsReplacedByWalkingAndTheSessionGoesOn)
{
    // A user who may read the table but not run count(): the refusal fails a statement on the
    // session's connection, which must not leave it unusable for the scan and the pages after it.
    makeNumberedTable(QStringLiteral("t"), 250);
    const QString role = QStringLiteral("reader_%1").arg(QString::number(qHash(backend->connectionString()), 16));
    backend->exec(QStringLiteral("DROP ROLE IF EXISTS %1").arg(role));
    backend->exec(QStringLiteral("CREATE ROLE %1 LOGIN PASSWORD 'reader'").arg(role));
    backend->exec(QStringLiteral("GRANT SELECT ON t TO %1").arg(role));
    backend->exec(QStringLiteral("REVOKE EXECUTE ON FUNCTION pg_catalog.count() FROM PUBLIC"));
    ConnectionString asReader = ConnectionString::parse(backend->connectionString());
    asReader.set(QStringLiteral("Uid"), role);
    asReader.set(QStringLiteral("Pwd"), QStringLiteral("reader"));
    auto source = createDataSource(asReader.toString());
    source->initialize();
    auto readerSession = std::make_shared<CountWatchingSession>(source->createSession());
    EXPECT_THROW(readerSession->execute(QStringLiteral("select count(*) from t")), ProviderError);

    ASSERT_EQ(data.loadObject(readerSession, {backend->defaultSchema(), QStringLiteral("t")}, true, sink),
              TableData::LoadResult::Loaded);
    EXPECT_TRUE(sink.errorList().isEmpty()) << sink.errorList().join(u'\n').toStdString();
    EXPECT_EQ(data.rowCount(), 250u);
    const QStringList expected = scannedIds(QStringLiteral("t"));
    for (const int p : {1, 2, 1}) {
        data.loadPage(p);
        EXPECT_EQ(pageIds(), expected.mid(p * 100, 100)) << p;
    }
    EXPECT_EQ(readerSession->positioned.size(), 1);
    // And the session still runs statements of its own.
    TableData again;
    RecordingLoadSink quiet;
    ASSERT_EQ(again.loadUserSql(readerSession, QStringLiteral("select id from t where id = 42"), true, quiet),
              TableData::LoadResult::Loaded);
    EXPECT_EQ(again.cellText(0, 1), u"42");
    data.clearData();
    backend->exec(QStringLiteral("REVOKE SELECT ON t FROM %1").arg(role));
}

INSTANTIATE_TEST_SUITE_P(Postgres, PostgresCountRefusedTest, ::testing::Values(std::string("postgres")),
                         backendTestName);

} // namespace
} // namespace qbtest
