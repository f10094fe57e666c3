#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace gfx {

// Text in a picture is drawn by the platform: the core knows QuickDraw's text state and where
// each run goes, the platform has the fonts.

// One run of text as the picture asks for it.
struct PictTextRun {
    std::string
        family; // the font's name (FontName opcode, or the classic name of a font number); may be empty
    int fontNumber = 0; // QuickDraw font number (0 system font, 1 application font, 2 New York...)
    int size = 12;      // pixels per em (points at 72 dpi)
    unsigned face = 0;  // QuickDraw style bits: 1 bold, 2 italic, 4 underline, 8 outline, 16 shadow,
                        // 32 condensed, 64 extended
    std::string text;   // UTF-8, converted from the picture's Mac OS Roman bytes
};

// The run rendered without smoothing (or with it: the core draws coverage from 128 up), as
// coverage rows. left/top place the mask's top-left pixel relative to the pen position on the
// baseline where the run starts (top is usually negative: the ascent).
struct PictTextMask {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> coverage; // width * height bytes, rows top to bottom
};

// Renders a run. The mask may hold at most maxPixels pixels; a renderer that would need more,
// or has no font at all, returns an empty mask (the run is then not drawn).
using PictTextRenderer = std::function<PictTextMask(const PictTextRun& run, std::size_t maxPixels)>;

// The family a classic Mac font maps to among free fonts: "sans", "serif" or "monospace"
// (Geneva, Chicago, Helvetica and the system fonts are sans; Times and New York serif; Courier
// and Monaco monospace; unknown names sans).
const char* genericFamily(const PictTextRun& run);

// Mac OS Roman bytes as UTF-8.
std::string macRomanToUtf8(const std::uint8_t* bytes, std::size_t count);

} // namespace gfx
