#include "map/MapView.h"

#include <algorithm>
#include <cmath>

namespace {

// Floor division for view points left of or above the map (negative numerators).
int floorDiv(double value, int divisor) {
    return static_cast<int>(std::floor(value / divisor));
}

} // namespace

void MapView::setExtent(QSize extent) {
    m_extent = extent.expandedTo(QSize(0, 0));
    setScroll(m_scroll);
}

void MapView::setViewport(QSize viewport) {
    m_viewport = viewport.expandedTo(QSize(0, 0));
    setScroll(m_scroll);
}

QPoint MapView::maxScroll() const {
    const QSize content = contentSize();
    return {std::max(0, content.width() - m_viewport.width()),
            std::max(0, content.height() - m_viewport.height())};
}

QPoint MapView::mapPixelAt(QPointF view) const {
    return {floorDiv(view.x() + m_scroll.x(), m_zoom), floorDiv(view.y() + m_scroll.y(), m_zoom)};
}

QRect MapView::viewRectOf(QPoint map) const {
    return {map.x() * m_zoom - m_scroll.x(), map.y() * m_zoom - m_scroll.y(), m_zoom, m_zoom};
}

void MapView::setScroll(QPoint scroll) {
    const QPoint most = maxScroll();
    m_scroll = {std::clamp(scroll.x(), 0, most.x()), std::clamp(scroll.y(), 0, most.y())};
}

void MapView::zoomAt(int zoom, QPointF anchor) {
    if (!isLevel(zoom) || zoom == m_zoom)
        return;
    // The anchor's place inside its map pixel is kept to the nearest view pixel, so the pixel
    // under it stays the same one at every level.
    const double atX = (anchor.x() + m_scroll.x()) / m_zoom;
    const double atY = (anchor.y() + m_scroll.y()) / m_zoom;
    const int pixelX = static_cast<int>(std::floor(atX));
    const int pixelY = static_cast<int>(std::floor(atY));
    const int insideX = static_cast<int>(std::floor((atX - pixelX) * zoom));
    const int insideY = static_cast<int>(std::floor((atY - pixelY) * zoom));
    const int anchorX = static_cast<int>(std::floor(anchor.x()));
    const int anchorY = static_cast<int>(std::floor(anchor.y()));
    m_zoom = zoom;
    setScroll({pixelX * zoom + insideX - anchorX, pixelY * zoom + insideY - anchorY});
}

void MapView::zoomKeepingTopLeft(int zoom) {
    if (!isLevel(zoom) || zoom == m_zoom)
        return;
    const QPoint topLeft = mapPixelAt(QPointF(0, 0));
    m_zoom = zoom;
    setScroll(topLeft * zoom);
}

bool MapView::isLevel(int zoom) {
    return std::find(kLevels.begin(), kLevels.end(), zoom) != kLevels.end();
}

int MapView::levelAbove(int zoom) {
    for (const int level : kLevels)
        if (level > zoom)
            return level;
    return kLevels.back();
}

int MapView::levelBelow(int zoom) {
    for (auto it = kLevels.rbegin(); it != kLevels.rend(); ++it)
        if (*it < zoom)
            return *it;
    return kLevels.front();
}
