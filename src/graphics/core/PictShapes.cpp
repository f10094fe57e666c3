#include "graphics/core/PictShapes.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <numbers>

namespace gfx {

namespace PictSpans {

void intersect(const std::vector<int>& a, const std::vector<int>& b, std::vector<int>& out) {
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

void subtract(const std::vector<int>& a, const std::vector<int>& b, std::vector<int>& out) {
    out.clear();
    std::size_t j = 0;
    for (std::size_t i = 0; i + 1 < a.size(); i += 2) {
        int lo = a[i];
        const int hi = a[i + 1];
        while (j + 1 < b.size() && b[j + 1] <= lo)
            j += 2;
        std::size_t k = j;
        while (lo < hi && k + 1 < b.size() && b[k] < hi) {
            if (b[k] > lo) {
                out.push_back(lo);
                out.push_back(b[k]);
            }
            lo = std::max(lo, b[k + 1]);
            k += 2;
        }
        if (lo < hi) {
            out.push_back(lo);
            out.push_back(hi);
        }
    }
}

void clip(std::vector<int>& spans, int left, int right) {
    std::size_t w = 0;
    for (std::size_t i = 0; i + 1 < spans.size(); i += 2) {
        const int lo = std::max(spans[i], left);
        const int hi = std::min(spans[i + 1], right);
        if (lo < hi) {
            spans[w++] = lo;
            spans[w++] = hi;
        }
    }
    spans.resize(w);
}

} // namespace PictSpans

namespace {

constexpr double kEdgeEpsilon = 1e-9;

int clampToInt(std::int64_t v) {
    return static_cast<int>(std::clamp<std::int64_t>(v, -(std::int64_t{1} << 30), std::int64_t{1} << 30));
}

// The pixels of row y whose centres lie inside the oval inscribed in r, as [x0, x1).
bool ovalSpan(const PictRect& r, int y, int& x0, int& x1) {
    if (r.isEmpty() || y < r.top || y >= r.bottom)
        return false;
    const double a = r.width() / 2.0;
    const double b = r.height() / 2.0;
    const double cx = r.left + a;
    const double cy = r.top + b;
    const double dy = (y + 0.5 - cy) / b;
    const double t = 1.0 - dy * dy;
    if (t < 0)
        return false;
    const double dx = a * std::sqrt(t);
    x0 = static_cast<int>(std::ceil(cx - dx - 0.5 - kEdgeEpsilon));
    x1 = static_cast<int>(std::floor(cx + dx - 0.5 + kEdgeEpsilon)) + 1;
    x0 = std::max(x0, r.left);
    x1 = std::min(x1, r.right);
    return x0 < x1;
}

class RectShape final : public PictShape {
public:
    explicit RectShape(const PictRect& r) : m_rect(r.isEmpty() ? PictRect{} : r) {}
    PictRect bounds() const override { return m_rect; }
    void row(int y, std::vector<int>& out) override {
        out.clear();
        if (y >= m_rect.top && y < m_rect.bottom)
            out.assign({m_rect.left, m_rect.right});
    }

private:
    PictRect m_rect;
};

class OvalShape final : public PictShape {
public:
    explicit OvalShape(const PictRect& r) : m_rect(r.isEmpty() ? PictRect{} : r) {}
    PictRect bounds() const override { return m_rect; }
    void row(int y, std::vector<int>& out) override {
        out.clear();
        int x0 = 0;
        int x1 = 0;
        if (ovalSpan(m_rect, y, x0, x1))
            out.assign({x0, x1});
    }

private:
    PictRect m_rect;
};

class RoundRectShape final : public PictShape {
public:
    RoundRectShape(const PictRect& r, int ovalWidth, int ovalHeight)
        : m_rect(r.isEmpty() ? PictRect{} : r), m_ow(std::clamp(ovalWidth, 0, std::max(0, r.width()))),
          m_oh(std::clamp(ovalHeight, 0, std::max(0, r.height()))) {}
    PictRect bounds() const override { return m_rect; }
    void row(int y, std::vector<int>& out) override {
        out.clear();
        if (y < m_rect.top || y >= m_rect.bottom)
            return;
        if (m_ow <= 0 || m_oh <= 0) {
            out.assign({m_rect.left, m_rect.right});
            return;
        }
        // The corner rows follow the oval of the corner's size placed in that corner; the
        // rows between them are full.
        const double centre = y + 0.5;
        int cornerTop = 0;
        if (centre < m_rect.top + m_oh / 2.0)
            cornerTop = m_rect.top;
        else if (centre > m_rect.bottom - m_oh / 2.0)
            cornerTop = m_rect.bottom - m_oh;
        else {
            out.assign({m_rect.left, m_rect.right});
            return;
        }
        int l0 = 0, l1 = 0, r0 = 0, r1 = 0;
        const bool left =
            ovalSpan(PictRect{cornerTop, m_rect.left, cornerTop + m_oh, m_rect.left + m_ow}, y, l0, l1);
        const bool right =
            ovalSpan(PictRect{cornerTop, m_rect.right - m_ow, cornerTop + m_oh, m_rect.right}, y, r0, r1);
        if (left && right && l0 < r1)
            out.assign({l0, r1});
    }

private:
    PictRect m_rect;
    int m_ow;
    int m_oh;
};

class ArcShape final : public PictShape {
public:
    ArcShape(const PictRect& r, int startAngle, int arcAngle) : m_rect(r.isEmpty() ? PictRect{} : r) {
        if (arcAngle < 0) {
            startAngle += arcAngle;
            arcAngle = -arcAngle;
        }
        m_full = arcAngle >= 360;
        m_span = arcAngle;
        m_startDir = direction(startAngle);
        m_endDir = direction(startAngle + arcAngle);
    }
    PictRect bounds() const override { return m_rect; }
    std::uint64_t cost() const override { return m_cost; }
    void row(int y, std::vector<int>& out) override {
        out.clear();
        int x0 = 0;
        int x1 = 0;
        if (!ovalSpan(m_rect, y, x0, x1) || m_span == 0)
            return;
        if (m_full) {
            out.assign({x0, x1});
            return;
        }
        const double a = m_rect.width() / 2.0;
        const double b = m_rect.height() / 2.0;
        const double cx = m_rect.left + a;
        const double cy = m_rect.top + b;
        const double ny = (y + 0.5 - cy) / b;
        auto inWedge = [&](int x) {
            const Dir p{(x + 0.5 - cx) / a, ny};
            // The wedge [start, start + span): within half a turn clockwise of the start ray and
            // not of the end ray; a wedge over half a turn is the rest of its complement.
            return m_span <= 180 ? halfTurn(m_startDir, p) && !halfTurn(m_endDir, p)
                                 : !(halfTurn(m_endDir, p) && !halfTurn(m_startDir, p));
        };
        // Along a row, each ray's side test changes once at most: where the row meets the ray's
        // line (or, for a level ray, at the centre). Single pixels around those places are
        // tested on their own; between them the answer holds for the whole stretch.
        std::array<int, 14> cuts{};
        std::size_t n = 0;
        auto cutAround = [&](double xr) {
            const double c = std::floor(std::clamp(xr, double(x0 - 2), double(x1 + 2)));
            for (int k = -1; k <= 2; ++k)
                cuts[n++] = std::clamp(static_cast<int>(c) + k, x0, x1);
        };
        for (const Dir& d : {m_startDir, m_endDir})
            if (std::abs(d.y) > 1e-12)
                cutAround(cx + (d.x * ny / d.y) * a - 0.5);
        cutAround(cx - 0.5);
        cuts[n++] = x0;
        cuts[n++] = x1;
        std::sort(cuts.begin(), cuts.begin() + static_cast<std::ptrdiff_t>(n));
        bool inside = false;
        for (std::size_t k = 0; k + 1 < n; ++k) {
            if (cuts[k] == cuts[k + 1])
                continue;
            m_cost += 1;
            const bool in = inWedge(cuts[k]);
            if (in != inside) {
                out.push_back(cuts[k]);
                inside = in;
            }
        }
        if (inside)
            out.push_back(x1);
    }

private:
    // Directions on the rectangle-normalised oval, y pointing down.
    struct Dir {
        double x, y;
    };

    // The ray at `degrees` clockwise from 12 o'clock; exact at the quarter turns.
    static Dir direction(int degrees) {
        const int d = ((degrees % 360) + 360) % 360;
        switch (d) {
        case 0:
            return {0, -1};
        case 90:
            return {1, 0};
        case 180:
            return {0, 1};
        case 270:
            return {-1, 0};
        default: {
            const double r = d * std::numbers::pi / 180.0;
            return {std::sin(r), -std::cos(r)};
        }
        }
    }

    // Whether p lies in the half turn clockwise from d, d itself included.
    static bool halfTurn(const Dir& d, const Dir& p) {
        const double cross = d.x * p.y - d.y * p.x;
        return cross > 0 || (cross == 0 && d.x * p.x + d.y * p.y > 0);
    }

    PictRect m_rect;
    bool m_full = false;
    int m_span = 0;
    Dir m_startDir{0, -1};
    Dir m_endDir{0, -1};
    std::uint64_t m_cost = 0;
};

class PolygonShape final : public PictShape {
public:
    explicit PolygonShape(const std::vector<PictShapes::Point>& points) {
        if (points.size() < 2)
            return;
        int top = points[0].v, bottom = points[0].v, left = points[0].h, right = points[0].h;
        for (std::size_t i = 0; i < points.size(); ++i) {
            const auto& p = points[i];
            const auto& q = points[(i + 1) % points.size()];
            top = std::min(top, p.v);
            bottom = std::max(bottom, p.v);
            left = std::min(left, p.h);
            right = std::max(right, p.h);
            if (p.v == q.v)
                continue; // horizontal edges are never crossed by a row's centre line
            m_edges.push_back(p.v < q.v ? Edge{p.h, p.v, q.h, q.v} : Edge{q.h, q.v, p.h, p.v});
        }
        std::sort(m_edges.begin(), m_edges.end(), [](const Edge& e, const Edge& f) { return e.v0 < f.v0; });
        m_bounds = PictRect{top, left, bottom, right};
        if (m_bounds.isEmpty())
            m_bounds = PictRect{};
    }
    PictRect bounds() const override { return m_bounds; }
    std::uint64_t cost() const override { return m_cost; }
    void row(int y, std::vector<int>& out) override {
        out.clear();
        const double centre = y + 0.5;
        while (m_next < m_edges.size() && m_edges[m_next].v0 <= centre)
            m_active.push_back(m_edges[m_next++]);
        std::erase_if(m_active, [centre](const Edge& e) { return e.v1 <= centre; });
        m_cost += m_active.size() + 1;
        m_crossings.clear();
        for (const Edge& e : m_active) {
            if (e.v0 > centre)
                continue;
            m_crossings.push_back(e.h0 + (centre - e.v0) * (e.h1 - e.h0) / double(e.v1 - e.v0));
        }
        std::sort(m_crossings.begin(), m_crossings.end());
        for (std::size_t i = 0; i + 1 < m_crossings.size(); i += 2) {
            // Pixels whose centre lies in [xa, xb).
            const int x0 = static_cast<int>(std::ceil(m_crossings[i] - 0.5 - kEdgeEpsilon));
            const int x1 = static_cast<int>(std::ceil(m_crossings[i + 1] - 0.5 - kEdgeEpsilon));
            if (x0 >= x1)
                continue;
            if (!out.empty() && out.back() >= x0)
                out.back() = std::max(out.back(), x1);
            else
                out.insert(out.end(), {x0, x1});
        }
    }

private:
    struct Edge {
        int h0, v0, h1, v1; // v0 < v1
    };
    std::vector<Edge> m_edges;
    std::vector<Edge> m_active;
    std::size_t m_next = 0;
    std::vector<double> m_crossings;
    PictRect m_bounds;
    std::uint64_t m_cost = 0;
};

class LineShape final : public PictShape {
public:
    LineShape(PictShapes::Point from, PictShapes::Point to, int penWidth, int penHeight)
        : m_h1(from.h), m_v1(from.v), m_dx(std::int64_t{to.h} - from.h), m_dy(std::int64_t{to.v} - from.v),
          m_pw(penWidth), m_ph(penHeight) {
        m_n = std::max(std::llabs(m_dx), std::llabs(m_dy));
        m_vmin = std::min(from.v, to.v);
        m_vmax = std::max(from.v, to.v);
        if (penWidth > 0 && penHeight > 0)
            m_bounds = PictRect{m_vmin, std::min(from.h, to.h), clampToInt(std::int64_t{m_vmax} + penHeight),
                                clampToInt(std::int64_t{std::max(from.h, to.h)} + penWidth)};
    }
    PictRect bounds() const override { return m_bounds; }
    void row(int y, std::vector<int>& out) override {
        out.clear();
        if (m_bounds.isEmpty() || y < m_bounds.top || y >= m_bounds.bottom)
            return;
        // The pen placed on line row r covers rows r .. r + penHeight - 1; the line's rows that
        // reach row y form a window, and as the line is monotonic its outermost pixels lie in
        // the window's first and last rows.
        const std::int64_t lo = std::max<std::int64_t>(std::int64_t{y} - m_ph + 1, m_vmin);
        const std::int64_t hi = std::min<std::int64_t>(y, m_vmax);
        if (lo > hi)
            return;
        std::int64_t a0, a1, b0, b1;
        rowRange(lo, a0, a1);
        rowRange(hi, b0, b1);
        out.assign({clampToInt(std::min(a0, b0)), clampToInt(std::max(a1, b1) + m_pw)});
    }

private:
    // The leftmost and rightmost pixel of the digitised line in picture row r.
    void rowRange(std::int64_t r, std::int64_t& x0, std::int64_t& x1) const {
        const std::int64_t sx = m_dx < 0 ? -1 : 1;
        const std::int64_t ady = std::llabs(m_dy);
        const std::int64_t adx = std::llabs(m_dx);
        const std::int64_t k = std::llabs(r - m_v1);
        if (m_n == 0) {
            x0 = x1 = m_h1;
            return;
        }
        if (ady >= adx) {
            // One pixel a row: the minor offset rounded, halves away from the start.
            const std::int64_t m = (2 * k * adx + m_n) / (2 * m_n);
            x0 = x1 = m_h1 + sx * m;
            return;
        }
        std::int64_t ilo = 0;
        std::int64_t ihi = m_n;
        if (ady > 0) {
            // Steps i whose rounded row offset floor((2 i |dy| + n) / 2n) equals k.
            auto ceilDiv = [](std::int64_t p, std::int64_t q) {
                return p >= 0 ? (p + q - 1) / q : -((-p) / q);
            };
            ilo = std::max<std::int64_t>(0, ceilDiv((2 * k - 1) * m_n, 2 * ady));
            ihi = std::min<std::int64_t>(m_n, ceilDiv((2 * k + 1) * m_n, 2 * ady) - 1);
        }
        const std::int64_t xa = m_h1 + sx * ilo;
        const std::int64_t xb = m_h1 + sx * ihi;
        x0 = std::min(xa, xb);
        x1 = std::max(xa, xb);
    }

    std::int64_t m_h1, m_v1, m_dx, m_dy;
    int m_pw, m_ph;
    std::int64_t m_n = 0;
    int m_vmin = 0, m_vmax = 0;
    PictRect m_bounds;
};

class RegionShape final : public PictShape {
public:
    explicit RegionShape(const PictRegion& r) : m_region(r), m_scanner(m_region) {}
    PictRect bounds() const override { return m_region.bounds().isEmpty() ? PictRect{} : m_region.bounds(); }
    std::uint64_t cost() const override { return m_scanner.cost(); }
    void row(int y, std::vector<int>& out) override {
        const auto& spans = m_scanner.rowSpans(y);
        out.assign(spans.begin(), spans.end());
        // A malformed region may list points outside its bounds or out of order.
        PictSpans::clip(out, m_region.bounds().left, m_region.bounds().right);
        for (std::size_t i = 2; i + 1 < out.size(); i += 2)
            if (out[i] < out[i - 1]) {
                normalise(out);
                break;
            }
    }

private:
    static void normalise(std::vector<int>& spans) {
        std::vector<std::pair<int, int>> pairs;
        for (std::size_t i = 0; i + 1 < spans.size(); i += 2)
            pairs.emplace_back(spans[i], spans[i + 1]);
        std::sort(pairs.begin(), pairs.end());
        spans.clear();
        for (const auto& [lo, hi] : pairs) {
            if (!spans.empty() && spans.back() >= lo)
                spans.back() = std::max(spans.back(), hi);
            else
                spans.insert(spans.end(), {lo, hi});
        }
    }

    PictRegion m_region;
    PictRegion::Scanner m_scanner;
};

class DifferenceShape final : public PictShape {
public:
    DifferenceShape(std::unique_ptr<PictShape> outer, std::unique_ptr<PictShape> inner)
        : m_outer(std::move(outer)), m_inner(std::move(inner)) {}
    PictRect bounds() const override { return m_outer->bounds(); }
    std::uint64_t cost() const override { return m_outer->cost() + m_inner->cost(); }
    void row(int y, std::vector<int>& out) override {
        m_outer->row(y, m_a);
        const PictRect ib = m_inner->bounds();
        if (ib.isEmpty() || y < ib.top || y >= ib.bottom) {
            out = m_a;
            return;
        }
        m_inner->row(y, m_b);
        PictSpans::subtract(m_a, m_b, out);
    }

private:
    std::unique_ptr<PictShape> m_outer;
    std::unique_ptr<PictShape> m_inner;
    std::vector<int> m_a;
    std::vector<int> m_b;
};

// A rectangle of pixels as rows of flags, handed out as spans.
class BitmapShape final : public PictShape {
public:
    BitmapShape(const PictRect& area, std::vector<std::uint8_t> bits, std::uint64_t cost)
        : m_area(area), m_bits(std::move(bits)), m_cost(cost) {}
    PictRect bounds() const override { return m_area; }
    std::uint64_t cost() const override { return m_cost; }
    void row(int y, std::vector<int>& out) override {
        out.clear();
        if (y < m_area.top || y >= m_area.bottom)
            return;
        const std::uint8_t* p = m_bits.data() + std::size_t(y - m_area.top) * std::size_t(m_area.width());
        bool inside = false;
        for (int x = 0; x < m_area.width(); ++x) {
            if ((p[x] != 0) != inside) {
                out.push_back(m_area.left + x);
                inside = !inside;
            }
        }
        if (inside)
            out.push_back(m_area.right);
    }

private:
    PictRect m_area;
    std::vector<std::uint8_t> m_bits;
    std::uint64_t m_cost; // the work it took to make the flags
};

// Shrinks the runs of 1s in `count` flags by `by` at each end.
void erodeRuns(std::uint8_t* p, int count, int by) {
    int i = 0;
    while (i < count) {
        if (p[i] == 0) {
            ++i;
            continue;
        }
        int j = i;
        while (j < count && p[j] != 0)
            ++j;
        for (int k = i; k < j; ++k)
            if (k < i + by || k >= j - by)
                p[k] = 0;
        i = j;
    }
}

} // namespace

namespace PictShapes {

std::unique_ptr<PictShape> rect(const PictRect& r) {
    return std::make_unique<RectShape>(r);
}
std::unique_ptr<PictShape> oval(const PictRect& r) {
    return std::make_unique<OvalShape>(r);
}
std::unique_ptr<PictShape> roundRect(const PictRect& r, int ovalWidth, int ovalHeight) {
    return std::make_unique<RoundRectShape>(r, ovalWidth, ovalHeight);
}
std::unique_ptr<PictShape> arc(const PictRect& r, int startAngle, int arcAngle) {
    return std::make_unique<ArcShape>(r, startAngle, arcAngle);
}
std::unique_ptr<PictShape> polygon(const std::vector<Point>& points) {
    return std::make_unique<PolygonShape>(points);
}
std::unique_ptr<PictShape> line(Point from, Point to, int penWidth, int penHeight) {
    return std::make_unique<LineShape>(from, to, penWidth, penHeight);
}
std::unique_ptr<PictShape> region(const PictRegion& r) {
    return std::make_unique<RegionShape>(r);
}
std::unique_ptr<PictShape> difference(std::unique_ptr<PictShape> outer, std::unique_ptr<PictShape> inner) {
    return std::make_unique<DifferenceShape>(std::move(outer), std::move(inner));
}

std::unique_ptr<PictShape> regionFrame(const PictRegion& r, int penWidth, int penHeight,
                                       const PictRect& window, std::uint64_t maxPixels) {
    const PictRect rb = r.bounds();
    const PictRect visible = window.intersected(rb);
    if (visible.isEmpty() || penWidth <= 0 || penHeight <= 0)
        return rect(PictRect{});
    // A pen at least half the region's size leaves nothing inside: the whole region is the frame.
    if (2 * std::int64_t{penWidth} >= rb.width() || 2 * std::int64_t{penHeight} >= rb.height())
        return region(r);
    // A rectangular region is framed like its rectangle.
    if (r.isRectangular())
        return difference(rect(rb), rect(PictRect{rb.top + penHeight, rb.left + penWidth,
                                                  rb.bottom - penHeight, rb.right - penWidth}));
    const PictRect area = PictRect{visible.top - penHeight, visible.left - penWidth,
                                   visible.bottom + penHeight, visible.right + penWidth}
                              .intersected(rb);
    const std::uint64_t pixels = std::uint64_t(area.width()) * std::uint64_t(area.height());
    if (pixels > maxPixels)
        return nullptr;
    const int w = area.width();
    std::vector<std::uint8_t> inside(static_cast<std::size_t>(pixels), 0);
    RegionShape source(r);
    std::vector<int> spans;
    for (int y = area.top; y < area.bottom; ++y) {
        source.row(y, spans);
        PictSpans::clip(spans, area.left, area.right);
        std::uint8_t* p = inside.data() + std::size_t(y - area.top) * std::size_t(w);
        for (std::size_t k = 0; k + 1 < spans.size(); k += 2)
            std::fill(p + (spans[k] - area.left), p + (spans[k + 1] - area.left), std::uint8_t{1});
    }
    std::vector<std::uint8_t> inset = inside;
    for (int y = 0; y < area.height(); ++y)
        erodeRuns(inset.data() + std::size_t(y) * std::size_t(w), w, penWidth);
    // Vertically, row by row: a pixel stays when the run of pixels through it in its column
    // reaches penHeight above and below it (counts from above, then from below).
    const int h = area.height();
    const auto cap = static_cast<std::uint16_t>(std::min(penHeight + 1, 0xFFFF));
    std::vector<std::uint16_t> above(static_cast<std::size_t>(pixels), 0);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const std::size_t i = std::size_t(y) * std::size_t(w) + std::size_t(x);
            if (inset[i])
                above[i] =
                    y == 0 ? 1
                           : static_cast<std::uint16_t>(std::min<int>(above[i - std::size_t(w)] + 1, cap));
        }
    std::vector<std::uint16_t> below(static_cast<std::size_t>(w), 0);
    for (int y = h - 1; y >= 0; --y)
        for (int x = 0; x < w; ++x) {
            const std::size_t i = std::size_t(y) * std::size_t(w) + std::size_t(x);
            auto& down = below[static_cast<std::size_t>(x)];
            down = inset[i] ? static_cast<std::uint16_t>(std::min<int>(down + 1, cap)) : 0;
            const bool stays = inset[i] && above[i] >= cap && down >= cap;
            inside[i] = static_cast<std::uint8_t>(inside[i] && !stays);
        }
    // Building the outline visits every pixel of the area several times over.
    return std::make_unique<BitmapShape>(area, std::move(inside), 8 * pixels + source.cost());
}

std::unique_ptr<PictShape> mask(int left, int top, int width, int height,
                                std::vector<std::uint8_t> coverage) {
    if (width <= 0 || height <= 0 || coverage.size() < std::size_t(width) * std::size_t(height))
        return rect(PictRect{});
    for (auto& c : coverage)
        c = c >= 128 ? 1 : 0;
    return std::make_unique<BitmapShape>(PictRect{top, left, top + height, left + width}, std::move(coverage),
                                         0);
}

} // namespace PictShapes

} // namespace gfx
