#pragma once

#include "graphics/core/RgbImage.h"

#include <cstdint>
#include <span>

namespace mqtool {

// Reads a picture file in a format the tool's own libraries do not cover (GIF, BMP, WebP, TIFF...)
// through the Qt image module, which is loaded on the first such file only. Looked for, in
// order: the file named by the environment variable MAPQUILL_QTIMAGE_MODULE, the module beside
// the tool's executable (the build tree), and the module where `cmake --install` puts it. No
// module, or one of another version: a failure that says so, and the other pictures still work.
gfx::ImageResult decodeWithQtModule(std::span<const std::uint8_t> file);

} // namespace mqtool
