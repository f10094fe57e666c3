#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

namespace gfx {

// Apple PackBits as used by PICT pixel rows. A flag byte n in 0..127 copies the next n+1 units,
// 129..255 repeats the next unit 257-n times, 128 is a no-op. A unit is one byte, or two bytes
// for 16-bit pixels (pack type 3).
class PictPackBits {
public:
    // Unpacked length of a packed row, or nothing when a run reaches past the packed bytes.
    static std::optional<std::size_t> measure(std::span<const std::uint8_t> packed, std::size_t unitSize);

    // Unpacks into out and returns how many bytes were produced; bytes beyond out.size() are
    // dropped (rows that decode long are trimmed) and out is never overrun. Call only on data that
    // measure() accepted.
    static std::size_t unpack(std::span<const std::uint8_t> packed, std::size_t unitSize,
                              std::span<std::uint8_t> out);
};

} // namespace gfx
