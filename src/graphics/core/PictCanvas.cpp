#include "graphics/core/PictCanvas.h"

#include <algorithm>
#include <cstring>

namespace gfx {

namespace PictModeLayout {
constexpr std::uint16_t kDitherFlag = 0x40; // a dithering hint only; drawn as the base mode
constexpr std::uint16_t kNotFlag = 4;       // notSrcCopy..notSrcBic invert the source first
constexpr std::uint16_t kTransparent = 36;
enum BaseOp : std::uint16_t { Copy = 0, Or = 1, Xor = 2, Bic = 3 };
} // namespace PictModeLayout

namespace {

bool isWhite(const std::uint8_t* p) {
    return p[0] == 255 && p[1] == 255 && p[2] == 255;
}

} // namespace

PictCanvas::PictCanvas(const PictRect& space, std::uint64_t maxWorkPixels)
    : m_space(space), m_maxWork(maxWorkPixels) {}

std::string PictCanvas::charge(std::uint64_t work) {
    m_work += work;
    if (m_work > m_maxWork)
        return "picture draws far more pixels than it holds";
    return {};
}

PictRect PictCanvas::reachable() const {
    return m_clip ? m_space.intersected(m_clip->bounds()) : m_space;
}

void PictCanvas::moveOrigin(int dh, int dv) {
    // The canvas stays where it is in the picture; in the new local coordinates it sits
    // (dh, dv) further on.
    m_space = PictRect{m_space.top + dv, m_space.left + dh, m_space.bottom + dv, m_space.right + dh};
}

namespace {

inline std::uint8_t clampByte(int v) {
    return static_cast<std::uint8_t>(std::clamp(v, 0, 255));
}

// One destination pixel under one source colour. `hit` is whether the pattern or source has a
// foreground pixel here (a 1 bit, or a colour pattern's non-white pixel).
void compose(std::uint8_t* d, const PictRgb& s, bool hit, unsigned op, const PictPaint& paint) {
    const std::uint8_t src[3] = {s.r, s.g, s.b};
    switch (op) {
    case 0: // copy
        std::memcpy(d, src, 3);
        return;
    case 1: // or
        if (hit)
            std::memcpy(d, src, 3);
        return;
    case 2: // xor
        if (hit)
            for (int c = 0; c < 3; ++c)
                d[c] = static_cast<std::uint8_t>(~d[c]);
        return;
    case 3: // bic
        if (hit) {
            d[0] = paint.back.r;
            d[1] = paint.back.g;
            d[2] = paint.back.b;
        }
        return;
    case 50: { // hilite
        if (!hit)
            return;
        const PictRgb now{d[0], d[1], d[2]};
        const PictRgb to = now == paint.back ? paint.hilite : now == paint.hilite ? paint.back : now;
        d[0] = to.r;
        d[1] = to.g;
        d[2] = to.b;
        return;
    }
    default:
        break;
    }
    for (int c = 0; c < 3; ++c) {
        const int sv = src[c];
        const int dv = d[c];
        const int pin = paint.opColor[static_cast<std::size_t>(c)] >> 8;
        switch (op) {
        case 32: {
            const int w = paint.opColor[static_cast<std::size_t>(c)];
            d[c] = static_cast<std::uint8_t>((sv * w + dv * (65535 - w)) / 65535);
            break;
        }
        case 33:
            d[c] = static_cast<std::uint8_t>(std::min(sv + dv, paint.opColorSet ? pin : 255));
            break;
        case 34:
            d[c] = static_cast<std::uint8_t>((sv + dv) & 0xFF);
            break;
        case 35:
            d[c] = clampByte(std::max(dv - sv, paint.opColorSet ? pin : 0));
            break;
        case 37:
            d[c] = static_cast<std::uint8_t>(std::max(sv, dv));
            break;
        case 38:
            d[c] = static_cast<std::uint8_t>((dv - sv) & 0xFF);
            break;
        case 39:
            d[c] = static_cast<std::uint8_t>(std::min(sv, dv));
            break;
        default:
            break;
        }
    }
}

} // namespace

std::string PictCanvas::fill(PictShape& shape, const PictPaint& paint) {
    if (m_measureOnly || !paint.pattern)
        return {};
    PictRect visible = shape.bounds().intersected(m_space);
    if (m_clip)
        visible = visible.intersected(m_clip->bounds());
    if (visible.isEmpty())
        return {};
    if (auto refusal = ensureImage(); !refusal.empty())
        return refusal;
    m_drawn = true;

    const PictPattern& pat = *paint.pattern;
    const std::uint16_t mode = static_cast<std::uint16_t>(paint.mode & ~0x40u);
    unsigned op = 0;
    bool invert = false;
    if (mode < 16) {
        op = mode & 3u;
        invert = (mode & 4u) != 0;
    } else if (mode >= 32 && mode <= 39) {
        op = mode;
    } else if (mode == 50) {
        op = 50;
    }
    std::optional<PictRegion::Scanner> clipScan;
    if (m_clip && !m_clip->isRectangular())
        clipScan.emplace(*m_clip);

    // A shape is filled once; whatever it cost to make (an outline worked out on a grid) and to
    // walk (edges, region points) counts with the pixels.
    std::vector<int> scratch;
    for (int y = visible.top; y < visible.bottom; ++y) {
        shape.row(y, m_spans);
        PictSpans::clip(m_spans, visible.left, visible.right);
        if (clipScan) {
            PictSpans::intersect(m_spans, clipScan->rowSpans(y), scratch);
            m_spans.swap(scratch);
        }
        m_work += 1 + m_spans.size();
        const int cy = y - m_space.top;
        std::uint8_t* dstRow = m_image.row(cy);
        // Most drawing is one colour: a solid pattern row (or a dither pattern's colour) under the
        // four basic modes fills, inverts or leaves whole spans alone.
        int uniform = -1; // the row's pattern bit when all eight agree
        if (!pat.tile && !pat.solid && op <= 3) {
            const std::uint8_t bits =
                static_cast<std::uint8_t>(pat.bits[static_cast<std::size_t>(cy & 7)] ^ (invert ? 0xFF : 0));
            if (bits == 0xFF || bits == 0x00)
                uniform = bits ? 1 : 0;
        }
        const bool solidCopy = pat.solid && (op == 0 || op == 1);
        for (std::size_t k = 0; k + 1 < m_spans.size(); k += 2) {
            m_work += static_cast<std::uint64_t>(m_spans[k + 1] - m_spans[k]);
            if (uniform >= 0 || solidCopy) {
                std::uint8_t* d = dstRow + static_cast<std::size_t>(m_spans[k] - m_space.left) * 3;
                std::uint8_t* end = dstRow + static_cast<std::size_t>(m_spans[k + 1] - m_space.left) * 3;
                const bool hit = solidCopy || uniform == 1;
                if (!hit && op != 0)
                    continue; // or, xor and bic leave 0 bits alone
                if (op == 2) {
                    for (; d < end; ++d)
                        *d = static_cast<std::uint8_t>(~*d);
                    continue;
                }
                const PictRgb c = solidCopy ? *pat.solid : (op == 3 || !hit) ? paint.back : paint.fore;
                for (; d < end; d += 3) {
                    d[0] = c.r;
                    d[1] = c.g;
                    d[2] = c.b;
                }
                continue;
            }
            for (int x = m_spans[k]; x < m_spans[k + 1]; ++x) {
                const int cx = x - m_space.left;
                std::uint8_t* d = dstRow + static_cast<std::size_t>(cx) * 3;
                PictRgb s;
                bool hit = true;
                if (pat.tile) {
                    const RgbImage& t = *pat.tile;
                    const std::uint8_t* p = t.row(cy % t.height) + static_cast<std::size_t>(cx % t.width) * 3;
                    s = PictRgb{p[0], p[1], p[2]};
                    if (invert)
                        s = PictRgb{static_cast<std::uint8_t>(~s.r), static_cast<std::uint8_t>(~s.g),
                                    static_cast<std::uint8_t>(~s.b)};
                    hit = !(s == PictRgb{255, 255, 255});
                } else if (pat.solid) {
                    s = *pat.solid;
                } else {
                    hit = ((pat.bits[static_cast<std::size_t>(cy & 7)] >> (7 - (cx & 7))) & 1u) != 0;
                    hit = hit != invert;
                    s = hit ? paint.fore : paint.back;
                }
                if (op == 36) { // transparent
                    if (!(s == paint.back)) {
                        d[0] = s.r;
                        d[1] = s.g;
                        d[2] = s.b;
                    }
                    continue;
                }
                compose(d, s, hit, op, paint);
            }
        }
        if (m_work + shape.cost() + (clipScan ? clipScan->cost() : 0) > m_maxWork)
            return "picture draws far more pixels than it holds";
    }
    m_work += shape.cost() + (clipScan ? clipScan->cost() : 0);
    return {};
}

std::string PictCanvas::ensureImage() {
    if (!m_image.isNull())
        return {};
    if (m_admit) {
        if (auto refusal = m_admit(); !refusal.empty())
            return refusal;
    }
    m_image = RgbImage(m_space.width(), m_space.height(), 255);
    return {};
}

std::string PictCanvas::draw(const Source& s, const RowSource& rows) {
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
            PictSpans::intersect(m_spans, clipScan->rowSpans(y), scratch);
            m_spans.swap(scratch);
        }
        if (maskScan) {
            PictSpans::intersect(m_spans, maskScan->rowSpans(y), scratch);
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
                std::memcpy(d, m_rowRgb.data() + static_cast<std::size_t>(x0) * 3,
                            static_cast<std::size_t>(x1 - x0) * 3);
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
                default: // Bic
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
