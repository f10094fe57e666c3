#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

namespace ov {

// A cursor over a borrowed byte buffer that reads big-endian integers and never reads past the
// end: a read that does not fit returns zero / an empty span and marks the reader failed, and
// every later read fails too. Callers check has(n) before a fixed-size record so that a
// truncated file is reported before any part of the record is taken.
class BigEndianReader {
public:
    explicit BigEndianReader(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}

    bool has(std::size_t count) const { return !failed_ && bytes_.size() - pos_ >= count; }
    std::size_t remaining() const { return failed_ ? 0 : bytes_.size() - pos_; }
    std::size_t position() const { return pos_; }
    bool failed() const { return failed_; }

    std::int32_t readInt32();
    std::int16_t readInt16();
    std::uint8_t readByte();
    // The span borrows the reader's buffer; it is empty (and the reader failed) when fewer
    // than count bytes remain.
    std::span<const std::uint8_t> readBytes(std::size_t count);

private:
    bool take(std::size_t count);

    std::span<const std::uint8_t> bytes_;
    std::size_t pos_ = 0;
    bool failed_ = false;
};

} // namespace ov
