#pragma once

#include "graphics/core/RgbImage.h"

#include <array>
#include <cstdint>
#include <optional>

namespace gfx {

struct PictRgb {
    std::uint8_t r = 0;
    std::uint8_t g = 0;
    std::uint8_t b = 0;
    bool operator==(const PictRgb&) const = default;
};

// A QuickDraw pattern: 8 x 8 bits (bit 7 of a row byte is the leftmost pixel; 1 draws the
// foreground colour, 0 the background colour), or a colour pixel pattern whose own pixels are
// drawn whatever the colours, or a dither pattern that stands for one RGB colour.
//
// Patterns are aligned to the canvas, not to the shape: the pixel at canvas column x, row y
// takes bit (x mod 8) of row (y mod 8), so neighbouring shapes filled with one pattern join
// without a seam, as on the Mac where patterns follow the port's bitmap.
struct PictPattern {
    std::array<std::uint8_t, 8> bits{};
    std::optional<RgbImage> tile; // a colour PixPat's pixels, repeated
    std::optional<PictRgb> solid; // a dither PixPat's colour

    static PictPattern filled(std::uint8_t row) {
        PictPattern p;
        p.bits.fill(row);
        return p;
    }
};

// How a shape's pixels are drawn: pattern, colours, transfer mode.
//
// Transfer modes (the low bits of QuickDraw's mode numbers; 64 is a dither hint and ignored):
//   0-7 (source) and 8-15 (pattern): copy, or, xor, bic, and the same with the pattern or source
//   inverted first (4 set). With 1-bit patterns: copy draws foreground for 1 bits and background
//   for 0 bits; or draws the foreground for 1 bits and leaves 0 bits alone; xor inverts the
//   destination under 1 bits; bic paints the background colour under 1 bits.
//   32 blend (average with the op colour's weight), 33 addPin (sum, at most the op colour),
//   34 addOver (sum, wrapping), 35 subPin (difference, at least the op colour), 36 transparent
//   (everything but the background colour is copied), 37 addMax (lighter of both), 38 subOver
//   (difference, wrapping), 39 adMin (darker of both): per colour channel.
//   50 hilite (an Invert after HiliteMode): under 1 bits the background colour and the highlight
//   colour trade places; everything else is left alone.
struct PictPaint {
    const PictPattern* pattern = nullptr;
    PictRgb fore{0, 0, 0};
    PictRgb back{255, 255, 255};
    std::uint16_t mode = 8;
    std::array<std::uint16_t, 3> opColor{0x8000, 0x8000, 0x8000}; // weights for blend, pins
    bool opColorSet = false;
    PictRgb hilite{0xCC, 0xCC, 0xFF};
};

} // namespace gfx
