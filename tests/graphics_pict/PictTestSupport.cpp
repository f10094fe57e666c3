#include "PictTestSupport.h"

#include <QImage>
#include <QLoggingCategory>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <sstream>

namespace picttest {

std::vector<std::uint8_t> readFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::string fixture(const std::string& name) { return std::string(MQ_TEST_DATA_DIR) + "/pict/" + name; }
std::string sample(const std::string& name) { return std::string(MQ_SAMPLES_DIR) + "/" + name; }

gfx::RgbImage readPpm(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::string magic;
    int w = 0;
    int h = 0;
    int maxval = 0;
    in >> magic >> w >> h >> maxval;
    in.get();
    if (magic != "P6" || maxval != 255 || w <= 0 || h <= 0)
        return {};
    gfx::RgbImage img(w, h);
    in.read(reinterpret_cast<char*>(img.pixels.data()), static_cast<std::streamsize>(img.pixels.size()));
    return in ? img : gfx::RgbImage{};
}

std::array<int, 3> pixel(const gfx::RgbImage& img, int x, int y)
{
    const std::uint8_t* p = img.row(y) + static_cast<std::size_t>(x) * 3;
    return {p[0], p[1], p[2]};
}

std::string compareImages(const gfx::RgbImage& actual, const gfx::RgbImage& expected, int tolerance)
{
    std::ostringstream out;
    if (expected.isNull())
        return "expected image missing";
    if (actual.width != expected.width || actual.height != expected.height) {
        out << "size " << actual.width << "x" << actual.height << ", expected " << expected.width << "x" << expected.height;
        return out.str();
    }
    for (int y = 0; y < actual.height; ++y) {
        for (int x = 0; x < actual.width; ++x) {
            const auto a = pixel(actual, x, y);
            const auto e = pixel(expected, x, y);
            for (int c = 0; c < 3; ++c) {
                if (std::abs(a[c] - e[c]) > tolerance) {
                    out << "pixel (" << x << "," << y << ") is " << a[0] << "," << a[1] << "," << a[2] << ", expected "
                        << e[0] << "," << e[1] << "," << e[2];
                    return out.str();
                }
            }
        }
    }
    return {};
}

gfx::PictOptions qtJpegOptions()
{
    // Damaged-picture tests feed it broken streams on purpose; its warnings are noise there.
    QLoggingCategory::setFilterRules(QStringLiteral("qt.gui.imageio.jpeg=false"));
    gfx::PictOptions options;
    options.jpegDecoder = [](std::span<const std::uint8_t> jpeg) {
        QImage img;
        if (!img.loadFromData(jpeg.data(), static_cast<int>(jpeg.size()), "JPEG"))
            return gfx::ImageResult::failure("not a JPEG stream");
        img = img.convertToFormat(QImage::Format_RGB888);
        gfx::RgbImage out(img.width(), img.height());
        for (int y = 0; y < img.height(); ++y)
            std::copy_n(img.constScanLine(y), static_cast<std::size_t>(img.width()) * 3, out.row(y));
        return gfx::ImageResult{std::move(out), {}};
    };
    return options;
}

} // namespace picttest
