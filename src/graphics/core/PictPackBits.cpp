#include "graphics/core/PictPackBits.h"

#include <algorithm>
#include <cstring>

namespace gfx {

std::optional<std::size_t> PictPackBits::measure(std::span<const std::uint8_t> packed, std::size_t unitSize) {
    std::size_t pos = 0;
    std::size_t produced = 0;
    const std::size_t size = packed.size();
    while (pos < size) {
        const unsigned flag = packed[pos++];
        if (flag < 128) {
            const std::size_t bytes = (flag + 1u) * unitSize;
            if (bytes > size - pos)
                return std::nullopt;
            pos += bytes;
            produced += bytes;
        } else if (flag > 128) {
            if (unitSize > size - pos)
                return std::nullopt;
            pos += unitSize;
            produced += (257u - flag) * unitSize;
        }
    }
    return produced;
}

std::size_t PictPackBits::unpack(std::span<const std::uint8_t> packed, std::size_t unitSize,
                                 std::span<std::uint8_t> out) {
    std::size_t pos = 0;
    std::size_t written = 0;
    const std::size_t size = packed.size();
    const std::size_t capacity = out.size();
    while (pos < size && written < capacity) {
        const unsigned flag = packed[pos++];
        if (flag < 128) {
            std::size_t bytes = (flag + 1u) * unitSize;
            bytes = std::min(bytes, size - pos);
            const std::size_t take = std::min(bytes, capacity - written);
            std::memcpy(out.data() + written, packed.data() + pos, take);
            pos += bytes;
            written += take;
        } else if (flag > 128) {
            if (unitSize > size - pos)
                break;
            const std::size_t count = 257u - flag;
            if (unitSize == 1) {
                const std::size_t take = std::min(count, capacity - written);
                std::memset(out.data() + written, packed[pos], take);
                written += take;
            } else {
                for (std::size_t i = 0; i < count && written < capacity; ++i) {
                    const std::size_t take = std::min(unitSize, capacity - written);
                    std::memcpy(out.data() + written, packed.data() + pos, take);
                    written += take;
                }
            }
            pos += unitSize;
        }
    }
    return written;
}

} // namespace gfx
