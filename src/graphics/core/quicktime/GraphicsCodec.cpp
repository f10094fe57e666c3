// 'smc ' (Graphics): 8-bit indexed pixels in 4x4 blocks, left to right and top to bottom. Each
// opcode's high nibble says what the next blocks are (skipped, repeats of the previous block or
// pair, filled with one colour, or painted from 2, 4 or 8 colours chosen by per-pixel flags, or
// 16 literal pixels); colour pairs, quads and octets once sent are kept in three tables of 256 that
// later blocks may name by index, each filled round-robin.
#include "graphics/core/ByteReader.h"
#include "graphics/core/quicktime/Codecs.h"

#include <array>

namespace gfx::quicktime {

namespace GraphicsLayout {
constexpr std::size_t kHeaderSize = 4; // flags byte, 24-bit chunk size
constexpr std::uint8_t kSkip = 0x00, kSkipLong = 0x10;
constexpr std::uint8_t kRepeatBlock = 0x20, kRepeatBlockLong = 0x30;
constexpr std::uint8_t kRepeatPair = 0x40, kRepeatPairLong = 0x50;
constexpr std::uint8_t kFill = 0x60, kFillLong = 0x70;
constexpr std::uint8_t kTwoColoursNew = 0x80, kTwoColoursCached = 0x90;
constexpr std::uint8_t kFourColoursNew = 0xA0, kFourColoursCached = 0xB0;
constexpr std::uint8_t kEightColoursNew = 0xC0, kEightColoursCached = 0xD0;
constexpr std::uint8_t kSixteenColours = 0xE0;
} // namespace GraphicsLayout

namespace {

// A table of colour groups (pairs, quads or octets) filled round-robin.
template <int N> struct ColourCache {
    std::array<std::array<std::uint8_t, N>, 256> groups{};
    unsigned next = 0;

    // Reads a new group from the data into the next slot and returns the slot.
    const std::array<std::uint8_t, N>& readNew(ByteReader& r) {
        auto& group = groups[next];
        for (auto& c : group)
            c = r.u8();
        next = (next + 1) % 256;
        return group;
    }
};

class BlockImage {
public:
    BlockImage(const ImageDescription& d)
        : m_d(d), m_img(whiteImage(roundUp4(d.width), roundUp4(d.height))), m_perRow(m_img.width / 4),
          m_total(m_perRow * (m_img.height / 4)) {}

    int total() const { return m_total; }

    // Paints block k pixel by pixel (row-major) with the colour index `indexAt(i)`.
    template <typename F> void paint(int k, F indexAt) {
        for (int i = 0; i < 16; ++i)
            putColour(at(k, i % 4, i / 4), m_d.palette[indexAt(i)]);
    }

    void copy(int from, int to) {
        for (int y = 0; y < 4; ++y)
            std::copy_n(at(from, 0, y), 12, at(to, 0, y));
    }

    RgbImage take() { return cropped(std::move(m_img), m_d.width, m_d.height); }

private:
    std::uint8_t* at(int k, int x, int y) {
        return m_img.row((k / m_perRow) * 4 + y) + std::size_t((k % m_perRow) * 4 + x) * 3;
    }

    const ImageDescription& m_d;
    RgbImage m_img;
    int m_perRow;
    int m_total;
};

} // namespace

ImageResult decodeGraphics(const ImageDescription& d, Bytes data) {
    using namespace GraphicsLayout;
    if (d.depth != 8 && d.depth != 40)
        return ImageResult::failure("depth " + std::to_string(d.depth) + " is not supported");
    BlockImage img(d);
    ColourCache<2> pairs;
    ColourCache<4> quads;
    ColourCache<8> octets;
    ByteReader r(data);
    r.skip(kHeaderSize);
    int k = 0;
    while (k < img.total()) {
        const std::uint8_t op = r.u8();
        const std::uint8_t kind = op & 0xF0;
        int count = (op & 0x0F) + 1;
        if (kind == kSkipLong || kind == kRepeatBlockLong || kind == kRepeatPairLong || kind == kFillLong)
            count = r.u8() + 1;
        if (r.failed())
            return ImageResult::failure("data is cut off at block " + std::to_string(k));
        if (kind == kRepeatPair || kind == kRepeatPairLong)
            count *= 2;
        if (count > img.total() - k)
            return ImageResult::failure("blocks reach past the end of the image");

        switch (kind) {
        case kSkip:
        case kSkipLong:
            k += count; // keep the picture's white
            break;
        case kRepeatBlock:
        case kRepeatBlockLong:
        case kRepeatPair:
        case kRepeatPairLong: {
            const int back = kind >= kRepeatPair ? 2 : 1;
            if (k < back)
                return ImageResult::failure("a repeat comes before the blocks it repeats");
            for (int i = 0; i < count; ++i, ++k)
                img.copy(k - back, k);
            break;
        }
        case kFill:
        case kFillLong: {
            const std::uint8_t colour = r.u8();
            for (int i = 0; i < count; ++i)
                img.paint(k++, [&](int) { return colour; });
            break;
        }
        case kTwoColoursNew:
        case kTwoColoursCached: {
            const auto& pair = kind == kTwoColoursNew ? pairs.readNew(r) : pairs.groups[r.u8()];
            for (int i = 0; i < count; ++i) {
                const std::uint16_t flags = r.u16be();
                img.paint(k++, [&](int p) { return pair[(flags >> (15 - p)) & 1u]; });
            }
            break;
        }
        case kFourColoursNew:
        case kFourColoursCached: {
            const auto& quad = kind == kFourColoursNew ? quads.readNew(r) : quads.groups[r.u8()];
            for (int i = 0; i < count; ++i) {
                const std::uint32_t flags = r.u32be();
                img.paint(k++, [&](int p) { return quad[(flags >> (30 - 2 * p)) & 3u]; });
            }
            break;
        }
        case kEightColoursNew:
        case kEightColoursCached: {
            const auto& octet = kind == kEightColoursNew ? octets.readNew(r) : octets.groups[r.u8()];
            for (int i = 0; i < count; ++i) {
                // 48 flag bits, three per pixel, in an odd order: the top two rows take the high
                // 12 bits of the first two words, the bottom two rows the high 12 bits of the third
                // word followed by the low nibbles of all three.
                const std::uint32_t w1 = r.u16be(), w2 = r.u16be(), w3 = r.u16be();
                const std::uint32_t top = ((w1 & 0xFFF0u) << 8) | (w2 >> 4);
                const std::uint32_t bottom =
                    ((w3 & 0xFFF0u) << 8) | ((w1 & 0x0Fu) << 8) | ((w2 & 0x0Fu) << 4) | (w3 & 0x0Fu);
                img.paint(k++, [&](int p) {
                    const std::uint32_t bits = p < 8 ? top : bottom;
                    return octet[(bits >> (21 - 3 * (p % 8))) & 7u];
                });
            }
            break;
        }
        case kSixteenColours:
            for (int i = 0; i < count; ++i) {
                const auto pixels = r.bytes(16);
                if (r.failed())
                    break;
                img.paint(k++, [&](int p) { return pixels[std::size_t(p)]; });
            }
            break;
        default:
            return ImageResult::failure("unknown opcode " + std::to_string(op) + " at block " +
                                        std::to_string(k));
        }
        if (r.failed())
            return ImageResult::failure("data is cut off at block " + std::to_string(k));
    }
    return {img.take(), {}};
}

} // namespace gfx::quicktime
