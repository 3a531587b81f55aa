// The data source factory's SQLite sources: a missing file stays missing, read-only mode holds,
// open flags are checked.
#include "dataaccess/ConnectionString.h"
#include "dataaccess/DataSourceFactory.h"
#include "support/BackendFixture.h"

#include <QFile>

using namespace qb::data;

namespace qbtest {
namespace {

class SqliteDataSourceTest : public SqliteFixture {};

// The provider's text of the failure that initializing a data source for the string raises.
QString initializeFailure(const QString& initString)
{
    try {
        createDataSource(initString)->initialize();
    } catch (const ProviderError& e) {
        return e.description();
    }
    return QStringLiteral("<no failure>");
}

TEST_F(SqliteDataSourceTest, AMissingSqliteFileIsNotCreated)
{
    const QString path = scratch.qfile("never.db");
    auto source = createDataSource(QStringLiteral("Provider=SQLite;Data Source=") + path);
    EXPECT_THROW(source->initialize(), ProviderError);
    EXPECT_FALSE(QFile::exists(path));
    EXPECT_FALSE(source->isInitialized());
    EXPECT_THROW(source->createSession(), ProviderError);
}

TEST_F(SqliteDataSourceTest, ReadOnlyModeRefusesWrites)
{
    auto source = createDataSource(backend->connectionString() + QStringLiteral(";Mode=ReadOnly"));
    source->initialize();
    auto session = source->createSession();
    EXPECT_NE(session->execute(QStringLiteral("select * from t")), nullptr);
    EXPECT_THROW(session->execute(QStringLiteral("insert into t values (1)")), ProviderError);
}

TEST_F(SqliteDataSourceTest, OpenFlagsAreCheckedAndImmutableFilesOpenReadOnlyWhateverTheirName)
{
    EXPECT_TRUE(initializeFailure(backend->connectionString() + QStringLiteral(";Mode=Write"))
                    .endsWith(u"The SQLite provider does not know the value \"Write\" of \"Mode\"; it takes ReadOnly or ReadWrite."));
    EXPECT_TRUE(initializeFailure(backend->connectionString() + QStringLiteral(";Immutable=sometimes"))
                    .endsWith(u"it takes True or False."));
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
