#pragma once

#include <QPoint>
#include <QPointF>
#include <QRect>
#include <QSize>

#include <array>

// Where map pixels appear in the canvas: the one conversion between map pixels and the canvas's
// view pixels (logical pixels, origin top left), used by painting, the mouse, the read-out and
// the tests. At zoom z map pixel (x, y) covers the z x z view square whose top-left view pixel
// is (x * z - scrollX, y * z - scrollY); the scroll is in view pixels and never shows more
// than the map's extent. At zoom 1 with no scroll both are the same, the canvas's old contract.
class MapView {
public:
    static constexpr std::array<int, 6> kLevels{1, 2, 3, 4, 6, 8};

    // `extent`: the map pixels that can be shown (the canvas's map area at zoom 1);
    // `viewport`: the view pixels that show them (the canvas less its scroll bars).
    void setExtent(QSize extent);
    void setViewport(QSize viewport);
    QSize extent() const { return m_extent; }
    QSize viewport() const { return m_viewport; }

    int zoom() const { return m_zoom; }
    QPoint scroll() const { return m_scroll; }
    // The map at zoom, in view pixels.
    QSize contentSize() const { return m_extent * m_zoom; }
    // The largest scroll that still fills the viewport; (0, 0) where the map fits.
    QPoint maxScroll() const;

    // The map pixel under view point `view` (fractional on scaled screens); may lie outside
    // the extent.
    QPoint mapPixelAt(QPointF view) const;
    // The view square of map pixel `map`.
    QRect viewRectOf(QPoint map) const;

    // Both clamp the scroll to [0, maxScroll()].
    void setScroll(QPoint scroll);
    void scrollBy(QPoint delta) { setScroll(m_scroll + delta); }

    // Changes the zoom (a level of kLevels; another value is ignored) keeping the map pixel under
    // view point `anchor` under it, as far as the scroll range allows.
    void zoomAt(int zoom, QPointF anchor);
    // Changes the zoom keeping the top-left visible map pixel at the top left.
    void zoomKeepingTopLeft(int zoom);

    // The neighbouring levels; the same level at either end.
    static int levelAbove(int zoom);
    static int levelBelow(int zoom);
    static bool isLevel(int zoom);

private:
    QSize m_extent;
    QSize m_viewport;
    int m_zoom = 1;
    QPoint m_scroll;
};
