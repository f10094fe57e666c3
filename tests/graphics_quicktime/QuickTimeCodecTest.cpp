#include "TestFiles.h"
#include "graphics/core/PictDecoder.h"
#include "graphics/core/SharedLibrary.h"
#include "graphics/core/quicktime/QuickTimeCodecs.h"

#include <algorithm>
#include <array>
#include <gtest/gtest.h>
#include <iterator>
#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace {

using testfiles::readBytes;
using testfiles::readPpm;
using testfiles::samePixels;

std::filesystem::path quicktime(const std::string& name) {
    return testfiles::kData / "pict" / "quicktime" / name;
}
std::filesystem::path publicSample(const std::string& name) {
    return testfiles::kData / "pict" / "public" / name;
}

using Rgb = std::array<int, 3>;

Rgb pixel(const gfx::RgbImage& img, int x, int y) {
    const std::uint8_t* p = img.row(y) + static_cast<std::size_t>(x) * 3;
    return {p[0], p[1], p[2]};
}

std::vector<std::string> words(const std::string& text) {
    std::istringstream in(text);
    return {std::istream_iterator<std::string>(in), std::istream_iterator<std::string>()};
}

::testing::AssertionResult near(const Rgb& got, const Rgb& want, int tolerance) {
    for (std::size_t c = 0; c < 3; ++c)
        if (std::abs(got[c] - want[c]) > tolerance)
            return ::testing::AssertionFailure()
                   << "(" << got[0] << "," << got[1] << "," << got[2] << ") instead of (" << want[0] << ","
                   << want[1] << "," << want[2] << ")";
    return ::testing::AssertionSuccess();
}

// Every fixture decodes to exactly the pixels its generator expects: the source image for our
// own encoders and the lossless file formats, ffmpeg's own decoding for what ffmpeg encoded.
// Where the fixture holds the source image, the decoding must also be that image (lossy codecs:
// known pixels of it, within a tolerance), so flipped rows, swapped channels or a wrong byte order
// show even where the expected image came from another decoder.
TEST(QuickTimeCodecs, FixturesMatchTheirExpectedImages) {
    const std::vector<std::string> ofTheSource = words(
        "raw_24 raw_32 raw_16 raw_8_own_table bmp_24 bmp_rle8 8bps_24 8bps_32 8bps_8_own_table png_rgb "
        "png_interlaced tiff_rgb_lzw tiff_rgb_uncompressed gif_plain gif_interlaced rle_24 rle_16 rle_32 "
        "rle_8_own_table smc");
    // Grey, 1-bit, default-palette and alpha versions of the source image.
    const std::vector<std::string> others = words(
        "raw_1_padded_rows raw_grey8 raw_8_mac_table png_alpha_over_white png_palette_transparent "
        "tiff_alpha_over_white gif_transparent rle_grey8 rle_4_mac_table rle_2_mac_table rle_1 cvid_grey");
    const std::map<std::string, int> lossy = {{"rpza", 12}, {"cvid", 24}};
    std::vector<std::string> all = ofTheSource;
    all.insert(all.end(), others.begin(), others.end());
    all.insert(all.end(), {"rpza", "cvid"});

    const gfx::RgbImage source = readPpm(quicktime("qt_source.ppm"));
    for (const std::string& name : all) {
        SCOPED_TRACE(name);
        const auto result = gfx::decodePictFile(readBytes(quicktime("qt_" + name + ".pict")));
        ASSERT_TRUE(result.ok()) << result.error;
        EXPECT_TRUE(samePixels(result.image, readPpm(quicktime("qt_" + name + ".expected.ppm"))));
        if (lossy.contains(name)) {
            // Quadrant corners and inside, the dark and the white square; not the single dark
            // pixel at (13, 2), which lossy block codecs blur.
            for (const auto& [x, y] :
                 {std::pair{0, 0}, {21, 0}, {0, 13}, {21, 13}, {5, 6}, {17, 10}, {11, 7}})
                EXPECT_TRUE(near(pixel(result.image, x, y), pixel(source, x, y), lossy.at(name)))
                    << "at " << x << "," << y;
        } else if (std::find(others.begin(), others.end(), name) == others.end()) {
            EXPECT_TRUE(samePixels(result.image, source));
        }
    }
}

// Each damaged picture fails with a message that names the codec's problem; an unknown codec
// keeps the message it always had.
TEST(QuickTimeCodecs, DamagedImagesFailWithAMessage) {
    const std::vector<std::pair<const char*, const char*>> cases = {
        {"raw_cut_off", "'raw ' cannot be decoded: pixel data is cut off"},
        {"raw_depth_12", "depth 12"},
        {"unknown_codec", "QuickTime pictures compressed as 'xyzw' are not supported"},
        {"size_too_large_for_data", "too large"},
        {"bmp_rle8_run_past_row", "past its row"},
        {"bmp_rle8_no_end_code", "before its end code"},
        {"rle_cut_off", "'rle ' cannot be decoded: data is cut off"},
        {"rle_codes_past_row", "past the end of row 0"},
        {"rle_1_codes_past_row", "past the end of row 0"},
        {"smc_repeat_before_any_block", "repeat comes before"},
        {"smc_cut_off", "cut off"},
        {"rpza_no_chunk_marker", "chunk marker"},
        {"rpza_cut_off", "cut off"},
        {"cvid_strip_outside_image", "outside the image"},
        {"cvid_cut_off", "no block codes"},
        {"cvid_blocks_past_padding", "outside the image"},
        {"8bps_length_table_cut_off", "row length table is cut off"},
        {"8bps_rows_cut_off", "runs past the data"},
        {"png_bad_crc", "PNG data is damaged"},
        {"png_cut_off", "PNG data is damaged"},
        {"png_larger_than_description", "PNG image of 22 x 14 is larger than allowed"},
        {"tiff_cut_off", "TIFF"},
        {"tiff_not_a_tiff", "not a TIFF image"},
        {"tiff_larger_than_description", "TIFF image of 22 x 14 is larger than its description says"},
        {"gif_larger_than_description", "GIF image of 22 x 14 is larger than its description says"},
        {"gif_cut_off", "GIF data is damaged"},
        {"gif_not_a_gif", "not a GIF image"},
    };
    for (const auto& [name, messagePart] : cases) {
        SCOPED_TRACE(name);
        const auto result =
            gfx::decodePictFile(readBytes(quicktime(std::string("bad_qt_") + name + ".pict")));
        EXPECT_FALSE(result.ok());
        EXPECT_TRUE(result.image.isNull());
        EXPECT_NE(result.error.find(messagePart), std::string::npos) << result.error;
        EXPECT_NE(result.error.find("(opcode 0x8200)"), std::string::npos) << result.error;
    }
}

// TIFF, GIF and text libraries are opened when first needed; one that cannot be opened, or lacks a
// function, is a message for the picture that needed it, never a crash at a null pointer.
TEST(QuickTimeCodecs, ALibraryThatCannotBeLoadedIsAMessage) {
    struct Library : gfx::SharedLibrary {
        void (*function)() = nullptr;
        Library(const char* name, const char* symbol) : SharedLibrary(name) { bind(function, symbol); }
    };
    const Library missing("libmapquill-no-such-library.so.3", "anything");
    EXPECT_FALSE(missing.ok());
    EXPECT_EQ(missing.function, nullptr);
    EXPECT_EQ(
        missing.failure("reading GIF images")
            .rfind("reading GIF images needs libmapquill-no-such-library.so.3, which could not be loaded: ",
                   0),
        0u)
        << missing.failure("reading GIF images");

    const Library lacking("libz.so.1", "mapquill_no_such_function");
    EXPECT_FALSE(lacking.ok());
    EXPECT_NE(lacking.error().find("it has no function mapquill_no_such_function"), std::string::npos);

    const Library found("libz.so.1", "zlibVersion");
    EXPECT_TRUE(found.ok()) << found.error();
    EXPECT_NE(found.function, nullptr);
}

// Cut anywhere, a picture fails with a message or (for cuts inside trailing data a codec does not
// need) still decodes; it never crashes or reads past its bytes (the sanitizer build checks that).
TEST(QuickTimeCodecs, EveryTruncationFailsCleanly) {
    for (const char* name : {"raw_8_own_table", "bmp_rle8", "8bps_24", "png_rgb", "tiff_rgb_lzw",
                             "gif_interlaced", "rle_16", "smc", "rpza", "cvid"}) {
        SCOPED_TRACE(name);
        const auto data = readBytes(quicktime(std::string("qt_") + name + ".pict"));
        for (std::size_t cut = 512; cut < data.size(); ++cut) {
            const auto result = gfx::decodePictFile(std::span(data).first(cut));
            ASSERT_FALSE(result.ok()) << "cut at " << cut;
            ASSERT_FALSE(result.error.empty()) << "cut at " << cut;
        }
    }
}

// Indexed and grey images without a colour table of their own use the Mac's default tables: the
// 8-bit system table (a 6x6x6 cube from white, ramps of red, green, blue and grey, black last), the
// 16-colour table, and grey ramps from white at index 0 to black. The fixtures show the entries
// they use (cube corners, the 16 colours, 2-bit grey); these are the others.
TEST(QuickTimeCodecs, DefaultColourTablesAreTheMacOnes) {
    using gfx::quicktime::defaultPalette;
    using gfx::quicktime::Rgb;
    const auto mac8 = defaultPalette(8);
    EXPECT_EQ(mac8[1], (Rgb{255, 255, 204}));
    EXPECT_EQ(mac8[214], (Rgb{0, 0, 51}));
    EXPECT_EQ(mac8[215], (Rgb{238, 0, 0}));
    EXPECT_EQ(mac8[225], (Rgb{0, 238, 0}));
    EXPECT_EQ(mac8[244], (Rgb{0, 0, 17}));
    EXPECT_EQ(mac8[245], (Rgb{238, 238, 238}));
    EXPECT_EQ(mac8[255], (Rgb{0, 0, 0}));
    EXPECT_EQ(defaultPalette(4)[15], (Rgb{0, 0, 0}));
    EXPECT_EQ(defaultPalette(34)[1], (Rgb{170, 170, 170}));
    EXPECT_EQ(defaultPalette(36)[15], (Rgb{0, 0, 0}));
    EXPECT_EQ(defaultPalette(40)[1], (Rgb{254, 254, 254}));
}

// The public suite's QuickTime pictures: sizes, and pixels read independently from the bytes of
// each embedded image (raw samples directly, PNG and TIFF through ImageMagick). The PNG, TIFF and
// BMP pictures hold the same image and must agree to the pixel.
// Every one of them carries, after its compressed image, the text a Mac without QuickTime shows
// instead ("QuickTime and a ... decompressor are needed to see this picture"): a decoded image
// leaves that text out.
TEST(QuickTimeCodecs, PublicSamplesDecode) {
    struct Case {
        struct {
            const char* name;
            int width, height;
        } picture;
        std::vector<std::array<int, 5>> probes; // x, y, red, green, blue
    };
    const Case cases[] = {
        {{"tm_u2.pict", 160, 159},
         {{0, 0, 202, 200, 196}, {159, 0, 188, 199, 188}, {0, 158, 38, 34, 27}, {80, 53, 145, 121, 116}}},
        {{"tm_foo.pict", 128, 128},
         {{0, 0, 255, 253, 255}, {30, 70, 48, 34, 119}, {90, 60, 251, 235, 172}, {100, 100, 153, 153, 153}}},
        {{"tm_qt_png.pict", 500, 662},
         {{0, 0, 168, 168, 168},
          {499, 0, 254, 254, 254},
          {0, 661, 109, 109, 109},
          {250, 220, 205, 205, 205}}},
        {{"tm_qt_tiff.pict", 500, 662},
         {{0, 0, 168, 168, 168}, {499, 661, 248, 248, 248}, {250, 220, 205, 205, 205}}},
        {{"tm_qt_bmp.pict", 500, 662},
         {{0, 0, 168, 168, 168}, {0, 661, 109, 109, 109}, {250, 220, 205, 205, 205}}},
        {{"tm_P30946BDC.pict", 587, 513},
         {{0, 0, 240, 240, 240}, {120, 7, 0, 0, 55}, {70, 14, 55, 0, 0}, {293, 171, 218, 218, 218}}},
    };
    std::vector<std::string> runs;
    gfx::PictOptions options;
    options.textRenderer = [&runs](const gfx::PictTextRun& run, std::size_t) {
        runs.push_back(run.text);
        return gfx::PictTextMask{};
    };
    std::vector<gfx::RgbImage> sameImage;
    for (const auto& [picture, probes] : cases) {
        SCOPED_TRACE(picture.name);
        runs.clear();
        auto result = gfx::decodePictFile(readBytes(publicSample(picture.name)), options);
        ASSERT_TRUE(result.ok()) << result.error;
        EXPECT_TRUE(runs.empty()) << runs.front();
        ASSERT_EQ(result.image.width, picture.width);
        ASSERT_EQ(result.image.height, picture.height);
        for (const auto& [x, y, r, g, b] : probes)
            EXPECT_EQ(pixel(result.image, x, y), (Rgb{r, g, b})) << "at " << x << "," << y;
        if (std::string(picture.name).starts_with("tm_qt_"))
            sameImage.push_back(std::move(result.image));
    }
    ASSERT_EQ(sameImage.size(), 3u);
    EXPECT_TRUE(samePixels(sameImage[1], sameImage[0]));
    EXPECT_TRUE(samePixels(sameImage[2], sameImage[0]));

    // The fallback is opened by a PnSize of height 0x00AE whose width counts its bytes; tm_foo's
    // is (0x00AE, 0x0070) at 0x100D6 of the picture record. A marker that is not one (another
    // height, a count past the picture's end) is played as the pen size it is, and the text shows.
    const auto foo = readBytes(publicSample("tm_foo.pict"));
    const std::size_t marker = 512 + 0x100D6;
    ASSERT_EQ(std::vector<std::uint8_t>(foo.begin() + marker, foo.begin() + marker + 6),
              (std::vector<std::uint8_t>{0x00, 0x07, 0x00, 0xAE, 0x00, 0x70}));
    struct Marker {
        const char* what;
        std::uint8_t heightLow, countHigh, countLow;
    };
    for (const Marker& m : {Marker{"another pen height", 0xAF, 0x00, 0x70},
                            Marker{"count one byte past the data", 0xAE, 0x00, 0x73},
                            Marker{"count far past the end", 0xAE, 0xFF, 0xFF}}) {
        SCOPED_TRACE(m.what);
        auto bytes = foo;
        bytes[marker + 3] = m.heightLow;
        bytes[marker + 4] = m.countHigh;
        bytes[marker + 5] = m.countLow;
        runs.clear();
        const auto result = gfx::decodePictFile(bytes, options);
        ASSERT_TRUE(result.ok()) << result.error;
        ASSERT_EQ(runs.size(), 3u);
        EXPECT_EQ(runs.back(), "are needed to see this picture.");
    }
}

} // namespace
