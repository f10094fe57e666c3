#include "graphics/core/ForkUnwrapper.h"

#include "graphics/core/BinHexDecoder.h"
#include "graphics/core/ByteReader.h"
#include "graphics/core/Crc16.h"
#include "graphics/core/ResourceFork.h"

namespace gfx {

namespace AppleSingleLayout {
constexpr std::uint32_t kAppleSingleMagic = 0x00051600u;
constexpr std::uint32_t kAppleDoubleMagic = 0x00051607u;
constexpr std::uint32_t kVersion1 = 0x00010000u;
constexpr std::uint32_t kVersion2 = 0x00020000u;
constexpr std::size_t kEntryCountOffset = 24;
constexpr std::uint64_t kEntrySize = 12; // id, offset, length
constexpr std::uint32_t kResourceForkEntry = 2;
} // namespace AppleSingleLayout

namespace MacBinaryLayout {
constexpr std::size_t kHeaderSize = 128;
constexpr std::size_t kOldVersion = 0;
constexpr std::size_t kNameLength = 1;
constexpr std::size_t kName = 2;
constexpr std::size_t kZeroByte74 = 74;
constexpr std::size_t kZeroByte82 = 82;
constexpr std::size_t kDataLength = 83;
constexpr std::size_t kRsrcLength = 87;
constexpr std::size_t kVersion2Fields = 99; // bytes 99..125 are zero in MacBinary I
constexpr std::size_t kSignature = 102;     // 'mBIN' in MacBinary III
constexpr std::size_t kSecondaryHeaderLength = 120;
constexpr std::size_t kReaderVersion = 123; // after the writer's version at 122
constexpr std::size_t kCrc = 124;
constexpr std::size_t kCrcEnd = 126;
constexpr std::uint8_t kMaxNameLength = 63;
constexpr std::uint8_t kVersionII = 129;
constexpr std::uint64_t kBlock = 128;
} // namespace MacBinaryLayout

const char* forkWrappingName(ForkWrapping wrapping) {
    switch (wrapping) {
    case ForkWrapping::None:
        return "none";
    case ForkWrapping::AppleSingle:
        return "AppleSingle";
    case ForkWrapping::AppleDouble:
        return "AppleDouble";
    case ForkWrapping::MacBinary1:
        return "MacBinary I";
    case ForkWrapping::MacBinary2:
        return "MacBinary II";
    case ForkWrapping::MacBinary3:
        return "MacBinary III";
    case ForkWrapping::BinHex4:
        return "BinHex 4.0";
    case ForkWrapping::BareFork:
        return "resource fork";
    }
    return "unknown";
}

UnwrappedFork ForkUnwrapper::unwrap(std::span<const std::uint8_t> bytes) {
    for (auto reader : {&ForkUnwrapper::unwrapAppleSingle, &ForkUnwrapper::unwrapBinHex,
                        &ForkUnwrapper::unwrapMacBinary, &ForkUnwrapper::unwrapBareFork}) {
        UnwrappedFork result = reader(bytes);
        if (result.recognised())
            return result;
    }
    return {};
}

UnwrappedFork ForkUnwrapper::unwrapAppleSingle(std::span<const std::uint8_t> bytes) {
    using namespace AppleSingleLayout;
    UnwrappedFork result;
    ByteReader in(bytes);
    const std::uint32_t magic = in.u32be();
    const std::uint32_t version = in.u32be();
    if (in.failed() || (magic != kAppleSingleMagic && magic != kAppleDoubleMagic) ||
        (version != kVersion1 && version != kVersion2))
        return result;
    result.wrapping = magic == kAppleSingleMagic ? ForkWrapping::AppleSingle : ForkWrapping::AppleDouble;

    in.seek(kEntryCountOffset);
    const std::uint64_t entries = in.u16be();
    if (in.failed() || !in.canRead(entries * kEntrySize)) {
        result.problem = "the entry table runs past the end of the file";
        return result;
    }
    for (std::uint64_t i = 0; i < entries; ++i) {
        const std::uint32_t id = in.u32be();
        const std::uint64_t offset = in.u32be();
        const std::uint64_t length = in.u32be();
        if (id != kResourceForkEntry)
            continue;
        if (offset + length > bytes.size()) {
            result.problem = "the resource fork entry runs past the end of the file";
            return result;
        }
        const auto fork = bytes.subspan(offset, length);
        result.fork.assign(fork.begin(), fork.end());
        return result;
    }
    return result;
}

UnwrappedFork ForkUnwrapper::unwrapMacBinary(std::span<const std::uint8_t> bytes) {
    using namespace MacBinaryLayout;
    UnwrappedFork result;
    if (bytes.size() < kHeaderSize)
        return result;
    const std::uint8_t nameLength = bytes[kNameLength];
    if (bytes[kOldVersion] != 0 || bytes[kZeroByte74] != 0 || bytes[kZeroByte82] != 0 || nameLength < 1 ||
        nameLength > kMaxNameLength)
        return result;
    for (std::size_t i = 0; i < nameLength; ++i)
        if (bytes[kName + i] < 0x20)
            return result;

    const auto header = bytes.first(kHeaderSize);
    const bool crcMatches =
        crc16Xmodem(header.first(kCrc)) == static_cast<std::uint16_t>((header[kCrc] << 8) | header[kCrc + 1]);
    const bool signatureIII = header[kSignature] == 'm' && header[kSignature + 1] == 'B' &&
                              header[kSignature + 2] == 'I' && header[kSignature + 3] == 'N';
    bool allZero = true;
    for (std::size_t i = kVersion2Fields; i < kCrcEnd; ++i)
        allZero = allZero && header[i] == 0;

    if (signatureIII)
        result.wrapping = ForkWrapping::MacBinary3;
    else if (header[kReaderVersion] >= kVersionII)
        result.wrapping = ForkWrapping::MacBinary2;
    else if (allZero)
        result.wrapping = ForkWrapping::MacBinary1;
    else
        return result;

    ByteReader in(header);
    in.seek(kDataLength);
    const std::uint64_t dataLength = in.u32be();
    in.seek(kRsrcLength);
    const std::uint64_t rsrcLength = in.u32be();
    in.seek(kSecondaryHeaderLength);
    const std::uint64_t secondaryLength = result.wrapping == ForkWrapping::MacBinary1 ? 0 : in.u16be();
    auto padded = [](std::uint64_t n) { return (n + kBlock - 1) / kBlock * kBlock; };
    const std::uint64_t rsrcOffset = kHeaderSize + padded(secondaryLength) + padded(dataLength);
    const bool fits = (rsrcLength == 0 ? kHeaderSize + secondaryLength + dataLength
                                       : rsrcOffset + rsrcLength) <= bytes.size();

    if (result.wrapping == ForkWrapping::MacBinary1) {
        // Without a CRC or signature the header rules are weak, so fork lengths that do not fit
        // mean "not MacBinary" rather than "damaged MacBinary".
        if (!fits)
            return {};
    } else if (!crcMatches) {
        result.problem = "the MacBinary header CRC does not match";
        return result;
    } else if (!fits) {
        result.problem = "the MacBinary resource fork runs past the end of the file";
        return result;
    }
    if (rsrcLength > 0) {
        const auto fork = bytes.subspan(rsrcOffset, rsrcLength);
        result.fork.assign(fork.begin(), fork.end());
    }
    return result;
}

UnwrappedFork ForkUnwrapper::unwrapBinHex(std::span<const std::uint8_t> bytes) {
    return BinHexDecoder::decode(bytes);
}

UnwrappedFork ForkUnwrapper::unwrapBareFork(std::span<const std::uint8_t> bytes) {
    UnwrappedFork result;
    // The header alone rules out nearly every other file before the bytes are copied for parsing.
    ByteReader header(bytes);
    const std::uint64_t dataOffset = header.u32be();
    const std::uint64_t mapOffset = header.u32be();
    const std::uint64_t dataLength = header.u32be();
    const std::uint64_t mapLength = header.u32be();
    // A map shorter than its fixed part and type count is refused by the parser anyway; checked
    // here, it keeps files that start with zeros (every PICT file's header) from being copied.
    constexpr std::uint64_t kMinMapLength = 30;
    if (header.failed() || dataOffset + dataLength > bytes.size() || mapOffset + mapLength > bytes.size() ||
        mapLength < kMinMapLength)
        return result;
    std::vector<std::uint8_t> copy(bytes.begin(), bytes.end());
    if (!ResourceFork::parse(copy).ok())
        return result;
    result.wrapping = ForkWrapping::BareFork;
    result.fork = std::move(copy);
    return result;
}

} // namespace gfx
