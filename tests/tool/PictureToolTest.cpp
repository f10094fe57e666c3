// The tool's picture commands end to end: its PNG output read back with QImage and compared
// pixel for pixel.
#include "TestFiles.h"
#include "ToolTestSupport.h"

#include <QByteArray>
#include <QImage>
#include <QImageReader>
#include <QString>

#include <algorithm>
#include <png.h>

using testfiles::kData;

namespace {

gfx::RgbImage readPngWithLibpng(const std::string& path) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&image, path.c_str()))
        return {};
    image.format = PNG_FORMAT_RGB;
    gfx::RgbImage out(static_cast<int>(image.width), static_cast<int>(image.height));
    if (!png_image_finish_read(&image, nullptr, out.pixels.data(), 0, nullptr))
        return {};
    return out;
}

gfx::RgbImage rgbOf(const QImage& qimage) {
    const QImage image = qimage.convertToFormat(QImage::Format_RGB888);
    gfx::RgbImage out(image.width(), image.height());
    for (int y = 0; y < image.height(); ++y)
        std::copy_n(image.constScanLine(y), image.width() * 3, out.row(y));
    return out;
}

// The PNG as RGB bytes, rows top to bottom, as Qt reads it; libpng's own reader must agree.
gfx::RgbImage readPng(const std::string& path) {
    const gfx::RgbImage out = rgbOf(QImage(QString::fromStdString(path)));
    EXPECT_TRUE(testfiles::samePixels(readPngWithLibpng(path), out)) << path;
    return out;
}

// The PNG stream a 'png ' QuickTime picture carries, read by Qt on its own: what a Mac with
// QuickTime shows.
gfx::RgbImage embeddedPng(const fs::path& pict) {
    const QByteArray bytes = QByteArray::fromStdString(readText(pict));
    return rgbOf(QImage::fromData(bytes.mid(bytes.indexOf("\x89PNG\r\n\x1A\n"))));
}

} // namespace

TEST_F(ToolTest, PicturesListsEveryKindOfSource) {
    ToolRun r = run({"pictures", (kData / "forks" / "map_macutils.hqx").string()});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out, "1013 32x48 \"over\"\n1014 40x24\n128 12x6 \"Map\"\n");
    r = run({"pictures", (kData / "brm" / "Intrface_test.brm").string()});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_NE(r.out.find("\n1013 31x47\n1014 5x3\n"), std::string::npos) << r.out;
    EXPECT_EQ(std::count(r.out.begin(), r.out.end(), '\n'), 19);
    r = run({"pictures", (kData / "tga" / "own_map24_rle_top.tga").string()});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out, "- 13x7\n");
}

// Every kind of source, every picture format, through the reader it needs: QuickTime codecs,
// PNG through the core's libpng reader, a format only Qt reads (BMP) through Qt. A QuickTime PNG
// picture gives its embedded image, without the fallback text drawn over it for Macs without
// QuickTime ("QuickTime and a PNG decompressor are needed to see this picture").
TEST_F(ToolTest, MapWritesThePictureAsPng) {
    const gfx::RgbImage rgb24 = testfiles::readPpm(kData / "tga" / "im_rgb24.ppm");
    const QImage bmp(rgb24.pixels.data(), rgb24.width, rgb24.height, rgb24.width * 3, QImage::Format_RGB888);
    ASSERT_TRUE(bmp.save(QString::fromStdString(at("in.bmp")), "BMP"));
    ASSERT_TRUE(bmp.save(QString::fromStdString(at("in.png")), "PNG"));
    const fs::path qt = kData / "pict" / "quicktime";
    const std::pair<std::vector<std::string>, gfx::RgbImage> cases[] = {
        {{(kData / "forks" / "map_hcopy.bin").string(), "1013"},
         testfiles::readPpm(kData / "forks" / "pict1013.ppm")},
        {{(kData / "brm" / "Intrface_test.brm").string(), "1014"},
         testfiles::readPpm(kData / "brm" / "slot14.ppm")},
        {{(kData / "tga" / "im_palette_rle.tga").string()},
         testfiles::readPpm(kData / "tga" / "im_palette_rle.ppm")},
        {{"--from=picture", at("in.bmp")}, rgb24},
        {{at("in.png")}, rgb24},
        {{"--from", "picture", (qt / "qt_smc.pict").string()},
         testfiles::readPpm(qt / "qt_smc.expected.ppm")},
        {{(qt / "qt_8bps_24.pict").string()}, testfiles::readPpm(qt / "qt_8bps_24.expected.ppm")},
        {{(kData / "pict" / "public" / "tm_qt_png.pict").string()},
         embeddedPng(kData / "pict" / "public" / "tm_qt_png.pict")},
    };
    for (const auto& [source, expected] : cases) {
        SCOPED_TRACE(source.back());
        std::vector<std::string> args = {"map"};
        args.insert(args.end(), source.begin(), source.end());
        args.push_back(at("out.png"));
        const ToolRun r = run(args);
        ASSERT_EQ(r.exitCode, 0) << r.err;
        EXPECT_TRUE(testfiles::samePixels(readPng(at("out.png")), expected));
    }
    // JPEG inside a PICT goes through libjpeg-turbo: the QuickTime fallback would leave the
    // canvas white, the decoded JPEG is a colour chart.
    const fs::path pict = testfiles::kData / "pict" / "public" / "tm_qt_mire_jpeg.pict";
    ASSERT_EQ(run({"map", pict.string(), at("jpeg.png")}).exitCode, 0);
    const gfx::RgbImage jpeg = readPng(at("jpeg.png"));
    EXPECT_TRUE(jpeg.width == 64 && jpeg.height == 64);
    EXPECT_TRUE(std::any_of(jpeg.pixels.begin(), jpeg.pixels.end(), [](std::uint8_t v) { return v < 128; }));

    // A JPEG file through libjpeg-turbo, turned upright by its Exif orientation as Qt does.
    const std::string turned = (kData / "jpeg" / "orient6.jpg").string();
    ASSERT_EQ(run({"map", turned, at("turned.png")}).exitCode, 0);
    QImageReader reader(QString::fromStdString(turned));
    reader.setAutoTransform(true);
    const gfx::RgbImage upright = rgbOf(reader.read());
    ASSERT_EQ(upright.width, 23);
    EXPECT_TRUE(testfiles::samePixels(readPng(at("turned.png")), upright));
}

// Formats only Qt reads come from the Qt image module, loaded for them alone: without it such a
// file fails with a message naming the file and the missing module, and nothing else changes.
TEST_F(ToolTest, WithoutTheQtModuleOnlyQtFormatsFail) {
    const gfx::RgbImage rgb24 = testfiles::readPpm(kData / "tga" / "im_rgb24.ppm");
    const QImage picture(rgb24.pixels.data(), rgb24.width, rgb24.height, rgb24.width * 3,
                         QImage::Format_RGB888);
    ASSERT_TRUE(picture.save(QString::fromStdString(at("in.bmp")), "BMP"));
    ASSERT_TRUE(picture.save(QString::fromStdString(at("in.png")), "PNG"));
    ::setenv("MAPQUILL_QTIMAGE_MODULE", at("nowhere.so").c_str(), 1);
    const ToolRun bmp = run({"map", at("in.bmp"), at("out.png")});
    const ToolRun pict = run({"map", (kData / "forks" / "map_hcopy.bin").string(), "1013", at("pict.png")});
    const ToolRun jpeg = run({"map", (kData / "jpeg" / "sub420.jpg").string(), at("jpeg.png")});
    const ToolRun png = run({"map", at("in.png"), at("png.png")});
    ::unsetenv("MAPQUILL_QTIMAGE_MODULE");
    EXPECT_EQ(bmp.exitCode, 1);
    EXPECT_NE(bmp.err.find(at("in.bmp") + ": sorry, picture not found or memory overflow."),
              std::string::npos)
        << bmp.err;
    EXPECT_NE(bmp.err.find("nowhere.so"), std::string::npos) << bmp.err;
    EXPECT_FALSE(fs::exists(at("out.png")));
    EXPECT_EQ(pict.exitCode, 0) << pict.err;
    EXPECT_EQ(jpeg.exitCode, 0) << jpeg.err;
    EXPECT_EQ(png.exitCode, 0) << png.err;
}

// A vector PICT with text: the tool draws the text with FreeType. "Hilited" is written in the
// picture's red over the highlighted (light blue) half. The output name's bytes are used as given.
TEST_F(ToolTest, MapDrawsVectorPicturesWithTheirTextAndKeepsNameBytes) {
    const std::string latin1Name = "Karte-\xE4\xFF.png";
    const ToolRun map = run({"map", (kData / "pict" / "public" / "tm_6.pict").string(), at(latin1Name)});
    ASSERT_EQ(map.exitCode, 0) << map.err;
    EXPECT_EQ(files(), std::vector<std::string>{latin1Name});
    fs::rename(at(latin1Name), at("text.png")); // Qt takes names as Unicode
    const gfx::RgbImage image = readPng(at("text.png"));
    ASSERT_TRUE(image.width == 335 && image.height == 300);
    int red = 0;
    for (int y = 150; y < 300; ++y)
        for (int x = 0; x < image.width; ++x) {
            const std::uint8_t* p = image.row(y) + 3 * x;
            red += (p[0] == 0xDD && p[1] == 0x33 && p[2] == 0x44) ? 1 : 0;
        }
    EXPECT_GT(red, 300);
    EXPECT_EQ(std::vector<std::uint8_t>(image.row(299), image.row(299) + 3),
              (std::vector<std::uint8_t>{204, 204, 255}));
}
