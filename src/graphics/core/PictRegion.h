#pragma once

#include "graphics/core/ByteReader.h"
#include "graphics/core/PictRect.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace gfx {

// A QuickDraw region: u16 size (counting itself), bounding box, and for non-rectangular regions
// scan lines of "s16 y, s16 x..., 0x7FFF" closed by a final 0x7FFF. The x values of a line are
// inversion points applied cumulatively to every row from y downwards.
class PictRegion {
public:
    // Reads one region at the reader's position. On failure returns a message and the reader's
    // position is unspecified.
    static std::string read(ByteReader& reader, PictRegion& out);

    const PictRect& bounds() const { return m_bounds; }
    bool isRectangular() const { return m_lines.empty(); }

    // Walks the rows of the region from top to bottom. rowSpans(y) must be called with
    // non-decreasing y; it returns the covered x intervals [x0, x1) of that row, sorted.
    class Scanner {
    public:
        explicit Scanner(const PictRegion& region) : m_region(&region) {}
        const std::vector<int>& rowSpans(int y);

        // Work done so far (points merged), for callers that bound the total effort.
        std::uint64_t cost() const { return m_cost; }

    private:
        const PictRegion* m_region;
        std::size_t m_nextLine = 0;
        std::vector<int> m_points; // current inversion points, sorted; pairs form spans
        std::vector<int> m_merged;
        std::vector<int> m_spans;
        std::uint64_t m_cost = 0;
    };

private:
    struct Line {
        int y = 0;
        std::vector<int> xs;
    };

    PictRect m_bounds;
    std::vector<Line> m_lines;
};

} // namespace gfx
