// Scripts run end to end against real databases: the transcript of the result window, the error
// lines, and the transaction around the run.
#include "ScriptBackendFixture.h"

namespace {

using qbtest::ScriptBackendTest;

QString field(const QString& text, int width)
{
    return text + QString(width - text.size(), u' ') + QStringLiteral(" | ");
}

TEST_P(ScriptBackendTest, ScriptTranscriptShowsEchoesOutcomesAndTable)
{
    makeRun()->run(QStringLiteral("create table people (id integer, name varchar(10));\n"
                                  "insert into people values (1, 'Ann');\n"
                                  "insert into people values (2, NULL);\n"
                                  "insert into people values (3, 'Žofie; Ø');\n"
                                  "select  id,\n\tname\nfrom people order by id;\n"
                                  "COMMIT;\n"
                                  "select 'dropped at the end'"));
    EXPECT_EQ(writer->text(),
              "SQL>  create table people (id integer, name varchar(10))\r\nSQL Query was accomplished"
              "SQL>  insert into people values (1, 'Ann')\r\nSQL Query was accomplished"
              "SQL>  insert into people values (2, NULL)\r\nSQL Query was accomplished"
              "SQL>  insert into people values (3, 'Žofie; Ø')\r\nSQL Query was accomplished"
              "SQL>  select id, name from people order by id\r\n"
                  + field("id", 20) + field("name", 20) + "\r\n"
                  + field("1", 20) + field("Ann", 20) + "\r\n"
                  + field("2", 20) + field("", 20) + "\r\n"
                  + field("3", 20) + field("Žofie; Ø", 20) + "\r\n"
                  + "Selected 3 rows from 3\n\n"
                    "SQL>  COMMIT;\r\n");
    EXPECT_TRUE(writer->errors.isEmpty()) << writer->errors.join(u'\n').toStdString();
}

TEST_P(ScriptBackendTest, FailedStatementShowsTheProviderTextAndTheNextOneRuns)
{
    makeRun()->run(QStringLiteral("select * from no_such_table;\nselect 1 as one;"));
    const QString text = writer->text();
    const QString errorStart = QStringLiteral("SQL>  select * from no_such_table\r\n\tExecute has been aborten with an error - : ");
    ASSERT_TRUE(text.startsWith(errorStart)) << text.toStdString();
    const qsizetype errorEnd = text.indexOf(QStringLiteral("\r\nSQL>  select 1 as one\r\n"));
    ASSERT_GT(errorEnd, errorStart.size()) << text.toStdString();
    EXPECT_TRUE(text.mid(errorStart.size(), errorEnd - errorStart.size()).contains(u"no_such_table", Qt::CaseInsensitive));
    EXPECT_TRUE(text.endsWith(QStringLiteral("Selected 1 rows from 1\n\n"))) << text.toStdString();
}

TEST_P(ScriptBackendTest, RunIsOneTransactionCommittedAtTheEnd)
{
    backend->exec(QStringLiteral("CREATE TABLE t (id INTEGER)"));
    int64_t seenDuringRun = -1;
    writer->onPlainText = [&](const QString& text) {
        if (text == u"SQL Query was accomplished" && seenDuringRun < 0)
            seenDuringRun = rowsSeenElsewhere(QStringLiteral("t"));
    };
    makeRun()->run(QStringLiteral("insert into t values (7);\ninsert into t values (8);"));
    EXPECT_EQ(seenDuringRun, 0);
    EXPECT_EQ(rowsSeenElsewhere(QStringLiteral("t")), 2);
    EXPECT_EQ(writer->text(), "SQL>  insert into t values (7)\r\nSQL Query was accomplished"
                              "SQL>  insert into t values (8)\r\nSQL Query was accomplished");
}

TEST_P(ScriptBackendTest, TransactionTokensOfTheScriptAreNotExecuted)
{
    backend->exec(QStringLiteral("CREATE TABLE t (id INTEGER)"));
    int64_t seenAfterToken = -1;
    writer->onAppend = [&](const QString& text) {
        if (text == u" commit;\r\n")
            seenAfterToken = rowsSeenElsewhere(QStringLiteral("t"));
    };
    makeRun()->run(QStringLiteral("insert into t values (7);\ncommit;\nrollback;"));
    EXPECT_EQ(seenAfterToken, 0);                       // the script's commit changed nothing
    EXPECT_EQ(rowsSeenElsewhere(QStringLiteral("t")), 1); // nor did its rollback
}

TEST_P(ScriptBackendTest, RowsNotShownDuringExecutionHoldRepaintPerTable)
{
    makeNumberedTable(QStringLiteral("numbers"), 3);
    makeRun(false)->run(QStringLiteral("select id from numbers order by id;select id from numbers;"));
    EXPECT_EQ(writer->events.filter(QStringLiteral("hold")).size(), 2);
    EXPECT_EQ(writer->events.filter(QStringLiteral("release")).size(), 2);
    EXPECT_EQ(writer->texts(qbtest::RecordingResultWriter::Append::Plain).size(), 6);
}

TEST_P(ScriptBackendTest, AnInsertAndANextValueThatReturnRowsChangeTheDataOnce)
{
    // Prior to the fix, counting the rows and printing them each ran the statement: the insert
    // added its rows twice and the sequence moved twice.
    backend->exec(QStringLiteral("CREATE TABLE t (id INTEGER, name VARCHAR(10))"));
    const bool postgres = GetParam() == "postgres";
    QString insert;
    QString next;
    if (postgres) {
        backend->exec(QStringLiteral("CREATE SEQUENCE s"));
        insert = QStringLiteral("insert into t values (1, 'Ann'), (2, NULL) returning id, name");
        next = QStringLiteral("select nextval('s') as n");
    } else {
        // The SQLite ODBC driver returns rows from an insert or update only when it starts with WITH.
        backend->exec(QStringLiteral("CREATE TABLE counter (n INTEGER)"));
        backend->exec(QStringLiteral("INSERT INTO counter VALUES (0)"));
        insert = QStringLiteral("with v(id, name) as (values (1, 'Ann'), (2, NULL)) insert into t select id, name from v "
                                "returning id, name");
        next = QStringLiteral("with step(k) as (select 1) update counter set n = n + (select k from step) returning n");
    }
    makeRun()->run(insert + QStringLiteral(";\n") + next + u';');
    EXPECT_EQ(writer->text(),
              "SQL>  " + insert + "\r\n"
                  + field("id", 20) + field("name", 20) + "\r\n"
                  + field("1", 20) + field("Ann", 20) + "\r\n"
                  + field("2", 20) + field("", 20) + "\r\n"
                  + "Selected 2 rows from 2\n\n"
                  + "SQL>  " + next + "\r\n"
                  + field("n", 20) + "\r\n"
                  + field("1", 20) + "\r\n"
                  + "Selected 1 rows from 1\n\n");
    EXPECT_TRUE(writer->errors.isEmpty()) << writer->errors.join(u'\n').toStdString();
    EXPECT_EQ(rowsSeenElsewhere(QStringLiteral("t")), 2);
    EXPECT_EQ(numberSeenElsewhere(postgres ? QStringLiteral("SELECT last_value FROM s") : QStringLiteral("SELECT n FROM counter")), 1);
}

TEST_P(ScriptBackendTest, TextInABinaryColumnPrintsAsText)
{
    // SQLite keeps what it is given; the copy of the rows keeps text as text, as the provider
    // shows it. The other backends hold only bytes there: hexadecimal digits.
    backend->exec(QStringLiteral("CREATE TABLE d (b %1)").arg(backend->blobType()));
    backend->exec(QStringLiteral("INSERT INTO d VALUES (%1)").arg(backend->blobLiteral("\x0A\xFF")));
    if (isSqlite())
        backend->exec(QStringLiteral("INSERT INTO d VALUES ('text'), (42)"));
    makeRun()->run(QStringLiteral("select b from d;"));
    QStringList values;
    for (const QString& row : writer->texts(qbtest::RecordingResultWriter::Append::Plain))
        values << row.section(u'|', 0, 0).trimmed();
    const QStringList expected = isSqlite() ? QStringList{"0AFF", "text", "42"} : QStringList{"0AFF"};
    EXPECT_EQ(values, expected) << writer->text().toStdString();
}

INSTANTIATE_TEST_SUITE_P(Backends, ScriptBackendTest, ::testing::ValuesIn(qbtest::backendNames()), qbtest::backendTestName);

} // namespace
