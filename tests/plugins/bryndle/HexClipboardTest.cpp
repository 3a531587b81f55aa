// The clipboard formats of the hex view.
#include "HexClipboard.h"

#include <QMimeData>
#include <gtest/gtest.h>

using namespace bryndle;

namespace {

QByteArray counting(int first, int count)
{
    QByteArray bytes;
    for (int i = 0; i < count; ++i)
        bytes.append(char(first + i));
    return bytes;
}

TEST(HexClipboard, TextKeepsTheViewsColumnsForLongSelectionsAndStartsShortOnesAtTheSelection)
{
    // Bytes 3 to 12 with 8 a line: nine spaces, then the view's line break after byte 7.
    EXPECT_EQ(hexText(counting(3, 10), 3, 8), QByteArray("         03 04 05 06 07\n08 09 0A 0B 0C\n"));
    // Bytes 3 to 11: no more than a line's worth, so lines of 8 from the selection's start.
    EXPECT_EQ(hexText(counting(3, 9), 3, 8), QByteArray("03 04 05 06 07 08 09 0A\n0B\n"));
    EXPECT_EQ(hexText(QByteArray("\xAB", 1), 7, 8), QByteArray("AB\n"));
    EXPECT_EQ(hexText(counting(0, 16), 0, 8), QByteArray("00 01 02 03 04 05 06 07\n08 09 0A 0B 0C 0D 0E 0F\n"));
    EXPECT_EQ(hexText(QByteArray(), 0, 8), QByteArray());
}

TEST(HexClipboard, BinaryDataIsACountAndTheBytesAndNeverMoreThanTheBlockHolds)
{
    const QByteArray block = encodeBinaryData(QByteArray("\x00\xFF\x10", 3));
    EXPECT_EQ(block, QByteArray("\x03\x00\x00\x00\x00\xFF\x10", 7));
    EXPECT_EQ(decodeBinaryData(block), QByteArray("\x00\xFF\x10", 3));
    QByteArray lying = block;
    lying[0] = char(0xE8); // says 1000 bytes
    lying[1] = char(0x03);
    EXPECT_EQ(decodeBinaryData(lying), QByteArray("\x00\xFF\x10", 3));
    EXPECT_EQ(decodeBinaryData(QByteArray("\x01\x00", 2)), std::nullopt);
    EXPECT_EQ(decodeBinaryData(QByteArray(4, '\0')), QByteArray());
}

TEST(HexClipboard, HexTextParsesBackAndAnythingElseIsRefused)
{
    EXPECT_EQ(parseHexText(QStringLiteral("         03 04 ff\nA0\n")), QByteArray("\x03\x04\xFF\xA0", 4));
    EXPECT_EQ(parseHexText(QStringLiteral("0a0B")), QByteArray("\x0A\x0B", 2));
    EXPECT_EQ(parseHexText(QStringLiteral("hello")), std::nullopt);
    EXPECT_EQ(parseHexText(QStringLiteral("0 1")), std::nullopt) << "half bytes";
    EXPECT_EQ(parseHexText(QStringLiteral("ABC")), std::nullopt);
    EXPECT_EQ(parseHexText(QStringLiteral("  \n")), std::nullopt);
}

TEST(HexClipboard, PasteTakesBinaryDataFirstThenText)
{
    std::unique_ptr<QMimeData> both(makeMimeData(QByteArray("\x01\x02", 2), 0, 8));
    EXPECT_EQ(both->text(), QStringLiteral("01 02\n"));
    EXPECT_EQ(pastedBytes(both.get()), QByteArray("\x01\x02", 2));
    QMimeData text;
    text.setText(QStringLiteral("41 42"));
    EXPECT_EQ(pastedBytes(&text), QByteArray("AB"));
    QMimeData none;
    none.setHtml(QStringLiteral("<b>41</b>"));
    EXPECT_EQ(pastedBytes(&none), std::nullopt);
}

} // namespace
