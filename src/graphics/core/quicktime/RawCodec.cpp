// 'raw ': uncompressed pixels, rows top to bottom. Indexed and grey depths pack pixels from the
// high bits of each byte; 16-bit pixels are big-endian x-R5-G5-B5, 24-bit R G B, 32-bit A R G B
// (alpha unused by a QuickDraw copy).
#include "graphics/core/quicktime/Codecs.h"

namespace gfx::quicktime {

namespace {

bool supportedDepth(int depth) {
    switch (depth) {
    case 1:
    case 2:
    case 4:
    case 8:
    case 16:
    case 24:
    case 32:
    case 33:
    case 34:
    case 36:
    case 40:
        return true;
    default:
        return false;
    }
}

} // namespace

ImageResult decodeRaw(const ImageDescription& d, Bytes data) {
    if (!supportedDepth(d.depth))
        return ImageResult::failure("depth " + std::to_string(d.depth) +
                                    " is not an uncompressed pixel format");
    const int bits = d.bitsPerPixel();
    const std::size_t height = std::size_t(d.height);
    const std::size_t minRow = (std::size_t(d.width) * std::size_t(bits) + 7) / 8;
    // Writers store rows either tightly or padded to an even length, as QuickDraw's rowBytes are;
    // the data size tells which.
    std::size_t stride = minRow;
    if (data.size() != height * minRow && data.size() >= height * (minRow + (minRow & 1u)))
        stride = minRow + (minRow & 1u);
    if (data.size() < height * stride)
        return ImageResult::failure("pixel data is cut off (" + std::to_string(data.size()) + " of " +
                                    std::to_string(height * stride) + " bytes)");

    RgbImage img(d.width, d.height);
    const unsigned mask = (1u << std::min(bits, 8)) - 1u;
    for (int y = 0; y < d.height; ++y) {
        const std::uint8_t* s = data.data() + std::size_t(y) * stride;
        std::uint8_t* out = img.row(y);
        for (int x = 0; x < d.width; ++x, out += 3) {
            switch (bits) {
            case 16:
                put555(out, unsigned(s[2 * x] << 8) | s[2 * x + 1]);
                break;
            case 24:
                std::copy_n(s + 3 * x, 3, out);
                break;
            case 32:
                std::copy_n(s + 4 * x + 1, 3, out);
                break;
            default: {
                const std::size_t bit = std::size_t(x) * std::size_t(bits);
                const unsigned index = (s[bit / 8] >> (8 - bits - int(bit % 8))) & mask;
                putColour(out, d.palette[index]);
            }
            }
        }
    }
    return {std::move(img), {}};
}

} // namespace gfx::quicktime
