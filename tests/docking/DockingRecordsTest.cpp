// The 60-byte pane record, the band values and the screen fit: what a saved layout becomes and
// what damaged values give.
#include "docking/BandValue.h"
#include "docking/PanePlace.h"
#include "docking/ScreenFit.h"

#include <gtest/gtest.h>

using namespace qb::docking;

namespace {

PanePlace floatingPlace()
{
    PanePlace p;
    p.docked = false;
    p.shown = false;
    p.rect = {-200, 40, 300, 340};
    p.side = DockSide::Bottom;
    p.order = 2;
    p.boxLeader = 1;
    p.beside = true;
    p.inFront = false;
    return p;
}

} // namespace

TEST(PanePlaceTest, RoundTripsAndKeepsTheDockedFlagAtOffset52)
{
    PanePlace docked;
    docked.rect = {0, 60, 250, 300};
    const PlaceRecord record = encodePlace(docked);
    EXPECT_NE(record[52] | record[53] | record[54] | record[55], 0);
    EXPECT_EQ(decodePlace(record), docked);

    const PlaceRecord floating = encodePlace(floatingPlace());
    EXPECT_EQ(floating[52] | floating[53] | floating[54] | floating[55], 0);
    EXPECT_EQ(decodePlace(floating), floatingPlace());
}

TEST(PanePlaceTest, DamagedRecordsAreNoPlace)
{
    PlaceRecord zeros{};
    EXPECT_FALSE(decodePlace(zeros)); // an old or foreign record
    PlaceRecord bytes;
    for (size_t i = 0; i < bytes.size(); ++i)
        bytes[i] = static_cast<unsigned char>(i * 37 + 11);
    EXPECT_FALSE(decodePlace(bytes));

    auto broken = [](auto change) {
        PanePlace p;
        p.rect = {0, 0, 100, 100};
        change(p);
        return decodePlace(encodePlace(p));
    };
    EXPECT_FALSE(broken([](PanePlace& p) { p.side = static_cast<DockSide>(3); }));
    EXPECT_FALSE(broken([](PanePlace& p) { p.rect.right = p.rect.left; }));
    EXPECT_FALSE(broken([](PanePlace& p) { p.rect.bottom = 70000; }));
    EXPECT_FALSE(broken([](PanePlace& p) { p.order = -1; }));
    EXPECT_FALSE(broken([](PanePlace& p) { p.boxLeader = kMaxPanes; }));

    PlaceRecord unknownFlag = encodePlace(PanePlace{true, true, {0, 0, 10, 10}});
    unknownFlag[36] |= 0x80;
    EXPECT_FALSE(decodePlace(unknownFlag));
}

TEST(BandValueTest, PositionRowAndWidthHaveTheirBits)
{
    const BandValue v{420, true, 2};
    EXPECT_EQ(v.encode(), 0x020101A4u);
    EXPECT_EQ(BandValue::decode(0x020101A4u).width, 420);
    EXPECT_EQ(BandValue::decode(0x00400000u).newRow, true); // any bit of the third byte
    EXPECT_EQ(BandValue::decode(0xFF000000u).position, 255);
}

TEST(ScreenFitTest, KeepsReachableRectanglesAndBringsLostOnesBack)
{
    const std::vector<QRect> screens{QRect(0, 0, 1280, 1024), QRect(1280, 0, 1920, 1080)};
    EXPECT_EQ(fitOnScreens(QRect(100, 100, 400, 300), screens), QRect(100, 100, 400, 300));
    // On the second screen: left alone.
    EXPECT_EQ(fitOnScreens(QRect(2000, 50, 400, 300), screens), QRect(2000, 50, 400, 300));
    // Saved on a screen that is gone: back on the first one, as much of the offset as fits.
    EXPECT_EQ(fitOnScreens(QRect(5000, 200, 400, 300), screens), QRect(880, 200, 400, 300));
    // Its title bar above the screen.
    EXPECT_EQ(fitOnScreens(QRect(100, -500, 400, 300), screens), QRect(100, 0, 400, 300));
    // Larger than the screen: shrunk to it.
    EXPECT_EQ(fitOnScreens(QRect(-3000, -3000, 4000, 4000), screens), QRect(0, 0, 1280, 1024));
}
