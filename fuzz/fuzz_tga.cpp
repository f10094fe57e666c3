// Arbitrary bytes as a TGA file: decoding either fails with a message or yields a picture whose
// pixel buffer matches its size.
#include "graphics/core/TgaDecoder.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const std::uint8_t> input(data, size);
    (void)gfx::TgaDecoder::looksLikeTga(input);
    const gfx::ImageResult result = gfx::TgaDecoder::decode(input);
    if (result.ok() && result.image.pixels.size() != static_cast<std::size_t>(result.image.width) *
                                                         static_cast<std::size_t>(result.image.height) * 3u)
        std::abort();
    if (!result.ok() && result.error.empty())
        std::abort();
    return 0;
}
