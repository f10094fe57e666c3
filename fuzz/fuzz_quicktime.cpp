// libFuzzer target for the QuickTime codecs behind PICT opcode 0x8200. The first byte picks the
// codec, the next three the described width, height and depth; the rest is the image data. Each
// own decoder and each library-backed one (PNG, TIFF, GIF) is reached this way.
#include "graphics/core/quicktime/QuickTimeCodecs.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static constexpr std::array<std::array<char, 4>, 10> kCodecs{{{'r', 'a', 'w', ' '},
                                                                  {'p', 'n', 'g', ' '},
                                                                  {'t', 'i', 'f', 'f'},
                                                                  {'g', 'i', 'f', ' '},
                                                                  {'W', 'R', 'L', 'E'},
                                                                  {'r', 'l', 'e', ' '},
                                                                  {'s', 'm', 'c', ' '},
                                                                  {'r', 'p', 'z', 'a'},
                                                                  {'c', 'v', 'i', 'd'},
                                                                  {'8', 'B', 'P', 'S'}}};
    static constexpr std::array<int, 11> kDepths{1, 2, 4, 8, 16, 24, 32, 33, 34, 36, 40};
    if (size < 4)
        return 0;
    gfx::quicktime::ImageDescription d;
    d.codec = kCodecs[data[0] % kCodecs.size()];
    d.width = 1 + data[1] % 64;
    d.height = 1 + data[2] % 64;
    d.depth = kDepths[data[3] % kDepths.size()];
    d.palette = gfx::quicktime::defaultPalette(d.depth);
    gfx::quicktime::DecodeOptions options;
    options.maxPixels = 64 * 64;
    const auto result = gfx::quicktime::decode(d, std::span(data + 4, size - 4), options);
    // An image comes with no message, a full buffer and at most the described size; a failure
    // always says why.
    if (result.ok() != result.error.empty())
        __builtin_trap();
    if (result.ok() && (result.image.width > d.width || result.image.height > d.height ||
                        result.image.pixels.size() !=
                            std::size_t(result.image.width) * std::size_t(result.image.height) * 3))
        __builtin_trap();
    return 0;
}
