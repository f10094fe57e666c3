#pragma once

#include "TestFiles.h"
#include "graphics/core/RgbImage.h"

#include <QBuffer>
#include <QByteArray>
#include <QImage>
#include <QImageReader>

#include <algorithm>
#include <cstdint>
#include <span>
#include <string>

namespace codectest {

// What Qt's readers make of some bytes (orientation applied when `upright`), as RGB; null when
// Qt cannot read them.
inline gfx::RgbImage readWithQt(std::span<const std::uint8_t> bytes, bool upright = false) {
    QByteArray data(reinterpret_cast<const char*>(bytes.data()), static_cast<qsizetype>(bytes.size()));
    QBuffer buffer(&data);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    reader.setAutoTransform(upright);
    const QImage image = reader.read().convertToFormat(QImage::Format_RGB888);
    if (image.isNull())
        return {};
    gfx::RgbImage out(image.width(), image.height());
    for (int y = 0; y < image.height(); ++y)
        std::copy_n(image.constScanLine(y), static_cast<std::size_t>(image.width()) * 3, out.row(y));
    return out;
}

inline std::vector<std::uint8_t> jpegFixture(const std::string& name) {
    return testfiles::readBytes(testfiles::kData / "jpeg" / name);
}

} // namespace codectest
