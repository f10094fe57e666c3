#pragma once

#include <cstddef>
#include <string>

namespace mqtool {

struct FileBytes {
    std::string bytes;      // at most the limit asked for
    bool truncated = false; // the file holds more than that
    std::string error;      // empty on success
    bool ok() const { return error.empty(); }
};

// Reads at most `limit` bytes, so that no input (a huge file, a device) can make the tool
// allocate without bound.
FileBytes readFilePrefix(const std::string& path, std::size_t limit);

// Writes to a new file in the target's folder and renames it over the target, so a failure
// leaves any existing file exactly as it was. Returns an empty string on success.
std::string writeFileReplacing(const std::string& path, const std::string& bytes);

} // namespace mqtool
