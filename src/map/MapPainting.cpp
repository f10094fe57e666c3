#include "map/MapPainting.h"

#include <algorithm>

namespace MapPainting {

namespace {

// The 5-6-5 value Qt itself stores for an opaque colour in Format_RGB16.
quint16 toRgb16(QRgb colour) {
    return static_cast<quint16>(((qRed(colour) >> 3) << 11) | ((qGreen(colour) >> 2) << 5) |
                                (qBlue(colour) >> 3));
}

void horizontalRun(QImage& image, std::int64_t y, std::int64_t x1, std::int64_t x2, quint16 pixel) {
    if (y < 0 || y >= image.height())
        return;
    x1 = std::max<std::int64_t>(x1, 0);
    x2 = std::min<std::int64_t>(x2, image.width() - 1);
    if (x1 > x2)
        return;
    auto* line = reinterpret_cast<quint16*>(image.scanLine(static_cast<int>(y)));
    std::fill(line + x1, line + x2 + 1, pixel);
}

void verticalRun(QImage& image, std::int64_t x, std::int64_t y1, std::int64_t y2, quint16 pixel) {
    if (x < 0 || x >= image.width())
        return;
    y1 = std::max<std::int64_t>(y1, 0);
    y2 = std::min<std::int64_t>(y2, image.height() - 1);
    for (std::int64_t y = y1; y <= y2; ++y)
        reinterpret_cast<quint16*>(image.scanLine(static_cast<int>(y)))[x] = pixel;
}

} // namespace

void outlineBlock(QImage& rgb16, std::int64_t x, std::int64_t y, std::int64_t w, std::int64_t h,
                  QRgb colour) {
    if (w < 1 || h < 1 || rgb16.format() != QImage::Format_RGB16)
        return;
    const quint16 pixel = toRgb16(colour);
    const std::int64_t right = x + w - 1;
    const std::int64_t bottom = y + h - 1;
    horizontalRun(rgb16, y, x, right, pixel);
    horizontalRun(rgb16, bottom, x, right, pixel);
    verticalRun(rgb16, x, y, bottom, pixel);
    verticalRun(rgb16, right, y, bottom, pixel);
}

void drawEntry(QImage& rgb16, std::int32_t x1, std::int32_t y1, std::int32_t x2, std::int32_t y2,
               bool highlighted) {
    if (x1 == 0 || y1 == 0 || x2 == 0 || y2 == 0)
        return;
    if (x1 == x2 && y1 == y2) {
        if (highlighted)
            outlineBlock(rgb16, std::int64_t{x1} - 3, std::int64_t{y1} - 3, 6, 6, kHaloColour);
        outlineBlock(rgb16, std::int64_t{x1} - 1, std::int64_t{y1} - 1, 2, 2, kPointColour);
        return;
    }
    const std::int64_t left = std::min(x1, x2);
    const std::int64_t top = std::min(y1, y2);
    outlineBlock(rgb16, left, top, std::int64_t{std::max(x1, x2)} - left + 1,
                 std::int64_t{std::max(y1, y2)} - top + 1, highlighted ? kHighlightedColour : kVisibleColour);
}

} // namespace MapPainting
