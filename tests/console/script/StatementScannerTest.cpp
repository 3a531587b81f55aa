// How a script is cut into statements: what reaches the database must be what the user wrote.
#include "console/script/StatementScanner.h"

#include <gtest/gtest.h>

#include <ostream>
#include <utility>
#include <vector>

namespace qb::console {
void PrintTo(StatementKind kind, std::ostream* os)
{
    *os << static_cast<int>(kind);
}
} // namespace qb::console

namespace {

using qb::console::StatementKind;
using qb::console::StatementScanner;
using Statements = std::vector<std::pair<std::string, StatementKind>>;

constexpr auto Ordinary = StatementKind::Ordinary;

class RecordingSink : public qb::console::StatementSink {
public:
    void onStatement(const QString& text, StatementKind kind) override
    {
        statements.emplace_back(text.toStdString(), kind);
    }
    Statements statements;
};

Statements scan(const QString& text)
{
    RecordingSink sink;
    StatementScanner::scan(text, sink);
    return sink.statements;
}

Statements scan(const char* text)
{
    return scan(QString::fromUtf8(text));
}

TEST(StatementScanner, TextWithoutDelimiterYieldsNothing)
{
    EXPECT_TRUE(scan("").empty());
    EXPECT_TRUE(scan("select 1").empty());
    EXPECT_TRUE(scan("   \n\t ").empty());
}

TEST(StatementScanner, TextAfterTheLastDelimiterIsDropped)
{
    EXPECT_EQ(scan("select 1; select 2"), (Statements{{"select 1", Ordinary}}));
}

TEST(StatementScanner, TwoDelimitersInARowGiveAnEmptyStatement)
{
    EXPECT_EQ(scan("select 1;;"), (Statements{{"select 1", Ordinary}, {"", Ordinary}}));
}

TEST(StatementScanner, WhiteSpaceRunsBecomeOneSpace)
{
    // Prior to the fix, "select  1;" ran "select1" and a line break joined the words around it.
    EXPECT_EQ(scan("select  1;"), (Statements{{"select 1", Ordinary}}));
    EXPECT_EQ(scan("select a\nfrom t;"), (Statements{{"select a from t", Ordinary}}));
    EXPECT_EQ(scan("select\ta,\r\n\t\tb\rfrom  \t t;"), (Statements{{"select a, b from t", Ordinary}}));
}

TEST(StatementScanner, LeadingWhiteSpaceIsDroppedAndOneTrailingSpaceStays)
{
    EXPECT_EQ(scan("\n\n   select 1 \n ;"), (Statements{{"select 1 ", Ordinary}}));
    EXPECT_EQ(scan("select 1; \n select 2;"), (Statements{{"select 1", Ordinary}, {"select 2", Ordinary}}));
}

TEST(StatementScanner, QuotedTextPassesThroughVerbatim)
{
    // Prior to the fix, the ";" cut the literal and the double space vanished from it.
    EXPECT_EQ(scan("insert into t values ('a;b', 'a  b', '--x', '//y');"),
              (Statements{{"insert into t values ('a;b', 'a  b', '--x', '//y')", Ordinary}}));
    EXPECT_EQ(scan("select \"odd ; name\"  from t;"), (Statements{{"select \"odd ; name\" from t", Ordinary}}));
    EXPECT_EQ(scan("select 'it''s;  here', \"a\"\"b;\";"),
              (Statements{{"select 'it''s;  here', \"a\"\"b;\"", Ordinary}}));
    EXPECT_EQ(scan("select 'line\tone\r\nline two';"), (Statements{{"select 'line\tone\nline two'", Ordinary}}));
}

TEST(StatementScanner, QuotesOfTheOtherKindDoNotCloseALiteral)
{
    EXPECT_EQ(scan("select 'say \"hi;\"' ; select \"it's;\";"),
              (Statements{{"select 'say \"hi;\"' ", Ordinary}, {"select \"it's;\"", Ordinary}}));
}

TEST(StatementScanner, UnterminatedQuoteSwallowsTheRestOfTheText)
{
    EXPECT_EQ(scan("select 1; select 'open; select 2;"), (Statements{{"select 1", Ordinary}}));
}

TEST(StatementScanner, BlockCommentsPassThroughVerbatim)
{
    EXPECT_EQ(scan("select /* a;  b -- c\n */ 1;"), (Statements{{"select /* a;  b -- c\n */ 1", Ordinary}}));
    EXPECT_EQ(scan("select 1 /* open; select 2;"), Statements{});
}

TEST(StatementScanner, LineCommentsAreWhiteSpace)
{
    EXPECT_EQ(scan("-- note\nselect 1;"), (Statements{{"select 1", Ordinary}}));
    EXPECT_EQ(scan("// note; with delimiter\r\nselect 1;"), (Statements{{"select 1", Ordinary}}));
    EXPECT_EQ(scan("select a -- first; column\n  , b// second\nfrom t;"),
              (Statements{{"select a , b from t", Ordinary}}));
    EXPECT_EQ(scan("select 1-- c\n;"), (Statements{{"select 1 ", Ordinary}}));
}

TEST(StatementScanner, LineCommentWithoutLineBreakAtTheEndIsStatementText)
{
    EXPECT_EQ(scan("select 1;\n-- note"), (Statements{{"select 1", Ordinary}}));
    // Read as text, its ";" ends a statement like any other.
    EXPECT_EQ(scan("-- note; x"), (Statements{{"-- note", Ordinary}}));
}

TEST(StatementScanner, TransactionTokensAreEchoedAsWritten)
{
    EXPECT_EQ(scan("COMMIT;"), (Statements{{"COMMIT;", StatementKind::Commit}}));
    EXPECT_EQ(scan("Rollback;"), (Statements{{"Rollback;", StatementKind::Rollback}}));
    EXPECT_EQ(scan("start  transaction;"), (Statements{{"start  transaction;", StatementKind::StartTransaction}}));
    EXPECT_EQ(scan("START\r\nTransaction;"), (Statements{{"START\nTransaction;", StatementKind::StartTransaction}}));
    EXPECT_EQ(scan("select 1;\n  commit;select 2;"),
              (Statements{{"select 1", Ordinary}, {"commit;", StatementKind::Commit}, {"select 2", Ordinary}}));
}

TEST(StatementScanner, TransactionWordsElsewhereAreOrdinaryText)
{
    // Prior to the fix, "autocommit;" left "auto" to prefix the next statement.
    EXPECT_EQ(scan("autocommit; select 1;"), (Statements{{"autocommit", Ordinary}, {"select 1", Ordinary}}));
    EXPECT_EQ(scan("commit ;"), (Statements{{"commit ", Ordinary}}));
    EXPECT_EQ(scan("commit work;"), (Statements{{"commit work", Ordinary}}));
    EXPECT_EQ(scan("committed;"), (Statements{{"committed", Ordinary}}));
    EXPECT_EQ(scan("start;"), (Statements{{"start", Ordinary}}));
    EXPECT_EQ(scan("start transaction isolation level serializable;"),
              (Statements{{"start transaction isolation level serializable", Ordinary}}));
    EXPECT_EQ(scan("select 'x' || 'commit;';"), (Statements{{"select 'x' || 'commit;'", Ordinary}}));
}

TEST(StatementScanner, NonAsciiTextIsKeptWhole)
{
    EXPECT_EQ(scan("insert into t values ('привет 😀');"),
              (Statements{{"insert into t values ('привет 😀')", Ordinary}}));
}

} // namespace
