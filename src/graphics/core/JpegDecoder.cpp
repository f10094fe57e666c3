#include "graphics/core/JpegDecoder.h"

#include <cstring>
#include <limits>
#include <memory>
#include <new>
#include <string>

#if MQ_IMAGE_LIBRARIES
#include <turbojpeg.h>
#endif

namespace gfx {

namespace {

std::uint16_t u16(const std::uint8_t* p, bool bigEndian) {
    return static_cast<std::uint16_t>(bigEndian ? (p[0] << 8) | p[1] : (p[1] << 8) | p[0]);
}

std::uint32_t u32(const std::uint8_t* p, bool bigEndian) {
    return bigEndian
               ? (std::uint32_t{p[0]} << 24) | (std::uint32_t{p[1]} << 16) | (std::uint32_t{p[2]} << 8) | p[3]
               : (std::uint32_t{p[3]} << 24) | (std::uint32_t{p[2]} << 16) | (std::uint32_t{p[1]} << 8) |
                     p[0];
}

// The orientation entry of the first image directory of an Exif block ("Exif\0\0" + TIFF).
int orientationInExif(std::span<const std::uint8_t> exif) {
    constexpr std::size_t kExifHeader = 6;
    if (exif.size() < kExifHeader + 8 || std::memcmp(exif.data(), "Exif\0\0", kExifHeader) != 0)
        return 1;
    const std::span<const std::uint8_t> tiff = exif.subspan(kExifHeader);
    bool bigEndian = false;
    if (std::memcmp(tiff.data(), "MM\0*", 4) == 0)
        bigEndian = true;
    else if (std::memcmp(tiff.data(), "II*\0", 4) != 0)
        return 1;
    const std::uint32_t directory = u32(tiff.data() + 4, bigEndian);
    if (directory > tiff.size() || tiff.size() - directory < 2)
        return 1;
    const std::size_t entries = u16(tiff.data() + directory, bigEndian);
    constexpr std::size_t kEntrySize = 12;
    for (std::size_t i = 0; i < entries; ++i) {
        const std::size_t at = directory + 2 + i * kEntrySize;
        if (at + kEntrySize > tiff.size())
            return 1;
        const std::uint8_t* entry = tiff.data() + at;
        constexpr std::uint16_t kOrientationTag = 0x0112;
        constexpr std::uint16_t kShortType = 3;
        if (u16(entry, bigEndian) != kOrientationTag)
            continue;
        if (u16(entry + 2, bigEndian) != kShortType || u32(entry + 4, bigEndian) != 1)
            return 1;
        const int value = u16(entry + 8, bigEndian);
        return value >= 1 && value <= 8 ? value : 1;
    }
    return 1;
}

#if MQ_IMAGE_LIBRARIES
struct HandleCloser {
    void operator()(void* handle) const { tjDestroy(handle); }
};
#endif

} // namespace

bool jpegDecodingAvailable() {
    return MQ_IMAGE_LIBRARIES != 0;
}

int jpegExifOrientation(std::span<const std::uint8_t> jpeg) {
    if (jpeg.size() < 4 || jpeg[0] != 0xFF || jpeg[1] != 0xD8)
        return 1;
    // Exif sits in an APP1 segment among the markers before the first scan.
    std::size_t at = 2;
    while (at + 4 <= jpeg.size()) {
        if (jpeg[at] != 0xFF)
            return 1;
        const std::uint8_t marker = jpeg[at + 1];
        if (marker == 0xFF) { // fill byte
            ++at;
            continue;
        }
        constexpr std::uint8_t kStartOfScan = 0xDA;
        if (marker == kStartOfScan || marker == 0xD9)
            return 1;
        const std::size_t length = u16(jpeg.data() + at + 2, true);
        if (length < 2 || at + 2 + length > jpeg.size())
            return 1;
        constexpr std::uint8_t kApp1 = 0xE1;
        if (marker == kApp1) {
            const int orientation = orientationInExif(jpeg.subspan(at + 4, length - 2));
            if (orientation != 1)
                return orientation;
        }
        at += 2 + length;
    }
    return 1;
}

RgbImage applyExifOrientation(const RgbImage& image, int orientation) {
    if (orientation < 2 || orientation > 8 || image.isNull())
        return image;
    const int w = image.width;
    const int h = image.height;
    const bool swapsSides = orientation >= 5;
    RgbImage out(swapsSides ? h : w, swapsSides ? w : h);
    for (int y = 0; y < out.height; ++y) {
        std::uint8_t* to = out.row(y);
        for (int x = 0; x < out.width; ++x, to += 3) {
            // Where the output pixel (x, y) was in the stored picture.
            int sx = x;
            int sy = y;
            switch (orientation) {
            case 2:
                sx = w - 1 - x;
                break; // mirrored left-right
            case 3:
                sx = w - 1 - x;
                sy = h - 1 - y;
                break; // turned 180 degrees
            case 4:
                sy = h - 1 - y;
                break; // mirrored top-bottom
            case 5:
                sx = y;
                sy = x;
                break; // transposed
            case 6:
                sx = y;
                sy = h - 1 - x;
                break; // to be turned 90 degrees clockwise
            case 7:
                sx = w - 1 - y;
                sy = h - 1 - x;
                break; // transversed
            case 8:
                sx = w - 1 - y;
                sy = x;
                break; // to be turned 90 degrees anticlockwise
            default:
                break;
            }
            std::memcpy(to, image.row(sy) + static_cast<std::size_t>(sx) * 3u, 3);
        }
    }
    return out;
}

ImageResult decodeJpeg(std::span<const std::uint8_t> jpeg) {
#if MQ_IMAGE_LIBRARIES
    if (jpeg.size() < 4 || jpeg[0] != 0xFF || jpeg[1] != 0xD8)
        return ImageResult::failure("not a JPEG stream");
    if constexpr (sizeof(unsigned long) < sizeof(std::size_t)) { // 64-bit Windows
        if (jpeg.size() > std::numeric_limits<unsigned long>::max())
            return ImageResult::failure("the JPEG stream is too large");
    }
    const std::unique_ptr<void, HandleCloser> handle(tjInitDecompress());
    if (!handle)
        return ImageResult::failure("no memory for the JPEG decoder");
    const auto size = static_cast<unsigned long>(jpeg.size());
    int width = 0;
    int height = 0;
    int subsampling = 0;
    int colourSpace = 0;
    if (tjDecompressHeader3(handle.get(), jpeg.data(), size, &width, &height, &subsampling, &colourSpace) !=
        0)
        return ImageResult::failure(std::string("the JPEG header cannot be read: ") +
                                    tjGetErrorStr2(handle.get()));
    if (width <= 0 || height <= 0)
        return ImageResult::failure("the JPEG header cannot be read: it gives no picture size");
    if (width > kMaxJpegSide || height > kMaxJpegSide ||
        static_cast<std::int64_t>(width) * height > kMaxJpegPixels)
        return ImageResult::failure("the JPEG picture is too large (" + std::to_string(width) + " x " +
                                    std::to_string(height) + ")");

    // The library turns every colour space but CMYK into RGB itself. CMYK (Adobe's, stored
    // inverted) is turned into RGB here the way Qt's reader does it.
    const bool cmyk = colourSpace == TJCS_CMYK || colourSpace == TJCS_YCCK;
    ImageResult result;
    std::vector<std::uint8_t> cmykPixels;
    try {
        result.image = RgbImage(width, height);
        if (cmyk)
            cmykPixels.resize(static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 4u);
    } catch (const std::bad_alloc&) {
        return ImageResult::failure("no memory for the JPEG picture");
    }
    unsigned char* target = cmyk ? cmykPixels.data() : result.image.pixels.data();
    if (tjDecompress2(handle.get(), jpeg.data(), size, target, width, 0, height, cmyk ? TJPF_CMYK : TJPF_RGB,
                      0) != 0 &&
        tjGetErrorCode(handle.get()) != TJERR_WARNING)
        return ImageResult::failure(std::string("the JPEG data cannot be decoded: ") +
                                    tjGetErrorStr2(handle.get()));
    if (cmyk) {
        const std::uint8_t* from = cmykPixels.data();
        std::uint8_t* to = result.image.pixels.data();
        for (std::size_t i = 0, n = static_cast<std::size_t>(width) * static_cast<std::size_t>(height); i < n;
             ++i, from += 4, to += 3) {
            const unsigned k = from[3];
            to[0] = static_cast<std::uint8_t>(k * from[0] / 255u);
            to[1] = static_cast<std::uint8_t>(k * from[1] / 255u);
            to[2] = static_cast<std::uint8_t>(k * from[2] / 255u);
        }
    }
    return result;
#else
    (void)jpeg;
    return ImageResult::failure("this build of the program has no JPEG decoder");
#endif
}

ImageResult decodeJpegFile(std::span<const std::uint8_t> file) {
    ImageResult decoded = decodeJpeg(file);
    if (decoded.ok()) {
        const int orientation = jpegExifOrientation(file);
        if (orientation != 1) {
            try {
                decoded.image = applyExifOrientation(decoded.image, orientation);
            } catch (const std::bad_alloc&) {
                return ImageResult::failure("no memory for the JPEG picture");
            }
        }
    }
    return decoded;
}

} // namespace gfx
