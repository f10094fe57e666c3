#include "graphics/core/MapComposition.h"

#include <algorithm>

namespace gfx {

std::uint16_t toRgb16(Colour c) {
    return static_cast<std::uint16_t>(((c.r >> 3) << 11) | ((c.g >> 2) << 5) | (c.b >> 3));
}

Colour fromRgb16(std::uint16_t pixel) {
    const unsigned r = (pixel >> 11) & 0x1Fu;
    const unsigned g = (pixel >> 5) & 0x3Fu;
    const unsigned b = pixel & 0x1Fu;
    return {static_cast<std::uint8_t>((r << 3) | (r >> 2)), static_cast<std::uint8_t>((g << 2) | (g >> 4)),
            static_cast<std::uint8_t>((b << 3) | (b >> 2))};
}

Rgb16Image::Rgb16Image(int w, int h)
    : width(w), height(h), pixels(static_cast<std::size_t>(w) * static_cast<std::size_t>(h)) {}

namespace {

void horizontalRun(const Rgb16View& image, std::int64_t y, std::int64_t x1, std::int64_t x2,
                   std::uint16_t pixel) {
    if (y < 0 || y >= image.height)
        return;
    x1 = std::max<std::int64_t>(x1, 0);
    x2 = std::min<std::int64_t>(x2, image.width - 1);
    if (x1 > x2)
        return;
    std::uint16_t* line = image.row(static_cast<int>(y));
    std::fill(line + x1, line + x2 + 1, pixel);
}

void verticalRun(const Rgb16View& image, std::int64_t x, std::int64_t y1, std::int64_t y2,
                 std::uint16_t pixel) {
    if (x < 0 || x >= image.width)
        return;
    y1 = std::max<std::int64_t>(y1, 0);
    y2 = std::min<std::int64_t>(y2, image.height - 1);
    for (std::int64_t y = y1; y <= y2; ++y)
        image.row(static_cast<int>(y))[x] = pixel;
}

} // namespace

void outlineBlock(const Rgb16View& target, std::int64_t x, std::int64_t y, std::int64_t w, std::int64_t h,
                  Colour colour) {
    if (w < 1 || h < 1 || !target.pixels)
        return;
    const std::uint16_t pixel = toRgb16(colour);
    const std::int64_t right = x + w - 1;
    const std::int64_t bottom = y + h - 1;
    horizontalRun(target, y, x, right, pixel);
    horizontalRun(target, bottom, x, right, pixel);
    verticalRun(target, x, y, bottom, pixel);
    verticalRun(target, right, y, bottom, pixel);
}

void drawMark(const Rgb16View& target, const MapMark& m, std::int64_t originX, std::int64_t originY) {
    if (m.x1 == 0 || m.y1 == 0 || m.x2 == 0 || m.y2 == 0)
        return;
    const std::int64_t x1 = std::int64_t{m.x1} - originX;
    const std::int64_t y1 = std::int64_t{m.y1} - originY;
    if (m.x1 == m.x2 && m.y1 == m.y2) {
        if (m.highlighted)
            outlineBlock(target, x1 - 3, y1 - 3, 6, 6, MapColours::kHalo);
        outlineBlock(target, x1 - 1, y1 - 1, 2, 2, MapColours::kPoint);
        return;
    }
    const std::int64_t left = std::min(m.x1, m.x2);
    const std::int64_t top = std::min(m.y1, m.y2);
    outlineBlock(target, left - originX, top - originY, std::int64_t{std::max(m.x1, m.x2)} - left + 1,
                 std::int64_t{std::max(m.y1, m.y2)} - top + 1,
                 m.highlighted ? MapColours::kHighlighted : MapColours::kVisible);
}

void drawMarks(const Rgb16View& target, std::span<const MapMark> marks) {
    for (const MapMark& mark : marks)
        drawMark(target, mark);
}

Rgb16Image composeBackground(const RgbImage* map, int width, int height) {
    if (width <= 0 || height <= 0)
        return {};
    Rgb16Image image(width, height);
    std::fill(image.pixels.begin(), image.pixels.end(), toRgb16(MapColours::kBackground));
    if (!map || map->isNull())
        return image;
    const int rows = std::min(height, map->height);
    const int columns = std::min(width, map->width);
    for (int y = 0; y < rows; ++y) {
        const std::uint8_t* in = map->row(y);
        std::uint16_t* out =
            image.pixels.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(width);
        for (int x = 0; x < columns; ++x, in += 3)
            out[x] = toRgb16({in[0], in[1], in[2]});
    }
    return image;
}

Rgb16Image composeMap(const RgbImage* map, int width, int height, std::span<const MapMark> marks) {
    Rgb16Image image = composeBackground(map, width, height);
    if (!image.pixels.empty())
        drawMarks(image.view(), marks);
    return image;
}

void zoomInto(const Rgb16View& source, int zoom, int scrollX, int scrollY, const Rgb16View& target) {
    if (zoom < 1 || scrollX < 0 || scrollY < 0 || !target.pixels || target.width <= 0)
        return;
    const std::uint16_t background = toRgb16(MapColours::kBackground);
    // One widened source row serves the zoom target rows it covers: copied, not computed again.
    std::vector<std::uint16_t> wide(static_cast<std::size_t>(target.width));
    int wideOf = -1;
    for (int y = 0; y < target.height; ++y) {
        std::uint16_t* out = target.row(y);
        const std::int64_t sourceY = (std::int64_t{y} + scrollY) / zoom;
        if (!source.pixels || sourceY >= source.height) {
            std::fill(out, out + target.width, background);
            continue;
        }
        if (wideOf != sourceY) {
            const std::uint16_t* in = source.row(static_cast<int>(sourceY));
            int x = 0;
            std::int64_t sourceX = scrollX / zoom;
            int left = zoom - scrollX % zoom; // target pixels still showing sourceX
            while (x < target.width) {
                const std::uint16_t pixel = sourceX < source.width ? in[sourceX] : background;
                const int run = std::min(left, target.width - x);
                std::fill(wide.data() + x, wide.data() + x + run, pixel);
                x += run;
                ++sourceX;
                left = zoom;
            }
            wideOf = static_cast<int>(sourceY);
        }
        std::copy(wide.begin(), wide.end(), out);
    }
}

RgbImage toRgbImage(const Rgb16Image& image) {
    if (image.width <= 0 || image.height <= 0)
        return {};
    RgbImage out(image.width, image.height);
    std::uint8_t* p = out.pixels.data();
    for (const std::uint16_t pixel : image.pixels) {
        const Colour c = fromRgb16(pixel);
        *p++ = c.r;
        *p++ = c.g;
        *p++ = c.b;
    }
    return out;
}

} // namespace gfx
