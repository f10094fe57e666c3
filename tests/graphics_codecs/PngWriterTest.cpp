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

} // namespace

TEST(PngWriter, BothReadersGetThePixelsBack) {
    const gfx::RgbImage cases[] = {
        pattern(1, 1),
        pattern(37, 23),
        pattern(4000, 2),
        pattern(2, 3000),
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

// zlib records its level in the stream header: FLEVEL 0 is "fastest" (level 1), what Qt wrote
// for quality 80. A map of few colours still shrinks well at that level.
TEST(PngWriter, CompressionIsLight) {
    gfx::RgbImage map(314, 491);
    for (int y = 0; y < map.height; ++y)
        for (int x = 0; x < map.width; ++x)
            map.row(y)[x * 3 + 1] = static_cast<std::uint8_t>(((x / 16) ^ (y / 16)) & 1 ? 200 : 90);
    const gfx::PngBytes png = gfx::encodePng(map);
    ASSERT_TRUE(png.ok()) << png.error;
    const std::uint8_t idat[] = {'I', 'D', 'A', 'T'};
    const auto chunk = std::search(png.bytes.begin(), png.bytes.end(), std::begin(idat), std::end(idat));
    ASSERT_LT(chunk + 6, png.bytes.end());
    const std::uint8_t flg = chunk[5];
    EXPECT_EQ(chunk[4] & 0x0F, 8) << "deflate";
    EXPECT_EQ(flg >> 6, 0) << "zlib level 1";
    EXPECT_LT(png.bytes.size(), map.pixels.size() / 20);
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
