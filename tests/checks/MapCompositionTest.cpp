// The core map composition on plain buffers: the background, the colour conversions and the
// marks. (The editor's own tests check the same rules through its canvas; the render test checks
// that both give the same pixels.)
#include "graphics/core/MapComposition.h"

#include <algorithm>
#include <array>
#include <gtest/gtest.h>
#include <string>

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
    // Grey v back from 16 bits: its top 5 (green 6) bits, repeated into the low ones.
    using Grey = std::array<std::uint8_t, 3>; // v, red and blue, green
    for (const auto [v, rb, g] :
         {Grey{0, 0, 0}, {7, 0, 4}, {100, 99, 101}, {128, 132, 130}, {255, 255, 255}}) {
        const Colour back = fromRgb16(toRgb16({v, v, v}));
        EXPECT_EQ((Grey{back.r, back.g, back.b}), (Grey{rb, g, rb})) << int(v);
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

namespace {

std::string box(int x1, int y1, int x2, int y2) {
    return std::to_string(x1) + "," + std::to_string(y1) + "-" + std::to_string(x2) + "," +
           std::to_string(y2);
}

// The bounding box "x1,y1-x2,y2" of the target pixels holding `pixel`; "none" when there are none.
std::string boxOf(const Rgb16Image& image, std::uint16_t pixel) {
    int x1 = image.width, y1 = image.height, x2 = -1, y2 = -1;
    for (int y = 0; y < image.height; ++y)
        for (int x = 0; x < image.width; ++x)
            if (at(image, x, y) == pixel) {
                x1 = std::min(x1, x);
                y1 = std::min(y1, y);
                x2 = std::max(x2, x);
                y2 = std::max(y2, y);
            }
    return x2 < 0 ? "none" : box(x1, y1, x2, y2);
}

} // namespace

class MapZoomComposition : public ::testing::TestWithParam<int> {};

// Map pixels (3,4)-(6,8) outlined, a highlighted point at (12,12): at zoom z the outline covers
// exactly the squares of its map pixels, one map pixel (z view pixels) thick, and the point's
// 2 x 2 mark and 6 x 6 halo become 2z and 6z squares.
TEST_P(MapZoomComposition, EveryMapPixelBecomesAnExactSquare) {
    const int z = GetParam();
    const MapMark marks[] = {{3, 4, 6, 8, false}, {12, 12, 12, 12, true}};
    Rgb16Image map = composeMap(nullptr, 20, 20, marks);
    Rgb16Image view(20 * z, 20 * z);
    zoomInto(map.view(), z, 0, 0, view.view());

    EXPECT_EQ(boxOf(view, toRgb16(MapColours::kVisible)), box(3 * z, 4 * z, 7 * z - 1, 9 * z - 1));
    // The outline's inner edge is the inner edge of its pixels' squares.
    EXPECT_EQ(at(view, 4 * z - 1, 6 * z), toRgb16(MapColours::kVisible));
    EXPECT_EQ(at(view, 4 * z, 6 * z), kWhite);
    EXPECT_EQ(at(view, 6 * z - 1, 8 * z - 1), kWhite);
    EXPECT_EQ(at(view, 6 * z, 8 * z), toRgb16(MapColours::kVisible));
    EXPECT_EQ(boxOf(view, toRgb16(MapColours::kPoint)), box(11 * z, 11 * z, 13 * z - 1, 13 * z - 1));
    EXPECT_EQ(boxOf(view, toRgb16(MapColours::kHalo)), box(9 * z, 9 * z, 15 * z - 1, 15 * z - 1));
    EXPECT_EQ(at(view, 10 * z, 10 * z), kWhite); // inside the halo ring, outside the point
}

// Scrolled by (3z + 1, 4z + 1) into a 5z - 1 wide target: the first column and row show the
// rest of the rectangle's corner square, the last the start of a cut square; beyond the map white.
TEST_P(MapZoomComposition, ScrollingClipsSquaresAtTheViewsEdges) {
    const int z = GetParam();
    const MapMark marks[] = {{3, 4, 6, 8, false}};
    Rgb16Image map = composeMap(nullptr, 20, 20, marks);
    Rgb16Image view(5 * z - 1, 5 * z - 1);
    zoomInto(map.view(), z, 3 * z + 1, 4 * z + 1, view.view());
    const std::uint16_t orange = toRgb16(MapColours::kVisible);
    EXPECT_EQ(boxOf(view, orange), box(0, 0, 4 * z - 2, 5 * z - 2));
    if (z >= 2) {
        EXPECT_EQ(at(view, z - 2, z), orange); // still map column 3
        EXPECT_EQ(at(view, z - 1, z), kWhite);
        EXPECT_EQ(at(view, 3 * z - 1, z), orange); // map column 6 starts here
        EXPECT_EQ(at(view, 3 * z - 2, z), kWhite);
    }

    Rgb16Image edge(3 * z, 2 * z);
    zoomInto(map.view(), z, 18 * z, 18 * z, edge.view());
    EXPECT_EQ(boxOf(edge, kWhite), box(0, 0, 3 * z - 1, 2 * z - 1)); // map's own white, then beyond
    map.pixels[static_cast<std::size_t>(19 * 20 + 19)] = 0;
    zoomInto(map.view(), z, 18 * z, 18 * z, edge.view());
    EXPECT_EQ(boxOf(edge, 0), box(z, z, 2 * z - 1, 2 * z - 1));
}

INSTANTIATE_TEST_SUITE_P(Zooms, MapZoomComposition, ::testing::Values(1, 2, 3, 8));
