#include "graphics/QtImageGlue.h"

#include "graphics/QtPictText.h"
#include "graphics/core/JpegDecoder.h"

#include <QBuffer>
#include <QByteArray>
#include <QImageReader>

#include <cstring>
#include <limits>
#include <new>

QImage toQImage(const gfx::RgbImage& image) {
    if (image.isNull() || image.pixels.size() < static_cast<std::size_t>(image.width) *
                                                    static_cast<std::size_t>(image.height) * 3u)
        return {};
    QImage result(image.width, image.height, QImage::Format_RGB888);
    if (result.isNull())
        return {};
    const auto rowBytes = static_cast<std::size_t>(image.width) * 3u;
    for (int y = 0; y < image.height; ++y)
        std::memcpy(result.scanLine(y), image.row(y), rowBytes);
    return result;
}

gfx::RgbImage toRgbImage(const QImage& image) {
    if (image.isNull())
        return {};
    const QImage rgb = image.convertToFormat(QImage::Format_RGB888);
    if (rgb.isNull())
        return {};
    gfx::RgbImage result;
    try {
        result = gfx::RgbImage(rgb.width(), rgb.height());
    } catch (const std::bad_alloc&) {
        return {};
    }
    const auto rowBytes = static_cast<std::size_t>(rgb.width()) * 3u;
    for (int y = 0; y < rgb.height(); ++y)
        std::memcpy(result.row(y), rgb.constScanLine(y), rowBytes);
    return result;
}

gfx::ImageResult decodeWithQt(std::span<const std::uint8_t> bytes) {
    if (bytes.empty())
        return gfx::ImageResult::failure("the file is empty");
    if (bytes.size() > static_cast<std::size_t>(std::numeric_limits<int>::max()))
        return gfx::ImageResult::failure("the file is too large");
    // The bytes outlive the reader, so a view without copying is enough.
    QByteArray data = QByteArray::fromRawData(reinterpret_cast<const char*>(bytes.data()),
                                              static_cast<qsizetype>(bytes.size()));
    QBuffer buffer(&data);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    reader.setAutoTransform(true);
    // QImageReader's allocation limit stays in force: a header that claims a gigantic picture fails
    // instead of allocating it.
    const QImage image = reader.read();
    if (image.isNull())
        return gfx::ImageResult::failure(reader.errorString().toStdString());
    gfx::ImageResult result;
    result.image = toRgbImage(image);
    if (result.image.isNull())
        return gfx::ImageResult::failure("no memory for the picture");
    return result;
}

gfx::PictureDecoders qtPictureDecoders() {
    gfx::PictureDecoders decoders;
    decoders.pict.jpegDecoder = gfx::decodeJpeg; // the one JPEG path, shared with the tool
    decoders.pict.textRenderer = qtPictTextRenderer();
    decoders.foreignDecoder = decodeWithQt;
    return decoders;
}
