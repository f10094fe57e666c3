#pragma once

#include <string>
#include <string_view>

namespace ov {

// Names in OvData files are ISO-8859-1 bytes; in JSON they are Unicode text. Every byte value
// maps to the code point of the same number, so bytes -> text -> bytes is lossless.
std::string latin1ToUtf8(std::string_view bytes);
// The same, appended to `out` (no temporary string).
void appendLatin1ToUtf8(std::string& out, std::string_view bytes);

struct Latin1Conversion {
    std::string bytes; // the ISO-8859-1 bytes, when ok
    std::string error; // why the text has no ISO-8859-1 form; empty when ok
    bool ok() const { return error.empty(); }
};

// Refuses malformed UTF-8 and any character above U+00FF, naming the first such character.
Latin1Conversion utf8ToLatin1(std::string_view text);

} // namespace ov
