#include "map/MapPainting.h"

namespace MapPainting {

gfx::Rgb16View rgb16View(QImage& rgb16) {
    if (rgb16.isNull() || rgb16.format() != QImage::Format_RGB16)
        return {};
    // bits() detaches a shared picture first, so drawing never reaches another QImage's pixels.
    auto* pixels = reinterpret_cast<std::uint16_t*>(rgb16.bits());
    return {pixels, rgb16.width(), rgb16.height(), static_cast<std::ptrdiff_t>(rgb16.bytesPerLine() / 2)};
}

void outlineBlock(QImage& rgb16, std::int64_t x, std::int64_t y, std::int64_t w, std::int64_t h,
                  QRgb colour) {
    gfx::outlineBlock(rgb16View(rgb16), x, y, w, h,
                      {static_cast<std::uint8_t>(qRed(colour)), static_cast<std::uint8_t>(qGreen(colour)),
                       static_cast<std::uint8_t>(qBlue(colour))});
}

void drawEntry(QImage& rgb16, std::int32_t x1, std::int32_t y1, std::int32_t x2, std::int32_t y2,
               bool highlighted, QPoint origin) {
    gfx::drawMark(rgb16View(rgb16), {x1, y1, x2, y2, highlighted}, origin.x(), origin.y());
}

} // namespace MapPainting
