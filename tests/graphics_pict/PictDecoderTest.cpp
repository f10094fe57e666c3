#include "PictTestSupport.h"

#include "graphics/core/PictDecoder.h"

#include <gtest/gtest.h>

#include <new>
#include <string>
#include <vector>

using namespace picttest;

namespace {

struct Case {
    const char* pict;
    const char* expected;
};

gfx::ImageResult decodeFixture(const std::string& name, const gfx::PictOptions& options = {})
{
    const auto data = readFile(fixture(name));
    return gfx::decodePictFile(data, options);
}

} // namespace

// Pictures written by ImageMagick and netpbm reproduce their sources exactly: 32-bit pack type 4,
// 8-bit palettes, and rowBytes 230 where both tools write word counts although Apple's rule
// says byte counts (the count-size fallback).
TEST(PictDecoder, ToolWrittenPicturesMatchTheirSources)
{
    const std::vector<Case> cases = {
        {"tool_im_rgb_37x23.pict", "src_rgb_37x23.ppm"}, {"tool_im_pal_53x17.pict", "src_pal_53x17.ppm"},
        {"tool_im_pal_260x5.pict", "src_pal_260x5.ppm"}, {"tool_im_pal_230x4.pict", "src_pal_230x4.ppm"},
        {"tool_np_pal_53x17.pict", "src_pal_53x17.ppm"}, {"tool_np_pal_260x5.pict", "src_pal_260x5.ppm"},
        {"tool_np_pal_230x4.pict", "src_pal_230x4.ppm"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.pict);
        const auto result = decodeFixture(c.pict);
        ASSERT_TRUE(result.ok()) << result.error;
        EXPECT_EQ(compareImages(result.image, readPpm(fixture(c.expected))), "");
    }
}

// What the tools never write: 1/2/4-bit indexed with short tables (and c << 8 components), 16-bit raw and word-packed,
// 32-bit planar with and without alpha, xRGB and RGB rows, version 1 BitMaps, odd-length
// opcodes with padding, reserved opcodes and pixel patterns, negative origins with bands,
// stretched and clipped bitmaps, srcOr, mask regions, extended version 2 resolution and a
// bitmap carried inside UncompressedQuickTime.
TEST(PictDecoder, HandMadePicturesMatchTheirExpectedImages)
{
    const std::vector<std::string> cases = {
        "hand_indexed_1bit", "hand_indexed_2bit_short_table", "hand_indexed_4bit", "hand_indexed_4bit_unpacked",
        "hand_direct16_pack1", "hand_direct16_pack3", "hand_direct32_pack4_rgb", "hand_direct32_pack4_alpha",
        "hand_direct32_pack1_xrgb", "hand_direct32_pack2_rgb", "hand_v1_bitmap", "hand_odd_opcodes_aligned",
        "hand_scaled_offset_modes", "hand_mask_region_ext144", "hand_quicktime_uncompressed",
    };
    for (const auto& name : cases) {
        SCOPED_TRACE(name);
        const auto result = decodeFixture(name + ".pict");
        ASSERT_TRUE(result.ok()) << result.error;
        EXPECT_EQ(compareImages(result.image, readPpm(fixture(name + ".expected.ppm"))), "");
    }
}

TEST(PictDecoder, ResourceAndFileLayoutsAreBothRecognised)
{
    const auto file = readFile(fixture("hand_direct16_pack3.pict"));
    const std::vector<std::uint8_t> resource(file.begin() + 512, file.end());
    const auto expected = readPpm(fixture("hand_direct16_pack3.expected.ppm"));
    for (const auto* data : {&file, &resource}) {
        const auto asResource = gfx::decodePict(*data);
        const auto asFile = gfx::decodePictFile(*data);
        ASSERT_TRUE(asResource.ok()) << asResource.error;
        ASSERT_TRUE(asFile.ok()) << asFile.error;
        EXPECT_EQ(compareImages(asResource.image, expected), "");
        EXPECT_EQ(compareImages(asFile.image, expected), "");
    }
    EXPECT_EQ(gfx::readPictInfo(resource).info.pictureOffset, 0u);
    EXPECT_EQ(gfx::readPictInfo(file).info.pictureOffset, 512u);
}

TEST(PictDecoder, InfoGivesCanvasSizeWithoutDecoding)
{
    const auto ext = gfx::readPictFileInfo(readFile(fixture("hand_mask_region_ext144.pict")));
    ASSERT_TRUE(ext.ok()) << ext.error;
    // The 72-dpi frame is 5 x 4; the picture draws at 144 dpi in a 10 x 8 space.
    EXPECT_EQ(ext.info.width, 10);
    EXPECT_EQ(ext.info.height, 8);
    EXPECT_EQ(ext.info.version, 2);
    EXPECT_TRUE(ext.info.extendedVersion2);
    EXPECT_DOUBLE_EQ(ext.info.hRes, 144.0);

    const auto v1 = gfx::readPictFileInfo(readFile(fixture("hand_v1_bitmap.pict")));
    ASSERT_TRUE(v1.ok()) << v1.error;
    EXPECT_EQ(v1.info.version, 1);
    EXPECT_EQ(v1.info.width, 70);
    EXPECT_EQ(v1.info.height, 7);

    EXPECT_FALSE(gfx::readPictFileInfo(readFile(fixture("bad_not_a_picture.pict"))).ok());
    EXPECT_FALSE(gfx::readPictFileInfo(readFile(fixture("bad_frame_over_limit.pict"))).ok());
}

// The QuickTime image is placed by its matrix, the black stand-in bitmap that follows it for
// viewers without QuickTime is not drawn, and drawing continues after it.
TEST(PictDecoder, QuickTimeJpegIsDrawnAndItsPlaceholderSkipped)
{
    const auto result = decodeFixture("hand_quicktime_jpeg.pict", qtJpegOptions());
    ASSERT_TRUE(result.ok()) << result.error;
    EXPECT_EQ(compareImages(result.image, readPpm(fixture("hand_quicktime_jpeg.expected.ppm")), 24), "");

    const auto without = decodeFixture("hand_quicktime_jpeg.pict");
    EXPECT_FALSE(without.ok());
    EXPECT_NE(without.error.find("JPEG"), std::string::npos) << without.error;

    gfx::PictOptions failing;
    failing.jpegDecoder = [](std::span<const std::uint8_t>) { return gfx::ImageResult::failure("broken"); };
    const auto refused = decodeFixture("hand_quicktime_jpeg.pict", failing);
    EXPECT_FALSE(refused.ok());
    EXPECT_NE(refused.error.find("broken"), std::string::npos) << refused.error;

    gfx::PictOptions throwing;
    throwing.jpegDecoder = [](std::span<const std::uint8_t>) -> gfx::ImageResult { throw std::bad_alloc(); };
    const auto outOfMemory = decodeFixture("hand_quicktime_jpeg.pict", throwing);
    EXPECT_FALSE(outOfMemory.ok());
    EXPECT_NE(outOfMemory.error.find("memory"), std::string::npos) << outOfMemory.error;
}

// Public and generated samples: sizes and pixels checked against an independent look at each
// picture, at corners and inside.
TEST(PictDecoder, SamplesDecodeToKnownPixels)
{
    struct Probe {
        int x, y;
        std::array<int, 3> rgb;
    };
    struct SampleCase {
        const char* path;
        int width, height;
        std::vector<Probe> probes;
    };
    const std::vector<SampleCase> cases = {
        // 16-bit pack type 3 with byte counts; colour bars red at the top, grey steps, black.
        {"public/tm_mire16.pict", 64, 64, {{0, 0, {255, 0, 0}}, {63, 0, {255, 0, 0}}, {20, 30, {132, 132, 132}}, {40, 30, {0, 0, 0}}}},
        // 16-bit with word counts; bounds 270 wide drawn through a 269-wide srcRect.
        {"public/tm_16bit.pict", 269, 269, {{0, 0, {214, 214, 198}}, {268, 0, {231, 255, 247}}, {134, 134, {156, 156, 123}}}},
        // 32-bit with an alpha plane first.
        {"public/tm_food.pct", 146, 194, {{0, 0, {175, 164, 110}}, {145, 193, {237, 242, 245}}, {73, 97, {152, 56, 0}}}},
        // 44 bands of 10 rows, device colour table.
        {"public/tm_1_44bands_8bit.pict", 622, 437, {{0, 0, {153, 153, 102}}, {621, 0, {51, 51, 0}}, {0, 436, {204, 102, 102}}, {621, 436, {153, 51, 0}}}},
        // Version 1, 1-bit BitMap with word counts.
        {"public/tm_FC10_v1.PCT", 2265, 2593, {{0, 0, {255, 255, 255}}, {1100, 1200, {0, 0, 0}}, {2264, 2592, {255, 255, 255}}}},
        // No 512-byte header; 32-bit, cmpCount 4, all white.
        {"public/exiftool_PICT_headerless.pict", 8, 8, {{0, 0, {255, 255, 255}}, {7, 7, {255, 255, 255}}}},
        // ImageMagick's byte counts on 32-bit rowBytes 256: red at the top, blue at the bottom, a yellow square.
        {"generated/im_rgb24.pict", 64, 40, {{0, 0, {255, 0, 0}}, {63, 0, {255, 0, 0}}, {0, 39, {0, 0, 255}}, {10, 10, {255, 255, 0}}}},
        {"generated/im_pal8_w220.pict", 220, 30, {{0, 0, {255, 0, 0}}, {219, 29, {0, 0, 255}}}},
        {"generated/np_w220.pict", 220, 30, {{0, 0, {255, 0, 0}}, {219, 29, {0, 0, 255}}}},
        // Odd rowBytes 37.
        {"generated/np_mono.pict", 37, 21, {{0, 0, {255, 255, 255}}, {20, 3, {0, 0, 0}}, {36, 20, {0, 0, 0}}}},
        {"generated/map_v1.pict", 60, 10, {{0, 0, {0, 0, 0}}, {59, 9, {0, 0, 0}}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path);
        const auto data = readFile(sample(c.path));
        ASSERT_FALSE(data.empty());
        const auto result = gfx::decodePictFile(data);
        ASSERT_TRUE(result.ok()) << result.error;
        ASSERT_EQ(result.image.width, c.width);
        ASSERT_EQ(result.image.height, c.height);
        for (const auto& p : c.probes)
            EXPECT_EQ(pixel(result.image, p.x, p.y), p.rgb) << "at " << p.x << "," << p.y;
    }
}

TEST(PictDecoder, SampleQuickTimePicturesNeedTheJpegDecoder)
{
    for (const char* path : {"public/tm_qt_mire_jpeg.pict", "generated/im_jpeg.pict"}) {
        SCOPED_TRACE(path);
        const auto data = readFile(sample(path));
        EXPECT_FALSE(gfx::decodePictFile(data).ok());
        const auto result = gfx::decodePictFile(data, qtJpegOptions());
        ASSERT_TRUE(result.ok()) << result.error;
        // ImageMagick's own JPEG picture is followed by an all-zero DirectBitsRect over the same
        // area; drawing it would leave the image black.
        int dark = 0;
        for (std::size_t i = 0; i < result.image.pixels.size(); i += 3)
            dark += (result.image.pixels[i] + result.image.pixels[i + 1] + result.image.pixels[i + 2]) < 30;
        EXPECT_LT(dark, result.image.width * result.image.height / 2);
    }
    const auto mire = gfx::decodePictFile(readFile(sample("public/tm_qt_mire_jpeg.pict")), qtJpegOptions());
    ASSERT_TRUE(mire.ok());
    EXPECT_EQ(mire.image.width, 64);
    const auto top = pixel(mire.image, 32, 1);
    EXPECT_GT(top[0], 200);   // red bar at the top, like the 16-bit mire
    EXPECT_LT(top[1], 60);
    EXPECT_LT(top[2], 60);
}

TEST(PictDecoder, VectorOnlyPictureIsRefusedAfterSkippingEveryReservedOpcode)
{
    // 8.pict holds nothing but vector drawing and reserved opcodes; reaching "no bitmap" proves
    // every skip rule kept the stream in step up to the end opcode.
    const auto result = gfx::decodePictFile(readFile(sample("public/tm_8_reserved_opcodes.pict")));
    EXPECT_FALSE(result.ok());
    EXPECT_NE(result.error.find("no bitmap"), std::string::npos) << result.error;
}
