#include "graphics/core/FileBytes.h"

#include "graphics/core/PictureMessages.h"

#include <fstream>
#include <system_error>

namespace gfx {

namespace {
// Reads at most limit + 1 bytes so a file that grew since its size was asked is still caught.
bool readStream(const std::filesystem::path& path, std::vector<std::uint8_t>& out, std::uint64_t limit)
{
    std::ifstream file(path, std::ios::binary);
    if (!file)
        return false;
    out.clear();
    std::vector<char> chunk(64 * 1024);
    while (file) {
        file.read(chunk.data(), static_cast<std::streamsize>(chunk.size()));
        const auto got = static_cast<std::size_t>(file.gcount());
        if (out.size() + got > limit)
            return false;
        out.insert(out.end(), chunk.begin(), chunk.begin() + static_cast<std::ptrdiff_t>(got));
    }
    return file.eof();
}
} // namespace

FileBytesResult FileBytes::read(const std::filesystem::path& path, std::uint64_t limit)
{
    FileBytesResult result;
    std::error_code ec;
    const auto status = std::filesystem::status(path, ec);
    if (ec || !std::filesystem::exists(status)) {
        result.error = PictureMessages::kFileNotFound;
        return result;
    }
    if (std::filesystem::is_directory(status)) {
        result.error = PictureMessages::kSelectSingleFile;
        return result;
    }
    // A pipe or a device could block or never end; only plain files are read. A file over the
    // limit is refused before a single byte is read, so a wrong choice (a disk image) costs nothing.
    const bool regular = std::filesystem::is_regular_file(status);
    const std::uintmax_t size = regular ? std::filesystem::file_size(path, ec) : 0;
    if (regular && !ec && size <= limit)
        result.bytes.reserve(static_cast<std::size_t>(size));   // read in place, never moved while growing
    if (!regular || ec || size > limit || !readStream(path, result.bytes, limit)) {
        result.bytes.clear();
        result.error = PictureMessages::kFileEmpty;
    }
    return result;
}

bool FileBytes::tryRead(const std::filesystem::path& path, std::vector<std::uint8_t>& out, std::uint64_t limit)
{
    std::error_code ec;
    if (!std::filesystem::is_regular_file(path, ec) || ec)
        return false;
    if (std::filesystem::file_size(path, ec) > limit || ec)
        return false;
    return readStream(path, out, limit) && !out.empty();
}

} // namespace gfx
