// libFuzzer target for the PICT decoder: both entry points, with a JPEG decoder that accepts
// any stream as a tiny image so the QuickTime placement and placeholder paths are reached, and a
// text renderer that draws blocks so text runs are placed and charged.
#include "graphics/core/PictDecoder.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <span>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const std::uint8_t> bytes(data, size);
    gfx::PictOptions options;
    options.jpegDecoder = [](std::span<const std::uint8_t> jpeg) {
        if (jpeg.size() < 4)
            return gfx::ImageResult::failure("short");
        gfx::RgbImage img(1 + jpeg[3] % 16, 1 + jpeg.size() % 16);
        return gfx::ImageResult{std::move(img), {}};
    };
    // Text runs come back as a block of the size asked for, within the allowance, so the text
    // placement and its budget are reached.
    options.textRenderer = [](const gfx::PictTextRun& run, std::size_t maxPixels) {
        gfx::PictTextMask mask;
        mask.width = std::max(1, run.size / 2) * static_cast<int>(std::min<std::size_t>(run.text.size(), 8));
        mask.height = std::max(1, run.size);
        mask.top = -mask.height;
        if (std::size_t(mask.width) * std::size_t(mask.height) > maxPixels)
            return gfx::PictTextMask{};
        mask.coverage.assign(std::size_t(mask.width) * std::size_t(mask.height), 255);
        return mask;
    };
    for (const auto& result : {gfx::decodePict(bytes, options), gfx::decodePictFile(bytes)}) {
        // An image comes with no message and a full buffer; a failure always says why.
        if (result.ok() != result.error.empty())
            __builtin_trap();
        if (result.ok() && result.image.pixels.size() !=
                               std::size_t(result.image.width) * std::size_t(result.image.height) * 3)
            __builtin_trap();
    }
    (void)gfx::readPictInfo(bytes);
    return 0;
}
