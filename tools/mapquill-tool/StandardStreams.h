#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace mqtool {

// The files of the commands, where "-" stands for standard input or output. A pipe or terminal
// is fine there (the user chose it); a named file goes through the program's file module
// (files/Files.h), which reads only plain files and replaces a target only once the new file is
// complete.

// Standard input and output carry bytes as they are on every system: Windows would otherwise
// turn "\n" into "\r\n" (and stop reading at 0x1A), so that a dump or a PNG on standard output
// would differ from the same on Linux. Called once, first thing.
void useBinaryStandardStreams();

struct InputBytes {
    std::vector<std::uint8_t> bytes; // at most the limit asked for
    bool truncated = false;          // the input holds more than that
    std::string error;               // the message, naming the file and the reason
    bool ok() const { return error.empty(); }
};

InputBytes readInput(const std::string& path, std::uint64_t limit);

// Returns an empty string on success, otherwise the message naming the file and the reason.
std::string writeOutput(const std::string& path, std::string_view bytes);

} // namespace mqtool
