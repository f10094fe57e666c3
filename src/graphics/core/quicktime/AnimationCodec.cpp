// 'rle ' (Animation): a run-length code per row over whole pixels (16, 24, 32 bits) or over groups
// of pixels that fill four bytes (2, 4 and 8 bits; the group may reach past the right edge, into
// padding); 1-bit frames have a code stream of their own (decodeOneBit). A frame may change only a
// band of rows; rows and pixels it skips keep the picture's white.
#include "graphics/core/ByteReader.h"
#include "graphics/core/quicktime/Codecs.h"

namespace gfx::quicktime {

namespace AnimationLayout {
constexpr std::size_t kMinFrame = 8;       // size word + header word + at least one row's codes
constexpr std::uint16_t kHasBand = 0x0008; // header: first row and row count follow
constexpr std::int8_t kSkipCode = 0;       // next byte: pixels (groups) to skip, plus one
constexpr std::int8_t kEndOfRow = -1;
} // namespace AnimationLayout

namespace {

// 1 bit a pixel has a code stream of its own: byte pairs (skip, code) over units of 16 pixels.
// A skip with the high bit set starts the next row at 16 x (skip & 0x7F) pixels, otherwise it moves
// on by 16 x skip; code 0 ends the frame, -1 carries nothing, -n repeats the next two bytes n times
// and +n copies the next 2n bytes. The first pair of a frame starts its first row.
std::string decodeOneBit(const ImageDescription& d, ByteReader& r, int row, int rows, RgbImage& img) {
    constexpr int kUnitPixels = 16;
    const int unitsPerRow = (d.width + kUnitPixels - 1) / kUnitPixels;
    auto putUnit = [&](int y, int unit, const std::uint8_t* s) {
        for (int i = 0; i < kUnitPixels; ++i) {
            const int x = unit * kUnitPixels + i;
            if (x >= d.width)
                break;
            putColour(img.row(y) + x * 3, d.palette[(s[i / 8] >> (7 - i % 8)) & 1u]);
        }
    };
    int y = row - 1;
    int unit = 0;
    for (int rowsLeft = rows + 1; rowsLeft > 0;) {
        const std::uint8_t skip = r.u8();
        const auto code = static_cast<std::int8_t>(r.u8());
        if (r.failed())
            return "data is cut off in row " + std::to_string(y);
        if (code == 0)
            break;
        if (skip & 0x80u) {
            --rowsLeft;
            ++y;
            unit = skip & 0x7F;
        } else {
            unit += skip;
        }
        if (code == AnimationLayout::kEndOfRow)
            continue;
        const int count = code < 0 ? -code : code;
        if (y < row || y >= row + rows || unit + count > unitsPerRow)
            return "codes reach past the end of row " + std::to_string(y);
        const auto bytes = r.bytes(code < 0 ? 2u : 2u * std::size_t(count));
        if (r.failed())
            return "data is cut off in row " + std::to_string(y);
        for (int i = 0; i < count; ++i)
            putUnit(y, unit++, bytes.data() + (code < 0 ? 0 : 2 * i));
    }
    return {};
}

ImageResult decode(const ImageDescription& d, Bytes data) {
    using namespace AnimationLayout;
    const int bits = d.bitsPerPixel();
    if (bits != 1 && bits != 2 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32)
        return ImageResult::failure("depth " + std::to_string(d.depth) + " is not supported");
    // A unit is what one code counts: a whole pixel, or four bytes of packed pixels.
    const int unitBytes = bits >= 16 ? bits / 8 : 4;
    const int unitPixels = bits >= 16 ? 1 : 32 / bits;
    const int unitsPerRow = (d.width + unitPixels - 1) / unitPixels;

    if (data.size() < kMinFrame)
        return ImageResult::failure("data is cut off");
    RgbImage img = whiteImage(d.width, d.height);
    ByteReader r(data);
    r.skip(4); // the frame's size; the data's own length bounds it anyway
    const std::uint16_t header = r.u16be();
    int row = 0;
    int rows = d.height;
    if (header & kHasBand) {
        row = r.u16be();
        r.skip(2);
        rows = r.u16be();
        r.skip(2);
        if (r.failed() || row > d.height || rows > d.height - row)
            return ImageResult::failure("changed rows lie outside the image");
    }

    if (bits == 1) {
        if (auto err = decodeOneBit(d, r, row, rows, img); !err.empty())
            return ImageResult::failure(err);
        return {std::move(img), {}};
    }

    auto putUnit = [&](int y, int unit, const std::uint8_t* s) {
        std::uint8_t* out = img.row(y);
        if (bits >= 16) {
            if (bits == 16)
                put555(out + unit * 3, unsigned(s[0] << 8) | s[1]);
            else
                std::copy_n(s + (bits == 32 ? 1 : 0), 3, out + unit * 3);
            return;
        }
        const unsigned mask = (1u << bits) - 1u;
        for (int i = 0; i < unitPixels; ++i) {
            const int x = unit * unitPixels + i;
            if (x >= d.width)
                break;
            const int bit = i * bits;
            putColour(out + x * 3, d.palette[(s[bit / 8] >> (8 - bits - bit % 8)) & mask]);
        }
    };

    for (int y = row; y < row + rows; ++y) {
        int unit = r.u8() - 1;
        for (;;) {
            const auto code = static_cast<std::int8_t>(r.u8());
            if (r.failed())
                return ImageResult::failure("data is cut off in row " + std::to_string(y));
            if (code == kEndOfRow)
                break;
            if (code == kSkipCode) {
                unit += r.u8() - 1;
                continue;
            }
            const int count = code < 0 ? -code : code;
            if (unit < 0 || unit + count > unitsPerRow)
                return ImageResult::failure("codes reach past the end of row " + std::to_string(y));
            if (code < 0) {
                const auto value = r.bytes(std::size_t(unitBytes));
                if (r.failed())
                    return ImageResult::failure("data is cut off in row " + std::to_string(y));
                for (int i = 0; i < count; ++i)
                    putUnit(y, unit++, value.data());
            } else {
                const auto values = r.bytes(std::size_t(unitBytes) * std::size_t(count));
                if (r.failed())
                    return ImageResult::failure("data is cut off in row " + std::to_string(y));
                for (int i = 0; i < count; ++i)
                    putUnit(y, unit++, values.data() + i * unitBytes);
            }
        }
    }
    return {std::move(img), {}};
}

} // namespace

ImageResult decodeAnimation(const ImageDescription& d, Bytes data) {
    return decode(d, data);
}

} // namespace gfx::quicktime
