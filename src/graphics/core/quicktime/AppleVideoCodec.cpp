// 'rpza' (Apple Video, "road pizza"): 16-bit x-R5-G5-B5 pixels in 4x4 blocks, left to right and top
// to bottom. An opcode byte (high bit set) skips blocks, fills them with one colour, or paints
// them from four colours - two sent, two interpolated at a third and two thirds - chosen by two
// bits a pixel; a byte without the high bit starts a colour instead: either the first of sixteen
// literal pixels, or (when the byte after that colour has the high bit) one four-colour block.
#include "graphics/core/ByteReader.h"
#include "graphics/core/quicktime/Codecs.h"

#include <array>

namespace gfx::quicktime {

namespace AppleVideoLayout {
constexpr std::uint8_t kChunkMarker = 0xE1; // first byte, then the 24-bit chunk size
constexpr std::uint8_t kOpcodeBit = 0x80;
constexpr std::uint8_t kSkip = 0x80;
constexpr std::uint8_t kFill = 0xA0;
constexpr std::uint8_t kFourColours = 0xC0;
constexpr std::uint8_t kOneFourColourBlock = 0x20; // not on the wire: a colour then a flag byte
constexpr std::uint8_t kSixteenColours = 0x00;     // not on the wire: a colour then colours
} // namespace AppleVideoLayout

namespace {

// The colours a third and two thirds of the way from b to a, per 5-bit channel.
std::array<std::uint16_t, 4> fourColours(std::uint16_t a, std::uint16_t b) {
    std::array<std::uint16_t, 4> c{b, 0, 0, a};
    for (int shift : {10, 5, 0}) {
        const unsigned ta = (a >> shift) & 31u;
        const unsigned tb = (b >> shift) & 31u;
        c[1] = static_cast<std::uint16_t>(c[1] | (((11 * ta + 21 * tb) >> 5) << shift));
        c[2] = static_cast<std::uint16_t>(c[2] | (((21 * ta + 11 * tb) >> 5) << shift));
    }
    return c;
}

} // namespace

ImageResult decodeAppleVideo(const ImageDescription& d, Bytes data) {
    using namespace AppleVideoLayout;
    ByteReader r(data);
    if (r.u8() != kChunkMarker)
        return ImageResult::failure("data does not start with a chunk marker");
    r.skip(3);
    RgbImage img = whiteImage(roundUp4(d.width), roundUp4(d.height));
    const int perRow = img.width / 4;
    const int total = perRow * (img.height / 4);
    auto put = [&](int k, int p, std::uint16_t colour) {
        put555(img.row((k / perRow) * 4 + p / 4) + std::size_t((k % perRow) * 4 + p % 4) * 3, colour);
    };

    int k = 0;
    while (k < total) {
        std::uint8_t op = r.u8();
        int count = (op & 0x1F) + 1;
        std::uint16_t colourA = 0;
        if (!(op & kOpcodeBit)) {
            colourA = static_cast<std::uint16_t>((op << 8) | r.u8());
            const bool flagsFollow = !r.atEnd() && (r.data()[r.pos()] & kOpcodeBit);
            op = flagsFollow ? kOneFourColourBlock : kSixteenColours;
            count = 1;
        }
        if (r.failed())
            return ImageResult::failure("data is cut off at block " + std::to_string(k));
        if (count > total - k)
            return ImageResult::failure("blocks reach past the end of the image");

        switch (op & 0xE0) {
        case kSkip:
            k += count; // keep the picture's white
            break;
        case kFill:
            colourA = r.u16be();
            for (int i = 0; i < count; ++i, ++k)
                for (int p = 0; p < 16; ++p)
                    put(k, p, colourA);
            break;
        case kFourColours:
            colourA = r.u16be();
            [[fallthrough]];
        case kOneFourColourBlock: {
            const auto colours = fourColours(colourA, r.u16be());
            for (int i = 0; i < count; ++i, ++k)
                for (int row = 0; row < 4; ++row) {
                    const std::uint8_t indices = r.u8();
                    for (int x = 0; x < 4; ++x)
                        put(k, row * 4 + x, colours[(indices >> (6 - 2 * x)) & 3u]);
                }
            break;
        }
        case kSixteenColours:
            for (int p = 0; p < 16; ++p)
                put(k, p, p == 0 ? colourA : r.u16be());
            ++k;
            break;
        default:
            return ImageResult::failure("unknown opcode " + std::to_string(op) + " at block " +
                                        std::to_string(k));
        }
        if (r.failed())
            return ImageResult::failure("data is cut off at block " + std::to_string(k));
    }
    return {cropped(std::move(img), d.width, d.height), {}};
}

} // namespace gfx::quicktime
