// The result window's storage: line breaks, format runs, the longest line, and a search that
// finds what the SQL window's document finds in the same text.
#include "console/ui/ResultText.h"

#include <gtest/gtest.h>

#include <QTextCursor>
#include <QTextDocument>

namespace {

using qb::console::ui::ResultText;
using qb::console::ui::TextSearch;

QTextCharFormat coloured(Qt::GlobalColor colour)
{
    QTextCharFormat format;
    format.setForeground(QColor(colour));
    return format;
}

QStringList allLines(const ResultText& text)
{
    QStringList lines;
    for (qsizetype i = 0; i < text.lineCount(); ++i)
        lines << text.lineText(i);
    return lines;
}

TEST(ResultTextTest, CrLfALoneCrAndLfEachEndALineOnceAndLinesKeepTheirPositions)
{
    ResultText text;
    EXPECT_EQ(text.lineCount(), 1) << "an empty text is one empty line";
    text.append(u"a\r\nbb\rc\n\nd", nullptr);
    text.append(u"e\r\n", nullptr);
    EXPECT_EQ(text.text(), "a\nbb\nc\n\nde\n");
    EXPECT_EQ(allLines(text), (QStringList{"a", "bb", "c", "", "de", ""}));
    EXPECT_EQ(text.lineStart(4), 8);
    EXPECT_EQ(text.lineEnd(4), 10);
    EXPECT_EQ(text.lineAt(0), 0);
    EXPECT_EQ(text.lineAt(1), 0) << "the LF belongs to its line";
    EXPECT_EQ(text.lineAt(2), 1);
    EXPECT_EQ(text.lineAt(text.size()), 5);
    EXPECT_EQ(text.longestLine(), 1) << "bb and de are equally long; the first counts";
    text.append(u"a line longer than all", nullptr);
    EXPECT_EQ(text.longestLine(), 5) << "a last line that grows without ending";
    text.clear();
    EXPECT_TRUE(text.isEmpty());
    EXPECT_EQ(text.lineCount(), 1);
    EXPECT_EQ(text.longestLine(), 0);
}

TEST(ResultTextTest, EachAppendHasItsFormatOrContinuesTheOneBefore)
{
    ResultText text;
    const QTextCharFormat red = coloured(Qt::red);
    const QTextCharFormat blue = coloured(Qt::blue);
    text.append(u"plain ", nullptr);
    text.append(u"head\r\nrow ", &red);
    text.append(u"1\r\nrow 2", nullptr);
    text.append(u" end\r\n", &blue);
    text.append(u"more", &blue);
    text.append(u"\r\n", &red);
    const auto line0 = text.lineFormats(0);
    ASSERT_EQ(line0.size(), 1) << "text before any format has none";
    EXPECT_EQ(line0[0].start, 6);
    EXPECT_EQ(line0[0].length, 4);
    EXPECT_EQ(line0[0].format, red);
    const auto line1 = text.lineFormats(1);
    ASSERT_EQ(line1.size(), 1) << "a plain append continues the red";
    EXPECT_EQ(line1[0].start, 0);
    EXPECT_EQ(line1[0].length, 5);
    const auto line2 = text.lineFormats(2);
    ASSERT_EQ(line2.size(), 2);
    EXPECT_EQ(line2[0].length, 5);
    EXPECT_EQ(line2[1].start, 5);
    EXPECT_EQ(line2[1].length, 4);
    EXPECT_EQ(line2[1].format, blue);
    const auto line3 = text.lineFormats(3);
    ASSERT_EQ(line3.size(), 1) << "the same format again is one run";
    EXPECT_EQ(line3[0].length, 4);
    EXPECT_EQ(line3[0].format, blue);
    EXPECT_EQ(text.formats().size(), 2u);
}

// The hit of the document's own search from the same place, or -1.
qsizetype documentFind(const QString& content, const TextSearch& search, qsizetype from)
{
    QTextDocument document(content);
    QTextDocument::FindFlags flags;
    if (search.matchCase)
        flags |= QTextDocument::FindCaseSensitively;
    if (search.wholeWord)
        flags |= QTextDocument::FindWholeWords;
    if (!search.down)
        flags |= QTextDocument::FindBackward;
    QTextCursor at(&document);
    at.setPosition(int(from));
    const QTextCursor hit = document.find(search.text, at, flags);
    return hit.isNull() ? -1 : hit.selectionStart();
}

TEST(ResultTextTest, FindAgreesWithTheSqlWindowsDocumentOnCaseWholeWordsDirectionAndEnds)
{
    const QString content = "Select selected\nselect_x 2select\tSELECT\nx select \u00c9t\u00e9 \u00e9t\u00e9s";
    ResultText text;
    text.append(content, nullptr);
    int compared = 0;
    for (const QString needle : {"select", "SELECT", "ct s", "x", "ected", "nowhere", "\u00e9t\u00e9"}) {
        for (int flags = 0; flags < 8; ++flags) {
            TextSearch search;
            search.text = needle;
            search.matchCase = flags & 1;
            search.wholeWord = flags & 2;
            search.down = flags & 4;
            for (qsizetype from = 0; from <= content.size(); ++from) {
                ASSERT_EQ(text.find(search, from), documentFind(content, search, from))
                    << needle.toStdString() << " flags " << flags << " from " << from;
                ++compared;
            }
        }
    }
    EXPECT_GT(compared, 1000);
    TextSearch across;
    across.text = "SELECT\nx";
    EXPECT_EQ(text.find(across, 0), -1) << "a hit never spans lines";
}

TEST(ResultTextTest, TheFirstCharacterBeyondLatin1KeepsTheTextBeforeItWhole)
{
    ResultText text;
    text.append(u"caf\u00e9\r\n", nullptr);
    text.append(u"arrow \u2192 \U0001F600\r\nend", nullptr);
    EXPECT_EQ(text.text(), u"caf\u00e9\narrow \u2192 \U0001F600\nend");
    EXPECT_EQ(text.lineText(0), u"caf\u00e9");
    EXPECT_EQ(text.at(3), QChar(0xe9));
    EXPECT_EQ(text.lineStart(2), 5 + 11);
    TextSearch search;
    search.text = QString(QChar(0x2192));
    EXPECT_EQ(text.find(search, 0), 11);
}

} // namespace
