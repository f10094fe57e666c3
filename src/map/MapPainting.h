#pragma once

#include <QImage>
#include <QRgb>

#include <cstdint>

// The drawing rules of the map's outlines. Everything here draws into a 16-bit picture
// (QImage::Format_RGB16), the off-screen buffer every map paint goes through; units are map
// pixels, origin top left, both ends of a rectangle included.
namespace MapPainting {

inline constexpr QRgb kHighlightedColour = qRgb(255, 12, 12); // rectangle of a selected or current row
inline constexpr QRgb kVisibleColour = qRgb(255, 155, 0);     // rectangle of a row that is only View-ticked
inline constexpr QRgb kPointColour = qRgb(255, 0, 0);         // point mark of any drawn row
inline constexpr QRgb kHaloColour = qRgb(249, 249, 249);      // halo around a highlighted point

// Outlines the block of w x h pixels whose top-left pixel is (x, y), one pixel wide. Parts
// outside the picture are cut off; a block narrower or lower than one pixel draws nothing.
// 64-bit arguments so that any pair of 32-bit corners gives its width without overflow.
void outlineBlock(QImage& rgb16, std::int64_t x, std::int64_t y, std::int64_t w, std::int64_t h, QRgb colour);

// One entry's mark. Nothing when any coordinate is 0 (not set). x1 == x2 and y1 == y2 is a
// point: a 2 x 2 red mark with its top-left pixel at (x1 - 1, y1 - 1), highlighted points first
// get a 6 x 6 near-white halo at (x1 - 3, y1 - 3). Anything else outlines the rectangle between
// its two corners, also when they are stored right-to-left or bottom-to-top.
void drawEntry(QImage& rgb16, std::int32_t x1, std::int32_t y1, std::int32_t x2, std::int32_t y2,
               bool highlighted);

} // namespace MapPainting
