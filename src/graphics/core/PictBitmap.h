#pragma once

#include "graphics/core/ByteReader.h"
#include "graphics/core/PictRect.h"
#include "graphics/core/PictRegion.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace gfx {

// One bitmap opcode's image (BitsRect, BitsRgn, PackBitsRect, PackBitsRgn, DirectBitsRect,
// DirectBitsRgn, or the pixel map of a pixel pattern): its header, colour table and the location
// of its pixel rows. Rows are decoded one at a time, in order, to RGB.
class PictBitmap {
public:
    enum class PixelKind { Indexed, Direct16, Direct32 };

    // Reads the bitmap opcode's data (everything after the opcode word) at the reader's position
    // and leaves the reader after the pixel data. Returns an error message on failure.
    static std::string read(ByteReader& reader, std::uint16_t opcode, PictBitmap& out);

    // Reads the pixel map of a pixel pattern (no base address, a colour table, pixel data packed
    // only when rowBytes >= 8) just far enough to skip it.
    static std::string skipPatternPixMap(ByteReader& reader);

    // The same pixel map kept for drawing: its rows can then be had with rowToRgb.
    static std::string readPatternPixMap(ByteReader& reader, PictBitmap& out);

    const PictRect& bounds() const { return m_bounds; }
    const PictRect& srcRect() const { return m_srcRect; }
    const PictRect& dstRect() const { return m_dstRect; }
    std::uint16_t mode() const { return m_mode; }
    const std::optional<PictRegion>& mask() const { return m_mask; }

    // Decodes source row `row` (0 = bounds.top) to RGB for the columns [col0, col1) relative to
    // bounds.left, writing (col1 - col0) * 3 bytes. Rows must be requested in increasing order.
    void rowToRgb(int row, int col0, int col1, std::uint8_t* rgb);

private:
    enum class Encoding { Raw, PackedBytes, PackedWords };
    enum class DirectLayout { None, Xrgb, Rgb, Planar };

    std::string readPixMapFields(ByteReader& reader);
    std::string readColorTable(ByteReader& reader);
    std::string choosePixelEncoding(std::uint16_t opcode, bool pattern);
    std::string locatePixelData(ByteReader& reader, bool rawFirst);
    std::optional<std::size_t> measurePacked(std::span<const std::uint8_t> data, bool wordCounts,
                                             bool exact) const;
    const std::uint8_t* advanceToRow(int row);

    PictRect m_bounds;
    PictRect m_srcRect;
    PictRect m_dstRect;
    std::uint16_t m_mode = 0;
    std::optional<PictRegion> m_mask;

    bool m_isPixMap = false;
    std::size_t m_rowBytes = 0;
    std::uint16_t m_packType = 0;
    std::uint16_t m_pixelSize = 1;
    std::uint16_t m_cmpCount = 1;
    PixelKind m_kind = PixelKind::Indexed;
    DirectLayout m_layout = DirectLayout::None;
    std::array<std::uint8_t, 256 * 3> m_palette{};

    Encoding m_encoding = Encoding::Raw;
    bool m_wordCounts = false;
    std::size_t m_rawRowLength = 0;   // bytes a raw row occupies in the file
    std::size_t m_unpackedLength = 0; // bytes of a decoded row that the pixel conversion reads

    std::span<const std::uint8_t> m_pixelData;
    std::size_t m_dataPos = 0;
    int m_nextRow = 0;
    const std::uint8_t* m_currentRow = nullptr;
    std::vector<std::uint8_t> m_rowBuffer;
};

} // namespace gfx
