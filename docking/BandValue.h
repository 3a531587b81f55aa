#pragma once
// A toolbar band's place in the bar, packed into one 32-bit value (the REG_DWORD named by the
// band's id) so that the whole bar comes back from one value per band: the width in the low 16
// bits, a line break before the band at bit 16, the band's order in the bar in the top byte.
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
