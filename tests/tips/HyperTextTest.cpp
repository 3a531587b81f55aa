// The tip text's pure parts: the escapes and the links found in a text; and reading a tips file.
#include "support/TempDir.h"
#include "tips/HyperText.h"
#include "tips/TipText.h"
#include "tips/TipsFiles.h"

#include <gtest/gtest.h>

using namespace qb::tips;

namespace {

std::vector<QString> targets(const QString& text)
{
    std::vector<QString> result;
    for (const HyperLink& link : findLinks(text))
        result.push_back(text.mid(link.start, link.length) + QStringLiteral(" -> ") + link.target);
    return result;
}

} // namespace

TEST(HyperText, LinkKindsAndTheirTargets)
{
    EXPECT_EQ(targets(QStringLiteral("see www.example.org now")),
              std::vector<QString>{QStringLiteral("www.example.org -> http://www.example.org")});
    EXPECT_EQ(targets(QStringLiteral("HTTP://A.b ftp://f.x FTP.site.net mailto:ann@x.org https://s.org")),
              (std::vector<QString>{QStringLiteral("HTTP://A.b -> HTTP://A.b"), QStringLiteral("ftp://f.x -> ftp://f.x"),
                                    QStringLiteral("FTP.site.net -> ftp://FTP.site.net"),
                                    QStringLiteral("mailto:ann@x.org -> mailto:ann@x.org"),
                                    QStringLiteral("https://s.org -> https://s.org")}));
    EXPECT_EQ(targets(QStringLiteral("write to ann@example.org")),
              std::vector<QString>{QStringLiteral("ann@example.org -> mailto:ann@example.org")});
    EXPECT_TRUE(targets(QStringLiteral("@home, a wwwx.org, ftp:x, plain.text")).empty()) << "@ first, or no prefix";
}

TEST(HyperText, WordsEndAtBlanksControlsAndThreePunctuationMarks)
{
    const QString text = QStringLiteral("(www.a.org) x!www.b.org,www.c.org;www.d.org\twww.e.org\nwww.f.org. end");
    EXPECT_EQ(targets(text), (std::vector<QString>{QStringLiteral("www.b.org -> http://www.b.org"),
                                                   QStringLiteral("www.c.org -> http://www.c.org"),
                                                   QStringLiteral("www.d.org -> http://www.d.org"),
                                                   QStringLiteral("www.e.org -> http://www.e.org"),
                                                   QStringLiteral("www.f.org. -> http://www.f.org.")}))
        << "\"(\" does not start a word, \".\" does not end one";
    EXPECT_TRUE(findLinks(QString()).empty());
    EXPECT_TRUE(findLinks(QStringLiteral(" ,;!\n")).empty());
}

TEST(TipText, EscapesKeepTheLengthAndOnlyThreeExist)
{
    EXPECT_EQ(expandTipEscapes(QStringLiteral("Line\\nNext")), u"Line \nNext");
    EXPECT_EQ(expandTipEscapes(QStringLiteral("a\\tb\\rc")), u"a \tb \rc");
    EXPECT_EQ(expandTipEscapes(QStringLiteral("C:\\x\\N end\\")), u"C:\\x\\N end\\");
    const QString sample = QStringLiteral("\\n\\n\\t");
    EXPECT_EQ(expandTipEscapes(sample).size(), sample.size());
}

TEST(TipText, TheFileIsReadThroughTheProfileReader)
{
    qbtest::TempDir dir;
    const QString path = dir.qfile("t.tip");
    qbtest::writeTipsFile(path, 2, {QStringLiteral("first\\nsecond"), QString(1500, u'x')}, QStringLiteral("Hints"));
    const TipsFile file(path);
    EXPECT_EQ(file.caption(), u"Hints");
    EXPECT_EQ(file.count(), 2);
    EXPECT_EQ(file.tip(0), u"first \nsecond");
    EXPECT_EQ(file.tip(1).size(), kMaxTipTextLength) << "a longer tip is cut like the caller's buffer";
    EXPECT_EQ(file.tip(2), QString());

    const TipsFile missing(dir.qfile("none.tip"));
    EXPECT_EQ(missing.count(), 0);
    EXPECT_EQ(missing.caption(), QString());
}
