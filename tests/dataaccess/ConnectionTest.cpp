// Opening and closing connections: the frame of steps, failures that keep the old connection,
// captions, and the data source factory's refusals.
#include "BackendFixture.h"

#include "common/BrelibException.h"
#include "dataaccess/Connection.h"
#include "dataaccess/ConnectionString.h"
#include "dataaccess/DataLinkFile.h"

#include <QFile>

using namespace qb::data;

namespace qbtest {
namespace {

QString messageOf(const std::function<void()>& f)
{
    try {
        f();
    } catch (const Brelib::exception& e) {
        return e.text();
    }
    return QStringLiteral("<no exception>");
}

class ConnectionTest : public BackendTest {};

TEST_P(ConnectionTest, AFailedOpenKeepsThePreviousConnection)
{
    std::vector<std::string> steps;
    Connection connection({[&] { steps.push_back("before"); return true; },
                           [&] { steps.push_back("close"); return true; },
                           [&](const QString&) { steps.push_back("recent"); },
                           [&] { steps.push_back("after"); }});
    ASSERT_EQ(connection.openConnection(backend->connectionString(), false), Connection::OpenResult::Opened);
    EXPECT_EQ(steps, (std::vector<std::string>{"before", "close", "after"})) << "connection strings never enter the recent list";
    const auto session = connection.session();

    steps.clear();
    const QString bad = QStringLiteral("Provider=SQLite;Data Source=") + scratch.qfile("absent.db");
    const QString message = messageOf([&] { connection.openConnection(bad, false); });
    EXPECT_EQ(message, QStringLiteral("The new connection has been interrupted: The SQLite database file \"%1\" does not exist.")
                           .arg(scratch.qfile("absent.db")));
    EXPECT_TRUE(steps.empty()) << "a failed trial open runs no step";
    EXPECT_TRUE(connection.isConnected());
    EXPECT_EQ(connection.session(), session);
    EXPECT_EQ(connection.captionSuffix(), u" - [connection string]");
}

INSTANTIATE_TEST_SUITE_P(Backends, ConnectionTest, ::testing::ValuesIn(backendNames()), backendTestName);

class SqliteConnectionTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        backend = makeBackend("sqlite", scratch);
        backend->exec(QStringLiteral("CREATE TABLE t (id INTEGER)"));
    }
    TempDir scratch;
    std::unique_ptr<Backend> backend;
};

TEST_F(SqliteConnectionTest, ADataLinkFileOpensUnderItsPathAndEntersTheRecentList)
{
    const QString udl = scratch.qfile("my shop.udl");
    writeDataLinkFile(udl, backend->connectionString());
    QStringList recent;
    Connection connection({{}, {}, [&](const QString& path) { recent << path; }, {}});
    EXPECT_EQ(connection.captionSuffix(), u" - no connection");
    ASSERT_EQ(connection.openConnection(udl, true), Connection::OpenResult::Opened);
    EXPECT_EQ(connection.connectionName(), udl);
    EXPECT_EQ(connection.captionSuffix(), QStringLiteral(" - [") + udl + QStringLiteral("]"));
    EXPECT_EQ(recent, QStringList{udl});
    EXPECT_NE(connection.session()->execute(QStringLiteral("select * from t")), nullptr);
    connection.close();
    EXPECT_FALSE(connection.isConnected());
    EXPECT_EQ(connection.connectionName(), QString());
    EXPECT_EQ(connection.captionSuffix(), u" - no connection");
}

TEST_F(SqliteConnectionTest, CaptionSuffixRules)
{
    EXPECT_EQ(Connection::captionSuffix(false, QStringLiteral("x")), u" - no connection");
    EXPECT_EQ(Connection::captionSuffix(true, QString()), u" - connection string");
    EXPECT_EQ(Connection::captionSuffix(true, QStringLiteral("/a b/c.udl")), u" - [/a b/c.udl]");
}

TEST_F(SqliteConnectionTest, ARefusingStepEndsTheCommandAndKeepsTheOldConnection)
{
    bool allowClose = true;
    Connection connection({{}, [&] { return allowClose; }, {}, {}});
    ASSERT_EQ(connection.openConnection(backend->connectionString(), false), Connection::OpenResult::Opened);
    const auto session = connection.session();
    allowClose = false;
    EXPECT_EQ(connection.openConnection(backend->connectionString(), false), Connection::OpenResult::Refused);
    EXPECT_EQ(connection.session(), session);
}

TEST_F(SqliteConnectionTest, BadInputGivesClearMessages)
{
    Connection connection;
    const QString prefix = QStringLiteral("The new connection has been interrupted: ");
    EXPECT_EQ(messageOf([&] { connection.openConnection(QStringLiteral("Provider=Jet;Data Source=x"), false); }),
              prefix + QStringLiteral("The provider \"Jet\" is not known; known providers: ") +
                  providerNames().join(QStringLiteral(", ")) + QStringLiteral("."));
    EXPECT_TRUE(messageOf([&] { connection.openConnection(QStringLiteral("Data Source=x"), false); })
                    .startsWith(prefix + QStringLiteral("The connection string names no provider")));
    EXPECT_TRUE(messageOf([&] { connection.openConnection(QStringLiteral("Provider=\"SQLite"), false); })
                    .startsWith(prefix + QStringLiteral("The connection string is malformed at character 10")));
    const QString garbage = scratch.qfile("garbage.db");
    {
        QFile f(garbage);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(QByteArray(8192, 'x'));
    }
    EXPECT_EQ(messageOf([&] { connection.openConnection(QStringLiteral("Provider=SQLite;Data Source=") + garbage, false); }),
              prefix + QStringLiteral("Cannot open the SQLite database \"%1\": file is not a database").arg(garbage));
    EXPECT_TRUE(messageOf([&] { connection.openConnection(scratch.qfile("none.udl"), true); }).startsWith(prefix));
    EXPECT_FALSE(connection.isConnected());
}

TEST_F(SqliteConnectionTest, AMissingSqliteFileIsNotCreated)
{
    const QString path = scratch.qfile("never.db");
    auto source = createDataSource(QStringLiteral("Provider=SQLite;Data Source=") + path);
    EXPECT_THROW(source->initialize(), ProviderError);
    EXPECT_FALSE(QFile::exists(path));
    EXPECT_FALSE(source->isInitialized());
    EXPECT_THROW(source->createSession(), ProviderError);
}

TEST_F(SqliteConnectionTest, ReadOnlyModeRefusesWrites)
{
    auto source = createDataSource(backend->connectionString() + QStringLiteral(";Mode=ReadOnly"));
    source->initialize();
    auto session = source->createSession();
    EXPECT_NE(session->execute(QStringLiteral("select * from t")), nullptr);
    EXPECT_THROW(session->execute(QStringLiteral("insert into t values (1)")), ProviderError);
}

TEST_F(SqliteConnectionTest, OpenFlagsAreCheckedAndImmutableFilesOpenReadOnlyWhateverTheirName)
{
    EXPECT_TRUE(messageOf([&] {
                    Connection().openConnection(backend->connectionString() + QStringLiteral(";Mode=Write"), false);
                }).endsWith(u"The SQLite provider does not know the value \"Write\" of \"Mode\"; it takes ReadOnly or ReadWrite."));
    EXPECT_TRUE(messageOf([&] {
                    Connection().openConnection(backend->connectionString() + QStringLiteral(";Immutable=sometimes"), false);
                }).endsWith(u"it takes True or False."));
    auto writable = createDataSource(backend->connectionString() + QStringLiteral(";Mode=ReadWrite;Immutable=False"));
    writable->initialize();
    EXPECT_NO_THROW(writable->createSession()->execute(QStringLiteral("insert into t values (1)")));

    // URI syntax in the name must not be taken as such.
    const QString odd = scratch.qfile("a?mode=rwc#x%41.db");
    ASSERT_TRUE(QFile::copy(ConnectionString::parse(backend->connectionString()).value(QStringLiteral("Data Source")), odd));
    auto frozen = createDataSource(QStringLiteral("Provider=SQLite;Data Source=\"%1\";Immutable=True").arg(odd));
    frozen->initialize();
    auto session = frozen->createSession();
    EXPECT_NE(session->execute(QStringLiteral("select * from t")), nullptr);
    EXPECT_THROW(session->execute(QStringLiteral("insert into t values (2)")), ProviderError);
    EXPECT_FALSE(QFile::exists(scratch.qfile("a"))) << "the name was read as a URI";
}

} // namespace
} // namespace qbtest
