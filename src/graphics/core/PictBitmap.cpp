#include "graphics/core/PictBitmap.h"

#include "graphics/core/PictPackBits.h"

#include <algorithm>
#include <cstring>

namespace gfx {

namespace PictBitmapLayout {
constexpr std::uint16_t kPixMapFlag = 0x8000;
constexpr std::uint16_t kRowBytesMask = 0x3FFF; // bit 14 is a flag in memory, never a count bit
constexpr std::size_t kMinPackedRowBytes = 8;   // narrower rows are always stored unpacked
constexpr std::size_t kWordCountAbove = 250;    // Apple: a row's byte count is a word when rowBytes > 250
constexpr std::uint16_t kDeviceTableFlag = 0x8000;
constexpr std::size_t kColorEntrySize = 8;
constexpr std::uint16_t kPackNone = 1;
constexpr std::uint16_t kPackDropPad = 2;
constexpr std::uint16_t kPackWords = 3;
constexpr std::uint16_t kPackComponents = 4;
} // namespace PictBitmapLayout

namespace {

bool isDirectOpcode(std::uint16_t opcode) {
    return opcode == 0x9A || opcode == 0x9B;
}
bool hasMaskRegion(std::uint16_t opcode) {
    return opcode == 0x91 || opcode == 0x99 || opcode == 0x9B;
}

std::uint8_t expand5(unsigned v) {
    return static_cast<std::uint8_t>((v << 3) | (v >> 2));
}

} // namespace

std::string PictBitmap::read(ByteReader& reader, std::uint16_t opcode, PictBitmap& out) {
    using namespace PictBitmapLayout;
    out = PictBitmap{};
    const bool direct = isDirectOpcode(opcode);
    if (direct)
        reader.u32be(); // base address: a memory pointer at recording time, meaningless in a file
    const std::uint16_t rowWord = reader.u16be();
    out.m_isPixMap = (rowWord & kPixMapFlag) != 0;
    out.m_rowBytes = rowWord & kRowBytesMask;
    out.m_bounds = PictRect::read(reader);
    if (reader.failed())
        return "bitmap header is cut off";
    if (out.m_bounds.width() < 0 || out.m_bounds.height() < 0)
        return "bitmap bounds are inverted";
    if (direct && !out.m_isPixMap)
        return "direct bitmap without a pixel map";

    if (out.m_isPixMap) {
        if (auto err = out.readPixMapFields(reader); !err.empty())
            return err;
        if (direct != (out.m_kind != PixelKind::Indexed))
            return direct ? "direct bitmap with indexed pixels" : "indexed bitmap with direct pixels";
        if (!direct) {
            if (auto err = out.readColorTable(reader); !err.empty())
                return err;
        }
    } else {
        // Old-style BitMap: one bit a pixel, 1 = black.
        out.m_kind = PixelKind::Indexed;
        out.m_pixelSize = 1;
        out.m_palette.fill(0);
        std::fill_n(out.m_palette.begin(), 3, std::uint8_t{255});
    }

    out.m_srcRect = PictRect::read(reader);
    out.m_dstRect = PictRect::read(reader);
    out.m_mode = reader.u16be();
    if (reader.failed())
        return "bitmap header is cut off";
    if (hasMaskRegion(opcode)) {
        PictRegion region;
        if (auto err = PictRegion::read(reader, region); !err.empty())
            return "mask " + err;
        out.m_mask = std::move(region);
    }
    if (auto err = out.choosePixelEncoding(opcode, false); !err.empty())
        return err;
    const bool rawFirst = (opcode == 0x90 || opcode == 0x91);
    return out.locatePixelData(reader, rawFirst);
}

std::string PictBitmap::skipPatternPixMap(ByteReader& reader) {
    PictBitmap pm;
    return readPatternPixMap(reader, pm);
}

std::string PictBitmap::readPatternPixMap(ByteReader& reader, PictBitmap& pm) {
    using namespace PictBitmapLayout;
    pm = PictBitmap{};
    const std::uint16_t rowWord = reader.u16be();
    pm.m_isPixMap = true;
    pm.m_rowBytes = rowWord & kRowBytesMask;
    pm.m_bounds = PictRect::read(reader);
    if (reader.failed())
        return "pattern header is cut off";
    if (pm.m_bounds.width() < 0 || pm.m_bounds.height() < 0)
        return "pattern bounds are inverted";
    if (auto err = pm.readPixMapFields(reader); !err.empty())
        return err;
    if (auto err = pm.readColorTable(reader); !err.empty())
        return err;
    pm.m_packType = 0; // pattern data is packed exactly when rowBytes >= 8, whatever packType says
    if (auto err = pm.choosePixelEncoding(0, true); !err.empty())
        return err;
    return pm.locatePixelData(reader, false);
}

std::string PictBitmap::readPixMapFields(ByteReader& reader) {
    reader.u16be(); // pmVersion
    m_packType = reader.u16be();
    reader.u32be(); // packSize
    reader.u32be(); // hRes
    reader.u32be(); // vRes
    reader.u16be(); // pixelType: implied by pixelSize
    m_pixelSize = reader.u16be();
    m_cmpCount = reader.u16be();
    const std::uint16_t cmpSize = reader.u16be();
    reader.skip(12); // planeBytes, pmTable, pmReserved
    if (reader.failed())
        return "pixel map header is cut off";
    switch (m_pixelSize) {
    case 1:
    case 2:
    case 4:
    case 8:
        if (m_cmpCount != 1)
            return "indexed pixel map with " + std::to_string(m_cmpCount) + " components";
        m_kind = PixelKind::Indexed;
        return {};
    case 16:
        if (m_cmpCount != 3 || cmpSize != 5)
            return "unsupported 16-bit pixel layout";
        m_kind = PixelKind::Direct16;
        return {};
    case 32:
        if ((m_cmpCount != 3 && m_cmpCount != 4) || cmpSize != 8)
            return "unsupported 32-bit pixel layout";
        m_kind = PixelKind::Direct32;
        return {};
    default:
        return "unsupported pixel size " + std::to_string(m_pixelSize);
    }
}

std::string PictBitmap::readColorTable(ByteReader& reader) {
    using namespace PictBitmapLayout;
    reader.u32be(); // ctSeed
    const std::uint16_t flags = reader.u16be();
    const std::size_t count = std::size_t{reader.u16be()} + 1;
    if (reader.failed())
        return "colour table is cut off";
    if (!reader.canRead(count * kColorEntrySize))
        return "colour table runs past the end of the picture";

    struct Entry {
        std::uint16_t value;
        std::uint8_t rgb[3];
    };
    // A component's 8-bit value is its high byte, as QuickDraw shows it on an 8-bit screen: exact
    // for writers that store c * 257 and for those that store c << 8 (rounding v / 257 would
    // turn 0xFF00 white into 254).
    std::vector<Entry> entries(count);
    for (auto& e : entries) {
        e.value = reader.u16be();
        for (auto& c : e.rgb)
            c = static_cast<std::uint8_t>(reader.u16be() >> 8);
    }

    // Value fields of device tables are meaningless; in other tables they are the pixel value.
    // Tables whose values repeat or exceed the pixel range are treated as positional rather than
    // letting one entry overwrite another.
    bool positional = (flags & kDeviceTableFlag) != 0;
    if (!positional) {
        std::array<bool, 256> seen{};
        for (const auto& e : entries) {
            if (e.value >= 256 || seen[e.value]) {
                positional = true;
                break;
            }
            seen[e.value] = true;
        }
    }
    // Pixel values without an entry stay black, as QuickDraw's highest index would be.
    m_palette.fill(0);
    for (std::size_t k = 0; k < entries.size(); ++k) {
        const std::size_t index = positional ? k : entries[k].value;
        if (index < 256)
            std::memcpy(&m_palette[index * 3], entries[k].rgb, 3);
    }
    return {};
}

std::string PictBitmap::choosePixelEncoding(std::uint16_t opcode, bool pattern) {
    using namespace PictBitmapLayout;
    (void)opcode;
    const std::size_t width = static_cast<std::size_t>(m_bounds.width());
    const bool narrow = m_rowBytes < kMinPackedRowBytes;
    const bool packNone = !pattern && m_isPixMap && m_packType == kPackNone;
    std::size_t minRowBytes = 0;
    m_layout = DirectLayout::None;
    switch (m_kind) {
    case PixelKind::Indexed:
        minRowBytes = (width * m_pixelSize + 7) / 8;
        m_encoding = (narrow || packNone) ? Encoding::Raw : Encoding::PackedBytes;
        m_rawRowLength = m_rowBytes;
        m_unpackedLength = m_rowBytes;
        break;
    case PixelKind::Direct16:
        minRowBytes = width * 2;
        if (narrow || packNone)
            m_encoding = Encoding::Raw;
        else if (m_packType == 0 || m_packType == kPackWords)
            m_encoding = Encoding::PackedWords;
        else
            return "unsupported pack type " + std::to_string(m_packType) + " for 16-bit pixels";
        m_rawRowLength = m_rowBytes;
        m_unpackedLength = m_rowBytes;
        break;
    case PixelKind::Direct32:
        if (narrow || packNone) {
            m_encoding = Encoding::Raw;
            m_layout = DirectLayout::Xrgb;
            minRowBytes = width * 4;
            m_rawRowLength = m_rowBytes;
            m_unpackedLength = m_rowBytes;
        } else if (m_packType == kPackDropPad) {
            m_encoding = Encoding::Raw;
            m_layout = DirectLayout::Rgb;
            m_rawRowLength = width * 3;
            m_unpackedLength = width * 3;
        } else if (m_packType == 0 || m_packType == kPackComponents) {
            m_encoding = Encoding::PackedBytes;
            m_layout = DirectLayout::Planar;
            m_unpackedLength = width * m_cmpCount;
        } else {
            return "unsupported pack type " + std::to_string(m_packType) + " for 32-bit pixels";
        }
        break;
    }
    if (m_rowBytes < minRowBytes)
        return "row bytes " + std::to_string(m_rowBytes) + " too small for a bitmap " +
               std::to_string(width) + " pixels wide";
    return {};
}

std::optional<std::size_t> PictBitmap::measurePacked(std::span<const std::uint8_t> data, bool wordCounts,
                                                     bool exact) const {
    const std::size_t unit = m_encoding == Encoding::PackedWords ? 2 : 1;
    const int rows = m_bounds.height();
    std::size_t pos = 0;
    for (int row = 0; row < rows; ++row) {
        std::size_t count = 0;
        if (wordCounts) {
            if (data.size() - pos < 2)
                return std::nullopt;
            count = (std::size_t{data[pos]} << 8) | data[pos + 1];
            pos += 2;
        } else {
            if (data.size() - pos < 1)
                return std::nullopt;
            count = data[pos];
            pos += 1;
        }
        if (count > data.size() - pos)
            return std::nullopt;
        const auto length = PictPackBits::measure(data.subspan(pos, count), unit);
        if (!length || *length < m_unpackedLength || (exact && *length != m_unpackedLength))
            return std::nullopt;
        pos += count;
    }
    return pos;
}

std::string PictBitmap::locatePixelData(ByteReader& reader, bool rawFirst) {
    using namespace PictBitmapLayout;
    const auto rest = reader.data().subspan(reader.pos());
    const std::uint64_t rows = static_cast<std::uint64_t>(m_bounds.height());

    auto useRaw = [&](std::size_t rowLength) -> std::string {
        const std::uint64_t need = rows * rowLength;
        if (need > rest.size())
            return "pixel data runs past the end of the picture";
        m_encoding = Encoding::Raw;
        m_rawRowLength = rowLength;
        m_pixelData = rest.first(static_cast<std::size_t>(need));
        reader.skip(m_pixelData.size());
        return {};
    };

    if (m_encoding == Encoding::Raw)
        return useRaw(m_rawRowLength);

    // Writers disagree on when a row's byte count is a word (Apple: rowBytes > 250; older
    // ImageMagick and netpbm: > 200, or on a different width), so try Apple's rule, then the
    // other size; a rule is right when every row unpacks to its expected length.
    const bool appleWords = m_rowBytes > kWordCountAbove;
    for (bool exact : {true, false}) {
        for (bool words : {appleWords, !appleWords}) {
            if (auto size = measurePacked(rest, words, exact)) {
                m_wordCounts = words;
                m_pixelData = rest.first(*size);
                m_rowBuffer.assign(m_unpackedLength, 0);
                reader.skip(*size);
                return {};
            }
        }
        // Bits opcodes with wide rows are stored unpacked by some writers and packed by others.
        if (exact && rawFirst && rows * m_rowBytes <= rest.size())
            return useRaw(m_rowBytes);
    }
    return "packed pixel rows are corrupt or cut off";
}

const std::uint8_t* PictBitmap::advanceToRow(int row) {
    while (m_nextRow <= row) {
        if (m_encoding == Encoding::Raw) {
            m_currentRow = m_pixelData.data() + m_dataPos;
            m_dataPos += m_rawRowLength;
        } else {
            std::size_t count;
            if (m_wordCounts) {
                count = (std::size_t{m_pixelData[m_dataPos]} << 8) | m_pixelData[m_dataPos + 1];
                m_dataPos += 2;
            } else {
                count = m_pixelData[m_dataPos];
                m_dataPos += 1;
            }
            if (m_nextRow == row) {
                const std::size_t unit = m_encoding == Encoding::PackedWords ? 2 : 1;
                PictPackBits::unpack(m_pixelData.subspan(m_dataPos, count), unit, m_rowBuffer);
                m_currentRow = m_rowBuffer.data();
            }
            m_dataPos += count;
        }
        ++m_nextRow;
    }
    return m_currentRow;
}

void PictBitmap::rowToRgb(int row, int col0, int col1, std::uint8_t* rgb) {
    const std::uint8_t* p = advanceToRow(row);
    switch (m_kind) {
    case PixelKind::Indexed:
        if (m_pixelSize == 8) {
            for (int c = col0; c < col1; ++c, rgb += 3)
                std::memcpy(rgb, &m_palette[std::size_t{p[c]} * 3], 3);
        } else {
            const unsigned bpp = m_pixelSize;
            const unsigned mask = (1u << bpp) - 1u;
            for (int c = col0; c < col1; ++c, rgb += 3) {
                const std::size_t bit = static_cast<std::size_t>(c) * bpp;
                const unsigned shift = 8u - bpp - static_cast<unsigned>(bit & 7u);
                const unsigned v = (p[bit >> 3] >> shift) & mask;
                std::memcpy(rgb, &m_palette[v * 3], 3);
            }
        }
        break;
    case PixelKind::Direct16:
        for (int c = col0; c < col1; ++c, rgb += 3) {
            // x RRRRR GGGGG BBBBB; the top bit is not alpha.
            const unsigned w = (unsigned{p[2 * c]} << 8) | p[2 * c + 1];
            rgb[0] = expand5((w >> 10) & 31u);
            rgb[1] = expand5((w >> 5) & 31u);
            rgb[2] = expand5(w & 31u);
        }
        break;
    case PixelKind::Direct32: {
        const std::size_t w = static_cast<std::size_t>(m_bounds.width());
        switch (m_layout) {
        case DirectLayout::Xrgb:
            for (int c = col0; c < col1; ++c, rgb += 3)
                std::memcpy(rgb, p + 4 * static_cast<std::size_t>(c) + 1, 3);
            break;
        case DirectLayout::Rgb:
            std::memcpy(rgb, p + 3 * static_cast<std::size_t>(col0),
                        3 * static_cast<std::size_t>(col1 - col0));
            break;
        case DirectLayout::Planar:
        case DirectLayout::None: {
            // Planes of one row: (alpha,) red, green, blue, each w bytes.
            const std::uint8_t* red = p + (m_cmpCount == 4 ? w : 0);
            const std::uint8_t* green = red + w;
            const std::uint8_t* blue = green + w;
            for (int c = col0; c < col1; ++c, rgb += 3) {
                rgb[0] = red[c];
                rgb[1] = green[c];
                rgb[2] = blue[c];
            }
            break;
        }
        }
        break;
    }
    }
}

} // namespace gfx
