#include "graphics/core/quicktime/ImageDescription.h"

#include "graphics/core/ByteReader.h"

#include <algorithm>

namespace gfx::quicktime {

namespace ImageDescriptionLayout {
constexpr std::size_t kMinSize = 86;
constexpr std::size_t kCodecOffset = 4;
constexpr std::size_t kWidthOffset = 32;
constexpr std::size_t kDataSizeOffset = 44;
constexpr std::size_t kDepthOffset = 82;
constexpr std::size_t kColourTableOffset = 86;     // when the colour table id is 0
constexpr std::uint16_t kDeviceTableFlag = 0x8000; // entries in order, their value fields unused
} // namespace ImageDescriptionLayout

namespace {

// The 8-bit Macintosh system table: a 6x6x6 cube (0xFF down to 0x00 in steps of 0x33, blue
// fastest) without its black corner, then ten-step ramps of red, green, blue and grey that skip
// the cube's levels, then black.
Palette macPalette256() {
    Palette p{};
    int i = 0;
    for (int r = 5; r >= 0; --r)
        for (int g = 5; g >= 0; --g)
            for (int b = 5; b >= 0; --b)
                if (r || g || b)
                    p[static_cast<std::size_t>(i++)] = {std::uint8_t(r * 0x33), std::uint8_t(g * 0x33),
                                                        std::uint8_t(b * 0x33)};
    static constexpr std::uint8_t kRamp[10] = {0xEE, 0xDD, 0xBB, 0xAA, 0x88, 0x77, 0x55, 0x44, 0x22, 0x11};
    for (int channel = 0; channel < 4; ++channel)
        for (std::uint8_t v : kRamp) {
            Rgb c{channel == 0 || channel == 3 ? v : std::uint8_t(0),
                  channel == 1 || channel == 3 ? v : std::uint8_t(0),
                  channel == 2 || channel == 3 ? v : std::uint8_t(0)};
            p[static_cast<std::size_t>(i++)] = c;
        }
    p[255] = {0, 0, 0};
    return p;
}

// The 16-colour Macintosh table.
Palette macPalette16() {
    static constexpr std::uint8_t kColours[16][3] = {
        {0xFF, 0xFF, 0xFF}, {0xFC, 0xF3, 0x05}, {0xFF, 0x64, 0x02}, {0xDD, 0x08, 0x06},
        {0xF2, 0x08, 0x84}, {0x46, 0x00, 0xA5}, {0x00, 0x00, 0xD4}, {0x02, 0xAB, 0xEA},
        {0x1F, 0xB7, 0x14}, {0x00, 0x64, 0x11}, {0x56, 0x2C, 0x05}, {0x90, 0x71, 0x3A},
        {0xC0, 0xC0, 0xC0}, {0x80, 0x80, 0x80}, {0x40, 0x40, 0x40}, {0x00, 0x00, 0x00}};
    Palette p{};
    for (std::size_t i = 0; i < 16; ++i)
        p[i] = {kColours[i][0], kColours[i][1], kColours[i][2]};
    return p;
}

} // namespace

Palette defaultPalette(int depth) {
    Palette p{};
    const int bits = depth > 32 ? depth - 32 : depth;
    if (depth > 32 || bits == 1 || bits == 2) {
        // Grey ramps from white at 0 to black at the last index (1-bit: white, black; the 2-bit
        // colour table is the same four greys as the 2-bit grey one).
        const int count = 1 << std::min(bits, 8);
        for (int i = 0; i < count; ++i) {
            const auto v = static_cast<std::uint8_t>(255 - (255 * i) / (count - 1));
            p[static_cast<std::size_t>(i)] = {v, v, v};
        }
        if (depth == 2) {
            p[1] = {0xAC, 0xAC, 0xAC};
            p[2] = {0x55, 0x55, 0x55};
        }
        return p;
    }
    if (bits == 4)
        return macPalette16();
    return macPalette256();
}

std::string readImageDescription(std::span<const std::uint8_t> bytes, ImageDescription& out) {
    using namespace ImageDescriptionLayout;
    ByteReader r(bytes);
    const std::uint32_t size = r.u32be();
    if (r.failed() || size < kMinSize || size > bytes.size())
        return "image description is corrupt";
    out.size = size;
    r = ByteReader(bytes.first(size));
    r.seek(kCodecOffset);
    for (char& c : out.codec)
        c = static_cast<char>(r.u8());
    r.seek(kWidthOffset);
    out.width = r.u16be();
    out.height = r.u16be();
    r.seek(kDataSizeOffset);
    out.dataSize = r.u32be();
    r.seek(kDepthOffset);
    out.depth = r.u16be();
    const std::int16_t colourTableId = r.s16be();
    if (r.failed())
        return "image description is corrupt";
    out.palette = defaultPalette(out.depth);
    // A description for an indexed depth may carry its own table right after the fixed part.
    if (colourTableId == 0 && out.depth <= 8 && size > kColourTableOffset) {
        r.seek(kColourTableOffset);
        r.u32be(); // seed
        const std::uint16_t flags = r.u16be();
        const unsigned count = r.u16be() + 1u;
        for (unsigned i = 0; i < count && r.canRead(8); ++i) {
            const std::uint16_t value = r.u16be();
            const unsigned index = (flags & kDeviceTableFlag) ? i : value;
            const auto red = static_cast<std::uint8_t>(r.u16be() >> 8);
            const auto green = static_cast<std::uint8_t>(r.u16be() >> 8);
            const auto blue = static_cast<std::uint8_t>(r.u16be() >> 8);
            if (index < out.palette.size())
                out.palette[index] = {red, green, blue};
        }
    }
    return {};
}

} // namespace gfx::quicktime
