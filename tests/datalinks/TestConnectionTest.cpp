// Test Connection against real sources: SQLite files and the private PostgreSQL server through a
// data source name of the suite's own odbc.ini; what the user reads is the provider's text.
#include "common/WindowConnection.h"
#include "dataaccess/DataLinkFile.h"
#include "dataaccess/providers/odbc/OdbcDriverManager.h"
#include "datalinks/DataLinkModel.h"
#include "datalinks/PrivateDsn.h"
#include "datalinks/SqliteFile.h"
#include "platform/BrelibException.h"
#include "support/TempDir.h"

#include <QFile>
#include <gtest/gtest.h>

using namespace qb::datalinks;

namespace {

TestOutcome testSqlite(const QString& file, bool readOnly = false, bool immutable = false)
{
    DataLinkModel model;
    model.setDatabaseFile(file);
    model.setReadOnly(readOnly);
    model.setImmutable(immutable);
    return DataLinkModel::testConnection(model.connectionString());
}

} // namespace

TEST(TestConnection, SqliteFilesSucceedOrFailInTheProvidersWords)
{
    qbtest::TempDir dir;
    const QString db = dir.qfile("shop #1?.db");
    qbtest::makeSqliteFile(db);
    for (const auto& [readOnly, immutable] : {std::pair{false, false}, {true, false}, {false, true}}) {
        const TestOutcome ok = testSqlite(db, readOnly, immutable);
        EXPECT_TRUE(ok.succeeded) << ok.text.toStdString();
        EXPECT_EQ(ok.text, u"Test connection succeeded.");
    }

    const TestOutcome missing = testSqlite(dir.qfile("gone.db"));
    EXPECT_FALSE(missing.succeeded);
    EXPECT_EQ(missing.text, QStringLiteral("The SQLite database file \"%1\" does not exist.").arg(dir.qfile("gone.db")));
    EXPECT_FALSE(QFile::exists(dir.qfile("gone.db"))) << "a test never creates the file";

    const QString notADatabase = dir.qfile("notes.txt");
    QFile text(notADatabase);
    ASSERT_TRUE(text.open(QIODevice::WriteOnly));
    text.write(QByteArray(4096, 'x'));
    text.close();
    const TestOutcome garbage = testSqlite(notADatabase);
    EXPECT_FALSE(garbage.succeeded);
    EXPECT_TRUE(garbage.text.contains(u"file is not a database")) << garbage.text.toStdString();

    const TestOutcome badMode =
        DataLinkModel::testConnection(QStringLiteral("Provider=SQLite;Data Source=%1;Mode=ReadOnce").arg(db));
    EXPECT_FALSE(badMode.succeeded);
    EXPECT_TRUE(badMode.text.contains(u"\"ReadOnce\" of \"Mode\"")) << badMode.text.toStdString();
}

class PostgresTestConnection : public ::testing::Test {
protected:
    qbtest::PrivateDsn dsn;
};

TEST_F(PostgresTestConnection, TheDataSourceIsListedAndConnectsWithTheRightPasswordOnly)
{
    const auto sources = qb::data::odbc::listDataSources();
    const auto ours = std::find_if(sources.begin(), sources.end(), [](const auto& s) { return s.name == qbtest::PrivateDsn::name(); });
    ASSERT_NE(ours, sources.end());
    EXPECT_FALSE(ours->system);
    EXPECT_EQ(ours->driver, u"PostgreSQL Unicode");
    const auto drivers = qb::data::odbc::listDrivers();
    EXPECT_TRUE(std::any_of(drivers.begin(), drivers.end(), [](const auto& d) { return d.name == u"PostgreSQL Unicode"; }));

    DataLinkModel model;
    model.setProvider(ProviderKind::Odbc);
    model.setDataSourceName(dsn.name());
    model.setUserName(dsn.user());
    model.setPassword(dsn.password());
    const TestOutcome ok = DataLinkModel::testConnection(model.connectionString());
    EXPECT_TRUE(ok.succeeded) << ok.text.toStdString();

    model.setPassword(dsn.password() + QStringLiteral("-wrong"));
    const TestOutcome wrong = DataLinkModel::testConnection(model.connectionString());
    EXPECT_FALSE(wrong.succeeded);
    EXPECT_TRUE(wrong.text.contains(u"password authentication failed")) << wrong.text.toStdString();
}

TEST_F(PostgresTestConnection, ADriverWithItsKeysConnectsAndTheSavedFileOpensWhenThePasswordIsKept)
{
    DataLinkModel model;
    model.setProvider(ProviderKind::Odbc);
    model.setOdbcSource(OdbcSource::Driver);
    model.setDriver(QStringLiteral("PostgreSQL Unicode"));
    model.setDriverKeys({{QStringLiteral("Server"), qbtest::requiredServerVariable("QB_PG_HOST")},
                         {QStringLiteral("Port"), qbtest::requiredServerVariable("QB_PG_PORT")}});
    model.setUserName(dsn.user());
    model.setPassword(dsn.password());
    model.setInitialCatalog(QStringLiteral("postgres"));
    const TestOutcome ok = DataLinkModel::testConnection(model.connectionString());
    ASSERT_TRUE(ok.succeeded) << ok.text.toStdString();

    qbtest::TempDir dir;
    const QString file = dir.qfile("pg.udl");
    qb::data::writeDataLinkFile(file, model.savedString());
    qb::WindowConnection connection;
    EXPECT_THROW(connection.openConnection(file, true), Brelib::exception) << "the password was not kept";
    EXPECT_FALSE(connection.isConnected());

    model.setKeepPassword(true);
    qb::data::writeDataLinkFile(file, model.savedString());
    EXPECT_EQ(connection.openConnection(file, true), qb::WindowConnection::OpenResult::Opened);
    EXPECT_EQ(connection.connectionName(), file);
    EXPECT_NE(connection.session(), nullptr);
}
