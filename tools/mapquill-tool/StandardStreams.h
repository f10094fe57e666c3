#pragma once

#include "ToolFiles.h"

#include <cstddef>
#include <string>
#include <string_view>

namespace mqtool {

// The files of the commands, where "-" stands for standard input or output. A pipe or terminal
// is fine there (the user chose it); a named file goes through ToolFiles, which reads only plain
// files and replaces a target only once the new file is complete.

// At most `limit` bytes, as readFilePrefix.
FileBytes readInput(const std::string& path, std::size_t limit);

// Returns an empty string on success, otherwise the message naming the file and the reason.
std::string writeOutput(const std::string& path, std::string_view bytes);

} // namespace mqtool
