// The PNG reader on its own; the QuickTime 'png ' fixtures and the tool's tests check it on
// whole images.
#include "graphics/core/PngReader.h"

#include "TestFiles.h"

#include <gtest/gtest.h>
#include <string>

namespace {

using testfiles::readBytes;

std::filesystem::path quicktime(const std::string& name) {
    return testfiles::kData / "pict" / "quicktime" / name;
}

// 16-bit samples keep their high byte; grey becomes three equal channels.
TEST(PngReader, SixteenBitGreyKeepsTheHighByte) {
    const auto result = gfx::readPng(readBytes(quicktime("grey16.png")));
    ASSERT_TRUE(result.ok()) << result.error;
    ASSERT_EQ(result.image.width, 22);
    for (int x : {0, 1, 10, 21}) {
        const unsigned sample = unsigned(x) * 0xFFFFu / 21u;
        const std::uint8_t* p = result.image.row(13) + x * 3;
        EXPECT_EQ(p[0], sample >> 8) << "at " << x;
        EXPECT_EQ(p[1], p[0]);
        EXPECT_EQ(p[2], p[0]);
    }
}

// Limits are checked on the header: a PNG beyond them (either side, or the area) is refused with
// a message. Anything but a whole PNG fails with a message too.
TEST(PngReader, ImagesBeyondTheLimitsAndDamagedDataAreRefused) {
    const auto bytes = readBytes(quicktime("source_rgb.png"));
    for (gfx::PngLimits limits :
         {gfx::PngLimits{21, 14, 1000}, gfx::PngLimits{22, 13, 1000}, gfx::PngLimits{22, 14, 307}}) {
        const auto result = gfx::readPng(bytes, limits);
        EXPECT_FALSE(result.ok());
        EXPECT_FALSE(result.error.empty());
    }
    EXPECT_TRUE(gfx::readPng(bytes, gfx::PngLimits{22, 14, 308}).ok());

    EXPECT_EQ(gfx::readPng(std::span(bytes).first(7)).error, "not a PNG image");
    EXPECT_EQ(gfx::readPng(readBytes(quicktime("qt_source.ppm"))).error, "not a PNG image");
    for (std::size_t cut = 8; cut < bytes.size() - 12; ++cut) {
        const auto result = gfx::readPng(std::span(bytes).first(cut));
        ASSERT_FALSE(result.ok()) << "cut at " << cut;
        ASSERT_NE(result.error.find("PNG data is damaged"), std::string::npos) << result.error;
    }
}

} // namespace
