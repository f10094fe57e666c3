// libFuzzer target for the PICT decoder: both entry points, with a JPEG decoder that accepts
// any stream as a tiny image so the QuickTime placement and placeholder paths are reached.
#include "graphics/core/PictDecoder.h"

#include <cstddef>
#include <cstdint>
#include <span>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::span<const std::uint8_t> bytes(data, size);
    gfx::PictOptions options;
    options.jpegDecoder = [](std::span<const std::uint8_t> jpeg) {
        if (jpeg.size() < 4)
            return gfx::ImageResult::failure("short");
        gfx::RgbImage img(1 + jpeg[3] % 16, 1 + jpeg.size() % 16);
        return gfx::ImageResult{std::move(img), {}};
    };
    for (const auto& result : {gfx::decodePict(bytes, options), gfx::decodePictFile(bytes)}) {
        // An image comes with no message and a full buffer; a failure always says why.
        if (result.ok() != result.error.empty())
            __builtin_trap();
        if (result.ok()
            && result.image.pixels.size() != std::size_t(result.image.width) * std::size_t(result.image.height) * 3)
            __builtin_trap();
    }
    (void)gfx::readPictInfo(bytes);
    return 0;
}
