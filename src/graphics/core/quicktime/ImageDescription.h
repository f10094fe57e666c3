#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>

namespace gfx::quicktime {

struct Rgb {
    std::uint8_t r = 0, g = 0, b = 0;
    bool operator==(const Rgb&) const = default;
};

using Palette = std::array<Rgb, 256>;

// The QuickTime ImageDescription that precedes compressed image data (the same record a movie's
// sample description holds). Only what decoding needs is kept.
struct ImageDescription {
    std::uint32_t size = 0;      // the description's own length: the image data follows it
    std::array<char, 4> codec{}; // compressor type, e.g. 'rle '; trailing blanks are significant
    int width = 0;
    int height = 0;
    // Bits per pixel: 1, 2, 4, 8, 16, 24 or 32 (colour), 33, 34, 36 or 40 (grey of depth - 32 bits).
    int depth = 0;
    std::uint32_t dataSize = 0; // 0 when the writer left it unset
    // The colour table for indexed depths: the one the description carries (colour table id 0),
    // otherwise the Macintosh default table for the depth (grey ramps for the grey depths).
    Palette palette{};

    std::string codecName() const { return std::string(codec.begin(), codec.end()); }
    // Bits each pixel occupies in the data (grey depths counted without their 32).
    int bitsPerPixel() const { return depth > 32 ? depth - 32 : depth; }
    bool isGrey() const { return depth > 32; }
};

// Reads the description from its own bytes (its size field first). Empty on success, else why not.
std::string readImageDescription(std::span<const std::uint8_t> bytes, ImageDescription& out);

// The Macintosh default colour table of an indexed depth (1, 2, 4 or 8 bits), or the grey ramp of
// a grey depth (33-40). Index 0 is white and the last index black, as on the Mac.
Palette defaultPalette(int depth);

} // namespace gfx::quicktime
