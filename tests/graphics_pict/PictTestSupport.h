#pragma once

#include "graphics/core/PictDecoder.h"
#include "graphics/core/RgbImage.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace picttest {

std::vector<std::uint8_t> readFile(const std::string& path);
std::string fixture(const std::string& name);   // tests/data/pict/<name>
std::string sample(const std::string& name);    // shared samples folder

// Binary PPM (P6, maxval 255) as written by the fixture generator.
gfx::RgbImage readPpm(const std::string& path);

std::array<int, 3> pixel(const gfx::RgbImage& img, int x, int y);

// Empty when the images agree within `tolerance` per channel; otherwise where they first differ.
std::string compareImages(const gfx::RgbImage& actual, const gfx::RgbImage& expected, int tolerance = 0);

// The JPEG decoder the editor passes in, built on QImage.
gfx::PictOptions qtJpegOptions();

} // namespace picttest
