// Text tables: widths, header, rows, NULLs, the summary, failures and the progress positions,
// over rowsets with chosen column descriptions.
#include "FakeRowset.h"
#include "RecordingResultWriter.h"

#include "console/script/ColumnWidth.h"
#include "console/script/RowsetPrinter.h"
#include "platform/BrelibException.h"
#include "support/FileSizeLimit.h"
#include "support/QStringPrinting.h"

#include <gtest/gtest.h>

namespace {

using namespace qb::data;
using qb::console::columnWidth;
using qb::console::RowsetPrinter;
using qb::console::StopSignal;
using qbtest::FakeRowset;
using qbtest::FakeRowsetFaults;
using Append = qbtest::RecordingResultWriter::Append;
using Row = MemoryRowset::Row;

QString pad(const QString& text, int width)
{
    return text + QString(width - text.size(), u' ');
}

class RowsetPrinterTest : public ::testing::Test {
protected:
    // Prints and returns the exception text, or an empty text when none was thrown.
    QString print(Rowset& rowset, bool rowsShownDuringExecution = true)
    {
        try {
            RowsetPrinter(writer, writer, stop, rowsShownDuringExecution).print(rowset);
        } catch (const Brelib::exception& e) {
            return e.text();
        }
        return {};
    }

    qbtest::RecordingResultWriter writer;
    StopSignal stop;
};

TEST(ColumnWidth, FollowsTheDeclaredTypeAndSize)
{
    struct Case {
        DBTYPE type;
        uint32_t size;
        uint32_t width;
    } cases[] = {
        {DBTYPE_WSTR, 10, 20},   {DBTYPE_STR, 10, 10},         {DBTYPE_BYTES, 10, 10},  {DBTYPE_I4, 4, 20},
        {DBTYPE_I8, 8, 20},      {DBTYPE_R4, 4, 20},           {DBTYPE_DBTIMESTAMP, 10, 20},
        {DBTYPE_DBDATE, 10, 20}, {DBTYPE_NUMERIC, 10, 20},
        // Types whose longest text is wider than 20. Prior to the fix, their values were cut
        // into other values: 2024-02-29 13:14:15.123456 BC as 2024-02-29 13:14:15.,
        // 12345678901234567890.5 as 12345678901234567890, 1.2345678901234567e+300 as 1.2345678901234567e+.
        {DBTYPE_DBTIMESTAMP, 26, 29}, {DBTYPE_NUMERIC, 40, 42}, {DBTYPE_NUMERIC, 0x7FFFFFFF, 600},
        {DBTYPE_GUID, 16, 38},   {DBTYPE_R8, 8, 24},
        {DBTYPE_WSTR, 300, 600}, {DBTYPE_WSTR, 400, 600},      {DBTYPE_STR, 601, 600},
        // Long values (unbounded sizes) are as wide as the widest column.
        {DBTYPE_WSTR, 0x7FFFFFFF, 600}, {DBTYPE_BYTES, 0x7FFFFFFF, 600}, {DBTYPE_STR, 0x3FFFFFFF, 600},
        {DBTYPE_WSTR, 0x1FFFFFFE, 600},
        // A size nobody knows gives no width; other types do not depend on the size.
        {DBTYPE_WSTR, 0, 0},     {DBTYPE_STR, 0, 0},           {DBTYPE_BYTES, 0, 0},    {DBTYPE_I4, 0, 20},
        // Prior to the fix, twice this size wrapped round to a width of 2.
        {DBTYPE_WSTR, 0x80000001u, 600},
    };
    for (const Case& c : cases)
        EXPECT_EQ(columnWidth({QStringLiteral("c"), 1, c.size, c.type}), c.width) << "type " << c.type << " size " << c.size;
}

TEST_F(RowsetPrinterTest, WritesHeaderRowsNullsAndSummary)
{
    FakeRowset rowset({{QStringLiteral("id"), 1, 4, DBTYPE_I4},
                       {QStringLiteral("name"), 2, 5, DBTYPE_WSTR},
                       {QStringLiteral("an_eighteen_chars_"), 3, 8, DBTYPE_STR}},
                      {Row{1, QStringLiteral("Ann"), QStringLiteral("x")}, Row{QVariant(), QStringLiteral("Bob"), QVariant()}});
    EXPECT_EQ(print(rowset), QString());

    ASSERT_EQ(writer.appends.size(), 4u);
    EXPECT_EQ(writer.appends[0].kind, Append::Results);
    EXPECT_EQ(writer.appends[0].text, pad("id", 20) + " | " + pad("name", 10) + " | " + "an_eighteen_chars_ | \r\n");
    EXPECT_EQ(writer.appends[1].kind, Append::Plain);
    EXPECT_EQ(writer.appends[1].text, pad("1", 20) + " | " + pad("Ann", 10) + " | " + pad("x", 18) + " | \r\n");
    EXPECT_EQ(writer.appends[2].text, pad("", 20) + " | " + pad("Bob", 10) + " | " + pad("", 18) + " | \r\n");
    EXPECT_EQ(writer.appends[3].kind, Append::Other);
    EXPECT_EQ(writer.appends[3].text, "Selected 2 rows from 2\n\n");
    EXPECT_EQ(writer.positions, (std::vector<int>{8, 9, 54, 99}));
}

TEST_F(RowsetPrinterTest, EmptyRowsetPrintsHeaderAndSummary)
{
    FakeRowset rowset({{QStringLiteral("n"), 1, 8, DBTYPE_I8}}, {});
    EXPECT_EQ(print(rowset), QString());
    EXPECT_EQ(writer.text(), pad("n", 20) + " | \r\nSelected 0 rows from 0\n\n");
}

TEST_F(RowsetPrinterTest, ValueAsWideAsItsColumnPrintsWholeAndLongerOnesAreCut)
{
    const QString wide(700, u'w');
    FakeRowset rowset({{QStringLiteral("n"), 1, 8, DBTYPE_I8}, {QStringLiteral("t"), 2, 400, DBTYPE_WSTR}},
                      {Row{qlonglong(INT64_MIN), wide}});
    EXPECT_EQ(print(rowset), QString());
    ASSERT_EQ(writer.texts(Append::Plain).size(), 1);
    EXPECT_EQ(writer.texts(Append::Plain)[0], "-9223372036854775808 | " + wide.left(600) + " | \r\n");
}

TEST_F(RowsetPrinterTest, RepaintIsHeldForTheWholeTableWhenRowsAreNotShownDuringExecution)
{
    FakeRowset shown({{QStringLiteral("n"), 1, 8, DBTYPE_I8}}, {Row{1}});
    print(shown, true);
    EXPECT_FALSE(writer.events.contains(QStringLiteral("hold")));

    FakeRowset held({{QStringLiteral("n"), 1, 8, DBTYPE_I8}}, {Row{1}});
    print(held, false);
    EXPECT_EQ(writer.events, (QStringList{QStringLiteral("hold"), QStringLiteral("release")}));

    // Prior to the fix, a failure after the hold left the window without repaints for good.
    writer.events.clear();
    FakeRowset failing({{QStringLiteral("n"), 1, 8, DBTYPE_I8}}, {Row{1}}, FakeRowsetFaults{.bindingFails = true});
    EXPECT_FALSE(print(failing, false).isEmpty());
    EXPECT_EQ(writer.events, (QStringList{QStringLiteral("hold"), QStringLiteral("release")}));
}

TEST_F(RowsetPrinterTest, ColumnAndBindingFailuresCarryTheProviderText)
{
    FakeRowset noColumns({{QStringLiteral("n"), 1, 8, DBTYPE_I8}}, {}, FakeRowsetFaults{.columnsFail = true});
    EXPECT_EQ(print(noColumns), "Get column info - : no column information");
    EXPECT_TRUE(writer.appends.empty());

    FakeRowset unbindable({{QStringLiteral("n"), 1, 8, DBTYPE_I8}}, {}, FakeRowsetFaults{.bindingFails = true});
    EXPECT_EQ(print(unbindable), "Error occurred during the data binding - : cannot bind");
    EXPECT_EQ(writer.text(), pad("n", 20) + " | \r\n"); // the header was out before the binding
}

TEST_F(RowsetPrinterTest, FetchFailureEndsTheTableSilentlyAfterTheRowsBeforeIt)
{
    FakeRowset rowset({{QStringLiteral("n"), 1, 8, DBTYPE_I8}}, {Row{1}, Row{2}, Row{3}, Row{4}, Row{5}},
                      FakeRowsetFaults{.fetchesBeforeFailure = 2});
    EXPECT_EQ(print(rowset), QString());
    EXPECT_EQ(writer.texts(Append::Plain), (QStringList{pad("1", 20) + " | \r\n", pad("2", 20) + " | \r\n"}));
    EXPECT_EQ(writer.texts(Append::Other), QStringList{"Selected 2 rows from 2\n\n"});
}

TEST_F(RowsetPrinterTest, TheTableShowsTheRowsOfTheOneExecution)
{
    // Prior to the fix, counting and printing each restarted the statement, which ran it again:
    // a statement that changes data printed rows of a later run than the one counted.
    FakeRowset rowset({{QStringLiteral("n"), 1, 8, DBTYPE_I8}, {QStringLiteral("b"), 2, 4, DBTYPE_BYTES}},
                      {Row{1, QStringLiteral("ab")}, Row{2, QByteArray("\x01\xFE", 2)}, Row{3, QVariant()}},
                      FakeRowsetFaults{.restartGivesOtherRows = true});
    EXPECT_EQ(print(rowset), QString());
    EXPECT_EQ(rowset.restarts(), 0);
    // Text held in a bytes column prints as text, bytes as hexadecimal digits, as the provider gives them.
    EXPECT_EQ(writer.texts(Append::Plain), (QStringList{pad("1", 20) + " | ab   | \r\n", pad("2", 20) + " | 01FE | \r\n",
                                                        pad("3", 20) + " |      | \r\n"}));
    EXPECT_EQ(writer.texts(Append::Other), QStringList{"Selected 3 rows from 3\n\n"});
}

TEST_F(RowsetPrinterTest, RowsThatCannotBeSpooledFailTheStatementInsteadOfCuttingTheTable)
{
    std::vector<Row> rows;
    for (int i = 0; i < 2000; ++i)
        rows.push_back(Row{i, QString(600, u'w')});
    FakeRowset rowset({{QStringLiteral("n"), 1, 8, DBTYPE_I8}, {QStringLiteral("t"), 2, 600, DBTYPE_WSTR}}, std::move(rows));
    QString error;
    {
        const qbtest::FileSizeLimit fullDisk(64 * 1024);
        error = print(rowset);
    }
    EXPECT_EQ(error, "Execute has been aborten with an error - : The rows could not be written to temporary storage: "
                     "No space left on device");
    EXPECT_TRUE(writer.texts(Append::Plain).isEmpty());
    EXPECT_TRUE(writer.texts(Append::Other).isEmpty()) << "no summary of a table cut short";
}

TEST_F(RowsetPrinterTest, StopEndsTheTableAfterTheCurrentRow)
{
    std::vector<Row> rows;
    for (int i = 1; i <= 10; ++i)
        rows.push_back(Row{i});
    FakeRowset rowset({{QStringLiteral("n"), 1, 8, DBTYPE_I8}}, std::move(rows));
    writer.onPlainText = [this](const QString& line) {
        if (line.startsWith(u'3'))
            stop.request();
    };
    EXPECT_EQ(print(rowset), QString());
    EXPECT_EQ(writer.texts(Append::Plain).size(), 3);
    EXPECT_EQ(writer.texts(Append::Other),
              (QStringList{"Execution has been interrupted\r\n", "Selected 3 rows from 10\n\n"}));
}

} // namespace
