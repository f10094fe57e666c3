#pragma once

#include "graphics/core/RgbImage.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

// How the map and the entries' outlines become one picture, pixel for pixel: the editor's canvas,
// its "Copy picture with visible rectangles" and the tool's review pictures all compose through
// here. Everything is drawn into 16-bit 5-6-5 pixels (the editor's off-screen buffer); units are
// map pixels, origin top left, both ends of a rectangle included. A later zoom scales the result;
// the composition itself stays a function of (map picture, marks, which are highlighted).
namespace gfx {

struct Colour {
    std::uint8_t r = 0, g = 0, b = 0;
};

namespace MapColours {
inline constexpr Colour kHighlighted{255, 12, 12};  // rectangle of a selected or current entry
inline constexpr Colour kVisible{255, 155, 0};      // rectangle of an entry that is only shown
inline constexpr Colour kPoint{255, 0, 0};          // point mark of any drawn entry
inline constexpr Colour kHalo{249, 249, 249};       // halo around a highlighted point
inline constexpr Colour kBackground{255, 255, 255}; // where no map picture covers the buffer
} // namespace MapColours

// 5-6-5 by dropping the low bits, and back by repeating the high bits into them: the
// conversions Qt uses for its 16-bit pictures, so both sides agree to the pixel.
std::uint16_t toRgb16(Colour colour);
Colour fromRgb16(std::uint16_t pixel);

// A window onto 16-bit pixels owned elsewhere (a QImage's, or an Rgb16Image's).
struct Rgb16View {
    std::uint16_t* pixels = nullptr;
    int width = 0;
    int height = 0;
    std::ptrdiff_t stride = 0; // pixels from one row to the next
    std::uint16_t* row(int y) const { return pixels + static_cast<std::ptrdiff_t>(y) * stride; }
};

struct Rgb16Image {
    int width = 0;
    int height = 0;
    std::vector<std::uint16_t> pixels; // width * height, rows top to bottom

    Rgb16Image() = default;
    Rgb16Image(int w, int h);
    Rgb16View view() { return {pixels.data(), width, height, width}; }
};

// Outlines the block of w x h pixels whose top-left pixel is (x, y), one pixel wide. Parts
// outside the picture are cut off; a block narrower or lower than one pixel draws nothing.
// 64-bit arguments so that any pair of 32-bit corners gives its width without overflow.
void outlineBlock(const Rgb16View& target, std::int64_t x, std::int64_t y, std::int64_t w, std::int64_t h,
                  Colour colour);

// One entry's mark, drawn the way the editor draws a shown or selected row.
struct MapMark {
    std::int32_t x1 = 0, y1 = 0, x2 = 0, y2 = 0;
    bool highlighted = false; // selected or current: red outline, halo around a point
};

// Nothing when any coordinate is 0 (not set). x1 == x2 and y1 == y2 is a point: a 2 x 2 red mark
// with its top-left pixel at (x1 - 1, y1 - 1), a highlighted point first gets a 6 x 6 near-white
// halo at (x1 - 3, y1 - 3). Anything else outlines the rectangle between its two corners, also
// when they are stored right-to-left or bottom-to-top.
// `origin` is the map pixel at the target's top left (a part of the map being composed).
void drawMark(const Rgb16View& target, const MapMark& mark, std::int64_t originX = 0,
              std::int64_t originY = 0);

// Marks in order: where outlines cross, a later mark lies over an earlier one.
void drawMarks(const Rgb16View& target, std::span<const MapMark> marks);

// The buffer under the marks: white, with `map` (may be null) at (0, 0) at its own size, cut to
// width x height. Null when the size is not positive.
Rgb16Image composeBackground(const RgbImage* map, int width, int height);

// The whole composition: background, then the marks.
Rgb16Image composeMap(const RgbImage* map, int width, int height, std::span<const MapMark> marks);

// The composition seen at an integer zoom: target pixel (x, y) is source pixel
// ((x + scrollX) / zoom, (y + scrollY) / zoom), so every source pixel becomes an exact
// zoom x zoom square and an outline covers exactly its pixels' squares; no smoothing. Target
// pixels beyond the source are the background colour. A zoom below 1 or a negative scroll
// draws nothing.
void zoomInto(const Rgb16View& source, int zoom, int scrollX, int scrollY, const Rgb16View& target);

// 8-bit RGB of a composed picture, for writing it out.
RgbImage toRgbImage(const Rgb16Image& image);

} // namespace gfx
