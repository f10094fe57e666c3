#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace gfx {

// What every decoder hands back: 8-bit RGB, three bytes a pixel, rows top to bottom with no
// padding. The Qt glue wraps it in a QImage without touching individual pixels.
struct RgbImage {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> pixels; // width * height * 3 bytes

    RgbImage() = default;
    // Every channel of every pixel `fill` (black by default, 255 for white) in one pass.
    RgbImage(int w, int h, std::uint8_t fill = 0)
        : width(w), height(h), pixels(static_cast<std::size_t>(w) * static_cast<std::size_t>(h) * 3u, fill) {}

    bool isNull() const { return width <= 0 || height <= 0; }
    std::uint8_t* row(int y) {
        return pixels.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(width) * 3u;
    }
    const std::uint8_t* row(int y) const {
        return pixels.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(width) * 3u;
    }
};

// A decoder's answer: an image, or the message to show the user (image left null).
struct ImageResult {
    RgbImage image;
    std::string error;

    bool ok() const { return error.empty() && !image.isNull(); }
    static ImageResult failure(std::string message) { return {RgbImage{}, std::move(message)}; }
};

} // namespace gfx
