#pragma once

#include "graphics/core/RgbImage.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace gfx {

namespace BrmLayout {
// All fields little-endian signed 32-bit. Three parallel tables of 100 entries follow the count.
constexpr std::size_t kCountOffset = 0;
constexpr std::size_t kOffsetTable = 4; // offset of picture i's pixel block from file start
constexpr std::size_t kWidthTable = 404;
constexpr std::size_t kHeightTable = 804;
constexpr std::size_t kEntrySize = 4;
constexpr int kDirectoryEntries = 100;
constexpr std::size_t kHeaderSize = 1204;
constexpr std::size_t kBytesPerPixel = 2; // 5-6-5 word, little-endian
constexpr int kIdBase = 1000;             // picture index = PICT resource ID - 1000
// Larger pictures cannot be made (the platform picture's limits), whatever the file says.
constexpr std::int64_t kMaxSide = 32767;
constexpr std::int64_t kMaxPixels = 256ll * 1024 * 1024;
} // namespace BrmLayout

struct BrmEntry {
    int index = 0;
    std::int32_t offset = 0;
    std::int32_t width = 0;
    std::int32_t height = 0;
};

struct BrmListResult {
    std::vector<BrmEntry> entries; // the slots the count admits whose picture lies inside the file
    std::string error;
    bool ok() const { return error.empty(); }
};

// The game's PC picture container 'Intrface.brm': a count, a directory of offsets, widths and heights,
// and uncompressed 16-bit pixel blocks. Every read stays inside the given bytes.
class BrmContainer {
public:
    // Picture `index` (= ID - 1000). Failures carry the editor's texts: "sorry, file is empty." for
    // a file of at most 4 bytes; "sorry, picture not in file." for an index the count or the
    // directory does not admit, or a block outside the file; "memory overflow when creating
    // picture." for a size no picture can have.
    static ImageResult decodeIndex(std::span<const std::uint8_t> file, int index);
    static ImageResult decodeId(std::span<const std::uint8_t> file, int id) {
        // IDs come from files as any Int32: the subtraction must not overflow for the smallest.
        const long long index = static_cast<long long>(id) - BrmLayout::kIdBase;
        return decodeIndex(file, index < -1 ? -1 : static_cast<int>(index));
    }

    static BrmListResult list(std::span<const std::uint8_t> file);

    // A robust guess from the directory alone: a plausible count, and every counted picture either
    // empty or a block that fits inside the file after the directory.
    static bool looksLikeContainer(std::span<const std::uint8_t> file);

    // One row of pixels: red = (w >> 8) & 248, green = (w >> 3) & 248, blue = (w & 31) << 3.
    // Green drops its lowest bit and no channel is widened by bit replication, as in the game.
    static void convertRow(const std::uint8_t* words, std::uint8_t* rgb, std::size_t pixels);
};

} // namespace gfx
