// The tool's picture commands end to end: the built mapquill-tool run on the fixtures, its PNG
// output read back with QImage and compared pixel for pixel.
#include "TestFiles.h"

#include <QImage>
#include <QString>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <sys/wait.h>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

const fs::path kData = fs::path(MQ_TEST_DATA_DIR);

struct ToolRun {
    int exitCode = -1;
    std::string out;
    std::string err;
};

std::string slurp(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

std::string quoted(const std::string& word)
{
    std::string out = "'";
    for (char c : word)
        out += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return out + "'";
}

class PictureTool : public ::testing::Test {
protected:
    PictureTool() : m_dir("mq-picture-tool") {}

    ToolRun run(const std::vector<std::string>& args)
    {
        std::string command = quoted(MQ_TOOL_PATH);
        for (const std::string& a : args)
            command += " " + quoted(a);
        const fs::path out = m_dir.path() / "stdout";
        const fs::path err = m_dir.path() / "stderr";
        command += " >" + quoted(out.string()) + " 2>" + quoted(err.string());
        const int status = std::system(command.c_str());
        ToolRun r;
        r.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        r.out = slurp(out);
        r.err = slurp(err);
        return r;
    }

    fs::path temp(const std::string& name) const { return m_dir.path() / name; }

    // The PNG as RGB bytes, rows top to bottom.
    static gfx::RgbImage readPng(const fs::path& path)
    {
        const QImage image = QImage(QString::fromStdString(path.string())).convertToFormat(QImage::Format_RGB888);
        if (image.isNull())
            return {};
        gfx::RgbImage out(image.width(), image.height());
        for (int y = 0; y < image.height(); ++y)
            std::copy_n(image.constScanLine(y), image.width() * 3, out.row(y));
        return out;
    }

    void expectPng(const fs::path& png, const fs::path& ppm)
    {
        const gfx::RgbImage got = readPng(png);
        const gfx::RgbImage want = testfiles::readPpm(ppm);
        ASSERT_FALSE(want.isNull());
        EXPECT_EQ(got.width, want.width);
        EXPECT_EQ(got.height, want.height);
        EXPECT_TRUE(got.pixels == want.pixels) << png;
    }

private:
    testfiles::TempDir m_dir;
};

} // namespace

TEST_F(PictureTool, ListsEveryKindOfSource)
{
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

    // The same TGA forced to be a 'UI' file has no fork.
    r = run({"pictures", "--from", "ui", (kData / "tga" / "own_map24_rle_top.tga").string()});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_NE(r.err.find("sorry, file has no resource fork."), std::string::npos) << r.err;
}

TEST_F(PictureTool, MapWritesThePictureAsPng)
{
    ToolRun r = run({"map", (kData / "forks" / "map_hcopy.bin").string(), "1013", temp("ui.png").string()});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    expectPng(temp("ui.png"), kData / "forks" / "pict1013.ppm");

    r = run({"map", (kData / "brm" / "Intrface_test.brm").string(), "1014", temp("brm.png").string()});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    expectPng(temp("brm.png"), kData / "brm" / "slot14.ppm");

    r = run({"map", (kData / "tga" / "im_palette_rle.tga").string(), temp("tga.png").string()});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    expectPng(temp("tga.png"), kData / "tga" / "im_palette_rle.ppm");

    // A format only Qt reads: a BMP made here from the TGA's expected pixels.
    const gfx::RgbImage want = testfiles::readPpm(kData / "tga" / "im_rgb24.ppm");
    const QImage bmp(want.pixels.data(), want.width, want.height, want.width * 3, QImage::Format_RGB888);
    ASSERT_TRUE(bmp.save(QString::fromStdString(temp("in.bmp").string()), "BMP"));
    r = run({"map", "--from=picture", temp("in.bmp").string(), temp("bmp.png").string()});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    expectPng(temp("bmp.png"), kData / "tga" / "im_rgb24.ppm");
}

TEST_F(PictureTool, JpegInsidePictGoesThroughQt)
{
    const fs::path pict = fs::path(MQ_SAMPLES_DIR) / "public" / "tm_qt_mire_jpeg.pict";
    if (!fs::exists(pict))
        GTEST_SKIP() << "shared samples not present";
    const ToolRun r = run({"map", pict.string(), temp("jpeg.png").string()});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    const gfx::RgbImage got = readPng(temp("jpeg.png"));
    EXPECT_EQ(got.width, 64);
    EXPECT_EQ(got.height, 64);
    // The QuickTime fallback would leave the canvas white; the decoded JPEG is a colour chart.
    EXPECT_TRUE(std::any_of(got.pixels.begin(), got.pixels.end(), [](std::uint8_t v) { return v < 128; }));
}

TEST_F(PictureTool, BadInputAndWrongUsage)
{
    const std::string ui = (kData / "forks" / "map.as").string();
    ToolRun r = run({"map", ui, "1020", temp("none.png").string()});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_NE(r.err.find("sorry, PICT resource 1020 not found or memory overflow."), std::string::npos) << r.err;
    EXPECT_FALSE(fs::exists(temp("none.png")));

    r = run({"map", "--from", "intrface", (kData / "tga" / "im_grey.tga").string(), "1013", temp("x.png").string()});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_NE(r.err.find("sorry, picture not in file."), std::string::npos) << r.err;

    testfiles::writeBytes(temp("plain"), {'j', 'u', 's', 't', ' ', 'd', 'a', 't', 'a'});
    r = run({"pictures", temp("plain").string()});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_NE(r.err.find("sorry, picture not found or memory overflow."), std::string::npos) << r.err;

    r = run({"map", ui, "1013", (temp("no-such-folder") / "x.png").string()});
    EXPECT_EQ(r.exitCode, 1);

    EXPECT_EQ(run({"map", ui, temp("x.png").string()}).exitCode, 2) << "a 'UI' source needs an ID";
    EXPECT_EQ(run({"map", ui, "10x3", temp("x.png").string()}).exitCode, 2);
    EXPECT_EQ(run({"pictures", "--from", "mac", ui}).exitCode, 2);
    EXPECT_EQ(run({"pictures", "--from"}).exitCode, 2);
    EXPECT_EQ(run({"pictures"}).exitCode, 2);
    EXPECT_EQ(run({"pictures", ui, "--verbose"}).exitCode, 2);
    EXPECT_FALSE(fs::exists(temp("x.png")));
}
