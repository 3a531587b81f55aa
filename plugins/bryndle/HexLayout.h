#pragma once
// Where everything of the hex view goes, from the font's cell size, the view's size, its options
// and the data's length. Pure arithmetic, recomputed whenever one of those changes.
//
// Columns from left to right: the address column (when shown: the offset of each line's first
// byte), the hex column (two digits a byte, one space between), and the character column (when
// shown: one character a byte). Column gaps are 5 pixels; a multi-line view keeps a 5-pixel
// margin on every side.
#include <QRect>
#include <cstdint>

namespace bryndle {

struct HexOptions {
    int addressDigits = 8;         // at least; more when the data's offsets need them
    bool showAddress = false;
    bool showCharacters = false;
    int bytesPerLine = 16;         // used when not automatic
    bool autoBytesPerLine = false; // as many as fit the width
    bool multiLine = true;         // a single-line view puts every byte on one line
};

struct HexLayout {
    static constexpr int kGap = 5;

    QRect content;            // where lines are drawn
    int charWidth = 0;        // width of "0"
    int lineHeight = 0;
    int addressDigits = 0;    // digits actually shown
    int addressWidth = 0;     // 0 when hidden
    int bytesPerLine = 1;
    int hexLeft = 0;          // from the content's left edge, before horizontal scrolling
    int hexTextWidth = 0;     // w * (3n - 1)
    int charactersLeft = 0;   // from the content's left edge; meaningful when shown
    int charactersWidth = 0;  // 0 when hidden
    int totalWidth = 0;
    int visibleLines = 1;     // lines touched by the content height, a partial last one included
    int wholeLines = 1;       // lines that fit whole (at least 1)
    uint64_t totalLines = 0;
    uint64_t maxTopLine = 0;  // the last line can be scrolled fully into view
    int maxHorizontal = 0;

    static HexLayout compute(const HexOptions& options, int charWidth, int lineHeight, QSize client, uint64_t length);

    // Left edge of byte column i (0-based within its line) in the hex column, before scrolling.
    int hexCellLeft(int i) const { return hexLeft + 3 * charWidth * i; }
    int characterCellLeft(int i) const { return charactersLeft + charWidth * i; }
};

// Hex digits needed to write the largest offset of a value of this length (at least 1).
int offsetDigits(uint64_t length);

} // namespace bryndle
