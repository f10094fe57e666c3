// The tool's picture commands end to end: its PNG output read back with QImage and compared
// pixel for pixel.
#include "TestFiles.h"
#include "ToolTestSupport.h"

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

// The PNG as RGB bytes, rows top to bottom, as Qt reads it; libpng's own reader must agree.
gfx::RgbImage readPng(const std::string& path) {
    const QImage image = QImage(QString::fromStdString(path)).convertToFormat(QImage::Format_RGB888);
    gfx::RgbImage out(image.width(), image.height());
    for (int y = 0; y < image.height(); ++y)
        std::copy_n(image.constScanLine(y), image.width() * 3, out.row(y));
    EXPECT_TRUE(testfiles::samePixels(readPngWithLibpng(path), out)) << path;
    return out;
}

} // namespace

TEST_F(ToolTest, PicturesListsEveryKindOfSource) {
    const std::string tga = (kData / "tga" / "own_map24_rle_top.tga").string();
    ToolRun r = run({"pictures", (kData / "forks" / "map_macutils.hqx").string()});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out, "1013 32x48 \"over\"\n1014 40x24\n128 12x6 \"Map\"\n");
    r = run({"pictures", (kData / "brm" / "Intrface_test.brm").string()});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_NE(r.out.find("\n1013 31x47\n1014 5x3\n"), std::string::npos) << r.out;
    EXPECT_EQ(std::count(r.out.begin(), r.out.end(), '\n'), 19);
    r = run({"pictures", tga});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out, "- 13x7\n");
    // The same TGA forced to be a 'UI' file has no fork.
    r = run({"pictures", "--from", "ui", tga});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_NE(r.err.find("sorry, file has no resource fork."), std::string::npos) << r.err;
}

TEST_F(ToolTest, MapWritesThePictureAsPng) {
    // A format only Qt reads: a BMP made here from a TGA's expected pixels.
    const gfx::RgbImage rgb24 = testfiles::readPpm(kData / "tga" / "im_rgb24.ppm");
    const QImage bmp(rgb24.pixels.data(), rgb24.width, rgb24.height, rgb24.width * 3, QImage::Format_RGB888);
    ASSERT_TRUE(bmp.save(QString::fromStdString(at("in.bmp")), "BMP"));
    // A PNG file goes through the core's libpng reader instead.
    ASSERT_TRUE(bmp.save(QString::fromStdString(at("in.png")), "PNG"));
    const std::pair<std::vector<std::string>, fs::path> cases[] = {
        {{(kData / "forks" / "map_hcopy.bin").string(), "1013"}, kData / "forks" / "pict1013.ppm"},
        {{(kData / "brm" / "Intrface_test.brm").string(), "1014"}, kData / "brm" / "slot14.ppm"},
        {{(kData / "tga" / "im_palette_rle.tga").string()}, kData / "tga" / "im_palette_rle.ppm"},
        {{"--from=picture", at("in.bmp")}, kData / "tga" / "im_rgb24.ppm"},
        {{at("in.png")}, kData / "tga" / "im_rgb24.ppm"},
    };
    for (const auto& [source, expected] : cases) {
        SCOPED_TRACE(source[0]);
        std::vector<std::string> args = {"map"};
        args.insert(args.end(), source.begin(), source.end());
        args.push_back(at("out.png"));
        const ToolRun r = run(args);
        ASSERT_EQ(r.exitCode, 0) << source[0] << ": " << r.err;
        EXPECT_TRUE(testfiles::samePixels(readPng(at("out.png")), testfiles::readPpm(expected))) << source[0];
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
    QImageReader qt(QString::fromStdString(turned));
    qt.setAutoTransform(true);
    const QImage upright = qt.read().convertToFormat(QImage::Format_RGB888);
    ASSERT_EQ(upright.width(), 23);
    const QImage view(upright.constBits(), upright.width(), upright.height(), upright.bytesPerLine(),
                      QImage::Format_RGB888);
    EXPECT_EQ(QImage(QString::fromStdString(at("turned.png"))).convertToFormat(QImage::Format_RGB888), view);
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
// picture's red over the highlighted (light blue) half.
TEST_F(ToolTest, MapDrawsVectorPicturesWithTheirText) {
    const fs::path pict = kData / "pict" / "public" / "tm_6.pict";
    ASSERT_EQ(run({"map", pict.string(), at("text.png")}).exitCode, 0);
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

TEST_F(ToolTest, PictureCommandsTellBadInputFromWrongUsage) {
    const std::string ui = (kData / "forks" / "map.as").string();
    writeText(at("plain"), "just data");
    const std::pair<std::vector<std::string>, const char*> bad[] = {
        {{"map", ui, "1020", at("x.png")}, "sorry, PICT resource 1020 not found or memory overflow."},
        {{"map", "--from", "intrface", (kData / "tga" / "im_grey.tga").string(), "1013", at("x.png")},
         "sorry, picture not in file."},
        {{"pictures", at("plain")}, "sorry, picture not found or memory overflow."},
        {{"map", ui, "1013", at("no-such-folder/x.png")}, ""},
    };
    for (const auto& [args, message] : bad) {
        const ToolRun r = run(args);
        EXPECT_EQ(r.exitCode, 1) << args[1];
        EXPECT_NE(r.err.find(message), std::string::npos) << r.err;
    }
    const std::vector<std::string> usage[] = {
        {"map", ui, at("x.png")}, // a 'UI' source needs an ID
        {"map", ui, "10x3", at("x.png")}, {"pictures", "--from", "mac", ui},
        {"pictures", "--from"},           {"pictures"},
        {"pictures", ui, "--verbose"},
    };
    for (const auto& args : usage)
        EXPECT_EQ(run(args).exitCode, 2) << args.back();
    EXPECT_FALSE(fs::exists(at("x.png")));
}

// The output name's bytes are used as given, and a picture file over the size limit is named as
// such, not as empty.
TEST_F(ToolTest, MapKeepsNameBytesAndNamesTooLargeFiles) {
    const std::string pict = (kData / "pict" / "hand_v1_bitmap.pict").string();
    const std::string latin1Name = "Karte-\xE4\xFF.png";
    const ToolRun map = run({"map", pict, at(latin1Name)});
    ASSERT_EQ(map.exitCode, 0) << map.err;
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(dir_))
        names.push_back(entry.path().filename().string());
    EXPECT_EQ(names, std::vector<std::string>{latin1Name});

    // Sparse: 65 MiB that cost nothing on the disk, refused before a byte is read.
    writeText(at("huge.pict"), "");
    fs::resize_file(at("huge.pict"), 65u << 20);
    const ToolRun huge = run({"map", at("huge.pict"), at("huge.png")});
    EXPECT_EQ(huge.exitCode, 1);
    EXPECT_NE(huge.err.find("sorry, file is larger than 64 MB."), std::string::npos) << huge.err;
    EXPECT_FALSE(fs::exists(at("huge.png")));
}
