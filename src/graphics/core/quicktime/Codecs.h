#pragma once

// The codecs behind quicktime::decode. Each one receives a description whose width and height
// are already known to be positive and within the caller's pixel budget, and returns an image of
// that size (file formats: of their own size, never larger) or a message without the codec's
// name (the dispatcher adds it).

#include "graphics/core/RgbImage.h"
#include "graphics/core/quicktime/ImageDescription.h"

#include <algorithm>
#include <cstdint>
#include <span>

namespace gfx::quicktime {

using Bytes = std::span<const std::uint8_t>;

ImageResult decodeRaw(const ImageDescription& d, Bytes data);
ImageResult decodeBmp(const ImageDescription& d, Bytes data);
ImageResult decodeAnimation(const ImageDescription& d, Bytes data);
ImageResult decodeGraphics(const ImageDescription& d, Bytes data);
ImageResult decodeAppleVideo(const ImageDescription& d, Bytes data);
ImageResult decodeCinepak(const ImageDescription& d, Bytes data);
ImageResult decodePlanarRgb(const ImageDescription& d, Bytes data);
ImageResult decodeTiff(const ImageDescription& d, Bytes data);
ImageResult decodeGif(const ImageDescription& d, Bytes data);

inline std::uint8_t expand5(unsigned v) {
    return static_cast<std::uint8_t>((v << 3) | (v >> 2));
}

// A 16-bit QuickDraw pixel: x RRRRR GGGGG BBBBB.
inline void put555(std::uint8_t* rgb, unsigned pixel) {
    rgb[0] = expand5((pixel >> 10) & 31u);
    rgb[1] = expand5((pixel >> 5) & 31u);
    rgb[2] = expand5(pixel & 31u);
}

inline void putColour(std::uint8_t* rgb, const Rgb& c) {
    rgb[0] = c.r;
    rgb[1] = c.g;
    rgb[2] = c.b;
}

// An image filled with white, the colour a picture shows where a codec writes nothing.
inline RgbImage whiteImage(int width, int height) {
    return RgbImage(width, height, 255);
}

// Block codecs decode into an image rounded up to whole blocks and hand back the visible part.
inline RgbImage cropped(RgbImage padded, int width, int height) {
    if (padded.width == width && padded.height == height)
        return padded;
    RgbImage out(width, height);
    for (int y = 0; y < height; ++y)
        std::copy_n(padded.row(y), std::size_t(width) * 3, out.row(y));
    return out;
}

inline int roundUp4(int v) {
    return (v + 3) & ~3;
}

} // namespace gfx::quicktime
