#include "PictTestSupport.h"

#include <gtest/gtest.h>
#include <new>
#include <string>
#include <vector>

using namespace picttest;

namespace {

gfx::ImageResult decodeFixture(const std::string& name, const gfx::PictOptions& options = {}) {
    return gfx::decodePictFile(readBytes(fixture(name)), options);
}

} // namespace

// Tool-written pictures reproduce their sources exactly: ImageMagick's 32-bit pack type 4 and
// 8-bit palettes, and rowBytes 230 where ImageMagick and netpbm write word counts although Apple's
// rule says byte counts. Hand-made ones cover what the tools never write: 1/2/4-bit indexed with
// short tables, 16-bit raw and word-packed, 32-bit planar with and without alpha, xRGB and RGB
// rows, version 1 BitMaps, odd-length opcodes with padding, reserved opcodes and pixel patterns,
// negative origins with bands, stretched and clipped bitmaps, srcOr, mask regions, extended
// version 2 resolution and a bitmap carried inside UncompressedQuickTime.
TEST(PictDecoder, FixturesMatchTheirExpectedImages) {
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"tool_im_rgb_37x23", "src_rgb_37x23.ppm"}, {"tool_im_pal_53x17", "src_pal_53x17.ppm"},
        {"tool_im_pal_260x5", "src_pal_260x5.ppm"}, {"tool_im_pal_230x4", "src_pal_230x4.ppm"},
        {"tool_np_pal_53x17", "src_pal_53x17.ppm"}, {"tool_np_pal_260x5", "src_pal_260x5.ppm"},
        {"tool_np_pal_230x4", "src_pal_230x4.ppm"},
    };
    auto all = cases;
    for (const char* hand :
         {"hand_indexed_1bit", "hand_indexed_2bit_short_table", "hand_indexed_4bit",
          "hand_indexed_4bit_unpacked", "hand_direct16_pack1", "hand_direct16_pack3",
          "hand_direct32_pack4_rgb", "hand_direct32_pack4_alpha", "hand_direct32_pack1_xrgb",
          "hand_direct32_pack2_rgb", "hand_v1_bitmap", "hand_odd_opcodes_aligned", "hand_scaled_offset_modes",
          "hand_mask_region_ext144", "hand_quicktime_uncompressed"})
        all.emplace_back(hand, std::string(hand) + ".expected.ppm");
    for (const auto& [pict, expected] : all) {
        SCOPED_TRACE(pict);
        const auto result = decodeFixture(pict + ".pict");
        ASSERT_TRUE(result.ok()) << result.error;
        EXPECT_TRUE(samePixels(result.image, readPpm(fixture(expected))));
    }
}

TEST(PictDecoder, ResourceAndFileLayoutsAreBothRecognised) {
    const auto file = readBytes(fixture("hand_direct16_pack3.pict"));
    const std::vector<std::uint8_t> resource(file.begin() + 512, file.end());
    const auto expected = readPpm(fixture("hand_direct16_pack3.expected.ppm"));
    for (const auto* data : {&file, &resource}) {
        EXPECT_TRUE(samePixels(gfx::decodePict(*data).image, expected));
        EXPECT_TRUE(samePixels(gfx::decodePictFile(*data).image, expected));
    }
    EXPECT_EQ(gfx::readPictInfo(resource).info.pictureOffset, 0u);
    EXPECT_EQ(gfx::readPictInfo(file).info.pictureOffset, 512u);
}

TEST(PictDecoder, InfoGivesCanvasSizeWithoutDecoding) {
    const auto ext = gfx::readPictFileInfo(readBytes(fixture("hand_mask_region_ext144.pict")));
    ASSERT_TRUE(ext.ok()) << ext.error;
    // The 72-dpi frame is 5 x 4; the picture draws at 144 dpi in a 10 x 8 space.
    EXPECT_EQ(ext.info.width, 10);
    EXPECT_EQ(ext.info.height, 8);
    EXPECT_TRUE(ext.info.version == 2 && ext.info.extendedVersion2);
    EXPECT_DOUBLE_EQ(ext.info.hRes, 144.0);
    EXPECT_EQ(gfx::readPictFileInfo(readBytes(fixture("hand_v1_bitmap.pict"))).info.version, 1);
    EXPECT_FALSE(gfx::readPictFileInfo(readBytes(fixture("bad_not_a_picture.pict"))).ok());
    EXPECT_FALSE(gfx::readPictFileInfo(readBytes(fixture("bad_frame_over_limit.pict"))).ok());
}

// The QuickTime image is placed by its matrix, the black stand-in bitmap that follows it for
// viewers without QuickTime is not drawn, and drawing continues after it. Without a working
// JPEG decoder the picture fails with the decoder's reason.
TEST(PictDecoder, QuickTimeJpegIsDrawnAndItsPlaceholderSkipped) {
    const auto result = decodeFixture("hand_quicktime_jpeg.pict", jpegOptions());
    if (gfx::jpegDecodingAvailable()) {
        ASSERT_TRUE(result.ok()) << result.error;
        EXPECT_TRUE(samePixels(result.image, readPpm(fixture("hand_quicktime_jpeg.expected.ppm")), 24));
    } else {
        EXPECT_NE(result.error.find("no JPEG decoder"), std::string::npos) << result.error;
    }

    gfx::PictOptions failing, throwing;
    failing.jpegDecoder = [](std::span<const std::uint8_t>) { return gfx::ImageResult::failure("broken"); };
    throwing.jpegDecoder = [](std::span<const std::uint8_t>) -> gfx::ImageResult { throw std::bad_alloc(); };
    const std::pair<gfx::PictOptions, const char*> refusals[] = {
        {{}, "JPEG"}, {failing, "broken"}, {throwing, "memory"}};
    for (const auto& [options, reason] : refusals) {
        const auto refused = decodeFixture("hand_quicktime_jpeg.pict", options);
        EXPECT_FALSE(refused.ok());
        EXPECT_NE(refused.error.find(reason), std::string::npos) << refused.error;
    }
}

// Public and generated samples: sizes and pixels checked against an independent look at each
// picture, at corners and inside. Vector drawings decode to what they show (the lake of carte,
// the cow's coat, the blue disc of oom, the colours of the tapestry scene), at the sizes the suite
// states for carte, cow and oom (cow's canvas is its extended header's source rectangle, one row
// taller than the 72-dpi frame).
TEST(PictDecoder, SamplesDecodeToKnownPixels) {
    struct SampleCase {
        struct {
            const char* path;
            int width, height;
        } picture;
        std::vector<std::array<int, 5>> probes; // x, y, red, green, blue
    };
    const std::vector<SampleCase> cases = {
        // 16-bit pack type 3 with byte counts; colour bars red at the top, grey steps, black.
        {{"public/tm_mire16.pict", 64, 64},
         {{0, 0, 255, 0, 0}, {63, 0, 255, 0, 0}, {20, 30, 132, 132, 132}, {40, 30, 0, 0, 0}}},
        // 16-bit with word counts; bounds 270 wide drawn through a 269-wide srcRect.
        {{"public/tm_16bit.pict", 269, 269},
         {{0, 0, 214, 214, 198}, {268, 0, 231, 255, 247}, {134, 134, 156, 156, 123}}},
        // 32-bit with an alpha plane first.
        {{"public/tm_food.pct", 146, 194},
         {{0, 0, 175, 164, 110}, {145, 193, 237, 242, 245}, {73, 97, 152, 56, 0}}},
        // 44 bands of 10 rows, device colour table.
        {{"public/tm_1_44bands_8bit.pict", 622, 437},
         {{0, 0, 153, 153, 102}, {621, 0, 51, 51, 0}, {0, 436, 204, 102, 102}, {621, 436, 153, 51, 0}}},
        // Version 1, 1-bit BitMap with word counts.
        {{"public/tm_FC10_v1.PCT", 2265, 2593},
         {{0, 0, 255, 255, 255}, {1100, 1200, 0, 0, 0}, {2264, 2592, 255, 255, 255}}},
        // No 512-byte header; 32-bit, cmpCount 4, all white.
        {{"public/exiftool_PICT_headerless.pict", 8, 8}, {{0, 0, 255, 255, 255}, {7, 7, 255, 255, 255}}},
        // ImageMagick's byte counts on 32-bit rowBytes 256: red at the top, blue at the bottom, a yellow
        // square.
        {{"generated/im_rgb24.pict", 64, 40},
         {{0, 0, 255, 0, 0}, {63, 0, 255, 0, 0}, {0, 39, 0, 0, 255}, {10, 10, 255, 255, 0}}},
        // Odd rowBytes 37.
        {{"generated/np_mono.pict", 37, 21}, {{0, 0, 255, 255, 255}, {20, 3, 0, 0, 0}, {36, 20, 0, 0, 0}}},
        {{"public/tm_carte.pict", 782, 598},
         {{400, 250, 51, 204, 255}, {300, 60, 102, 204, 0}, {420, 140, 221, 221, 221}}},
        {{"public/tm_cow.pict", 787, 548},
         {{600, 100, 240, 232, 194}, {10, 10, 0, 0, 0}, {150, 300, 255, 255, 255}}},
        {{"public/tm_oom.pict", 1713, 1263},
         {{600, 400, 0, 153, 216}, {100, 1050, 0, 0, 0}, {0, 0, 255, 255, 255}}},
        {{"public/tm_EDUC0052.pict", 1024, 723}, {{260, 560, 161, 63, 0}, {650, 300, 210, 176, 106}}},
        {{"public/tm_4.pict", 515, 315}, {{3, 3, 221, 221, 255}, {30, 30, 0, 0, 0}}},
        {{"public/tm_5.pict", 384, 384}, {{3, 3, 0, 0, 0}, {100, 100, 0, 16, 64}}},
        // "Inverted" over an inverted band, "Hilited" over a highlighted one.
        {{"public/tm_6.pict", 335, 300}, {{10, 10, 0, 0, 0}, {10, 200, 204, 204, 255}}},
        {{"public/tm_7.pict", 500, 300}, {{250, 200, 0, 0, 136}, {400, 40, 255, 255, 255}}},
        {{"public/tm_8_reserved_opcodes.pict", 300, 300}, {{5, 5, 0, 0, 0}, {150, 150, 255, 255, 255}}},
        {{"public/tm_qt_mire_jpeg.pict", 64, 64}, {}},
    };
    for (const auto& [picture, probes] : cases) {
        SCOPED_TRACE(picture.path);
        if (!gfx::jpegDecodingAvailable() && std::string(picture.path).find("jpeg") != std::string::npos)
            continue; // the Windows cross build has no JPEG decoder
        const auto result = gfx::decodePictFile(readBytes(fixture(picture.path)), jpegOptions());
        ASSERT_TRUE(result.ok()) << result.error;
        ASSERT_EQ(result.image.width, picture.width);
        ASSERT_EQ(result.image.height, picture.height);
        for (const auto& [x, y, r, g, b] : probes)
            EXPECT_EQ(pixel(result.image, x, y), (std::array{r, g, b})) << "at " << x << "," << y;
    }
    // The QuickTime codecs' own tests decode these; a build without the image libraries (the
    // Windows cross build) must say which one it lacks rather than fail otherwise.
    for (const char* name : {"tm_u2.pict", "tm_foo.pict", "tm_qt_png.pict", "tm_qt_tiff.pict",
                             "tm_qt_bmp.pict", "tm_P30946BDC.pict"}) {
        SCOPED_TRACE(name);
        const auto result = gfx::decodePictFile(readBytes(fixture(std::string("public/") + name)));
        EXPECT_TRUE(result.ok() || result.error.find("are not supported") != std::string::npos ||
                    result.error.find("this build of the program") != std::string::npos)
            << result.error;
    }
}
