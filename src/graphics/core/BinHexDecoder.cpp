#include "graphics/core/BinHexDecoder.h"

#include "graphics/core/Crc16.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <string_view>

namespace gfx {

namespace BinHexLayout {
constexpr std::string_view kAlphabet = "!\"#$%&'()*+,-012345689@ABCDEFGHIJKLMNPQRSTUVXYZ[`abcdefhijklmpqr";
constexpr std::string_view kMarkerLine = "(This file must be converted";
constexpr std::size_t kMarkerSearchLimit = 64 * 1024;
constexpr std::size_t kMaxColonCandidates = 16;
constexpr std::uint8_t kRunMarker = 0x90;
constexpr std::uint8_t kMaxNameLength = 63;
// Bounds what a hostile run-length stream can make us allocate: no game fork comes near it.
constexpr std::uint32_t kMaxForkLength = 64u * 1024u * 1024u;
} // namespace BinHexLayout

using namespace BinHexLayout;

namespace {

constexpr std::array<std::int8_t, 256> makeDecodeTable() {
    std::array<std::int8_t, 256> table{};
    table.fill(-1);
    for (std::size_t i = 0; i < kAlphabet.size(); ++i)
        table[static_cast<unsigned char>(kAlphabet[i])] = static_cast<std::int8_t>(i);
    return table;
}
constexpr std::array<std::int8_t, 256> kDecode = makeDecodeTable();

// The bytes of the 6-bit layer, from just after the opening ':' up to the closing ':'.
class SixBitStream {
public:
    SixBitStream(std::span<const std::uint8_t> text, std::size_t start) : m_text(text), m_pos(start) {}

    bool next(std::uint8_t& out) {
        while (m_bits < 8) {
            if (m_pos >= m_text.size()) {
                m_error = "the BinHex text ends without its closing ':'";
                return false;
            }
            const std::uint8_t c = m_text[m_pos++];
            if (c == '\r' || c == '\n' || c == ' ' || c == '\t')
                continue;
            if (c == ':') {
                m_error = "the BinHex text ends early";
                --m_pos;
                return false;
            }
            const int value = kDecode[c];
            if (value < 0) {
                m_error = "the BinHex text holds a character outside its alphabet";
                return false;
            }
            m_acc = ((m_acc << 6) | static_cast<std::uint32_t>(value)) & 0xFFFFFFu;
            m_bits += 6;
        }
        m_bits -= 8;
        out = static_cast<std::uint8_t>(m_acc >> m_bits);
        return true;
    }

    const char* error() const { return m_error; }

private:
    std::span<const std::uint8_t> m_text;
    std::size_t m_pos;
    std::uint32_t m_acc = 0;
    int m_bits = 0;
    const char* m_error = "";
};

// Undoes the 0x90 runs: "90 00" is a literal 0x90, "90 nn" makes the previous byte appear nn times.
class RunLengthStream {
public:
    explicit RunLengthStream(SixBitStream& source) : m_source(source) {}

    bool next(std::uint8_t& out) {
        while (m_pending == 0) {
            std::uint8_t b = 0;
            if (!m_source.next(b))
                return false;
            if (b != kRunMarker) {
                m_last = b;
                out = b;
                return true;
            }
            std::uint8_t count = 0;
            if (!m_source.next(count))
                return false;
            if (count == 0) {
                m_last = kRunMarker;
                out = kRunMarker;
                return true;
            }
            m_pending = count - 1u;
        }
        --m_pending;
        out = m_last;
        return true;
    }

    bool read(std::span<std::uint8_t> out) {
        for (std::uint8_t& b : out)
            if (!next(b))
                return false;
        return true;
    }

    const char* error() const { return m_source.error(); }

private:
    SixBitStream& m_source;
    std::uint8_t m_last = 0;
    unsigned m_pending = 0;
};

std::uint32_t be32(const std::uint8_t* p) {
    return (static_cast<std::uint32_t>(p[0]) << 24) | (static_cast<std::uint32_t>(p[1]) << 16) |
           (static_cast<std::uint32_t>(p[2]) << 8) | p[3];
}

// Decodes from one opening ':' position. `strict` decides whether a failure is reported as damage
// (the marker line was seen) or as "not BinHex".
UnwrappedFork decodeFrom(std::span<const std::uint8_t> text, std::size_t colon, bool strict) {
    UnwrappedFork result;
    SixBitStream six(text, colon + 1);
    RunLengthStream in(six);
    auto fail = [&](const char* why) {
        result.fork.clear();
        if (strict) {
            result.wrapping = ForkWrapping::BinHex4;
            result.problem = why;
        } else {
            result.wrapping = ForkWrapping::None;
        }
        return result;
    };

    std::uint8_t nameLength = 0;
    if (!in.next(nameLength))
        return fail(in.error());
    if (nameLength < 1 || nameLength > kMaxNameLength)
        return fail("the BinHex header has an impossible name length");
    // name, version, type, creator, Finder flags, data length, resource length
    std::array<std::uint8_t, 1 + kMaxNameLength + 1 + 4 + 4 + 2 + 4 + 4> header{};
    header[0] = nameLength;
    const std::size_t headerLength = 1u + nameLength + 1u + 4u + 4u + 2u + 4u + 4u;
    if (!in.read(std::span<std::uint8_t>(header).subspan(1, headerLength - 1)))
        return fail(in.error());
    std::array<std::uint8_t, 2> crcBytes{};
    if (!in.read(crcBytes))
        return fail(in.error());
    const std::uint16_t headerCrc = static_cast<std::uint16_t>((crcBytes[0] << 8) | crcBytes[1]);
    if (crc16Xmodem(std::span<const std::uint8_t>(header).first(headerLength)) != headerCrc)
        return fail("the BinHex header CRC does not match");

    // From here on the header is proven: any damage is reported, marker line or not.
    strict = true;
    const std::uint32_t dataLength = be32(header.data() + headerLength - 8);
    const std::uint32_t rsrcLength = be32(header.data() + headerLength - 4);
    if (rsrcLength > kMaxForkLength)
        return fail("the BinHex resource fork is implausibly large");

    std::uint16_t crc = 0;
    std::array<std::uint8_t, 4096> chunk{};
    for (std::uint32_t left = dataLength; left > 0;) {
        const std::size_t n = std::min<std::size_t>(left, chunk.size());
        if (!in.read(std::span<std::uint8_t>(chunk).first(n)))
            return fail("the BinHex data fork is truncated");
        crc = crc16Xmodem(std::span<const std::uint8_t>(chunk).first(n), crc);
        left -= static_cast<std::uint32_t>(n);
    }
    if (!in.read(crcBytes))
        return fail("the BinHex data fork is truncated");
    if (crc != static_cast<std::uint16_t>((crcBytes[0] << 8) | crcBytes[1]))
        return fail("the BinHex data fork CRC does not match");

    // Grows with the bytes actually decoded, so a lying length cannot allocate more than the text
    // produces.
    std::vector<std::uint8_t> fork;
    for (std::uint32_t left = rsrcLength; left > 0;) {
        const std::size_t n = std::min<std::size_t>(left, chunk.size());
        if (!in.read(std::span<std::uint8_t>(chunk).first(n)))
            return fail("the BinHex resource fork is truncated");
        fork.insert(fork.end(), chunk.begin(), chunk.begin() + static_cast<std::ptrdiff_t>(n));
        left -= static_cast<std::uint32_t>(n);
    }
    if (!in.read(crcBytes))
        return fail("the BinHex resource fork is truncated");
    if (crc16Xmodem(fork) != static_cast<std::uint16_t>((crcBytes[0] << 8) | crcBytes[1]))
        return fail("the BinHex resource fork CRC does not match");

    result.wrapping = ForkWrapping::BinHex4;
    result.fork = std::move(fork);
    return result;
}

bool isLineStart(std::span<const std::uint8_t> text, std::size_t pos) {
    return pos == 0 || text[pos - 1] == '\n' || text[pos - 1] == '\r';
}

} // namespace

UnwrappedFork BinHexDecoder::decode(std::span<const std::uint8_t> text) {
    const auto searchEnd =
        text.begin() + static_cast<std::ptrdiff_t>(std::min(text.size(), kMarkerSearchLimit));
    const auto marker = std::search(text.begin(), searchEnd, kMarkerLine.begin(), kMarkerLine.end());
    if (marker != searchEnd) {
        for (std::size_t pos = static_cast<std::size_t>(marker - text.begin()) + kMarkerLine.size();
             pos < text.size(); ++pos) {
            if (text[pos] == ':' && isLineStart(text, pos))
                return decodeFrom(text, pos, true);
        }
        UnwrappedFork result;
        result.wrapping = ForkWrapping::BinHex4;
        result.problem = "the BinHex text has no line starting with ':'";
        return result;
    }

    std::size_t candidates = 0;
    // memchr: a picture of megabytes is scanned for colons before it is known not to be BinHex.
    for (std::size_t pos = 0; pos < text.size() && candidates < kMaxColonCandidates; ++pos) {
        const void* colon = std::memchr(text.data() + pos, ':', text.size() - pos);
        if (!colon)
            break;
        pos = static_cast<std::size_t>(static_cast<const std::uint8_t*>(colon) - text.data());
        if (!isLineStart(text, pos))
            continue;
        ++candidates;
        if (pos + 1 >= text.size() || kDecode[text[pos + 1]] < 0)
            continue;
        UnwrappedFork result = decodeFrom(text, pos, false);
        if (result.recognised())
            return result;
    }
    return {};
}

} // namespace gfx
