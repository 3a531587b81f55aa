// The ODBC provider on PostgreSQL through psqlODBC: schemas other than public, procedures without
// the system catalogue, login failures, a query interrupted from another thread, and a server
// that goes away under a running load.
#include "OdbcPrivateServer.h"
#include "dataaccess/InterruptToken.h"
#include "dataaccess/providers/odbc/OdbcProvider.h"
#include "support/BackendsOdbc.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <QRegularExpression>
#include <QStringList>
#include <atomic>
#include <chrono>
#include <cstring>
#include <thread>

using namespace qb::data;

namespace qbtest {
namespace {

struct TextRow {
    DBSTATUS s1, s2, s3;
    uint32_t l1, l2, l3;
    char16_t a[130], b[130], c[130];
};

std::vector<Binding> textBindings(uint32_t c1, uint32_t c2, uint32_t c3)
{
    return {{c1, offsetof(TextRow, a), offsetof(TextRow, l1), offsetof(TextRow, s1), 260, DBTYPE_WSTR},
            {c2, offsetof(TextRow, b), offsetof(TextRow, l2), offsetof(TextRow, s2), 260, DBTYPE_WSTR},
            {c3, offsetof(TextRow, c), offsetof(TextRow, l3), offsetof(TextRow, s3), 260, DBTYPE_WSTR}};
}

// "a.b.c" of every row, reading three text columns.
QStringList rowsOf(Rowset& rowset, uint32_t c1, uint32_t c2, uint32_t c3)
{
    rowset.setBindings(textBindings(c1, c2, c3));
    QStringList rows;
    TextRow row{};
    while (rowset.next()) {
        rowset.getData(reinterpret_cast<std::byte*>(&row));
        rows << QString::fromUtf16(row.a) + u'.' + QString::fromUtf16(row.b) + u'.' + QString::fromUtf16(row.c);
    }
    return rows;
}

// The number in the first column of the query's first row; -1 without a row.
int64_t countOf(Session& session, const QString& sql)
{
    struct CountRow {
        int64_t n;
        uint32_t length;
        DBSTATUS status;
    } row{};
    auto rowset = session.execute(sql);
    rowset->setBindings({{1, offsetof(CountRow, n), offsetof(CountRow, length), offsetof(CountRow, status), 8, DBTYPE_I8}});
    if (!rowset->next())
        return -1;
    rowset->getData(reinterpret_cast<std::byte*>(&row));
    return row.n;
}

class OdbcPostgresTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        backend = makeOdbcBackend("postgres", scratch);
        session = connect(backend->connectionString());
    }
    static std::shared_ptr<Session> connect(const QString& connectionString)
    {
        auto source = createOdbcDataSource(connectionString);
        source->initialize();
        return source->createSession();
    }

    TempDir scratch;
    std::unique_ptr<Backend> backend;
    std::shared_ptr<Session> session;
};

TEST_F(OdbcPostgresTest, ATableInAnotherSchemaIsListedAndOpensByItsQualifiedName)
{
    backend->exec(QStringLiteral("CREATE SCHEMA sales"));
    backend->exec(QStringLiteral("CREATE TABLE sales.orders (id INTEGER, what TEXT)"));
    backend->exec(QStringLiteral("INSERT INTO sales.orders VALUES (7, 'seven')"));
    backend->exec(QStringLiteral("CREATE TABLE plain (id INTEGER)"));
    auto tables = session->tablesSchema(QStringLiteral("TABLE"));
    const QStringList listed = rowsOf(*tables, 2, 3, 4);
    EXPECT_TRUE(listed.contains(u"sales.orders.TABLE")) << listed.join(u' ').toStdString();
    EXPECT_TRUE(listed.contains(u"public.plain.TABLE")) << listed.join(u' ').toStdString();
    for (const QString& t : listed)
        EXPECT_FALSE(t.startsWith(u"pg_catalog") || t.startsWith(u"information_schema")) << t.toStdString();

    const QString quote = session->identifierQuoteOpen();
    auto rowset = session->execute(QStringLiteral("select * from %1sales%1.%1orders%1").arg(quote));
    ASSERT_TRUE(rowset);
    EXPECT_EQ(rowsOf(*rowset, 1, 2, 2), QStringList{QStringLiteral("7.seven.seven")});
}

TEST_F(OdbcPostgresTest, ProceduresOfUserSchemasAreListedWithoutTheSystemCatalogue)
{
    backend->exec(QStringLiteral("CREATE SCHEMA sales"));
    backend->exec(QStringLiteral("CREATE FUNCTION add_one(i integer) RETURNS integer AS 'SELECT i + 1' LANGUAGE SQL"));
    backend->exec(QStringLiteral("CREATE PROCEDURE sales.touch(i integer) LANGUAGE SQL AS 'SELECT 1'"));
    auto procedures = session->proceduresSchema();
    struct Row {
        DBSTATUS s2, s3, s4;
        uint32_t l2, l3, l4;
        char16_t schema[130], name[130];
        int16_t type;
    } row{};
    procedures->setBindings({{2, offsetof(Row, schema), offsetof(Row, l2), offsetof(Row, s2), 260, DBTYPE_WSTR},
                             {3, offsetof(Row, name), offsetof(Row, l3), offsetof(Row, s3), 260, DBTYPE_WSTR},
                             {4, offsetof(Row, type), offsetof(Row, l4), offsetof(Row, s4), 2, DBTYPE_I2}});
    QStringList found;
    while (procedures->next()) {
        procedures->getData(reinterpret_cast<std::byte*>(&row));
        found << QStringLiteral("%1.%2:%3").arg(QString::fromUtf16(row.schema), QString::fromUtf16(row.name)).arg(row.type);
    }
    found.sort();
    // psqlODBC reports SQL_PT_FUNCTION for functions and procedures alike: 3, a function.
    EXPECT_EQ(found, (QStringList{QStringLiteral("public.add_one:3"), QStringLiteral("sales.touch:3")}));

    // Asked for, the system schemas come too.
    auto all = connect(backend->connectionString() + QStringLiteral(";ShowSystemTables=1"))->proceduresSchema();
    int rows = 0;
    while (all->next())
        ++rows;
    EXPECT_GT(rows, 1000);
}

TEST_F(OdbcPostgresTest, EveryColumnTypeReadsAsNarrowAndWideText)
{
    // The row cache binds every type it does not know as narrow text, which the provider converts.
    backend->exec(QStringLiteral(
        "CREATE TABLE kinds (flag BOOLEAN, id UUID, doc JSON, list INTEGER[], span INTERVAL, at TIMESTAMP, "
        "amount NUMERIC(12,3), money_ MONEY, bits BIT(4), addr INET)"));
    backend->exec(QStringLiteral(
        "INSERT INTO kinds VALUES (true, 'a0eebc99-9c0b-4ef8-bb6d-6bb9bd380a11', '{\"k\": \"ü\"}', '{1,2,3}', "
        "'1 day 02:00:00', '2024-02-29 10:11:12', 1234.5, 12.5, B'1010', '10.1.2.3')"));
    const QStringList expected = {QStringLiteral("1"), // psqlODBC gives booleans as 1/0
                                  QStringLiteral("A0EEBC99-9C0B-4EF8-BB6D-6BB9BD380A11"), // SQL_GUID, as the driver writes it
                                  QStringLiteral("{\"k\": \"ü\"}"),
                                  QStringLiteral("{1,2,3}"),
                                  QStringLiteral("1 day 02:00:00"),
                                  QStringLiteral("2024-02-29 10:11:12"),
                                  QStringLiteral("1234.500"),
                                  QStringLiteral("$12.50"),
                                  QStringLiteral("1010"),
                                  QStringLiteral("10.1.2.3")};
    auto rowset = session->execute(QStringLiteral("select * from kinds"));
    const auto columns = rowset->columns();
    ASSERT_EQ(columns.size(), size_t(expected.size()));
    for (uint32_t c = 1; c <= columns.size(); ++c) {
        struct Row {
            DBSTATUS s1, s2;
            uint32_t l1, l2;
            char narrow[200];
            char16_t wide[200];
        } row{};
        rowset->restart();
        rowset->setBindings({{c, offsetof(Row, narrow), offsetof(Row, l1), offsetof(Row, s1), 200, DBTYPE_STR},
                             {c, offsetof(Row, wide), offsetof(Row, l2), offsetof(Row, s2), 400, DBTYPE_WSTR}});
        ASSERT_TRUE(rowset->next());
        rowset->getData(reinterpret_cast<std::byte*>(&row));
        const QString name = columns[c - 1].name;
        EXPECT_EQ(row.s1, DBSTATUS_S_OK) << name.toStdString();
        EXPECT_EQ(QString::fromUtf8(row.narrow), expected[int(c - 1)]) << name.toStdString() << " type " << columns[c - 1].type;
        EXPECT_EQ(QString::fromUtf16(row.wide), expected[int(c - 1)]) << name.toStdString();
    }
}

TEST_F(OdbcPostgresTest, AWrongPasswordIsRefusedWithTheServersReason)
{
    // The backend's own password, replaced.
    QString wrong = backend->connectionString();
    wrong.replace(QRegularExpression(QStringLiteral("Pwd=\\{[^}]*\\}")), QStringLiteral("Pwd={not-the-password}"));
    ASSERT_NE(wrong, backend->connectionString());
    auto source = createOdbcDataSource(wrong);
    try {
        source->initialize();
        FAIL() << "connected with a wrong password";
    } catch (const ProviderError& e) {
        EXPECT_TRUE(e.description().contains(u"password authentication failed")) << e.what();
        EXPECT_TRUE(e.description().startsWith(u"[08001]")) << e.what();
    }
    EXPECT_FALSE(source->isInitialized());
}

TEST_F(OdbcPostgresTest, ALongQueryIsCancelledFromAnotherThread)
{
    InterruptToken token;
    HRESULT hr = S_OK;
    QString text;
    std::thread worker([&] {
        InterruptToken::Armed armed(token);
        try {
            auto rowset = session->execute(QStringLiteral("select count(*) from generate_series(1, 1000000000)"));
            if (rowset)
                rowset->next();
        } catch (const ProviderError& e) {
            hr = e.hr();
            text = e.description();
        }
    });
    // The server ignores a cancel that comes before it starts the query: wait until it reports it
    // running (a state polled, not a delay guessed), then stop once.
    auto observer = connect(backend->connectionString());
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    while (countOf(*observer, QStringLiteral("select count(*) from pg_stat_activity where state = 'active' and "
                                             "datname = current_database() and pid <> pg_backend_pid()")) < 1 &&
           std::chrono::steady_clock::now() < deadline)
        std::this_thread::yield();
    token.interrupt();
    worker.join();
    EXPECT_EQ(hr, DB_E_CANCELED) << text.toStdString();
    // The session goes on working.
    auto rowset = session->execute(QStringLiteral("select 1"));
    ASSERT_TRUE(rowset);
    EXPECT_TRUE(rowset->next());
}

TEST(OdbcPostgresServerTest, AServerThatStopsDuringALoadGivesAnErrorNotACrashOrAHang)
{
    TempDir scratch;
    OdbcPrivateServer server(scratch);
    {
        auto setup = createOdbcDataSource(server.connectionString());
        setup->initialize();
        auto s = setup->createSession();
        s->execute(QStringLiteral("CREATE TABLE big AS SELECT g AS id, 'row ' || g AS name FROM generate_series(1, 100000) g"));
    }
    auto source = createOdbcDataSource(server.connectionString());
    source->initialize();
    auto session = source->createSession();
    auto rowset = session->execute(QStringLiteral("select * from big"));
    ASSERT_TRUE(rowset);
    struct Row {
        DBSTATUS status;
        uint32_t length;
        int64_t id;
    } row{};
    rowset->setBindings({{1, offsetof(Row, id), offsetof(Row, length), offsetof(Row, status), 8, DBTYPE_I8}});
    for (int i = 0; i < 10; ++i) {
        ASSERT_TRUE(rowset->next());
        rowset->getData(reinterpret_cast<std::byte*>(&row));
    }
    EXPECT_EQ(row.id, 10);

    server.stop();
    uint64_t more = 0;
    HRESULT hr = S_OK;
    QString text;
    try {
        while (rowset->next())
            ++more;
    } catch (const ProviderError& e) {
        hr = e.hr();
        text = e.description();
    }
    EXPECT_TRUE(failed(hr)) << "read " << more << " more rows without an error";
    EXPECT_LT(more, 100000u);
    EXPECT_FALSE(text.isEmpty());
    // Nothing works on the dead connection, and nothing crashes either.
    EXPECT_THROW(session->execute(QStringLiteral("select 1")), ProviderError);
    EXPECT_THROW(rowset->restart(), ProviderError);
}

} // namespace
} // namespace qbtest
