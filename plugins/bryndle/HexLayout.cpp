#include "HexLayout.h"

#include <algorithm>

namespace bryndle {

int offsetDigits(uint64_t length)
{
    uint64_t last = length > 0 ? length - 1 : 0;
    int digits = 1;
    while (last >>= 4)
        ++digits;
    return digits;
}

HexLayout HexLayout::compute(const HexOptions& o, int w, int h, QSize client, uint64_t length)
{
    HexLayout l;
    w = std::max(1, w);
    h = std::max(1, h);
    l.charWidth = w;
    l.lineHeight = h;
    l.content = QRect(QPoint(0, 0), client);
    if (o.multiLine)
        l.content.adjust(kGap, kGap, -kGap, -kGap);
    const int height = std::max(0, l.content.height());
    l.visibleLines = std::max(1, (height + h - 1) / h);
    l.wholeLines = std::max(1, height / h);

    // The address column holds every offset of the data whole, however few digits were asked for.
    l.addressDigits = std::max(o.addressDigits, offsetDigits(length));
    l.addressWidth = o.showAddress ? l.addressDigits * w + kGap : 0;

    int n = o.bytesPerLine;
    if (!o.multiLine) {
        n = int(std::min<uint64_t>(std::max<uint64_t>(length, 1), 0x7FFFFFF / uint64_t(3 * w)));
    } else if (o.autoBytesPerLine) {
        const int c = std::max(0, l.content.width()) - l.addressWidth;
        if (o.showCharacters) {
            n = (c - kGap) / (4 * w);
            if ((c - kGap) % (4 * w) >= 3 * w)
                ++n;
        } else {
            n = c / (3 * w);
            if (c % (3 * w) >= 2 * w)
                ++n;
        }
    }
    l.bytesPerLine = std::max(1, n);
    n = l.bytesPerLine;

    l.hexLeft = l.addressWidth;
    l.hexTextWidth = w * (3 * n - 1);
    l.charactersLeft = l.hexLeft + l.hexTextWidth + kGap;
    l.charactersWidth = o.showCharacters ? n * w : 0;
    l.totalWidth = l.addressWidth + l.hexTextWidth + (o.showCharacters ? kGap + n * w : 0);

    l.totalLines = (length + uint64_t(n) - 1) / uint64_t(n);
    l.maxTopLine = l.totalLines > uint64_t(l.wholeLines) ? l.totalLines - uint64_t(l.wholeLines) : 0;
    l.maxHorizontal = std::max(0, l.totalWidth - std::max(0, l.content.width()));
    return l;
}

} // namespace bryndle
