// libFuzzer target for QuickDraw shape rasterisation: rectangles, ovals, rounded rectangles,
// arcs, polygons, lines and region outlines with any coordinates and pen sizes. Every row must
// come back as sorted, disjoint, non-empty spans inside the shape's bounds.
#include "graphics/core/ByteReader.h"
#include "graphics/core/PictShapes.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace {

void check(gfx::PictShape& shape) {
    const gfx::PictRect b = shape.bounds();
    // Only a window of rows and columns is walked, as the canvas would.
    const int top = std::max(b.top, -300);
    const int bottom = std::min(b.bottom, 300);
    std::vector<int> spans;
    for (int y = top; y < bottom; ++y) {
        shape.row(y, spans);
        if (spans.size() % 2 != 0)
            __builtin_trap();
        for (std::size_t i = 0; i < spans.size(); i += 2) {
            if (spans[i] >= spans[i + 1] || spans[i] < b.left || spans[i + 1] > b.right)
                __builtin_trap();
            if (i > 0 && spans[i] < spans[i - 1])
                __builtin_trap();
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    gfx::ByteReader r(std::span<const std::uint8_t>(data, size));
    const unsigned kind = r.u8() % 8;
    const gfx::PictRect rect = gfx::PictRect::read(r);
    const int a = r.s16be();
    const int c = r.s16be();
    std::unique_ptr<gfx::PictShape> shape;
    switch (kind) {
    case 0:
        shape = gfx::PictShapes::rect(rect);
        break;
    case 1:
        shape = gfx::PictShapes::oval(rect);
        break;
    case 2:
        shape = gfx::PictShapes::roundRect(rect, a, c);
        break;
    case 3:
        shape = gfx::PictShapes::arc(rect, a, c);
        break;
    case 4: {
        std::vector<gfx::PictShapes::Point> points;
        while (r.remaining() >= 4 && points.size() < 200) {
            gfx::PictShapes::Point p;
            p.v = r.s16be();
            p.h = r.s16be();
            points.push_back(p);
        }
        shape = gfx::PictShapes::polygon(points);
        break;
    }
    case 5:
        shape = gfx::PictShapes::line({rect.left, rect.top}, {rect.right, rect.bottom}, a & 0x3FF, c & 0x3FF);
        break;
    case 6:
        shape = gfx::PictShapes::difference(gfx::PictShapes::oval(rect), gfx::PictShapes::arc(rect, a, c));
        break;
    default: {
        std::vector<std::uint8_t> region(data + std::min<std::size_t>(size, 1), data + size);
        gfx::ByteReader rr(region);
        gfx::PictRegion rgn;
        if (!gfx::PictRegion::read(rr, rgn).empty())
            return 0;
        shape = gfx::PictShapes::regionFrame(rgn, 1 + (a & 7), 1 + (c & 7),
                                             gfx::PictRect{-300, -300, 300, 300}, 1u << 20);
        if (!shape)
            return 0;
        break;
    }
    }
    check(*shape);
    return 0;
}
