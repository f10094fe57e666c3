#pragma once

#include "graphics/core/RgbImage.h"

#include <cstdint>
#include <string>
#include <vector>

namespace gfx {

// PNG output through libpng: 8 bits a channel, not interlaced, no metadata; a picture of at most
// 256 colours as a palette image, any other as RGB. The pixels read back are exactly the ones
// given. The file favours speed over size: zlib's fastest level with one cheap row filter, about
// what Qt wrote at quality 80, in a fraction of its time. A large picture is deflated on all the
// machine's cores; the file depends on the picture only. Safe to call from several threads.

struct PngBytes {
    std::vector<std::uint8_t> bytes; // the whole file
    std::string error;               // the reason, when no file could be made
    bool ok() const { return error.empty(); }
};

// False when the program was built without libpng (the Windows cross build).
bool pngEncodingAvailable();

// `threads`: how many threads may deflate at once; 0 for as many as the machine has cores. The
// file is the same whatever the number.
PngBytes encodePng(const RgbImage& image, unsigned threads = 0);

} // namespace gfx
