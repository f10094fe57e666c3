// mapquill-qtimage: Qt's image readers for mapquill-tool, behind the C interface of QtImageAbi.h.
#include "QtImageAbi.h"

#include <QBuffer>
#include <QByteArray>
#include <QImage>
#include <QImageReader>

#include <cstring>
#include <limits>
#include <string>

#if defined(_WIN32)
#define MQ_MODULE_EXPORT __declspec(dllexport)
#else
#define MQ_MODULE_EXPORT __attribute__((visibility("default")))
#endif

namespace {

int fail(const std::string& why, char* error, std::size_t errorSize) {
    if (error && errorSize > 0) {
        const std::size_t n = std::min(why.size(), errorSize - 1);
        std::memcpy(error, why.data(), n);
        error[n] = '\0';
    }
    return 0;
}

} // namespace

extern "C" MQ_MODULE_EXPORT int mapquill_qtimage_abi(void) {
    return kMapquillQtImageAbi;
}

extern "C" MQ_MODULE_EXPORT int mapquill_qtimage_decode(const unsigned char* bytes, std::size_t size,
                                                        MapquillQtImageAllocate allocate, void* context,
                                                        char* error, std::size_t errorSize) {
    if (!bytes || size == 0)
        return fail("the file is empty", error, errorSize);
    if (size > static_cast<std::size_t>(std::numeric_limits<int>::max()))
        return fail("the file is too large", error, errorSize);
    try {
        // The caller's bytes outlive the reader, so a view without copying is enough.
        QByteArray data =
            QByteArray::fromRawData(reinterpret_cast<const char*>(bytes), static_cast<qsizetype>(size));
        QBuffer buffer(&data);
        buffer.open(QIODevice::ReadOnly);
        QImageReader reader(&buffer);
        reader.setAutoTransform(true);
        // QImageReader's allocation limit stays in force: a header that claims a gigantic
        // picture fails instead of allocating it.
        const QImage image = reader.read();
        if (image.isNull())
            return fail(reader.errorString().toStdString(), error, errorSize);
        const QImage rgb = image.convertToFormat(QImage::Format_RGB888);
        if (rgb.isNull())
            return fail("no memory for the picture", error, errorSize);
        unsigned char* out = allocate(context, rgb.width(), rgb.height());
        if (!out)
            return fail("no memory for the picture", error, errorSize);
        const auto rowBytes = static_cast<std::size_t>(rgb.width()) * 3u;
        for (int y = 0; y < rgb.height(); ++y)
            std::memcpy(out + static_cast<std::size_t>(y) * rowBytes, rgb.constScanLine(y), rowBytes);
        return 1;
    } catch (...) { // nothing may unwind into the tool through the C interface
        return fail("no memory for the picture", error, errorSize);
    }
}
