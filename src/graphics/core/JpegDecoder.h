#pragma once

#include "graphics/core/RgbImage.h"

#include <cstdint>
#include <span>

namespace gfx {

// JPEG through libjpeg-turbo, the one JPEG path of the editor and the tool: QuickTime JPEG inside
// PICTs (as PictOptions::jpegDecoder) and JPEG files. Decoding uses the library's accurate
// defaults (integer slow IDCT, smooth upsampling), the same settings Qt's JPEG reader uses, so the
// pixels equal what the editor showed before. A damaged stream that the library can still finish
// (a truncated scan, a bad marker) is drawn as far as it goes, as Qt does; one it cannot read
// fails with the library's reason.

// False when the program was built without libjpeg-turbo (the Windows cross build): every call
// below then fails with a message saying so.
bool jpegDecodingAvailable();

// A complete JPEG stream (FF D8 ...), grey, YCbCr, RGB or (Adobe) CMYK. Pictures beyond
// kMaxJpegSide on a side or kMaxJpegPixels in all are refused before any pixel memory is taken.
ImageResult decodeJpeg(std::span<const std::uint8_t> jpeg);

// A JPEG file: decodeJpeg, then turned upright by its Exif orientation, as picture viewers do.
ImageResult decodeJpegFile(std::span<const std::uint8_t> file);

// The Exif orientation (1..8) of a JPEG stream; 1 when it has none or a damaged one.
int jpegExifOrientation(std::span<const std::uint8_t> jpeg);

// `image` turned by Exif orientation `orientation` (1 = as stored, 6 = rotate 90 degrees
// clockwise, ...). Values outside 2..8 leave it as it is.
RgbImage applyExifOrientation(const RgbImage& image, int orientation);

inline constexpr int kMaxJpegSide = 32767;
inline constexpr std::int64_t kMaxJpegPixels = 64ll * 1024 * 1024;

} // namespace gfx
