#pragma once

#include "graphics/core/PictRect.h"
#include "graphics/core/PictRegion.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

namespace gfx {

// QuickDraw shapes as the pixels they cover, row by row.
//
// QuickDraw's coordinates are the grid lines between pixels: the pixel (h, v) lies below and to
// the right of the point (h, v), so a rectangle (top, left, bottom, right) covers the pixels with
// left <= h < right and top <= v < bottom, and an empty or inverted rectangle covers none. A shape
// covers a pixel when the pixel's centre (h + 0.5, v + 0.5) lies inside its outline; for
// rectangles this is the rule above, for ovals, arcs and polygons it decides the edge pixels.
//
// A shape hands out each row's covered pixels as sorted, disjoint [x0, x1) spans. Rows must be
// asked for in increasing order, and only within bounds(); rows outside it are empty.
class PictShape {
public:
    virtual ~PictShape() = default;
    virtual PictRect bounds() const = 0;
    // The spans of row y, replacing `out`'s contents.
    virtual void row(int y, std::vector<int>& out) = 0;
    // Work done beyond the pixels handed out (to make the shape, and edges visited or region
    // points merged so far), so callers can bound the effort a shape costs.
    virtual std::uint64_t cost() const { return 0; }
};

// The shape kinds of the picture opcodes, each with QuickDraw's geometry. Points are (h, v).
namespace PictShapes {

std::unique_ptr<PictShape> rect(const PictRect& r);

// The oval inscribed in r.
std::unique_ptr<PictShape> oval(const PictRect& r);

// A rectangle whose corners are quarters of an oval ovalWidth x ovalHeight (QuickDraw clamps
// the oval to the rectangle's size).
std::unique_ptr<PictShape> roundRect(const PictRect& r, int ovalWidth, int ovalHeight);

// The wedge of the oval in r between startAngle and startAngle + arcAngle, in degrees measured
// clockwise from 12 o'clock. QuickDraw's angles are not true angles but follow the rectangle:
// 45 degrees always points at its top-right corner, whatever its proportions. A span of 360
// degrees or more is the whole oval; a negative span runs anticlockwise.
std::unique_ptr<PictShape> arc(const PictRect& r, int startAngle, int arcAngle);

// A polygon's interior by the even-odd rule, its edges closing back to the first point. Pixel
// centres on an edge belong to the shape on its left and top sides only, so a polygon traced
// round a rectangle covers exactly the rectangle's pixels.
struct Point {
    int h = 0;
    int v = 0;
};
std::unique_ptr<PictShape> polygon(const std::vector<Point>& points);

// What a pen of penWidth x penHeight covers when its top-left corner is moved from `from` to
// `to`: the pen hangs below and to the right of the line, so a horizontal line from (0, 0) to
// (10, 0) with a 1 x 1 pen covers the eleven pixels (0..10, 0). The pen is placed at each point
// of the digitised line (the major axis advances one pixel a step, the minor coordinate rounds to
// the nearest, halves away from the start).
std::unique_ptr<PictShape> line(Point from, Point to, int penWidth, int penHeight);

// A region (its bounds and scan lines); the shape keeps a copy.
std::unique_ptr<PictShape> region(const PictRegion& r);

// The pixels of `outer` that are not in `inner`: FrameRect, FrameOval, FrameRoundRect and FrameArc
// draw the shape minus the same shape inset by the pen size.
std::unique_ptr<PictShape> difference(std::unique_ptr<PictShape> outer, std::unique_ptr<PictShape> inner);

// A region's outline drawn inside it with a pen of penWidth x penHeight: the region minus the
// region inset by the pen (a pixel stays inside when every pixel within penWidth across and
// penHeight up and down of it is in the region). Only the rows and columns within `window`
// (plus the pen's reach) are worked out; the rest of the outline is reported empty.
// Nothing when the window holds more than maxPixels pixels.
std::unique_ptr<PictShape> regionFrame(const PictRegion& r, int penWidth, int penHeight,
                                       const PictRect& window, std::uint64_t maxPixels);

// Rows of 8-bit coverage (width x height, from (left, top)); a pixel is covered from 128 up, as
// text is drawn without smoothing.
std::unique_ptr<PictShape> mask(int left, int top, int width, int height, std::vector<std::uint8_t> coverage);

} // namespace PictShapes

// Span-list helpers shared by the shapes and the canvas; lists are sorted [x0, x1) pairs.
namespace PictSpans {
void intersect(const std::vector<int>& a, const std::vector<int>& b, std::vector<int>& out);
void subtract(const std::vector<int>& a, const std::vector<int>& b, std::vector<int>& out);
void clip(std::vector<int>& spans, int left, int right);
} // namespace PictSpans

} // namespace gfx
