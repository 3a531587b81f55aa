// The driver's connection string made from an initialization string: which keys pass, which
// general data-link keys become ODBC's, and the memory-bounding driver settings added.
#include "dataaccess/providers/odbc/OdbcConnectString.h"

#include <gtest/gtest.h>

using namespace qb::data;
using namespace qb::data::odbc;

namespace {

OdbcConnectString build(const QString& init, const QString& dsnDriver = QString())
{
    return OdbcConnectString::build(ConnectionString::parse(init), [&](const QString&) { return dsnDriver; });
}

TEST(OdbcConnectString, PsqlOdbcGetsACursorReadInBatchesUnlessTheStringSaysOtherwise)
{
    const OdbcConnectString pg = build(QStringLiteral("Provider=ODBC;Driver={PostgreSQL Unicode};Server=h;Port=5"));
    EXPECT_EQ(pg.kind, DriverKind::PostgreSql);
    EXPECT_EQ(pg.text, u"Driver={PostgreSQL Unicode};Server=h;Port=5;UseDeclareFetch=1;Fetch=1000;");
    const OdbcConnectString own = build(QStringLiteral("Provider=ODBC;Driver={PostgreSQL ANSI};usedeclarefetch=0;FETCH=50"));
    EXPECT_EQ(own.text, u"Driver={PostgreSQL ANSI};usedeclarefetch=0;FETCH=50;");
    EXPECT_FALSE(own.showSystemObjects);
    EXPECT_TRUE(build(QStringLiteral("Driver={PostgreSQL Unicode};ShowSystemTables=1")).showSystemObjects);
}

TEST(OdbcConnectString, TheSqliteDriverStepsRowsAndRefusesToCreateAMissingFile)
{
    const OdbcConnectString s = build(QStringLiteral("Provider=ODBC;Driver={SQLite3};Database=/data/shop.db"));
    EXPECT_EQ(s.kind, DriverKind::Sqlite);
    EXPECT_EQ(s.text, u"Driver={SQLite3};Database=/data/shop.db;StepAPI=1;NoCreat=1;");
    EXPECT_EQ(s.sqliteDatabase, u"/data/shop.db");
    EXPECT_TRUE(s.sqliteNoCreate);
    const OdbcConnectString create = build(QStringLiteral("Provider=ODBC;Driver={SQLite3};Database=/x.db;NoCreat=0"));
    EXPECT_FALSE(create.sqliteNoCreate);
    EXPECT_TRUE(create.text.contains(u"NoCreat=0;"));
    EXPECT_FALSE(create.text.contains(u"NoCreat=1"));
}

TEST(OdbcConnectString, TheDriverOfADataSourceNameDecidesTheSettings)
{
    const OdbcConnectString viaDsn = build(QStringLiteral("Provider=ODBC;DSN=shop"), QStringLiteral("PostgreSQL Unicode"));
    EXPECT_EQ(viaDsn.kind, DriverKind::PostgreSql);
    EXPECT_TRUE(viaDsn.text.contains(u"UseDeclareFetch=1"));
    EXPECT_EQ(build(QStringLiteral("DSN=other"), QString()).kind, DriverKind::Other);
    // Driver libraries given by path are recognised too.
    EXPECT_EQ(driverKindOf(QStringLiteral("/usr/lib/x86_64-linux-gnu/odbc/psqlodbcw.so")), DriverKind::PostgreSql);
    EXPECT_EQ(driverKindOf(QStringLiteral("{/usr/lib/x86_64-linux-gnu/odbc/libsqlite3odbc.so}")), DriverKind::Sqlite);
    EXPECT_EQ(driverKindOf(QStringLiteral("MariaDB Unicode")), DriverKind::Other);
}

TEST(OdbcConnectString, GeneralDataLinkKeysBecomeOdbcKeysWithoutOverridingThem)
{
    EXPECT_EQ(build(QStringLiteral("Provider=ODBC;Data Source=shop;User ID=ann;Password=pw;Initial Catalog=sales")).text,
              u"DSN=shop;UID=ann;PWD=pw;DATABASE=sales;");
    // ODBC's own keys win; with a driver, "Data Source" is left to the driver.
    EXPECT_EQ(build(QStringLiteral("Driver={X};Data Source=srv;UID=bob;User ID=ann;Persist Security Info=False")).text,
              u"Driver={X};Data Source=srv;UID=bob;");
    // Extended Properties holds an ODBC string; keys given directly win over it.
    EXPECT_EQ(build(QStringLiteral("Provider=ODBC;Extended Properties=\"DSN=a;UID=x\";UID=y")).text, u"DSN=a;UID=y;");
}

TEST(OdbcConnectString, ValuesAreBracedWhereOdbcNeedsIt)
{
    EXPECT_EQ(build(QStringLiteral("Driver={X};Pwd=\"a;b}c\"")).text, u"Driver={X};Pwd={a;b}}c};");
    EXPECT_EQ(build(QStringLiteral("Driver={X};Pwd={a;b}}c}")).text, u"Driver={X};Pwd={a;b}}c};");
    EXPECT_EQ(build(QStringLiteral("Driver={X};Pwd=\" padded \"")).text, u"Driver={X};Pwd={ padded };");
    EXPECT_EQ(build(QStringLiteral("Driver={X};Pwd=\"{open\"")).text, u"Driver={X};Pwd={{open};");
}

} // namespace
