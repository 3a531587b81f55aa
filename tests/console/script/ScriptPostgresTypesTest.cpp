// PostgreSQL's own types through psqlODBC into the console's text table: every field whole, and
// as psql shows it.
#include "RecordingResultWriter.h"

#include "console/script/ScriptRun.h"
#include "dataaccess/DataSourceFactory.h"
#include "support/PostgresTypeTable.h"
#include "support/QStringPrinting.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

namespace qbtest {
namespace {

// The fields of one line of a text table, blanks after the values dropped.
QStringList fieldsOf(QString line)
{
    line.chop(2); // CR LF
    QStringList fields = line.split(QStringLiteral(" | "));
    fields.removeLast(); // after the closing " | "
    for (QString& f : fields)
        while (f.endsWith(u' '))
            f.chop(1);
    return fields;
}

// The console's text for a field psql shows as `psqlText`: NULL as blanks, booleans as psqlODBC
// gives them (1 and 0), bytes as hexadecimal digits in capitals.
QString tableText(const QString& column, int id, const QString& psqlText)
{
    if (psqlText == QString::fromUtf16(kPsqlNull))
        return QString();
    if (column == u"f")
        return psqlText == u"t" ? QStringLiteral("1") : QStringLiteral("0");
    if (column == u"b")
        return psqlText.mid(2).toUpper(); // after "\x"
    return throughPsqlodbc(column, id, psqlText).value_or(QString());
}

TEST(ScriptPostgresTypesTest, EveryFieldOfTheTextTableIsWholeAndReadsAsPsqlShowsIt)
{
    // Prior to the fix, fields of 20 characters cut timestamps with microseconds or an era,
    // wide decimals and GUIDs into other values.
    TempDir scratch;
    const PostgresTypeTable table(scratch);
    const std::vector<QStringList>& reference = table.psqlRows();
    auto source = qb::data::createDataSource(table.connectionString());
    source->initialize();
    auto writer = std::make_shared<RecordingResultWriter>();
    qb::console::ScriptRun(source->createSession(), writer, writer, std::make_shared<qb::console::StopSignal>())
        .run(PostgresTypeTable::query() + u';');
    ASSERT_TRUE(writer->errors.isEmpty()) << writer->errors.join(u'\n').toStdString();
    const QStringList headers = writer->texts(RecordingResultWriter::Append::Results);
    ASSERT_EQ(headers.size(), 1) << writer->text().toStdString();
    const QStringList names = fieldsOf(headers.front());
    const QStringList rows = writer->texts(RecordingResultWriter::Append::Plain);
    ASSERT_EQ(size_t(rows.size()), reference.size()) << writer->text().toStdString();
    for (size_t r = 0; r < reference.size(); ++r) {
        const int id = reference[r].front().toInt();
        const QStringList fields = fieldsOf(rows[qsizetype(r)]);
        ASSERT_EQ(fields.size(), names.size()) << rows[qsizetype(r)].toStdString();
        for (qsizetype c = 0; c < names.size(); ++c)
            EXPECT_EQ(fields[c], tableText(names[c], id, reference[r][c])) << "row " << id << ", column "
                                                                           << names[c].toStdString();
    }
}

} // namespace
} // namespace qbtest
