#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace gfx {

// The game's files are a few megabytes; nothing a map can come from needs more than this.
inline constexpr std::uint64_t kMaxSourceFileSize = 64ull * 1024ull * 1024ull;

struct SourceFileResult {
    std::vector<std::uint8_t> bytes;
    std::string error;  // one of PictureMessages' texts
    std::string detail; // the file and the system's reason, for the tool
    bool ok() const { return error.empty(); }
};

// Reads a whole picture source into memory: holding one whole is cheaper and safer than seeking in
// a stream. Fails with "please select a single file." for a folder, "sorry, file not found." for a
// path that names nothing, "sorry, file is larger than 64 MB." for a file over `limit` (refused before a
// byte is read), "sorry, file is empty." for one that cannot be read or is not a plain file (a
// pipe or a device would block or never end).
SourceFileResult readSourceFile(const std::filesystem::path& path, std::uint64_t limit = kMaxSourceFileSize);

} // namespace gfx
