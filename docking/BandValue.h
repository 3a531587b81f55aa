#pragma once
// How a toolbar band's place is packed into one 32-bit value (stored as a REG_DWORD named by the
// band's id): bits 0 to 15 the width, bit 16 the band starts a new row, bits 24 to 31 the band's
// position in the bar.
#include <cstdint>

namespace qb::docking {

struct BandValue {
    uint16_t width = 0;
    bool newRow = false;
    uint8_t position = 0;

    uint32_t encode() const { return uint32_t(width) | (newRow ? 0x10000u : 0u) | (uint32_t(position) << 24); }
    // Any of bits 16 to 23 counts as a line break, so values written by older layouts still read.
    static BandValue decode(uint32_t value)
    {
        return BandValue{uint16_t(value & 0xFFFFu), (value & 0x00FF0000u) != 0, uint8_t(value >> 24)};
    }
};

} // namespace qb::docking
