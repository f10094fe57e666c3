// 'WRLE': the pixel array of a Windows bitmap without its file and info headers. Rows run bottom
// to top, each padded to a multiple of four bytes; direct pixels are little-endian (B G R,
// x-R5-G5-B5, B G R x). When the data is not exactly one uncompressed bitmap long it is run-length
// encoded: RLE4 and RLE8 as Windows defines them, and the same scheme over whole 16/24/32-bit
// pixels for the deeper depths.
#include "graphics/core/ByteReader.h"
#include "graphics/core/quicktime/Codecs.h"

namespace gfx::quicktime {

namespace BmpRle {
constexpr std::uint8_t kEscape = 0;
constexpr std::uint8_t kEndOfLine = 0;
constexpr std::uint8_t kEndOfBitmap = 1;
constexpr std::uint8_t kDelta = 2;
} // namespace BmpRle

namespace {

class BmpPixels {
public:
    BmpPixels(const ImageDescription& d, RgbImage& img) : m_d(d), m_img(img) {}

    // One pixel from `bytes` (the depth's own size, or an index for 1-8 bits) at (x, y), with y
    // counted from the bottom row.
    void put(int x, int y, const std::uint8_t* bytes, unsigned index) {
        std::uint8_t* out = m_img.row(m_img.height - 1 - y) + std::size_t(x) * 3;
        switch (m_d.depth) {
        case 16:
            put555(out, unsigned(bytes[1] << 8) | bytes[0]);
            break;
        case 24:
        case 32:
            out[0] = bytes[2];
            out[1] = bytes[1];
            out[2] = bytes[0];
            break;
        default:
            putColour(out, m_d.palette[index & 0xFFu]);
        }
    }

private:
    const ImageDescription& m_d;
    RgbImage& m_img;
};

ImageResult uncompressed(const ImageDescription& d, Bytes data, std::size_t stride) {
    RgbImage img(d.width, d.height);
    BmpPixels px(d, img);
    const int bits = d.depth;
    const unsigned mask = (1u << std::min(bits, 8)) - 1u;
    for (int y = 0; y < d.height; ++y) {
        const std::uint8_t* s = data.data() + std::size_t(y) * stride;
        for (int x = 0; x < d.width; ++x) {
            if (bits >= 16) {
                px.put(x, y, s + std::size_t(x) * std::size_t(bits / 8), 0);
            } else {
                const std::size_t bit = std::size_t(x) * std::size_t(bits);
                px.put(x, y, nullptr, (s[bit / 8] >> (8 - bits - int(bit % 8))) & mask);
            }
        }
    }
    return {std::move(img), {}};
}

ImageResult runLength(const ImageDescription& d, Bytes data) {
    using namespace BmpRle;
    RgbImage img = whiteImage(d.width, d.height);
    BmpPixels px(d, img);
    const bool nibbles = d.depth == 4;
    const std::size_t unit = d.depth >= 16 ? std::size_t(d.depth / 8) : 1;
    ByteReader r(data);
    int x = 0;
    int y = 0;
    auto fits = [&](unsigned count) {
        return y < d.height && std::size_t(x) + count <= std::size_t(d.width);
    };
    while (!r.atEnd()) {
        const std::uint8_t count = r.u8();
        const std::uint8_t value = r.u8();
        if (r.failed())
            break;
        if (count != kEscape) {
            if (!fits(count))
                return ImageResult::failure("a run reaches past its row");
            auto pixel = r.bytes(unit - 1);
            if (r.failed())
                break;
            std::uint8_t bytes[4] = {value, 0, 0, 0};
            std::copy(pixel.begin(), pixel.end(), bytes + 1);
            for (unsigned i = 0; i < count; ++i, ++x)
                px.put(x, y, bytes, nibbles ? ((i & 1u) ? value & 0x0Fu : value >> 4) : value);
            continue;
        }
        if (value == kEndOfLine) {
            x = 0;
            ++y;
        } else if (value == kEndOfBitmap) {
            return {std::move(img), {}};
        } else if (value == kDelta) {
            x += r.u8();
            y += r.u8();
            if (r.failed() || x > d.width || y > d.height)
                return ImageResult::failure("a position jump leaves the image");
        } else {
            if (!fits(value))
                return ImageResult::failure("literal pixels reach past their row");
            const std::size_t size = nibbles ? (value + 1u) / 2u : value * unit;
            auto bytes = r.bytes(size);
            if (r.failed())
                break;
            for (unsigned i = 0; i < value; ++i, ++x) {
                const std::uint8_t* p = bytes.data() + (nibbles ? i / 2 : i * unit);
                px.put(x, y, p, nibbles ? ((i & 1u) ? *p & 0x0Fu : *p >> 4) : *p);
            }
            // Literal runs end on a 16-bit boundary, except 24-bit ones, which writers leave unpadded.
            if ((size & 1u) && d.depth != 24)
                r.skip(1);
        }
    }
    return ImageResult::failure("run-length data is cut off before its end code");
}

} // namespace

ImageResult decodeBmp(const ImageDescription& d, Bytes data) {
    const int bits = d.depth;
    if (bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32)
        return ImageResult::failure("depth " + std::to_string(bits) + " does not occur in bitmaps");
    const std::size_t stride = ((std::size_t(d.width) * std::size_t(bits) + 31) / 32) * 4;
    if (data.size() == stride * std::size_t(d.height))
        return uncompressed(d, data, stride);
    if (bits == 1)
        return ImageResult::failure("pixel data is cut off");
    return runLength(d, data);
}

} // namespace gfx::quicktime
