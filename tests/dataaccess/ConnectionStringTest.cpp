// Initialization-string parsing: pairs, quoting, braces, case and blanks, and malformed text.
#include "dataaccess/ConnectionString.h"
#include "dataaccess/Provider.h"

#include <gtest/gtest.h>

using qb::data::ConnectionString;
using qb::data::ProviderError;
using qb::data::isBracedValue;
using qb::data::parseBoolean;

namespace {

TEST(ConnectionString, KeysIgnoreCaseAndBlanksAroundKeysAndValuesAreTrimmed)
{
    const auto cs = ConnectionString::parse(QStringLiteral("  Provider = SQLite ;  data source=/tmp/a b.db ;;"));
    EXPECT_EQ(cs.value(QStringLiteral("PROVIDER")), u"SQLite");
    EXPECT_EQ(cs.value(QStringLiteral("Data Source")), u"/tmp/a b.db");
    EXPECT_EQ(cs.entries().size(), 2u);
    EXPECT_EQ(cs.entries()[1].key, u"data source") << "keys keep their spelling";
    EXPECT_FALSE(cs.contains(QStringLiteral("Mode")));
    EXPECT_EQ(cs.value(QStringLiteral("Mode")), QString());
}

TEST(ConnectionString, QuotedValuesHoldSemicolonsAndDoubledQuotes)
{
    const auto cs = ConnectionString::parse(
        QStringLiteral("a=\"x;y\";b='it''s; fine' ; c=\"say \"\"hi\"\"\";d=\"  kept  \";e=''"));
    EXPECT_EQ(cs.value(QStringLiteral("a")), u"x;y");
    EXPECT_EQ(cs.value(QStringLiteral("b")), u"it's; fine");
    EXPECT_EQ(cs.value(QStringLiteral("c")), u"say \"hi\"");
    EXPECT_EQ(cs.value(QStringLiteral("d")), u"  kept  ") << "blanks inside quotes are the value's own";
    EXPECT_TRUE(cs.contains(QStringLiteral("e")));
    EXPECT_EQ(cs.value(QStringLiteral("e")), QString());
}

TEST(ConnectionString, BracedOdbcValuesKeepTheirBracesAndSemicolons)
{
    const auto cs = ConnectionString::parse(QStringLiteral("Provider=ODBC;Driver={PostgreSQL Unicode};Pwd={a;b}}c}"));
    EXPECT_EQ(cs.value(QStringLiteral("Driver")), u"{PostgreSQL Unicode}");
    EXPECT_EQ(cs.value(QStringLiteral("Pwd")), u"{a;b}}c}");
}

TEST(ConnectionString, ALaterKeyReplacesAnEarlierOne)
{
    const auto cs = ConnectionString::parse(QStringLiteral("Mode=Read;MODE=ReadWrite"));
    EXPECT_EQ(cs.entries().size(), 1u);
    EXPECT_EQ(cs.value(QStringLiteral("mode")), u"ReadWrite");
}

TEST(ConnectionString, MalformedTextIsRefusedWithAPosition)
{
    for (const char* text : {"Provider=SQLite;Data Source=\"/tmp/x", "Provider", "a=1;novalue;b=2", "=value",
                             "a=\"x\"y", "a={unclosed"}) {
        SCOPED_TRACE(text);
        try {
            ConnectionString::parse(QString::fromUtf8(text));
            ADD_FAILURE() << "parsed";
        } catch (const ProviderError& e) {
            EXPECT_EQ(e.hr(), qb::data::E_INVALIDARG);
            EXPECT_TRUE(e.description().contains(u"at character")) << e.what();
        }
    }
}

// A megabyte of garbage: refused (or empty) at once, with a message of readable size. Prior to
// the excerpt the message quoted the whole megabyte.
TEST(ConnectionString, HugeGarbageGivesAShortClearAnswer)
{
    const qsizetype megabyte = 1 << 20;
    EXPECT_TRUE(ConnectionString::parse(QString(megabyte, u';')).entries().empty());
    for (const QString& text : {QString(megabyte, u'x'), QStringLiteral("a=1;") + QString(megabyte, u'x') + u';',
                                QStringLiteral("a=\"") + QString(megabyte, u'x'), QStringLiteral("a={") + QString(megabyte, u'{'),
                                QString(megabyte / 2, u'\'') + QString(megabyte / 2, u'}')}) {
        try {
            ConnectionString::parse(text);
            ADD_FAILURE() << "parsed";
        } catch (const ProviderError& e) {
            EXPECT_LT(e.description().size(), 200) << e.description().left(300).toStdString();
            EXPECT_TRUE(e.description().contains(u"at character")) << e.what();
        }
    }
    EXPECT_EQ(qb::data::excerptOf(QString(41, u'x')), QString(40, u'x') + QStringLiteral("..."));
    EXPECT_EQ(qb::data::excerptOf(QStringLiteral("short")), QStringLiteral("short"));
}

TEST(ConnectionString, EmptyTextHasNoEntries)
{
    EXPECT_TRUE(ConnectionString::parse(QString()).entries().empty());
    EXPECT_TRUE(ConnectionString::parse(QStringLiteral(" ; ; ")).entries().empty());
}

TEST(ConnectionString, ToStringQuotesWhereNeededAndParsesBackTheSame)
{
    ConnectionString cs;
    cs.set(QStringLiteral("Provider"), QStringLiteral("SQLite"));
    cs.set(QStringLiteral("Data Source"), QStringLiteral("/tmp/a;b \"c\".db"));
    cs.set(QStringLiteral("Extra"), QStringLiteral(" padded "));
    cs.set(QStringLiteral("Driver"), QStringLiteral("{SQLite3}"));
    const QString text = cs.toString();
    EXPECT_TRUE(text.startsWith(u"Provider=SQLite;Data Source=\"/tmp/a;b \"\"c\"\".db\";")) << text.toStdString();
    const auto back = ConnectionString::parse(text);
    ASSERT_EQ(back.entries().size(), cs.entries().size());
    for (size_t i = 0; i < cs.entries().size(); ++i) {
        EXPECT_EQ(back.entries()[i].key, cs.entries()[i].key);
        EXPECT_EQ(back.entries()[i].value, cs.entries()[i].value);
    }
    cs.remove(QStringLiteral("EXTRA"));
    EXPECT_FALSE(cs.contains(QStringLiteral("Extra")));
}

TEST(ConnectionString, ValuesThatOnlyLookBracedAreQuotedSoTheyComeBackTheSame)
{
    // Prior to the fix "{a}b}" and "{x" were written bare and the string no longer parsed.
    for (const QString& value : {QStringLiteral("{a}b}"), QStringLiteral("{x"), QStringLiteral("{a;b}}c}")}) {
        ConnectionString cs;
        cs.set(QStringLiteral("K"), value);
        EXPECT_EQ(ConnectionString::parse(cs.toString()).value(QStringLiteral("K")), value) << cs.toString().toStdString();
    }
    EXPECT_TRUE(isBracedValue(QStringLiteral("{a;b}}c}")));
    EXPECT_FALSE(isBracedValue(QStringLiteral("{a}b}")));
}

TEST(ConnectionString, ValuesEndingInAnyWhiteSpaceAreQuotedSoTheyKeepIt)
{
    // Prior to the fix a password ending in a no-break space or a form feed was written bare, and
    // reading the string back trimmed it off.
    for (const QString& value : {QStringLiteral("secret\u00A0"), QStringLiteral("\fx"), QStringLiteral("a\u2028"), QStringLiteral("\v")}) {
        ConnectionString cs;
        cs.set(QStringLiteral("Pwd"), value);
        EXPECT_EQ(ConnectionString::parse(cs.toString()).value(QStringLiteral("Pwd")), value) << cs.toString().toStdString();
    }
}

TEST(ConnectionString, BooleanValues)
{
    for (const char* yes : {"True", "yes", " 1 "})
        EXPECT_EQ(parseBoolean(QString::fromLatin1(yes)), true) << yes;
    for (const char* no : {"false", "NO", "0"})
        EXPECT_EQ(parseBoolean(QString::fromLatin1(no)), false) << no;
    for (const char* neither : {"", "2", "on"})
        EXPECT_EQ(parseBoolean(QString::fromLatin1(neither)), std::nullopt) << neither;
}

} // namespace
