// A window's opening and closing of connections: the frame of steps, failures that keep the old
// connection, captions, clear messages for bad names.
#include "common/WindowConnection.h"
#include "dataaccess/DataLinkFile.h"
#include "dataaccess/DataSourceFactory.h"
#include "platform/BrelibException.h"
#include "support/BackendFixture.h"

#include <QFile>

using qb::WindowConnection;
using qb::data::providerNames;
using qb::data::writeDataLinkFile;

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

class WindowConnectionTest : public BackendFixture {};

TEST_P(WindowConnectionTest, AFailedOpenKeepsThePreviousConnection)
{
    std::vector<std::string> steps;
    WindowConnection connection({[&] { steps.push_back("before"); return true; },
                           [&] { steps.push_back("close"); return true; },
                           [&](const QString&) { steps.push_back("recent"); },
                           [&] { steps.push_back("after"); }});
    ASSERT_EQ(connection.openConnection(backend->connectionString(), false), WindowConnection::OpenResult::Opened);
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

INSTANTIATE_TEST_SUITE_P(Backends, WindowConnectionTest, ::testing::ValuesIn(backendNames()), backendTestName);

class SqliteWindowConnectionTest : public SqliteFixture {};

TEST_F(SqliteWindowConnectionTest, ADataLinkFileOpensUnderItsPathAndEntersTheRecentList)
{
    const QString udl = scratch.qfile("my shop.udl");
    writeDataLinkFile(udl, backend->connectionString());
    QStringList recent;
    WindowConnection connection({{}, {}, [&](const QString& path) { recent << path; }, {}});
    EXPECT_EQ(connection.captionSuffix(), u" - no connection");
    ASSERT_EQ(connection.openConnection(udl, true), WindowConnection::OpenResult::Opened);
    EXPECT_EQ(connection.connectionName(), udl);
    EXPECT_EQ(connection.captionSuffix(), QStringLiteral(" - [") + udl + QStringLiteral("]"));
    EXPECT_EQ(recent, QStringList{udl});
    EXPECT_NE(connection.session()->execute(QStringLiteral("select * from t")), nullptr);
    connection.close();
    EXPECT_FALSE(connection.isConnected());
    EXPECT_EQ(connection.connectionName(), QString());
    EXPECT_EQ(connection.captionSuffix(), u" - no connection");
}

TEST_F(SqliteWindowConnectionTest, CaptionSuffixRules)
{
    EXPECT_EQ(WindowConnection::captionSuffix(false, QStringLiteral("x")), u" - no connection");
    EXPECT_EQ(WindowConnection::captionSuffix(true, QString()), u" - connection string");
    EXPECT_EQ(WindowConnection::captionSuffix(true, QStringLiteral("/a b/c.udl")), u" - [/a b/c.udl]");
}

TEST_F(SqliteWindowConnectionTest, ARefusingStepEndsTheCommandAndKeepsTheOldConnection)
{
    bool allowClose = true;
    WindowConnection connection({{}, [&] { return allowClose; }, {}, {}});
    ASSERT_EQ(connection.openConnection(backend->connectionString(), false), WindowConnection::OpenResult::Opened);
    const auto session = connection.session();
    allowClose = false;
    EXPECT_EQ(connection.openConnection(backend->connectionString(), false), WindowConnection::OpenResult::Refused);
    EXPECT_EQ(connection.session(), session);
}

TEST_F(SqliteWindowConnectionTest, BadInputGivesClearMessages)
{
    WindowConnection connection;
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

} // namespace
} // namespace qbtest
