// PostgreSQL's own types through psqlODBC into the grid: every cell's text against psql's text of
// the same row.
#include "dataaccess/DataSourceFactory.h"
#include "dataaccess/TableData.h"
#include "dataaccess/providers/odbc/OdbcDateStandIns.h"
#include "support/PostgresTypeTable.h"
#include "support/RecordingLoadSink.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

using namespace qb::data;

namespace qbtest {
namespace {

// The grid's text for a cell psql shows as `psqlText`: booleans as psqlODBC gives them (1 and 0),
// long values (bytea; xml, which psqlODBC declares as long text) as their markers.
QString gridText(const QString& column, int id, const QString& psqlText)
{
    if (psqlText == QString::fromUtf16(kPsqlNull))
        return QStringLiteral("(NULL)");
    if (column == u"f")
        return psqlText == u"t" ? QStringLiteral("1") : QStringLiteral("0");
    if (column == u"b")
        return QStringLiteral("(BLOB)");
    if (column == u"x")
        return QStringLiteral("(TEXT)");
    return throughPsqlodbc(column, id, psqlText).value_or(QString());
}

TEST(OdbcPostgresTypesTest, OnlyTheDriversStandInsAreReadAsOtherValues)
{
    using odbc::DateText;
    using odbc::psqlodbcDateText;
    for (const char* ordinary : {"2024-02-29 13:14:15.5", "9999-12-31 23:59:59.5", "9999-01-01 00:00:00",
                                 "0001-12-31 23:59:59 BC", "9999-12-31"})
        EXPECT_EQ(psqlodbcDateText(DBTYPE_DBTIMESTAMP, ordinary).kind, DateText::Kind::AsGiven) << ordinary;
    EXPECT_EQ(psqlodbcDateText(DBTYPE_DBDATE, "9999-12-31").kind, DateText::Kind::AsGiven);
    EXPECT_EQ(psqlodbcDateText(DBTYPE_DBDATE, "9999-12-31 23:59:59").kind, DateText::Kind::AsGiven)
        << "the timestamp stand-in means nothing in a date column";
    for (DBTYPE other : {DBTYPE(DBTYPE_WSTR), DBTYPE(DBTYPE_STR), DBTYPE(DBTYPE_DBTIME)})
        EXPECT_EQ(psqlodbcDateText(other, "0000-00-00").kind, DateText::Kind::AsGiven) << other;

    EXPECT_EQ(psqlodbcDateText(DBTYPE_DBTIMESTAMP, "9999-12-31 23:59:59").serverText, "infinity");
    EXPECT_EQ(psqlodbcDateText(DBTYPE_DBTIMESTAMP, "9999-01-01 00:00:00 BC").serverText, "-infinity");
    for (const char* lost : {"0000-00-00 00:00:00", "0000-00-00", "5874-00-00", "1000-00-00"})
        EXPECT_EQ(psqlodbcDateText(DBTYPE_DBDATE, lost).kind, DateText::Kind::Unavailable) << lost;
    EXPECT_EQ(psqlodbcDateText(DBTYPE_DBTIMESTAMP, "0000-00-00 00:00:00").kind, DateText::Kind::Unavailable);
}

TEST(OdbcPostgresTypesTest, EveryGridCellReadsAsPsqlShowsIt)
{
    // Prior to the fix, 'infinity' read as 9999-12-31 23:59:59, '-infinity' as
    // 9999-01-01 00:00:00 BC, a date's infinities as 0000-00-00, and years after 9999 as dates
    // with a month of 00.
    TempDir scratch;
    const PostgresTypeTable table(scratch);
    const std::vector<QStringList>& reference = table.psqlRows();
    ASSERT_EQ(reference.size(), 6u);

    auto source = createDataSource(table.connectionString());
    source->initialize();
    TableData data;
    RecordingLoadSink sink;
    ASSERT_EQ(data.loadUserSql(source->createSession(), PostgresTypeTable::query(), true, sink),
              TableData::LoadResult::Loaded)
        << sink.errorList().join(u'\n').toStdString();
    ASSERT_EQ(data.rowsOnCurrentPage(), int(reference.size()));
    const std::vector<ColumnInfo> columns = data.columns();
    ASSERT_EQ(columns.size(), size_t(reference.front().size()));
    for (size_t r = 0; r < reference.size(); ++r) {
        const int id = reference[r].front().toInt();
        for (size_t c = 0; c < columns.size(); ++c) {
            const QString& name = columns[c].name;
            EXPECT_EQ(data.cellText(int(r), int(c + 1)).toStdString(), gridText(name, id, reference[r][qsizetype(c)]).toStdString())
                << "row " << id << ", column " << name.toStdString() << " (type " << columns[c].type << ")";
        }
    }
}

} // namespace
} // namespace qbtest
