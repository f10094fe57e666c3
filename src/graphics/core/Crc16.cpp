#include "graphics/core/Crc16.h"

#include <array>

namespace gfx {

namespace {
constexpr std::array<std::uint16_t, 256> makeTable() {
    std::array<std::uint16_t, 256> table{};
    for (unsigned i = 0; i < 256; ++i) {
        unsigned crc = i << 8;
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc & 0x8000u) ? ((crc << 1) ^ 0x1021u) : (crc << 1);
        table[i] = static_cast<std::uint16_t>(crc);
    }
    return table;
}
constexpr std::array<std::uint16_t, 256> kTable = makeTable();
} // namespace

std::uint16_t crc16Xmodem(std::span<const std::uint8_t> data, std::uint16_t crc) {
    for (const std::uint8_t byte : data)
        crc = static_cast<std::uint16_t>((crc << 8) ^ kTable[((crc >> 8) ^ byte) & 0xFFu]);
    return crc;
}

} // namespace gfx
