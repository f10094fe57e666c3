#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace gfx {

struct FileBytesResult {
    std::vector<std::uint8_t> bytes;
    std::string error;   // one of PictureMessages' texts
    bool ok() const { return error.empty(); }
};

// Reads a whole file into memory. The game's picture files are a few megabytes, so holding one whole
// is cheaper and safer than seeking in a stream; the size limit keeps a wrong choice (a disk image,
// a device) from exhausting memory.
class FileBytes {
public:
    // The game's files are a few megabytes; nothing a map can come from needs more than this.
    static constexpr std::uint64_t kDefaultLimit = 64ull * 1024ull * 1024ull;

    // Fails with "please select a single file." for a folder, "sorry, file not found." for a path
    // that names nothing, "sorry, file is empty." for a file that cannot be read or is not a plain
    // file (a pipe or a device would block or never end).
    static FileBytesResult read(const std::filesystem::path& path, std::uint64_t limit = kDefaultLimit);

    // Like read() but without the messages: true only when a regular, readable, non-empty file of
    // at most `limit` bytes was read. Used for probing the places a fork may hide.
    static bool tryRead(const std::filesystem::path& path, std::vector<std::uint8_t>& out,
                        std::uint64_t limit = kDefaultLimit);
};

} // namespace gfx
