#include "graphics/core/TgaDecoder.h"

#include "graphics/core/ByteReader.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <new>
#include <string_view>

namespace gfx {

namespace TgaLayout {
constexpr std::size_t kHeaderSize = 18;
constexpr std::uint8_t kTypeColourMapped = 1;
constexpr std::uint8_t kTypeTrueColour = 2;
constexpr std::uint8_t kTypeGrey = 3;
constexpr std::uint8_t kRunLengthFlag = 8; // type 9, 10, 11 = 1, 2, 3 + 8
constexpr std::uint8_t kDescriptorRightToLeft = 0x10;
constexpr std::uint8_t kDescriptorTopToBottom = 0x20;
constexpr std::uint8_t kDescriptorInterleave = 0xC0;
constexpr std::uint8_t kPacketRun = 0x80;
constexpr unsigned kMaxPacketPixels = 128;
constexpr std::size_t kFooterSize = 26; // extension offset, developer offset, signature
constexpr std::string_view kFooterSignature{"TRUEVISION-XFILE.\0", 18};
// Far beyond any map picture (314 x 491); TGA's 16-bit sizes would allow 4 Gpixel, and a few
// megabytes of run-length packets could otherwise ask for gigabytes.
constexpr std::uint64_t kMaxPixels = 64ull * 1024 * 1024;
} // namespace TgaLayout

using namespace TgaLayout;

namespace {

struct Header {
    std::uint8_t idLength = 0;
    std::uint8_t colourMapType = 0;
    std::uint8_t imageType = 0;
    std::uint16_t mapFirst = 0;
    std::uint16_t mapLength = 0;
    std::uint8_t mapEntryBits = 0;
    std::uint16_t width = 0;
    std::uint16_t height = 0;
    std::uint8_t pixelBits = 0;
    std::uint8_t descriptor = 0;

    std::uint8_t baseType() const { return imageType & static_cast<std::uint8_t>(~kRunLengthFlag); }
    bool runLength() const { return (imageType & kRunLengthFlag) != 0; }
    std::size_t pixelBytes() const { return (pixelBits + 7u) / 8u; }
    std::size_t mapEntryBytes() const { return (mapEntryBits + 7u) / 8u; }
    std::size_t mapBytes() const { return colourMapType == 1 ? std::size_t{mapLength} * mapEntryBytes() : 0; }
};

Header readHeader(ByteReader& in) {
    Header h;
    h.idLength = in.u8();
    h.colourMapType = in.u8();
    h.imageType = in.u8();
    h.mapFirst = in.u16le();
    h.mapLength = in.u16le();
    h.mapEntryBits = in.u8();
    in.skip(4); // x and y origin: placement on a screen, irrelevant to the picture
    h.width = in.u16le();
    h.height = in.u16le();
    h.pixelBits = in.u8();
    h.descriptor = in.u8();
    return h;
}

bool validMapEntryBits(std::uint8_t bits) {
    return bits == 15 || bits == 16 || bits == 24 || bits == 32;
}

// Empty when the header is consistent, else the reason.
const char* headerProblem(const Header& h) {
    if (h.imageType != 1 && h.imageType != 2 && h.imageType != 3 && h.imageType != 9 && h.imageType != 10 &&
        h.imageType != 11)
        return "TGA image type not supported";
    if (h.colourMapType > 1)
        return "TGA colour map type is invalid";
    if (h.width == 0 || h.height == 0)
        return "TGA picture has no pixels";
    if (h.colourMapType == 1 && !validMapEntryBits(h.mapEntryBits))
        return "TGA colour map entry size is invalid";
    switch (h.baseType()) {
    case kTypeColourMapped:
        if (h.colourMapType != 1 || h.mapLength == 0)
            return "TGA colour-mapped picture without a colour map";
        if (h.pixelBits != 8 && h.pixelBits != 16)
            return "TGA colour index size is invalid";
        break;
    case kTypeTrueColour:
        if (h.pixelBits != 15 && h.pixelBits != 16 && h.pixelBits != 24 && h.pixelBits != 32)
            return "TGA pixel size is invalid";
        break;
    default:
        if (h.pixelBits != 8 && h.pixelBits != 16)
            return "TGA grey pixel size is invalid";
        break;
    }
    return "";
}

using Rgb = std::array<std::uint8_t, 3>;

Rgb fromWord555(unsigned word) {
    auto widen = [](unsigned v) { return static_cast<std::uint8_t>((v << 3) | (v >> 2)); };
    return {widen((word >> 10) & 31u), widen((word >> 5) & 31u), widen(word & 31u)};
}

// One colour-map entry or one true-colour pixel: 15/16-bit words are little-endian A-R-G-B 1-5-5-5,
// 24/32-bit pixels are stored blue, green, red (alpha).
Rgb fromDirect(const std::uint8_t* p, std::size_t bytes) {
    if (bytes == 2)
        return fromWord555(static_cast<unsigned>(p[0]) | (static_cast<unsigned>(p[1]) << 8));
    return {p[2], p[1], p[0]};
}

class PixelConverter {
public:
    PixelConverter(const Header& h, std::vector<Rgb> palette) : m_header(h), m_palette(std::move(palette)) {}

    Rgb operator()(const std::uint8_t* p) const {
        switch (m_header.baseType()) {
        case kTypeColourMapped: {
            unsigned index = p[0];
            if (m_header.pixelBits == 16)
                index |= static_cast<unsigned>(p[1]) << 8;
            // Indices outside the map are black rather than an error: some writers leave
            // unused values in the pixel data.
            if (index < m_header.mapFirst || index - m_header.mapFirst >= m_palette.size())
                return {0, 0, 0};
            return m_palette[index - m_header.mapFirst];
        }
        case kTypeTrueColour:
            return fromDirect(p, m_header.pixelBytes());
        case kTypeGrey:
        default:
            return {p[0], p[0], p[0]}; // a 16-bit grey pixel is grey then alpha
        }
    }

private:
    const Header& m_header;
    std::vector<Rgb> m_palette;
};

} // namespace

ImageResult TgaDecoder::decode(std::span<const std::uint8_t> data) {
    ByteReader in(data);
    const Header h = readHeader(in);
    if (in.failed())
        return ImageResult::failure("TGA header is truncated");
    if (const char* problem = headerProblem(h); *problem != '\0')
        return ImageResult::failure(problem);

    in.skip(h.idLength);
    std::vector<Rgb> palette;
    if (h.colourMapType == 1) {
        const std::span<const std::uint8_t> map = in.bytes(h.mapBytes());
        if (in.failed())
            return ImageResult::failure("TGA colour map is truncated");
        palette.reserve(h.mapLength);
        for (std::size_t i = 0; i < h.mapLength; ++i)
            palette.push_back(fromDirect(map.data() + i * h.mapEntryBytes(), h.mapEntryBytes()));
    }

    const std::uint64_t pixels = std::uint64_t{h.width} * h.height;
    const std::size_t bpp = h.pixelBytes();
    const std::uint64_t remaining = in.remaining();
    // Check what the data can hold before allocating: raw pixels need all their bytes, and a run
    // packet of 1 + bpp bytes makes at most 128 pixels.
    const std::uint64_t possible =
        h.runLength() ? (remaining + bpp) / (1 + bpp) * kMaxPacketPixels : remaining / bpp;
    if (pixels > possible)
        return ImageResult::failure("TGA pixel data is truncated");
    if (pixels > kMaxPixels)
        return ImageResult::failure("TGA picture is too large");

    ImageResult result;
    try {
        result.image = RgbImage(h.width, h.height);
    } catch (const std::bad_alloc&) {
        return ImageResult::failure("TGA picture is too large");
    }

    const PixelConverter convert(h, std::move(palette));
    const bool topToBottom = (h.descriptor & kDescriptorTopToBottom) != 0;
    const bool rightToLeft = (h.descriptor & kDescriptorRightToLeft) != 0;
    const std::span<const std::uint8_t> pixelData = in.bytes(in.remaining());
    std::size_t pos = 0;
    unsigned packetLeft = 0;
    bool packetIsRun = false;
    Rgb runColour{};

    for (int fileRow = 0; fileRow < h.height; ++fileRow) {
        const int y = topToBottom ? fileRow : h.height - 1 - fileRow;
        std::uint8_t* row = result.image.row(y);
        for (int fileCol = 0; fileCol < h.width; ++fileCol) {
            Rgb colour{};
            if (!h.runLength()) {
                colour = convert(pixelData.data() + pos);
                pos += bpp;
            } else {
                if (packetLeft == 0) {
                    if (pos >= pixelData.size())
                        return ImageResult::failure("TGA run-length data ends early");
                    const std::uint8_t packet = pixelData[pos++];
                    packetLeft = (packet & 0x7Fu) + 1u;
                    packetIsRun = (packet & kPacketRun) != 0;
                    // A packet may cross rows but never the end of the picture.
                    if (packetLeft > pixels - (std::uint64_t{static_cast<unsigned>(fileRow)} * h.width +
                                               static_cast<unsigned>(fileCol)))
                        return ImageResult::failure("TGA run-length packet runs past the end of the picture");
                    if (packetIsRun) {
                        if (pixelData.size() - pos < bpp)
                            return ImageResult::failure("TGA run-length data ends early");
                        runColour = convert(pixelData.data() + pos);
                        pos += bpp;
                    }
                }
                if (packetIsRun) {
                    colour = runColour;
                } else {
                    if (pixelData.size() - pos < bpp)
                        return ImageResult::failure("TGA run-length data ends early");
                    colour = convert(pixelData.data() + pos);
                    pos += bpp;
                }
                --packetLeft;
            }
            const int x = rightToLeft ? h.width - 1 - fileCol : fileCol;
            std::memcpy(row + 3 * static_cast<std::size_t>(x), colour.data(), 3);
        }
    }
    return result;
}

bool TgaDecoder::looksLikeTga(std::span<const std::uint8_t> data) {
    ByteReader in(data);
    const Header h = readHeader(in);
    if (in.failed() || *headerProblem(h) != '\0' || (h.descriptor & kDescriptorInterleave) != 0 ||
        (h.descriptor & 0x0Fu) > 8)
        return false;
    if (data.size() >= kHeaderSize + kFooterSize &&
        std::equal(kFooterSignature.begin(), kFooterSignature.end(), data.end() - kFooterSignature.size()))
        return true;
    const std::uint64_t before = kHeaderSize + std::uint64_t{h.idLength} + h.mapBytes();
    const std::uint64_t raw = std::uint64_t{h.width} * h.height * h.pixelBytes();
    return h.runLength() ? before < data.size() : before + raw <= data.size();
}

} // namespace gfx
