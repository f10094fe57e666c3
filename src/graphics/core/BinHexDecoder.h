#pragma once

#include "graphics/core/ForkUnwrapper.h"

#include <span>

namespace gfx {

// BinHex 4.0 (.hqx): the text envelope, the 6-bit layer, the 0x90 run-length layer and the three
// CRC-16/XMODEM checks. Only the resource fork is kept; the data fork is streamed through its CRC.
//
// A text carrying the "(This file must be converted" line is taken as BinHex and any damage is
// reported; without that line the first ':' line is tried and accepted only when its header CRC
// holds, so an unrelated file with a colon at a line start is not mistaken for BinHex.
class BinHexDecoder {
public:
    static UnwrappedFork decode(std::span<const std::uint8_t> text);
};

} // namespace gfx
