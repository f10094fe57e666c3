#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

namespace gfx {

// A cursor over a borrowed byte span that never reads past its end. A read that does not fit
// returns 0 (or an empty span), leaves the position at the end and sets failed(); callers check
// failed() once after a group of reads instead of after each one. Seeking outside the span is
// refused the same way. Positions are offsets from the start of the span.
class ByteReader {
public:
    ByteReader() = default;
    explicit ByteReader(std::span<const std::uint8_t> data) : m_data(data) {}

    std::size_t size() const { return m_data.size(); }
    std::size_t pos() const { return m_pos; }
    std::size_t remaining() const { return m_data.size() - m_pos; }
    bool atEnd() const { return m_pos >= m_data.size(); }
    bool failed() const { return m_failed; }
    bool canRead(std::size_t n) const { return n <= remaining(); }
    std::span<const std::uint8_t> data() const { return m_data; }

    // Moves to an absolute offset; offset == size() is allowed (the end).
    bool seek(std::size_t offset) {
        if (offset > m_data.size()) {
            fail();
            return false;
        }
        m_pos = offset;
        return true;
    }

    bool skip(std::size_t n) {
        if (!canRead(n)) {
            fail();
            return false;
        }
        m_pos += n;
        return true;
    }

    // The next n bytes as a view into the underlying data (no copy).
    std::span<const std::uint8_t> bytes(std::size_t n) {
        if (!canRead(n)) {
            fail();
            return {};
        }
        auto out = m_data.subspan(m_pos, n);
        m_pos += n;
        return out;
    }

    std::uint8_t u8() {
        if (!canRead(1)) {
            fail();
            return 0;
        }
        return m_data[m_pos++];
    }
    std::int8_t s8() { return static_cast<std::int8_t>(u8()); }

    std::uint16_t u16be() { return static_cast<std::uint16_t>(readBig(2)); }
    std::uint32_t u32be() { return static_cast<std::uint32_t>(readBig(4)); }
    std::int16_t s16be() { return static_cast<std::int16_t>(u16be()); }
    std::int32_t s32be() { return static_cast<std::int32_t>(u32be()); }

    std::uint16_t u16le() { return static_cast<std::uint16_t>(readLittle(2)); }
    std::uint32_t u32le() { return static_cast<std::uint32_t>(readLittle(4)); }
    std::int16_t s16le() { return static_cast<std::int16_t>(u16le()); }
    std::int32_t s32le() { return static_cast<std::int32_t>(u32le()); }

    // Peeks without moving; returns false (and does not set failed) when the bytes are absent.
    bool peekU16be(std::uint16_t& out) const {
        if (!canRead(2))
            return false;
        out = static_cast<std::uint16_t>((m_data[m_pos] << 8) | m_data[m_pos + 1]);
        return true;
    }

private:
    void fail() {
        m_failed = true;
        m_pos = m_data.size();
    }

    std::uint64_t readBig(std::size_t n) {
        if (!canRead(n)) {
            fail();
            return 0;
        }
        std::uint64_t v = 0;
        for (std::size_t i = 0; i < n; ++i)
            v = (v << 8) | m_data[m_pos + i];
        m_pos += n;
        return v;
    }

    std::uint64_t readLittle(std::size_t n) {
        if (!canRead(n)) {
            fail();
            return 0;
        }
        std::uint64_t v = 0;
        for (std::size_t i = n; i > 0; --i)
            v = (v << 8) | m_data[m_pos + i - 1];
        m_pos += n;
        return v;
    }

    std::span<const std::uint8_t> m_data;
    std::size_t m_pos = 0;
    bool m_failed = false;
};

} // namespace gfx
