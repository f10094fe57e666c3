// '8BPS' (Planar RGB): the image as separate planes - one of indices at 8 bits, red, green and
// blue at 24, and alpha after them at 32 (unused by a QuickDraw copy) - each row of each plane
// PackBits-compressed. A table of 16-bit compressed row lengths, plane after plane, comes first.
#include "graphics/core/ByteReader.h"
#include "graphics/core/quicktime/Codecs.h"

#include <vector>

namespace gfx::quicktime {

ImageResult decodePlanarRgb(const ImageDescription& d, Bytes data) {
    int planes = 0;
    if (d.depth == 8 || d.depth == 40)
        planes = 1;
    else if (d.depth == 24)
        planes = 3;
    else if (d.depth == 32)
        planes = 4;
    else
        return ImageResult::failure("depth " + std::to_string(d.depth) + " is not supported");
    const int colourPlanes = planes == 4 ? 3 : planes;
    const std::size_t width = std::size_t(d.width);
    const std::size_t rows = std::size_t(d.height) * std::size_t(planes);
    ByteReader lengths(data);
    if (!lengths.canRead(rows * 2))
        return ImageResult::failure("row length table is cut off");
    ByteReader r(data.subspan(rows * 2));

    RgbImage img(d.width, d.height);
    std::vector<std::uint8_t> line(width);
    for (int p = 0; p < colourPlanes; ++p) {
        for (int y = 0; y < d.height; ++y) {
            ByteReader packed(r.bytes(lengths.u16be()));
            if (r.failed())
                return ImageResult::failure("row " + std::to_string(y) + " of plane " + std::to_string(p) +
                                            " runs past the data");
            // Output past the row's end is dropped: some writers round rows up.
            std::size_t x = 0;
            while (!packed.atEnd()) {
                const std::uint8_t n = packed.u8();
                if (n < 128) {
                    const auto literal = packed.bytes(n + 1u);
                    for (std::size_t i = 0; i < literal.size() && x < width; ++i)
                        line[x++] = literal[i];
                } else if (n > 128) {
                    const std::uint8_t value = packed.u8();
                    for (unsigned i = 0; i < 257u - n && x < width; ++i)
                        line[x++] = value;
                }
                if (packed.failed())
                    return ImageResult::failure("row " + std::to_string(y) + " of plane " +
                                                std::to_string(p) + " is cut off");
            }
            if (x < width)
                return ImageResult::failure("row " + std::to_string(y) + " of plane " + std::to_string(p) +
                                            " is short");
            std::uint8_t* out = img.row(y);
            if (planes == 1) {
                for (std::size_t i = 0; i < width; ++i)
                    putColour(out + i * 3, d.palette[line[i]]);
            } else {
                for (std::size_t i = 0; i < width; ++i)
                    out[i * 3 + std::size_t(p)] = line[i];
            }
        }
    }
    return {std::move(img), {}};
}

} // namespace gfx::quicktime
