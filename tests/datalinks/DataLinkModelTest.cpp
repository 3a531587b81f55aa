// The dialog's model without widgets: the string each provider's fields build, the provider and
// source switches, pasted strings, the All page's pairs, and the password kept or not.
#include "dataaccess/ConnectionString.h"
#include "dataaccess/Provider.h"
#include "datalinks/DataLinkModel.h"

#include <gtest/gtest.h>

using namespace qb::datalinks;
using qb::data::ConnectionString;

namespace {

QString valueIn(const QString& string, const char* key)
{
    return ConnectionString::parse(string).value(QString::fromLatin1(key));
}

bool hasKey(const QString& string, const char* key)
{
    return ConnectionString::parse(string).contains(QString::fromLatin1(key));
}

} // namespace

TEST(DataLinkModel, SqliteFieldsBuildTheStringAndEmptyOnesLeaveNoKey)
{
    DataLinkModel model;
    EXPECT_EQ(model.provider(), ProviderKind::Sqlite);
    EXPECT_EQ(model.connectionString(), u"Provider=SQLite");

    model.setDatabaseFile(QStringLiteral("/home/ann/my shop;2.db"));
    model.setReadOnly(true);
    EXPECT_EQ(model.connectionString(), u"Provider=SQLite;Data Source=\"/home/ann/my shop;2.db\";Mode=ReadOnly");
    model.setImmutable(true);
    EXPECT_TRUE(model.immutable());
    EXPECT_EQ(valueIn(model.connectionString(), "Immutable"), u"True");

    model.setReadOnly(false);
    model.setImmutable(false);
    model.setDatabaseFile(QString());
    EXPECT_EQ(model.connectionString(), u"Provider=SQLite");
    // No password on this provider: the file keeps the whole string.
    EXPECT_EQ(model.savedString(), model.connectionString());
}

TEST(DataLinkModel, OdbcDataSourceWithLogonAndCatalogKeepsThePasswordOnlyWhenAsked)
{
    DataLinkModel model;
    model.setProvider(ProviderKind::Odbc);
    EXPECT_EQ(model.odbcSource(), OdbcSource::DataSourceName);
    EXPECT_FALSE(model.keepPassword()) << "a new link keeps no password";

    model.setDataSourceName(QStringLiteral("pg shop"));
    model.setUserName(QStringLiteral("ann"));
    model.setPassword(QStringLiteral("p;w\"x"));
    model.setInitialCatalog(QStringLiteral("shop"));
    const QString full = model.connectionString();
    EXPECT_EQ(valueIn(full, "DSN"), u"pg shop");
    EXPECT_EQ(valueIn(full, "UID"), u"ann");
    EXPECT_EQ(valueIn(full, "PWD"), u"p;w\"x");
    EXPECT_EQ(valueIn(full, "DATABASE"), u"shop");

    const QString saved = model.savedString();
    EXPECT_FALSE(hasKey(saved, "PWD")) << saved.toStdString();
    EXPECT_EQ(valueIn(saved, "Persist Security Info"), u"False");
    EXPECT_EQ(valueIn(saved, "UID"), u"ann");

    model.setKeepPassword(true);
    EXPECT_EQ(valueIn(model.savedString(), "PWD"), u"p;w\"x");
    EXPECT_EQ(valueIn(model.savedString(), "Persist Security Info"), u"True");
}

TEST(DataLinkModel, DriverSourceSeedsItsKeysAndEachSourceKeepsItsOwnWhileTheOtherIsUsed)
{
    DataLinkModel model;
    model.setProvider(ProviderKind::Odbc);
    model.setDataSourceName(QStringLiteral("shop"));
    model.setUserName(QStringLiteral("ann"));

    model.setOdbcSource(OdbcSource::Driver);
    EXPECT_FALSE(hasKey(model.connectionString(), "DSN")) << "a stale DSN would override the driver's keys";
    model.setDriver(QStringLiteral("PostgreSQL Unicode"));
    EXPECT_EQ(valueIn(model.connectionString(), "Driver"), u"{PostgreSQL Unicode}");
    ASSERT_EQ(model.driverKeys().size(), 2u);
    EXPECT_EQ(model.driverKeys()[0].key, u"Server");
    EXPECT_EQ(model.driverKeys()[1].key, u"Port");

    model.setDriverKeys({{QStringLiteral("Server"), QStringLiteral("db.example.org")},
                         {QStringLiteral("SSLmode"), QStringLiteral("require")},
                         {QStringLiteral("UID"), QStringLiteral("not a driver key")}});
    EXPECT_FALSE(hasKey(model.connectionString(), "Port"));
    EXPECT_EQ(valueIn(model.connectionString(), "SSLmode"), u"require");
    EXPECT_EQ(model.userName(), u"ann") << "the log-on is not the driver's to replace";

    model.setOdbcSource(OdbcSource::DataSourceName);
    EXPECT_EQ(model.dataSourceName(), u"shop");
    EXPECT_FALSE(hasKey(model.connectionString(), "Driver"));
    EXPECT_FALSE(hasKey(model.connectionString(), "SSLmode"));
    EXPECT_EQ(model.userName(), u"ann");

    model.setOdbcSource(OdbcSource::Driver);
    EXPECT_EQ(model.driver(), u"PostgreSQL Unicode");
    EXPECT_EQ(valueIn(model.connectionString(), "Server"), u"db.example.org");
    EXPECT_FALSE(hasKey(model.connectionString(), "DSN"));
}

TEST(DataLinkModel, SwitchingProvidersBringsBackWhatWasSetForEach)
{
    DataLinkModel model;
    model.setDatabaseFile(QStringLiteral("/data/a.db"));
    model.setProvider(ProviderKind::Odbc);
    EXPECT_FALSE(hasKey(model.connectionString(), "Data Source"));
    model.setDataSourceName(QStringLiteral("warehouse"));
    model.setProvider(ProviderKind::Sqlite);
    EXPECT_EQ(model.connectionString(), u"Provider=SQLite;Data Source=/data/a.db");
    model.setProvider(ProviderKind::Odbc);
    EXPECT_EQ(model.dataSourceName(), u"warehouse");
}

TEST(DataLinkModel, PastedStringsInTheGeneralSpellingAreReadAndKeepTheirKeys)
{
    DataLinkModel model;
    model.load(QStringLiteral("Provider=ODBC;Data Source=shop;User ID=ann;Password=pw;Initial Catalog=c;Extended Properties=\"Port=5433\""));
    EXPECT_EQ(model.provider(), ProviderKind::Odbc);
    EXPECT_EQ(model.dataSourceName(), u"shop");
    EXPECT_EQ(model.userName(), u"ann");
    EXPECT_EQ(model.password(), u"pw");
    EXPECT_EQ(model.initialCatalog(), u"c");
    EXPECT_TRUE(model.keepPassword()) << "the string held its password: saving must not drop it";

    model.setUserName(QStringLiteral("bob"));
    const ConnectionString after = ConnectionString::parse(model.connectionString());
    EXPECT_EQ(after.value(QStringLiteral("User ID")), u"bob");
    EXPECT_FALSE(after.contains(QStringLiteral("UID")));
    EXPECT_EQ(after.value(QStringLiteral("Extended Properties")), u"Port=5433");

    model.load(QStringLiteral("Provider=ODBC;Driver={SQLite3};Database=/tmp/x.db;UID=a;PWD=b;Persist Security Info=False"));
    EXPECT_EQ(model.odbcSource(), OdbcSource::Driver);
    EXPECT_EQ(model.driver(), u"SQLite3");
    EXPECT_FALSE(model.keepPassword());
    EXPECT_FALSE(hasKey(model.savedString(), "PWD"));
    EXPECT_EQ(valueIn(model.connectionString(), "PWD"), u"b") << "Test Connection still uses it";
}

TEST(DataLinkModel, MalformedOrUnknownPastedStrings)
{
    DataLinkModel model;
    model.setDatabaseFile(QStringLiteral("/a.db"));
    try {
        model.load(QStringLiteral("Provider=ODBC;DSN=\"shop"));
        ADD_FAILURE() << "a malformed string was taken";
    } catch (const qb::data::ProviderError& e) {
        EXPECT_TRUE(e.description().contains(u"never closed")) << e.description().toStdString();
    }
    EXPECT_EQ(model.connectionString(), u"Provider=SQLite;Data Source=/a.db") << "nothing changes on a bad paste";

    model.load(QStringLiteral("Provider=MSDASQL.1;X=1"));
    EXPECT_EQ(model.provider(), ProviderKind::Other);
    EXPECT_EQ(model.providerName(), u"MSDASQL.1");
    model.setProvider(ProviderKind::Sqlite);
    EXPECT_EQ(model.connectionString(), u"Provider=SQLite");
}

TEST(DataLinkModel, AllPagePairsGoThroughTheStringUnchanged)
{
    DataLinkModel model;
    const std::vector<DataLinkModel::Entry> pairs{
        {QStringLiteral("Provider"), QStringLiteral("ODBC")},
        {QStringLiteral("Driver"), QStringLiteral("{PostgreSQL Unicode}")},
        {QStringLiteral("Pwd"), QStringLiteral("{a;b}}c}")},
        {QStringLiteral("Odd"), QStringLiteral("{a}b}")},
        {QStringLiteral("Open"), QStringLiteral("{x")},
        {QStringLiteral("Quoted"), QStringLiteral("\"it's\"; 'here'")},
        {QStringLiteral("Blank ends"), QStringLiteral(" x ")},
        {QStringLiteral("  "), QStringLiteral("dropped")},
    };
    model.setEntries(pairs);
    DataLinkModel again;
    again.load(model.connectionString());
    // Loading adds what the password choice implies: the string holds one, so it is kept.
    ASSERT_EQ(again.entries().size(), pairs.size()) << model.connectionString().toStdString();
    for (size_t i = 0; i + 1 < pairs.size(); ++i) {
        EXPECT_EQ(again.entries()[i].key, pairs[i].key);
        EXPECT_EQ(again.entries()[i].value, pairs[i].value) << model.connectionString().toStdString();
    }
    EXPECT_EQ(again.entries().back().key, u"Persist Security Info");
    EXPECT_EQ(again.entries().back().value, u"True");

    EXPECT_FALSE(DataLinkModel::keyProblem(QStringLiteral("a=b")).isEmpty());
    EXPECT_FALSE(DataLinkModel::keyProblem(QStringLiteral("a;b")).isEmpty());
    EXPECT_FALSE(DataLinkModel::keyProblem(QStringLiteral(" ")).isEmpty());
    EXPECT_TRUE(DataLinkModel::keyProblem(QStringLiteral("Initial Catalog")).isEmpty());
}
