// End to end through mapquill-tool: QuickTime pictures rendered to PNG files by the real
// executable, read back with the core's PNG reader.
#include "TestFiles.h"
#include "graphics/core/PictDecoder.h"
#include "graphics/core/PngReader.h"
#include "graphics/fonts/FreeTypeText.h"

#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>
#include <string>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

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

} // namespace
