#pragma once
// Where one dockable pane is, as a fixed 60-byte record (the form the explorer stores per pane).
//
// Record layout, little-endian 32-bit fields:
//    0  signature "QBDK"           4  layout version (1)
//    8  left  12 top  16 right  20 bottom: docked, the pane inside the main window; floating, the
//       pane's own window on the screen
//   24  side of the main window (1 left, 2 right, 4 top, 8 bottom)
//   28  box order on that side     32  box leader (index of the pane whose box it shares as a tab,
//                                      -1 for a box of its own)
//   36  flags: bit 0 shown, bit 1 placed beside the box before it (else below it), bit 2 the tab
//       in front of its box
//   40..51 zero
//   52  non-zero when docked       56..59 zero
// A record that does not carry the signature, or whose fields are out of their ranges, is not a
// place: the caller keeps the pane where its defaults put it.
#include <array>
#include <cstdint>
#include <optional>

namespace qb::docking {

constexpr int kPlaceRecordSize = 60;
using PlaceRecord = std::array<unsigned char, kPlaceRecordSize>;

// The same numbers as Qt's dock areas, so no table is needed between them.
enum class DockSide : uint32_t { Left = 1, Right = 2, Top = 4, Bottom = 8 };

struct PlaceRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    int width() const { return right - left; }
    int height() const { return bottom - top; }
    bool operator==(const PlaceRect&) const = default;
};

struct PanePlace {
    bool docked = true;
    bool shown = true;
    PlaceRect rect;
    DockSide side = DockSide::Left;
    int order = 0;        // position of its box among the boxes of its side
    int boxLeader = -1;   // pane index whose box it shares, -1: its own box
    bool beside = false;  // its box is beside the one before it on that side (else below it)
    bool inFront = true;  // the tab shown of a shared box
    bool operator==(const PanePlace&) const = default;
};

// Panes a record may name as box leaders: indexes 0 to kMaxPanes - 1.
constexpr int kMaxPanes = 16;
// Largest width or height a record may hold; anything larger is damage.
constexpr int kMaxExtent = 32767;

PlaceRecord encodePlace(const PanePlace& place);
std::optional<PanePlace> decodePlace(const PlaceRecord& record);

} // namespace qb::docking
