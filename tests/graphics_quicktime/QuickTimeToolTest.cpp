// End to end through mapquill-tool: QuickTime pictures rendered to PNG files by the real
// executable, read back with the core's PNG reader.
#include "TestFiles.h"
#include "graphics/core/PictDecoder.h"
#include "graphics/core/PngReader.h"
#include "graphics/fonts/FreeTypeText.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>
#include <string>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

// The PNG stream a 'png ' QuickTime picture carries, decoded on its own: what a Mac with
// QuickTime shows.
gfx::RgbImage embeddedPng(const std::vector<std::uint8_t>& pict) {
    const std::array<std::uint8_t, 8> signature{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    const auto at = std::search(pict.begin(), pict.end(), signature.begin(), signature.end());
    if (at == pict.end())
        return {};
    return gfx::readPng(std::span(pict).subspan(static_cast<std::size_t>(at - pict.begin()))).image;
}

// The pixels of a rectangle, row by row.
gfx::RgbImage crop(const gfx::RgbImage& img, int left, int top, int right, int bottom) {
    gfx::RgbImage out(right - left, bottom - top);
    for (int y = top; y < bottom; ++y)
        std::copy_n(img.row(y) + std::size_t(left) * 3, std::size_t(right - left) * 3, out.row(y - top));
    return out;
}

TEST(QuickTimeTool, MapRendersQuickTimePicturesToPng) {
    const fs::path dir = fs::temp_directory_path() / ("mq_quicktime_tool_" + std::to_string(::getpid()));
    fs::create_directories(dir);
    const fs::path pict = testfiles::kData / "pict";
    const std::pair<fs::path, fs::path> cases[] = {
        {pict / "quicktime" / "qt_smc.pict", pict / "quicktime" / "qt_smc.expected.ppm"},
        {pict / "quicktime" / "qt_8bps_24.pict", pict / "quicktime" / "qt_8bps_24.expected.ppm"},
        {pict / "public" / "tm_qt_png.pict", {}},
    };
    for (const auto& [source, expected] : cases) {
        SCOPED_TRACE(source.string());
        const fs::path out = dir / "out.png";
        fs::remove(out);
        const std::string command = std::string("'") + MQ_TOOL_PATH + "' map --from picture '" +
                                    source.string() + "' '" + out.string() + "' >/dev/null 2>&1";
        ASSERT_EQ(std::system(command.c_str()), 0);
        const auto png = gfx::readPng(testfiles::readBytes(out));
        ASSERT_TRUE(png.ok()) << png.error;
        // The tool draws a picture's text with FreeType: so does the reference.
        gfx::PictOptions withText;
        withText.textRenderer = gfx::freeTypeTextRenderer();
        const gfx::RgbImage want = expected.empty()
                                       ? gfx::decodePictFile(testfiles::readBytes(source), withText).image
                                       : testfiles::readPpm(expected);
        EXPECT_TRUE(testfiles::samePixels(png.image, want));
    }
    fs::remove_all(dir);
}

// The tool draws picture text with real fonts. A QuickTime picture's fallback text ("QuickTime and
// a PNG decompressor are needed to see this picture", around x 150..360, y 300..345) must not
// cover the image: there the tool's output is the embedded PNG itself.
TEST(QuickTimeTool, MapLeavesOutTheFallbackTextOfADecodedImage) {
    const testfiles::TempDir dir("mq_quicktime_fallback");
    const fs::path source = testfiles::kData / "pict" / "public" / "tm_qt_png.pict";
    const fs::path out = dir.path() / "out.png";
    const std::string command = std::string("'") + MQ_TOOL_PATH + "' map --from picture '" + source.string() +
                                "' '" + out.string() + "' >/dev/null 2>&1";
    ASSERT_EQ(std::system(command.c_str()), 0);
    const auto rendered = gfx::readPng(testfiles::readBytes(out));
    ASSERT_TRUE(rendered.ok()) << rendered.error;
    const gfx::RgbImage image = embeddedPng(testfiles::readBytes(source));
    ASSERT_EQ(image.width, 500);
    ASSERT_EQ(image.height, 662);
    ASSERT_EQ(rendered.image.width, image.width);
    ASSERT_EQ(rendered.image.height, image.height);
    EXPECT_TRUE(
        testfiles::samePixels(crop(rendered.image, 150, 295, 360, 350), crop(image, 150, 295, 360, 350)));
    EXPECT_TRUE(testfiles::samePixels(rendered.image, image));
}

} // namespace
