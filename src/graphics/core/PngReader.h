#pragma once

#include "graphics/core/RgbImage.h"

#include <cstdint>
#include <span>

namespace gfx {

// How large a PNG may be. The header is checked against these before any pixel memory exists;
// ancillary chunks are capped separately (a few megabytes), so a small hostile file cannot make
// the reader allocate much more than maxPixels * 4 bytes.
struct PngLimits {
    std::uint32_t maxWidth = 16384;
    std::uint32_t maxHeight = 16384;
    std::uint64_t maxPixels = std::uint64_t{1} << 26;
};

// Reads a PNG file held in memory (libpng) into 8-bit RGB: 16-bit samples keep their high byte,
// grey and palette images are expanded, and transparency is composited over white. No gamma or
// colour-profile correction: the stored sample values are what comes out. Every failure is a
// message; only std::bad_alloc is thrown.
ImageResult readPng(std::span<const std::uint8_t> bytes, const PngLimits& limits = {});

} // namespace gfx
