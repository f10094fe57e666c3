// PNG output read back by two independent readers, libpng's and Qt's, pixel for pixel; and the
// light compression the tool promises.
#include "graphics/core/PngWriter.h"

#include "CodecTestSupport.h"

#include <gtest/gtest.h>
#include <png.h>

using testfiles::samePixels;

namespace {

gfx::RgbImage readWithLibpng(const std::vector<std::uint8_t>& file) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_memory(&image, file.data(), file.size()))
        return {};
    image.format = PNG_FORMAT_RGB;
    gfx::RgbImage out(static_cast<int>(image.width), static_cast<int>(image.height));
    if (!png_image_finish_read(&image, nullptr, out.pixels.data(), 0, nullptr)) {
        png_image_free(&image);
        return {};
    }
    return out;
}

// Every value in every channel, in a pattern that differs from row to row.
gfx::RgbImage pattern(int width, int height) {
    gfx::RgbImage image(width, height);
    for (std::size_t i = 0; i < image.pixels.size(); ++i)
        image.pixels[i] = static_cast<std::uint8_t>((i * 7919u) ^ (i >> 5));
    return image;
}

// `colours` distinct colours, spread over the three channels, in runs of varying length.
gfx::RgbImage withColours(int colours, int width = 61, int height = 47) {
    gfx::RgbImage image(width, height);
    for (int i = 0; i < image.width * image.height; ++i) {
        const int c = (i / (1 + i % 3)) % colours;
        const std::uint8_t rgb[3] = {static_cast<std::uint8_t>(c * 37), static_cast<std::uint8_t>(c >> 3),
                                     static_cast<std::uint8_t>(255 - c)};
        std::copy_n(rgb, 3, image.pixels.data() + static_cast<std::size_t>(i) * 3);
    }
    return image;
}

} // namespace

// Up to 256 colours the file is a palette image (colour type 3), beyond that RGB (type 2); the
// pixels come back the same either way. Large pictures are deflated in pieces on several threads
// and joined into one stream: 1500 x 1500 makes eight pieces of either kind.
TEST(PngWriter, FewColoursMakeAPaletteImage) {
    struct Case {
        int colours, colourType, width = 61, height = 47;
    };
    const Case cases[] = {
        {1, 3}, {2, 3}, {255, 3}, {256, 3}, {257, 2}, {1000, 2}, {200, 3, 1500, 1500}, {2000, 2, 1500, 1500}};
    for (const auto& [colours, colourType, width, height] : cases) {
        SCOPED_TRACE(std::to_string(colours) + " colours, " + std::to_string(width) + " x " +
                     std::to_string(height));
        const gfx::RgbImage image = withColours(colours, width, height);
        const gfx::PngBytes png = gfx::encodePng(image);
        ASSERT_TRUE(png.ok()) << png.error;
        EXPECT_EQ(png.bytes[25], colourType); // IHDR: signature 8, length 4, type 4, size 8, depth 1
        EXPECT_TRUE(samePixels(readWithLibpng(png.bytes), image));
        EXPECT_TRUE(samePixels(codectest::readWithQt(png.bytes), image));
    }
}

TEST(PngWriter, BothReadersGetThePixelsBack) {
    const gfx::RgbImage cases[] = {
        pattern(1, 1),
        pattern(37, 23),
        pattern(4000, 2),
        pattern(2, 3000),
        pattern(1100, 1000), // deflated in pieces
        testfiles::readPpm(testfiles::kData / "pict" / "src_pal_260x5.ppm"),
        testfiles::readPpm(testfiles::kData / "forks" / "pict1013.ppm"),
    };
    for (const gfx::RgbImage& image : cases) {
        SCOPED_TRACE(std::to_string(image.width) + "x" + std::to_string(image.height));
        ASSERT_FALSE(image.isNull());
        const gfx::PngBytes png = gfx::encodePng(image);
        ASSERT_TRUE(png.ok()) << png.error;
        EXPECT_TRUE(samePixels(readWithLibpng(png.bytes), image));
        EXPECT_TRUE(samePixels(codectest::readWithQt(png.bytes), image));
    }
}

// zlib records its level in the stream header: FLEVEL 0 is "fastest" (level 1, or a run-only
// strategy), what Qt wrote for quality 80. A map still shrinks well at that level.
TEST(PngWriter, CompressionIsLight) {
    for (const bool manyColours : {false, true}) {
        SCOPED_TRACE(manyColours);
        gfx::RgbImage map(314, 491);
        for (int y = 0; y < map.height; ++y)
            for (int x = 0; x < map.width; ++x) {
                map.row(y)[x * 3 + 1] = static_cast<std::uint8_t>(((x / 16) ^ (y / 16)) & 1 ? 200 : 90);
                // Many colours: each 16 x 16 block its own, as on a true-colour map of flat areas.
                map.row(y)[x * 3] = static_cast<std::uint8_t>(manyColours ? (x / 16) * 11 : 0);
                map.row(y)[x * 3 + 2] = static_cast<std::uint8_t>(manyColours ? (y / 16) * 7 : 0);
            }
        const gfx::PngBytes png = gfx::encodePng(map);
        ASSERT_TRUE(png.ok()) << png.error;
        EXPECT_EQ(png.bytes[25], manyColours ? 2 : 3) << "RGB or palette";
        const std::uint8_t idat[] = {'I', 'D', 'A', 'T'};
        const auto chunk = std::search(png.bytes.begin(), png.bytes.end(), std::begin(idat), std::end(idat));
        ASSERT_LT(chunk + 6, png.bytes.end());
        const std::uint8_t flg = chunk[5];
        EXPECT_EQ(chunk[4] & 0x0F, 8) << "deflate";
        EXPECT_EQ(flg >> 6, 0) << "zlib level 1";
        EXPECT_LT(png.bytes.size(), map.pixels.size() / 20);
    }
}

// A large picture is deflated in pieces, each coded to suit its own rows (noise above must not
// make the flat rows below cost what noise costs, whichever thread takes them), and the file is
// the same whatever the number of threads.
TEST(PngWriter, PiecesAreCodedForTheirOwnRowsOnAnyNumberOfThreads) {
    gfx::RgbImage image(1024, 1024);
    std::uint32_t seed = 1;
    for (int y = 0; y < image.height; ++y)
        for (int x = 0; x < image.width * 3; ++x) {
            seed = seed * 1664525u + 1013904223u;
            // Rows of noise above, then 16 x 16 blocks of many colours.
            image.row(y)[x] =
                static_cast<std::uint8_t>(y < 256 ? seed >> 24 : ((x / 48) * 7 + (y / 16) * 13 + x % 3));
        }
    const gfx::PngBytes png = gfx::encodePng(image, 1);
    ASSERT_TRUE(png.ok()) << png.error;
    EXPECT_EQ(png.bytes[25], 2) << "RGB";
    EXPECT_TRUE(samePixels(readWithLibpng(png.bytes), image));
    const std::size_t noise = 256u * (1024u * 3u + 1u);
    const std::size_t flat = 768u * (1024u * 3u + 1u);
    EXPECT_LT(png.bytes.size(), noise + noise / 50 + flat / 20);
    for (const unsigned threads : {2u, 3u, 8u})
        EXPECT_TRUE(gfx::encodePng(image, threads).bytes == png.bytes) << threads << " threads";
}

TEST(PngWriter, AnEmptyPictureIsRefused) {
    gfx::RgbImage broken;
    broken.width = 10;
    broken.height = 10; // no pixels behind the size
    for (const gfx::RgbImage& image : {gfx::RgbImage{}, broken}) {
        const gfx::PngBytes png = gfx::encodePng(image);
        EXPECT_FALSE(png.ok());
        EXPECT_TRUE(png.bytes.empty());
    }
}
