#pragma once

#include "TestFiles.h"
#include "graphics/core/PictDecoder.h"

#include <QImage>
#include <QLoggingCategory>

#include <array>
#include <string>

namespace picttest {

using testfiles::readBytes;
using testfiles::readPpm;
using testfiles::samePixels;

inline std::string fixture(const std::string& name) { return (testfiles::kData / "pict" / name).string(); }
// Public and tool-written samples kept beside the fixtures (see their PROVENANCE.md / README.md).
inline std::string sample(const std::string& name) { return (testfiles::kData / "pict" / name).string(); }

inline std::array<int, 3> pixel(const gfx::RgbImage& img, int x, int y)
{
    const std::uint8_t* p = img.row(y) + static_cast<std::size_t>(x) * 3;
    return {p[0], p[1], p[2]};
}

// The JPEG decoder the editor passes in, built on QImage.
inline gfx::PictOptions qtJpegOptions()
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
