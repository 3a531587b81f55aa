// The colouring engine against reference files: each data/colorizer/<case>.sql holds one text
// (UTF-8), an optional <case>.keywords the keyword list (the default list otherwise), and
// <case>.ranges the expected ranges, one per line with the text they cover, for review by eye.
// Run with QB_REGENERATE_REFERENCES=1 to rewrite the .ranges files, then review the diff.
#include "common/SqlColorizer.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QStringList>

#include <algorithm>
#include <string>
#include <vector>

namespace {

using qb::SqlColorizer;
using qb::SqlColourRange;
using qb::SqlTextCategory;

const QString kDataDir = QStringLiteral(QB_COLORIZER_DATA_DIR);

QByteArray readFile(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return f.readAll();
}

const char* categoryName(SqlTextCategory c)
{
    switch (c) {
    case SqlTextCategory::Keyword:
        return "keyword";
    case SqlTextCategory::Comment:
        return "comment";
    case SqlTextCategory::String:
        return "string";
    case SqlTextCategory::Other:
        break;
    }
    return "other";
}

// Control characters escaped so each range stays on one line.
QString visible(QStringView text)
{
    QString out;
    for (QChar c : text) {
        switch (c.unicode()) {
        case u'\n':
            out += u"\\n";
            break;
        case u'\r':
            out += u"\\r";
            break;
        case u'\t':
            out += u"\\t";
            break;
        case u'\\':
            out += u"\\\\";
            break;
        default:
            out += c;
        }
    }
    return out;
}

QString describe(QStringView text, const std::vector<SqlColourRange>& ranges)
{
    QString out = QStringLiteral("# start length category \"covered text\"\n");
    for (const SqlColourRange& r : ranges)
        out += QStringLiteral("%1 %2 %3 \"%4\"\n")
                   .arg(r.start)
                   .arg(r.length)
                   .arg(QLatin1String(categoryName(r.category)))
                   .arg(visible(text.sliced(r.start, r.length)));
    return out;
}

std::vector<std::string> referenceCases()
{
    std::vector<std::string> names;
    for (const QString& file : QDir(kDataDir).entryList({QStringLiteral("*.sql")}, QDir::Files, QDir::Name))
        names.push_back(file.chopped(4).toStdString());
    return names;
}

class ColorizerReference : public ::testing::TestWithParam<std::string> {};

// The category of every character that is not a line end, from ranges over the whole text.
std::vector<int> categoryPerCharacter(const QString& text, const std::vector<qb::SqlColourRange>& ranges)
{
    std::vector<int> categories(size_t(text.size()), int(qb::SqlTextCategory::Other));
    for (const qb::SqlColourRange& r : ranges)
        for (qsizetype i = r.start; i < r.start + r.length; ++i)
            categories[size_t(i)] = int(r.category);
    std::vector<int> visible;
    for (qsizetype i = 0; i < text.size(); ++i)
        if (text[i] != u'\n')
            visible.push_back(categories[size_t(i)]);
    return visible;
}

// The same text coloured line by line, as the editor does it, each line from the previous one's state.
std::vector<int> categoryPerCharacterByLines(const SqlColorizer& colorizer, const QString& text)
{
    std::vector<int> visible;
    int state = 0;
    for (const QString& line : text.split(u'\n')) {
        int exit = 0;
        const auto ranges = colorizer.colourLine(line, state, &exit);
        const std::vector<int> cats = categoryPerCharacter(line, ranges);
        visible.insert(visible.end(), cats.begin(), cats.end());
        state = exit;
    }
    return visible;
}

TEST_P(ColorizerReference, ColouringLineByLineGivesTheWholeTextsColours)
{
    const QString base = kDataDir + QLatin1Char('/') + QString::fromStdString(GetParam());
    QString text = QString::fromUtf8(readFile(base + QStringLiteral(".sql")));
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(u'\r', u'\n');
    SqlColorizer colorizer;
    const QByteArray keywords = readFile(base + QStringLiteral(".keywords"));
    colorizer.setKeywords(keywords.isNull() ? SqlColorizer::defaultKeywordList() : QString::fromUtf8(keywords));
    EXPECT_EQ(categoryPerCharacterByLines(colorizer, text), categoryPerCharacter(text, colorizer.colour(text)));
}

TEST(SqlColorizerLines, StatesCarriedOverLineEndsMatchTheWholeText)
{
    SqlColorizer colorizer;
    colorizer.setKeywords(u"select,from,rem");
    for (const QString text : {QStringLiteral("select /* open\nstill * / in\nend */ select\nfrom"),
                               QStringLiteral("'a\nb' select \"c\nd\" from"),
                               QStringLiteral("// comment \\\\x\nstill comment\nselect"),
                               QStringLiteral("// comment \\\\\n\nselect\n"),
                               QStringLiteral("// ends\\\\\nx\nselect"),
                               QStringLiteral("rem note \\\\.\ncontinued\nselect from"),
                               QStringLiteral("select 'x\\\\'' from\n' select"),
                               QStringLiteral("\n\nselect\n/*\n\n*/from")}) {
        EXPECT_EQ(categoryPerCharacterByLines(colorizer, text), categoryPerCharacter(text, colorizer.colour(text)))
            << text.toStdString();
    }
}

TEST_P(ColorizerReference, RangesMatchTheReviewedReference)
{
    const QString base = kDataDir + QLatin1Char('/') + QString::fromStdString(GetParam());
    const QString text = QString::fromUtf8(readFile(base + QStringLiteral(".sql")));
    SqlColorizer colorizer;
    const QByteArray keywords = readFile(base + QStringLiteral(".keywords"));
    colorizer.setKeywords(keywords.isNull() ? SqlColorizer::defaultKeywordList() : QString::fromUtf8(keywords));

    const QString actual = describe(text, colorizer.colour(text));
    if (qEnvironmentVariableIsSet("QB_REGENERATE_REFERENCES")) {
        QFile out(base + QStringLiteral(".ranges"));
        ASSERT_TRUE(out.open(QIODevice::WriteOnly | QIODevice::Truncate));
        out.write(actual.toUtf8());
        return;
    }
    const QByteArray expected = readFile(base + QStringLiteral(".ranges"));
    ASSERT_FALSE(expected.isNull()) << "missing reference " << (base + QStringLiteral(".ranges")).toStdString();
    EXPECT_EQ(actual.toStdString(), expected.toStdString());
}

INSTANTIATE_TEST_SUITE_P(Cases, ColorizerReference, ::testing::ValuesIn(referenceCases()),
                         [](const ::testing::TestParamInfo<std::string>& info) {
                             std::string name = info.param;
                             std::replace(name.begin(), name.end(), '-', '_');
                             return name;
                         });

TEST(SqlColorizer, DefaultListHoldsFortySevenKeywordsInSortedOrder)
{
    SqlColorizer colorizer;
    colorizer.setKeywords(SqlColorizer::defaultKeywordList());
    ASSERT_EQ(colorizer.keywords().size(), 47u);
    EXPECT_TRUE(std::is_sorted(colorizer.keywords().begin(), colorizer.keywords().end()));
}

TEST(SqlColorizer, KeywordListSkipsEmptyPiecesAndKeepsSpaces)
{
    SqlColorizer colorizer;
    colorizer.setKeywords(u",select,, from,");
    EXPECT_EQ(colorizer.keywords(), (std::vector<QString>{QStringLiteral(" from"), QStringLiteral("select")}));
    // " from" needs a space inside the match, so a delimiter before it never lets it match.
    const auto ranges = colorizer.colour(u"select from");
    ASSERT_EQ(ranges.size(), 1u);
    EXPECT_EQ(ranges[0], (SqlColourRange{0, 6, SqlTextCategory::Keyword}));
}

TEST(SqlColorizer, NewKeywordListDropsTheOldFirstCharacterMarks)
{
    SqlColorizer colorizer;
    colorizer.setKeywords(u"'x");
    EXPECT_TRUE(colorizer.colour(u"'abc'").empty()); // the quote starts a keyword, not a string
    colorizer.setKeywords(u"select");
    EXPECT_EQ(colorizer.colour(u"'abc'"), (std::vector<SqlColourRange>{{0, 5, SqlTextCategory::String}}));
}

TEST(SqlColorizer, KeywordAtTheEndOfTheTextIsColoured)
{
    SqlColorizer colorizer;
    colorizer.setKeywords(u"from");
    EXPECT_EQ(colorizer.colour(u"x from"), (std::vector<SqlColourRange>{{2, 4, SqlTextCategory::Keyword}}));
    EXPECT_TRUE(colorizer.colour(u"x fro").empty());
}

} // namespace
