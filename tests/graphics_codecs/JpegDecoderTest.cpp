// The one JPEG path of the editor and the tool (libjpeg-turbo) against Qt's JPEG reader, which
// both used before: the same pixels on every fixture, the same orientation handling, and limits
// and failures of its own.
#include "graphics/core/JpegDecoder.h"

#include "CodecTestSupport.h"
#include "graphics/core/PictDecoder.h"

#include <QLoggingCategory>

#include <algorithm>
#include <array>
#include <gtest/gtest.h>

using codectest::jpegFixture;
using codectest::readWithQt;
using testfiles::samePixels;

namespace {

class JpegFiles : public testing::TestWithParam<const char*> {};

} // namespace

// Pixel-exact: both sides run libjpeg-turbo with its accurate defaults.
TEST_P(JpegFiles, DecodeToQtsPixels) {
    QLoggingCategory::setFilterRules(QStringLiteral("qt.gui.imageio.jpeg=false"));
    const std::vector<std::uint8_t> file = jpegFixture(GetParam());
    ASSERT_FALSE(file.empty());
    const gfx::ImageResult ours = gfx::decodeJpegFile(file);
    ASSERT_TRUE(ours.ok()) << ours.error;
    EXPECT_TRUE(samePixels(ours.image, readWithQt(file, true)));
}

INSTANTIATE_TEST_SUITE_P(Fixtures, JpegFiles,
                         testing::Values("sub444.jpg", "sub422.jpg", "sub420.jpg", "progressive.jpg",
                                         "grey.jpg", "cmyk.jpg", "truncated.jpg", "orient1.jpg",
                                         "orient2.jpg", "orient3.jpg", "orient4.jpg", "orient5.jpg",
                                         "orient6.jpg", "orient7.jpg", "orient8.jpg", "orient6_be.jpg"));

// QuickTime JPEG inside PICTs, drawn through the core decoder, equals the drawing through the
// Qt-based hook the editor and the tool had before.
TEST(JpegInPict, DrawsWhatTheQtHookDrew) {
    gfx::PictOptions qt;
    qt.jpegDecoder = [](std::span<const std::uint8_t> jpeg) {
        gfx::ImageResult result;
        result.image = readWithQt(jpeg);
        if (result.image.isNull())
            result.error = "Qt cannot read it";
        return result;
    };
    gfx::PictOptions core;
    core.jpegDecoder = gfx::decodeJpeg;
    for (const std::filesystem::path& path :
         {testfiles::kData / "pict" / "hand_quicktime_jpeg.pict",
          testfiles::kData / "pict" / "public" / "tm_qt_mire_jpeg.pict"}) {
        SCOPED_TRACE(path.string());
        const std::vector<std::uint8_t> pict = testfiles::readBytes(path);
        const gfx::ImageResult ours = gfx::decodePictFile(pict, core);
        ASSERT_TRUE(ours.ok()) << ours.error;
        EXPECT_TRUE(samePixels(ours.image, gfx::decodePictFile(pict, qt).image));
    }
}

// The stored picture is not turned by the bare decoder (QuickTime JPEG has no orientation), and
// each orientation turns the 37 x 23 picture the way its name says.
TEST(JpegOrientation, EachExifValueTurnsThePicture) {
    const gfx::RgbImage stored = gfx::decodeJpeg(jpegFixture("orient6.jpg")).image;
    ASSERT_EQ(stored.width, 37);
    const auto at = [](const gfx::RgbImage& image, int x, int y) {
        const std::uint8_t* p = image.row(y) + static_cast<std::size_t>(x) * 3;
        return std::array<int, 3>{p[0], p[1], p[2]};
    };
    const int w = stored.width - 1, h = stored.height - 1;
    struct Case {
        int orientation;
        int width;
        std::array<int, 2> storedTopLeftLandsAt;
    };
    const Case cases[] = {{1, 37, {0, 0}}, {2, 37, {w, 0}}, {3, 37, {w, h}}, {4, 37, {0, h}},
                          {5, 23, {0, 0}}, {6, 23, {h, 0}}, {7, 23, {h, w}}, {8, 23, {0, w}}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.orientation);
        const std::string name = "orient" + std::to_string(c.orientation) + ".jpg";
        EXPECT_EQ(gfx::jpegExifOrientation(jpegFixture(name)), c.orientation);
        const gfx::RgbImage turned = gfx::applyExifOrientation(stored, c.orientation);
        ASSERT_EQ(turned.width, c.width);
        EXPECT_EQ(at(turned, c.storedTopLeftLandsAt[0], c.storedTopLeftLandsAt[1]), at(stored, 0, 0));
    }
}

// A damaged Exif block never turns the picture nor reads outside the stream.
TEST(JpegOrientation, DamagedExifCountsAsUpright) {
    const std::vector<std::uint8_t> good = jpegFixture("orient6.jpg");
    ASSERT_EQ(gfx::jpegExifOrientation(good), 6);
    // Offsets into the file: APP1 length at 4 (34 bytes), "Exif" at 6, TIFF at 12, IFD offset at 16,
    // entry count at 20, the entry's type at 24, its count at 26, its value at 30.
    const std::pair<std::size_t, std::uint8_t> damage[] = {
        {4, 0x40}, {5, 0x05}, {6, 'X'}, {12, 'X'}, {16, 0xF0}, {20, 0x00}, {24, 0x04}, {26, 0x02}, {30, 0x09},
    };
    for (const auto& [offset, value] : damage) {
        std::vector<std::uint8_t> bad = good;
        bad[offset] = value;
        EXPECT_EQ(gfx::jpegExifOrientation(bad), 1) << "byte " << offset;
    }
    for (std::size_t cut = 0; cut < 38; ++cut) // the Exif segment ends at 38
        EXPECT_EQ(gfx::jpegExifOrientation(std::span(good).first(cut)), 1) << "cut at " << cut;
}

TEST(JpegDecoder, RefusesWhatItCannotDecode) {
    std::vector<std::uint8_t> huge = jpegFixture("sub444.jpg");
    // The frame header (FF C0, length, precision, height, width): claim 30000 x 30000.
    const std::uint8_t frameMarker[] = {0xFF, 0xC0};
    const auto sof = std::search(huge.begin(), huge.end(), std::begin(frameMarker), std::end(frameMarker));
    ASSERT_NE(sof, huge.end());
    const std::size_t at = static_cast<std::size_t>(sof - huge.begin()) + 5;
    huge[at] = huge[at + 2] = 0x75;
    huge[at + 1] = huge[at + 3] = 0x30;
    const std::vector<std::uint8_t> sub420 = jpegFixture("sub420.jpg");
    const std::pair<std::vector<std::uint8_t>, const char*> cases[] = {
        {{}, "not a JPEG"},
        {{0xFF, 0xD8, 0xFF, 0xD9}, "header"},
        {{'G', 'I', 'F', '8', '9', 'a'}, "not a JPEG"},
        {std::vector<std::uint8_t>(sub420.begin(), sub420.begin() + 100), "header"},
        {huge, "too large (30000 x 30000)"},
    };
    for (const auto& [bytes, reason] : cases) {
        const gfx::ImageResult result = gfx::decodeJpegFile(bytes);
        EXPECT_FALSE(result.ok()) << reason;
        EXPECT_NE(result.error.find(reason), std::string::npos) << result.error;
    }
}
