#include "ovdata/Latin1Text.h"

#include <cstdint>
#include <cstdio>

namespace ov {

void appendLatin1ToUtf8(std::string& text, std::string_view bytes) {
    for (const char c : bytes) {
        const auto u = static_cast<unsigned char>(c);
        if (u < 0x80) {
            text += c;
        } else {
            text += static_cast<char>(0xC0 | (u >> 6));
            text += static_cast<char>(0x80 | (u & 0x3F));
        }
    }
}

std::string latin1ToUtf8(std::string_view bytes) {
    std::string text;
    text.reserve(bytes.size() + bytes.size() / 4);
    appendLatin1ToUtf8(text, bytes);
    return text;
}

namespace {

std::string codePointName(std::uint32_t cp) {
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "U+%04X", static_cast<unsigned>(cp));
    return buffer;
}

} // namespace

Latin1Conversion utf8ToLatin1(std::string_view text) {
    Latin1Conversion result;
    result.bytes.reserve(text.size());
    std::size_t i = 0;
    while (i < text.size()) {
        const auto lead = static_cast<unsigned char>(text[i]);
        std::size_t length = 0;
        std::uint32_t cp = 0;
        std::uint32_t minimum = 0;
        if (lead < 0x80) {
            result.bytes += static_cast<char>(lead);
            ++i;
            continue;
        } else if ((lead & 0xE0) == 0xC0) {
            length = 2;
            cp = lead & 0x1Fu;
            minimum = 0x80;
        } else if ((lead & 0xF0) == 0xE0) {
            length = 3;
            cp = lead & 0x0Fu;
            minimum = 0x800;
        } else if ((lead & 0xF8) == 0xF0) {
            length = 4;
            cp = lead & 0x07u;
            minimum = 0x10000;
        } else {
            result.error = "the text is not valid UTF-8";
            return result;
        }
        if (text.size() - i < length) {
            result.error = "the text is not valid UTF-8";
            return result;
        }
        for (std::size_t k = 1; k < length; ++k) {
            const auto next = static_cast<unsigned char>(text[i + k]);
            if ((next & 0xC0) != 0x80) {
                result.error = "the text is not valid UTF-8";
                return result;
            }
            cp = (cp << 6) | (next & 0x3Fu);
        }
        if (cp < minimum || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
            result.error = "the text is not valid UTF-8";
            return result;
        }
        if (cp > 0xFF) {
            result.error = "the character " + codePointName(cp) + " has no ISO-8859-1 form";
            return result;
        }
        result.bytes += static_cast<char>(cp);
        i += length;
    }
    return result;
}

} // namespace ov
