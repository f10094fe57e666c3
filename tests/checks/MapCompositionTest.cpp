// The core map composition on plain buffers: the background, the colour conversions and the
// marks. (The editor's own tests check the same rules through its canvas; the render test checks
// that both give the same pixels.)
#include "graphics/core/MapComposition.h"

#include <gtest/gtest.h>

using namespace gfx;

namespace {

// The pixels of `image` that are not `background`, as "x,y" in row order.
std::string marked(const Rgb16Image& image, std::uint16_t background) {
    std::string out;
    for (int y = 0; y < image.height; ++y)
        for (int x = 0; x < image.width; ++x)
            if (image.pixels[static_cast<std::size_t>(y * image.width + x)] != background)
                out += (out.empty() ? "" : " ") + std::to_string(x) + "," + std::to_string(y);
    return out;
}

std::uint16_t at(const Rgb16Image& image, int x, int y) {
    return image.pixels[static_cast<std::size_t>(y * image.width + x)];
}

const std::uint16_t kWhite = toRgb16(MapColours::kBackground);

} // namespace

TEST(MapComposition, SixteenBitConversionsDropAndRepeatBits) {
    EXPECT_EQ(toRgb16({255, 255, 255}), 0xFFFF);
    EXPECT_EQ(toRgb16({255, 12, 12}), (31 << 11) | (3 << 5) | 1);
    EXPECT_EQ(toRgb16({7, 3, 7}), 0);
    for (int v = 0; v < 256; ++v) {
        const auto c = static_cast<std::uint8_t>(v);
        const Colour back = fromRgb16(toRgb16({c, c, c}));
        EXPECT_EQ(back.r, ((v >> 3) << 3) | (v >> 5)) << v;
        EXPECT_EQ(back.g, ((v >> 2) << 2) | (v >> 6)) << v;
        EXPECT_EQ(back.b, back.r) << v;
    }
}

TEST(MapComposition, MarksAsTheEditorDrawsThem) {
    struct Case {
        MapMark mark;
        std::string pixels;
    };
    const Case cases[] = {
        {{2, 3, 4, 4, false}, "2,3 3,3 4,3 2,4 3,4 4,4"},
        {{4, 4, 2, 3, false}, "2,3 3,3 4,3 2,4 3,4 4,4"}, // reversed corners: the same block
        {{2, 2, 5, 5, false}, "2,2 3,2 4,2 5,2 2,3 5,3 2,4 5,4 2,5 3,5 4,5 5,5"}, // hollow
        {{3, 3, 3, 3, false}, "2,2 3,2 2,3 3,3"}, // a point: 2 x 2 at (x - 1, y - 1)
        {{0, 3, 4, 4, true}, ""},                 // a coordinate 0 draws nothing
        {{1, 1, 1, 1, true}, "0,0 1,0 3,0 0,1 1,1 3,1 3,2 0,3 1,3 2,3 3,3"}, // halo cut at the edge
        {{5, 5, 100, 100, false}, "5,5 5,6 5,7"}, // cut to the 6 x 8 buffer: only the left edge
    };
    for (const Case& c : cases) {
        Rgb16Image image = composeMap(nullptr, 6, 8, std::span(&c.mark, 1));
        EXPECT_EQ(marked(image, kWhite), c.pixels) << c.mark.x1 << "," << c.mark.y1;
    }
    const MapMark point{3, 3, 3, 3, true};
    const Rgb16Image halo = composeMap(nullptr, 8, 8, std::span(&point, 1));
    EXPECT_EQ(at(halo, 0, 0), toRgb16(MapColours::kHalo));
    EXPECT_EQ(at(halo, 2, 2), toRgb16(MapColours::kPoint));
    EXPECT_EQ(at(halo, 1, 1), kWhite);
}

TEST(MapComposition, LaterMarksLieOverEarlierOnesInTheirColours) {
    const MapMark marks[] = {{1, 1, 4, 4, false}, {4, 1, 6, 3, true}};
    const Rgb16Image image = composeMap(nullptr, 8, 8, marks);
    EXPECT_EQ(at(image, 1, 1), toRgb16(MapColours::kVisible));
    EXPECT_EQ(at(image, 4, 2), toRgb16(MapColours::kHighlighted)); // the crossing
    EXPECT_EQ(at(image, 4, 4), toRgb16(MapColours::kVisible));
}

TEST(MapComposition, TheMapIsCutToTheBufferWithWhiteBeyondIt) {
    RgbImage map(3, 2);
    for (std::size_t i = 0; i < map.pixels.size(); ++i)
        map.pixels[i] = static_cast<std::uint8_t>(40 * i);
    const Rgb16Image image = composeBackground(&map, 2, 3);
    ASSERT_EQ(image.width, 2);
    ASSERT_EQ(image.height, 3);
    EXPECT_EQ(at(image, 0, 0), toRgb16({0, 40, 80}));
    EXPECT_EQ(at(image, 1, 1),
              toRgb16({static_cast<std::uint8_t>(40 * 12), static_cast<std::uint8_t>(40 * 13),
                       static_cast<std::uint8_t>(40 * 14)}));
    EXPECT_EQ(at(image, 0, 2), kWhite);
    EXPECT_TRUE(composeBackground(&map, 0, 5).pixels.empty());

    const RgbImage rgb = toRgbImage(image);
    ASSERT_EQ(rgb.width, 2);
    EXPECT_EQ(rgb.row(2)[0], 255);
    const Colour first = fromRgb16(at(image, 0, 0));
    EXPECT_EQ(rgb.row(0)[1], first.g);
}
