#pragma once

#include "graphics/core/MapComposition.h"

#include <QImage>
#include <QPoint>
#include <QRgb>

#include <cstdint>

// The drawing rules of the map's outlines, on the editor's 16-bit off-screen buffer
// (QImage::Format_RGB16). The pixels are the core's map composition (gfx::drawMark), which the
// tool's review pictures use too; this is its Qt face. Units are map pixels, origin top left,
// both ends of a rectangle included.
namespace MapPainting {

constexpr QRgb toQRgb(gfx::Colour c) {
    return qRgb(c.r, c.g, c.b);
}

inline constexpr QRgb kHighlightedColour = toQRgb(gfx::MapColours::kHighlighted); // selected or current row
inline constexpr QRgb kVisibleColour = toQRgb(gfx::MapColours::kVisible); // a row that is only View-ticked
inline constexpr QRgb kPointColour = toQRgb(gfx::MapColours::kPoint);     // point mark of any drawn row
inline constexpr QRgb kHaloColour = toQRgb(gfx::MapColours::kHalo);       // halo around a highlighted point

// The core's view of a 16-bit picture's pixels; an empty view for any other format.
gfx::Rgb16View rgb16View(QImage& rgb16);

// Outlines the block of w x h pixels whose top-left pixel is (x, y), one pixel wide. Parts
// outside the picture are cut off; a block narrower or lower than one pixel draws nothing.
void outlineBlock(QImage& rgb16, std::int64_t x, std::int64_t y, std::int64_t w, std::int64_t h, QRgb colour);

// One entry's mark (gfx::drawMark): nothing when any coordinate is 0; a point gets the 2 x 2 red
// mark (and a halo when highlighted); anything else the outline between its two corners.
// `origin` is the map pixel at the picture's top left when it holds a part of the map.
void drawEntry(QImage& rgb16, std::int32_t x1, std::int32_t y1, std::int32_t x2, std::int32_t y2,
               bool highlighted, QPoint origin = {});

} // namespace MapPainting
