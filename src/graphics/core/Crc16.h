#pragma once

#include <cstdint>
#include <span>

namespace gfx {

// CRC-16/XMODEM (polynomial 0x1021, no reflection, no final XOR) as MacBinary II/III and BinHex 4.0
// use it. `crc` carries a running value so a stream can be checked in pieces.
std::uint16_t crc16Xmodem(std::span<const std::uint8_t> data, std::uint16_t crc = 0);

} // namespace gfx
