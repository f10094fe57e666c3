#include "ovdata/BigEndianReader.h"

namespace ov {

bool BigEndianReader::take(std::size_t count) {
    if (!has(count)) {
        failed_ = true;
        return false;
    }
    pos_ += count;
    return true;
}

std::int32_t BigEndianReader::readInt32() {
    if (!take(4))
        return 0;
    const std::uint8_t* p = bytes_.data() + pos_ - 4;
    const std::uint32_t u = (std::uint32_t{p[0]} << 24) | (std::uint32_t{p[1]} << 16) |
                            (std::uint32_t{p[2]} << 8) | std::uint32_t{p[3]};
    return static_cast<std::int32_t>(u); // two's complement by definition since C++20
}

std::int16_t BigEndianReader::readInt16() {
    if (!take(2))
        return 0;
    const std::uint8_t* p = bytes_.data() + pos_ - 2;
    return static_cast<std::int16_t>(static_cast<std::uint16_t>((p[0] << 8) | p[1]));
}

std::uint8_t BigEndianReader::readByte() {
    if (!take(1))
        return 0;
    return bytes_[pos_ - 1];
}

std::span<const std::uint8_t> BigEndianReader::readBytes(std::size_t count) {
    if (!take(count))
        return {};
    return bytes_.subspan(pos_ - count, count);
}

} // namespace ov
