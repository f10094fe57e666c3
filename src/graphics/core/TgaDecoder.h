#pragma once

#include "graphics/core/RgbImage.h"

#include <cstdint>
#include <span>

namespace gfx {

// Truevision TGA: colour-mapped, true-colour and grey images (types 1, 2, 3) and their run-length
// forms (9, 10, 11); 8, 15, 16, 24 and 32 bits a pixel; colour maps of 15, 16, 24 or 32-bit
// entries; any origin corner; with or without the version 2 footer. Alpha is dropped. 5-bit
// channels widen by bit replication (31 -> 255). Errors are technical texts for the detail line;
// the caller shows its own message.
class TgaDecoder {
public:
    static ImageResult decode(std::span<const std::uint8_t> data);

    // TGA has no magic number: a header whose fields all make sense together and whose pixels can
    // fit the data, or the version 2 footer signature.
    static bool looksLikeTga(std::span<const std::uint8_t> data);
};

} // namespace gfx
