#include "graphics/QtImageGlue.h"

QImage toQImage(const gfx::RgbImage& image) {
    if (image.isNull())
        return {};
    QImage result(image.width, image.height, QImage::Format_RGB888);
    if (result.isNull())
        return {};
    const auto rowBytes = static_cast<std::size_t>(image.width) * 3u;
    for (int y = 0; y < image.height; ++y)
        std::memcpy(result.scanLine(y), image.row(y), rowBytes);
    return result;
}
