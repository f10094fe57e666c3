#include "graphics/core/PictCanvas.h"

#include <algorithm>
#include <cstring>

namespace gfx {

namespace PictModeLayout {
constexpr std::uint16_t kDitherFlag = 0x40;   // a dithering hint only; drawn as the base mode
constexpr std::uint16_t kNotFlag = 4;         // notSrcCopy..notSrcBic invert the source first
constexpr std::uint16_t kTransparent = 36;
enum BaseOp : std::uint16_t { Copy = 0, Or = 1, Xor = 2, Bic = 3 };
} // namespace PictModeLayout

namespace {

// Intersects two sorted lists of [x0, x1) spans.
void intersectSpans(const std::vector<int>& a, const std::vector<int>& b, std::vector<int>& out)
{
    out.clear();
    std::size_t i = 0;
    std::size_t j = 0;
    while (i + 1 < a.size() && j + 1 < b.size()) {
        const int lo = std::max(a[i], b[j]);
        const int hi = std::min(a[i + 1], b[j + 1]);
        if (lo < hi) {
            out.push_back(lo);
            out.push_back(hi);
        }
        if (a[i + 1] < b[j + 1])
            i += 2;
        else
            j += 2;
    }
}

bool isWhite(const std::uint8_t* p) { return p[0] == 255 && p[1] == 255 && p[2] == 255; }

} // namespace

PictCanvas::PictCanvas(const PictRect& space, std::uint64_t maxWorkPixels)
    : m_space(space)
    , m_maxWork(maxWorkPixels)
{
}

std::string PictCanvas::ensureImage()
{
    if (!m_image.isNull())
        return {};
    if (m_admit) {
        if (auto refusal = m_admit(); !refusal.empty())
            return refusal;
    }
    m_image = RgbImage(m_space.width(), m_space.height());
    std::fill(m_image.pixels.begin(), m_image.pixels.end(), std::uint8_t{255});
    return {};
}

std::string PictCanvas::draw(const Source& s, const RowSource& rows)
{
    using namespace PictModeLayout;
    if (m_measureOnly)
        return {};
    const std::int64_t srcW = s.srcRect.width();
    const std::int64_t srcH = s.srcRect.height();
    const std::int64_t dstW = s.dstRect.width();
    const std::int64_t dstH = s.dstRect.height();
    if (srcW <= 0 || srcH <= 0 || dstW <= 0 || dstH <= 0 || s.bounds.isEmpty())
        return {};

    PictRect visible = s.dstRect.intersected(m_space);
    if (m_clip)
        visible = visible.intersected(m_clip->bounds());
    if (s.mask)
        visible = visible.intersected(s.mask->bounds());
    if (visible.isEmpty())
        return {};

    if (auto refusal = ensureImage(); !refusal.empty())
        return refusal;
    m_drawn = true;

    // Source column for each visible destination column, relative to bounds.left; -1 where the
    // source rectangle reaches outside the bounds (nothing is drawn there).
    const int visW = visible.width();
    m_xmap.resize(static_cast<std::size_t>(visW));
    int colMin = s.bounds.width();
    int colMax = -1;
    for (int i = 0; i < visW; ++i) {
        const std::int64_t dx = visible.left + i - s.dstRect.left;
        const std::int64_t sx = s.srcRect.left + dx * srcW / dstW - s.bounds.left;
        if (sx < 0 || sx >= s.bounds.width()) {
            m_xmap[static_cast<std::size_t>(i)] = -1;
        } else {
            m_xmap[static_cast<std::size_t>(i)] = static_cast<int>(sx);
            colMin = std::min(colMin, static_cast<int>(sx));
            colMax = std::max(colMax, static_cast<int>(sx));
        }
    }
    if (colMax < colMin)
        return {};
    for (int& x : m_xmap)
        if (x >= 0)
            x -= colMin;
    const bool identityX = (srcW == dstW) && (colMax - colMin + 1 == visW) && m_xmap.front() == 0;
    m_rowRgb.resize(static_cast<std::size_t>(colMax - colMin + 1) * 3);

    const std::uint16_t base = static_cast<std::uint16_t>(s.mode & ~kDitherFlag);
    const bool invert = base >= kNotFlag && base <= 7;
    std::uint16_t op = Copy;
    if (base <= 7)
        op = base & 3u;
    else if (base == kTransparent)
        op = Or;

    std::optional<PictRegion::Scanner> clipScan;
    std::optional<PictRegion::Scanner> maskScan;
    if (m_clip && !m_clip->isRectangular())
        clipScan.emplace(*m_clip);
    if (s.mask && !s.mask->isRectangular())
        maskScan.emplace(*s.mask);
    std::vector<int> scratch;
    std::uint64_t regionCost = 0;

    int lastRow = -1;
    for (int y = visible.top; y < visible.bottom; ++y) {
        const std::int64_t sy = s.srcRect.top + (y - s.dstRect.top) * srcH / dstH - s.bounds.top;
        if (sy < 0)
            continue;
        if (sy >= s.bounds.height())
            break;
        m_work += static_cast<std::uint64_t>(visW);
        if (m_work > m_maxWork)
            return "picture draws far more pixels than it holds";
        if (sy != lastRow) {
            // Shrinking converts more source pixels than it writes; that surplus is work too.
            if (colMax - colMin + 1 > visW)
                m_work += static_cast<std::uint64_t>(colMax - colMin + 1 - visW);
            rows(static_cast<int>(sy), colMin, colMax + 1, m_rowRgb.data());
            lastRow = static_cast<int>(sy);
            if (invert)
                for (auto& b : m_rowRgb)
                    b = static_cast<std::uint8_t>(~b);
        }

        m_spans.assign({visible.left, visible.right});
        if (clipScan) {
            intersectSpans(m_spans, clipScan->rowSpans(y), scratch);
            m_spans.swap(scratch);
        }
        if (maskScan) {
            intersectSpans(m_spans, maskScan->rowSpans(y), scratch);
            m_spans.swap(scratch);
        }
        // A complex region is rescanned for every bitmap it clips; count that like pixels.
        regionCost = (clipScan ? clipScan->cost() : 0) + (maskScan ? maskScan->cost() : 0);
        if (m_work + regionCost > m_maxWork)
            return "picture draws far more pixels than it holds";

        std::uint8_t* dstRow = m_image.row(y - m_space.top);
        for (std::size_t k = 0; k + 1 < m_spans.size(); k += 2) {
            const int x0 = m_spans[k] - visible.left;
            const int x1 = m_spans[k + 1] - visible.left;
            std::uint8_t* d = dstRow + static_cast<std::size_t>(m_spans[k] - m_space.left) * 3;
            if (op == Copy && identityX) {
                std::memcpy(d, m_rowRgb.data() + static_cast<std::size_t>(x0) * 3, static_cast<std::size_t>(x1 - x0) * 3);
                continue;
            }
            for (int i = x0; i < x1; ++i, d += 3) {
                const int sx = m_xmap[static_cast<std::size_t>(i)];
                if (sx < 0)
                    continue;
                const std::uint8_t* p = m_rowRgb.data() + static_cast<std::size_t>(sx) * 3;
                switch (op) {
                case Copy:
                    std::memcpy(d, p, 3);
                    break;
                case Or:
                    if (!isWhite(p))
                        std::memcpy(d, p, 3);
                    break;
                case Xor:
                    if (!isWhite(p))
                        for (int c = 0; c < 3; ++c)
                            d[c] = static_cast<std::uint8_t>(~d[c]);
                    break;
                default:   // Bic
                    if (!isWhite(p))
                        std::memset(d, 255, 3);
                    break;
                }
            }
        }
    }
    m_work += regionCost;
    return {};
}

} // namespace gfx
