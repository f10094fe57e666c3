#include "graphics/core/PictRegion.h"

#include <algorithm>
#include <iterator>

namespace gfx {

namespace RegionLayout {
constexpr std::size_t kHeaderSize = 10; // size word + bounding box
constexpr std::int16_t kEndMark = 0x7FFF;
} // namespace RegionLayout

std::string PictRegion::read(ByteReader& reader, PictRegion& out) {
    const std::size_t start = reader.pos();
    const std::uint16_t size = reader.u16be();
    if (reader.failed())
        return "region is cut off";
    if (size < RegionLayout::kHeaderSize)
        return "region size is too small";
    if (!reader.canRead(size - 2u))
        return "region runs past the end of the picture";
    out = PictRegion{};
    out.m_bounds = PictRect::read(reader);
    const std::size_t end = start + size;

    // Scan-line data is only needed to draw through the region; a malformed body is reported
    // rather than guessed at, since it would let pixels through that the picture masks off.
    while (reader.pos() + 2 <= end) {
        const std::int16_t y = reader.s16be();
        if (y == RegionLayout::kEndMark)
            break;
        Line line;
        line.y = y;
        bool closed = false;
        while (reader.pos() + 2 <= end) {
            const std::int16_t x = reader.s16be();
            if (x == RegionLayout::kEndMark) {
                closed = true;
                break;
            }
            line.xs.push_back(x);
        }
        if (!closed)
            return "region scan line is not terminated";
        // Inversion points of one line toggle independently, so their order does not matter and
        // a point listed twice cancels out; sorted and paired off they merge in linear time.
        std::sort(line.xs.begin(), line.xs.end());
        std::vector<int> unique;
        for (std::size_t i = 0; i < line.xs.size(); ++i) {
            if (i + 1 < line.xs.size() && line.xs[i] == line.xs[i + 1])
                ++i;
            else
                unique.push_back(line.xs[i]);
        }
        line.xs.swap(unique);
        if (!out.m_lines.empty() && line.y < out.m_lines.back().y)
            return "region scan lines are out of order";
        out.m_lines.push_back(std::move(line));
    }
    reader.seek(end);
    return {};
}

const std::vector<int>& PictRegion::Scanner::rowSpans(int y) {
    const auto& lines = m_region->m_lines;
    bool changed = false;
    while (m_nextLine < lines.size() && lines[m_nextLine].y <= y) {
        const auto& xs = lines[m_nextLine].xs;
        m_merged.clear();
        std::set_symmetric_difference(m_points.begin(), m_points.end(), xs.begin(), xs.end(),
                                      std::back_inserter(m_merged));
        m_points.swap(m_merged);
        m_cost += m_points.size() + xs.size() + 1;
        ++m_nextLine;
        changed = true;
    }
    if (changed || (m_spans.empty() && m_region->isRectangular())) {
        m_spans.clear();
        if (m_region->isRectangular()) {
            m_spans.push_back(m_region->m_bounds.left);
            m_spans.push_back(m_region->m_bounds.right);
        } else {
            // An odd point count can only come from a malformed region; the last point is dropped.
            for (std::size_t i = 0; i + 1 < m_points.size(); i += 2) {
                m_spans.push_back(std::max(m_points[i], m_region->m_bounds.left));
                m_spans.push_back(std::min(m_points[i + 1], m_region->m_bounds.right));
            }
        }
    }
    static const std::vector<int> kNone;
    const PictRect& b = m_region->m_bounds;
    if (y < b.top || y >= b.bottom)
        return kNone;
    return m_spans;
}

} // namespace gfx
