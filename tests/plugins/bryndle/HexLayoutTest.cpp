// Layout figures of the hex view for a character cell of 8 x 16 pixels.
#include "HexLayout.h"

#include <gtest/gtest.h>

using namespace bryndle;

namespace {

constexpr int w = 8;
constexpr int h = 16;

HexOptions options(bool address, bool characters, bool automatic, int bytes = 16)
{
    HexOptions o;
    o.addressDigits = 4;
    o.showAddress = address;
    o.showCharacters = characters;
    o.autoBytesPerLine = automatic;
    o.bytesPerLine = bytes;
    return o;
}

TEST(HexLayout, AddressAndCharactersShownWithAutomaticBytesPerLine)
{
    const HexLayout l = HexLayout::compute(options(true, true, true), w, h, QSize(400, 200), 100);
    EXPECT_EQ(l.content, QRect(5, 5, 390, 190));
    EXPECT_EQ(l.addressDigits, 4);
    EXPECT_EQ(l.addressWidth, 4 * w + 5);
    // 390 - 37 = 353 left; (353 - 5) / 32 = 10, remainder 28 >= 24: one more.
    EXPECT_EQ(l.bytesPerLine, 11);
    EXPECT_EQ(l.hexLeft, 37);
    EXPECT_EQ(l.hexTextWidth, w * 32);
    EXPECT_EQ(l.charactersLeft, 37 + 256 + 5);
    EXPECT_EQ(l.charactersWidth, 88);
    EXPECT_EQ(l.totalWidth, 37 + 256 + 5 + 88);
    EXPECT_EQ(l.maxHorizontal, 0);
    EXPECT_EQ(l.visibleLines, 12) << "190 / 16 rounded up: the partial last line counts";
    EXPECT_EQ(l.wholeLines, 11);
    EXPECT_EQ(l.totalLines, 10u);
    EXPECT_EQ(l.maxTopLine, 0u);
}

TEST(HexLayout, HexColumnAloneWithAutomaticBytesPerLine)
{
    const HexLayout l = HexLayout::compute(options(false, false, true), w, h, QSize(200, 100), 1000);
    // 190 / 24 = 7, remainder 22 >= 16: one more.
    EXPECT_EQ(l.bytesPerLine, 8);
    EXPECT_EQ(l.addressWidth, 0);
    EXPECT_EQ(l.hexLeft, 0);
    EXPECT_EQ(l.totalWidth, w * 23);
    EXPECT_EQ(l.charactersWidth, 0);
    EXPECT_EQ(l.visibleLines, 6);
    EXPECT_EQ(l.totalLines, 125u);
    EXPECT_EQ(l.maxTopLine, 120u) << "the last line can be scrolled fully into view";
}

TEST(HexLayout, RemaindersJustBelowTheThresholdAddNoByte)
{
    // Without characters: 190 - 5 - 5 = 180 = 7 * 24 + 12, and 12 < 16.
    EXPECT_EQ(HexLayout::compute(options(false, false, true), w, h, QSize(190, 100), 10).bytesPerLine, 7);
    // With characters: (190 - 5) = 185 = 5 * 32 + 25 >= 24; at 188 it is 183 = 5 * 32 + 23 < 24.
    EXPECT_EQ(HexLayout::compute(options(false, true, true), w, h, QSize(200, 100), 10).bytesPerLine, 6);
    EXPECT_EQ(HexLayout::compute(options(false, true, true), w, h, QSize(198, 100), 10).bytesPerLine, 5);
}

TEST(HexLayout, FixedBytesPerLineScrollsSidewaysWhenTooWide)
{
    const HexLayout l = HexLayout::compute(options(false, true, false, 16), w, h, QSize(300, 100), 40);
    EXPECT_EQ(l.bytesPerLine, 16);
    EXPECT_EQ(l.totalWidth, w * 47 + 5 + 16 * w);
    EXPECT_EQ(l.maxHorizontal, l.totalWidth - 290);
}

TEST(HexLayout, AddressDigitsGrowToTheDataAndANarrowViewKeepsOneByte)
{
    const HexLayout l = HexLayout::compute(options(true, false, true), w, h, QSize(60, 30), 0x12345);
    EXPECT_EQ(l.addressDigits, 5) << "offset 12344 needs five digits, whatever was asked";
    EXPECT_EQ(l.addressWidth, 5 * w + 5);
    EXPECT_EQ(l.bytesPerLine, 1);
    EXPECT_EQ(l.visibleLines, 2);
    EXPECT_EQ(l.wholeLines, 1);
}

TEST(HexLayout, AtLeastOneLineIsVisibleAtAnyHeight)
{
    for (int height : {0, 6, 10, 26}) {
        const HexLayout l = HexLayout::compute(options(false, false, true), w, h, QSize(200, height), 100);
        EXPECT_EQ(l.visibleLines, 1) << height;
        EXPECT_EQ(l.wholeLines, 1) << height;
        EXPECT_GE(l.bytesPerLine, 1);
    }
}

TEST(HexLayout, ASingleLineViewHoldsEveryByteOnOneLine)
{
    HexOptions o = options(false, false, false, 16);
    o.multiLine = false;
    const HexLayout l = HexLayout::compute(o, w, h, QSize(200, 20), 40);
    EXPECT_EQ(l.content, QRect(0, 0, 200, 20));
    EXPECT_EQ(l.bytesPerLine, 40);
    EXPECT_EQ(l.totalLines, 1u);
}

TEST(HexLayout, OffsetDigits)
{
    EXPECT_EQ(offsetDigits(0), 1);
    EXPECT_EQ(offsetDigits(16), 1);
    EXPECT_EQ(offsetDigits(17), 2);
    EXPECT_EQ(offsetDigits(0x10000), 4);
    EXPECT_EQ(offsetDigits(0x10001), 5);
    EXPECT_EQ(offsetDigits(~0ull), 16);
}

} // namespace
