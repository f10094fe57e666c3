#pragma once

#include "graphics/core/RgbImage.h"
#include "graphics/core/quicktime/ImageDescription.h"

#include <cstdint>
#include <functional>
#include <span>

namespace gfx::quicktime {

// What a caller lets one compressed image cost, and the codecs it brings from outside the core.
struct DecodeOptions {
    // The description's width x height may not exceed this; no codec allocates more than that
    // area (rounded up to whole 4x4 blocks) of RGB.
    std::uint64_t maxPixels = std::uint64_t{1} << 22;
    // Decodes a complete JPEG stream (FF D8 ...); empty: JPEG images fail with a message.
    std::function<ImageResult(std::span<const std::uint8_t> jpeg)> jpegDecoder;
};

// Decodes the data of one QuickTime-compressed image to RGB, for the compressor types pictures
// carry: 'jpeg' (through the hook), 'raw ', 'png ', 'tiff', 'gif ', 'WRLE' (BMP), 'rle '
// (Animation), 'smc ' (Graphics), 'rpza' (Apple Video), 'cvid' (Cinepak) and '8BPS' (Planar RGB).
// Alpha is not part of a QuickDraw copy: 32-bit pixels lose it; file formats with transparency
// (PNG, TIFF, GIF) are composited over white, the colour of an empty picture. Never throws except
// std::bad_alloc; every other failure is a message.
ImageResult decode(const ImageDescription& description, std::span<const std::uint8_t> data,
                   const DecodeOptions& options);

} // namespace gfx::quicktime
