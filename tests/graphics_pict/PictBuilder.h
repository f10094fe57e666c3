#pragma once

#include <algorithm>
#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

namespace picttest {

// Writes small pictures opcode by opcode, for tests that need a picture made to measure: a
// version 2 record (opcodes are words on even offsets) or a version 1 record (byte opcodes).
// file() prepends the 512-byte application header.
class PictBuilder {
public:
    explicit PictBuilder(int top, int left, int bottom, int right, int version = 2) : m_v2(version == 2) {
        word(0); // picSize: not relied upon
        rect(top, left, bottom, right);
        if (m_v2)
            bytes({0x00, 0x11, 0x02, 0xFF, 0x0C, 0x00, 0xFF, 0xFE, 0x00, 0x00, 0x00, 0x48, 0x00, 0x00, 0x00,
                   0x48, 0x00, 0x00});
        else
            bytes({0x11, 0x01});
        if (m_v2) {
            rect(top, left, bottom, right);
            bytes({0, 0, 0, 0});
        }
    }

    PictBuilder& op(std::uint16_t opcode) {
        if (m_v2) {
            if (m_data.size() & 1u)
                m_data.push_back(0);
            word(opcode);
        } else {
            m_data.push_back(static_cast<std::uint8_t>(opcode));
        }
        return *this;
    }
    PictBuilder& byte(int v) {
        m_data.push_back(static_cast<std::uint8_t>(v));
        return *this;
    }
    PictBuilder& word(int v) {
        m_data.push_back(static_cast<std::uint8_t>((v >> 8) & 0xFF));
        m_data.push_back(static_cast<std::uint8_t>(v & 0xFF));
        return *this;
    }
    PictBuilder& bytes(std::initializer_list<int> list) {
        for (int v : list)
            byte(v);
        return *this;
    }
    PictBuilder& text(const std::string& s) {
        byte(static_cast<int>(s.size()));
        for (char c : s)
            byte(static_cast<unsigned char>(c));
        return *this;
    }
    PictBuilder& zeros(std::size_t n) {
        m_data.insert(m_data.end(), n, 0);
        return *this;
    }
    PictBuilder& rect(int top, int left, int bottom, int right) {
        return word(top).word(left).word(bottom).word(right);
    }
    PictBuilder& point(int v, int h) { return word(v).word(h); }
    // A rectangular region, or one whose scan lines are given as {y, x...} rows.
    PictBuilder& region(int top, int left, int bottom, int right,
                        std::initializer_list<std::initializer_list<int>> lines = {}) {
        std::size_t size = 10;
        for (const auto& line : lines)
            size += 2 * (line.size() + 1);
        if (lines.size() != 0)
            size += 2;
        word(static_cast<int>(size)).rect(top, left, bottom, right);
        for (const auto& line : lines) {
            for (int v : line)
                word(v);
            word(0x7FFF);
        }
        if (lines.size() != 0)
            word(0x7FFF);
        return *this;
    }
    PictBuilder& end() { return op(0x00FF); }

    std::vector<std::uint8_t> file() const {
        std::vector<std::uint8_t> out(512 + m_data.size(), 0);
        std::copy(m_data.begin(), m_data.end(), out.begin() + 512);
        return out;
    }

private:
    bool m_v2;
    std::vector<std::uint8_t> m_data;
};

} // namespace picttest
