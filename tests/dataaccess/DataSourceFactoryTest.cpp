// The data source factory's SQLite sources: a missing file stays missing, read-only mode holds.
#include "dataaccess/DataSourceFactory.h"
#include "support/BackendFixture.h"

#include <QFile>

using namespace qb::data;

namespace qbtest {
namespace {

class SqliteDataSourceTest : public SqliteFixture {};

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

} // namespace
} // namespace qbtest
