// The table data on bigger tables against every backend: the engine counts the program's own scan,
// a count that fails is replaced by walking, and every page shows the rows restart-and-skip shows.
#include "BackendFixture.h"

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
        if (sql.startsWith(QStringLiteral("select count(*)"))) {
            if (failCount)
                throw ProviderError(E_FAIL, QStringLiteral("[HYC00] Optional feature not implemented"));
            if (beforeCount)
                beforeCount();
        }
        return ForwardingSession::execute(sql, rowsAffected);
    }
    QStringList executed;
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
    EXPECT_EQ(watching->executed.mid(0, 2), (QStringList{data.queryText(), QStringLiteral("select count(*) from ") + quoted}));
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
    std::vector<int> sizes{250, 10000};
    if (isSqlite())
        sizes.push_back(100001);
    for (const int rows : sizes) {
        SCOPED_TRACE(rows);
        const QString table = QStringLiteral("t%1").arg(rows);
        makeNumberedTable(table, rows);
        watching->executed.clear();
        walkEveryPageBothWays(table, rows);
        const int pageReads = 2 * ((rows + 99) / 100) - 2;
        EXPECT_EQ(statementsReadingByRowid(), isSqlite() ? pageReads : 0);
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
    EXPECT_EQ(statementsReadingByRowid(), isSqlite() ? 4 : 0) << "the row id under its other name";
    if (isSqlite()) {
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

INSTANTIATE_TEST_SUITE_P(Backends, TableDataPagingTest, ::testing::ValuesIn(backendNames()), backendTestName);

} // namespace
} // namespace qbtest
