#pragma once

#include "TestFiles.h"
#include "graphics/core/JpegDecoder.h"
#include "graphics/core/PictDecoder.h"

#include <array>
#include <string>

namespace picttest {

using testfiles::readBytes;
using testfiles::readPpm;
using testfiles::samePixels;

// Fixtures, and the public and tool-written samples in public/ and generated/ beside them (see
// their PROVENANCE.md / README.md).
inline std::string fixture(const std::string& name) {
    return (testfiles::kData / "pict" / name).string();
}

inline std::array<int, 3> pixel(const gfx::RgbImage& img, int x, int y) {
    const std::uint8_t* p = img.row(y) + static_cast<std::size_t>(x) * 3;
    return {p[0], p[1], p[2]};
}

// The JPEG decoder the editor and the tool pass in.
inline gfx::PictOptions jpegOptions() {
    gfx::PictOptions options;
    options.jpegDecoder = gfx::decodeJpeg;
    return options;
}

} // namespace picttest
