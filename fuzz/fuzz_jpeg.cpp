// Arbitrary bytes as a JPEG file, through the program's glue around libjpeg-turbo (size limits,
// the Exif orientation reader, the turn) and on into the PNG writer, as `mapquill-tool map` does:
// each step either fails with a message or yields a picture whose pixel buffer matches its size.
#include "graphics/core/JpegDecoder.h"
#include "graphics/core/PngWriter.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const std::uint8_t> input(data, size);
    const int orientation = gfx::jpegExifOrientation(input);
    if (orientation < 1 || orientation > 8)
        std::abort();
    const gfx::ImageResult result = gfx::decodeJpegFile(input);
    if (!result.ok()) {
        if (result.error.empty())
            std::abort();
        return 0;
    }
    const gfx::RgbImage& image = result.image;
    if (image.pixels.size() !=
        static_cast<std::size_t>(image.width) * static_cast<std::size_t>(image.height) * 3u)
        std::abort();
    // Small pictures only: the writer's own cost is not what is fuzzed here.
    if (static_cast<std::size_t>(image.width) * static_cast<std::size_t>(image.height) <= 64u * 1024u) {
        const gfx::PngBytes png = gfx::encodePng(image);
        if (!png.ok() || png.bytes.size() < 8)
            std::abort();
    }
    return 0;
}
