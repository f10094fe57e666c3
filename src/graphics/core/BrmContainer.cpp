#include "graphics/core/BrmContainer.h"

#include "graphics/core/ByteReader.h"
#include "graphics/core/PictureMessages.h"

#include <new>

namespace gfx {

using namespace BrmLayout;

namespace {

std::int32_t readField(std::span<const std::uint8_t> file, std::size_t table, int index) {
    ByteReader in(file);
    in.seek(table + kEntrySize * static_cast<std::size_t>(index));
    return in.s32le();
}

} // namespace

void BrmContainer::convertRow(const std::uint8_t* words, std::uint8_t* rgb, std::size_t pixels) {
    for (std::size_t i = 0; i < pixels; ++i) {
        const unsigned w =
            static_cast<unsigned>(words[2 * i]) | (static_cast<unsigned>(words[2 * i + 1]) << 8);
        rgb[3 * i] = static_cast<std::uint8_t>((w >> 8) & 248u);
        rgb[3 * i + 1] = static_cast<std::uint8_t>((w >> 3) & 248u);
        rgb[3 * i + 2] = static_cast<std::uint8_t>((w & 31u) << 3);
    }
}

ImageResult BrmContainer::decodeIndex(std::span<const std::uint8_t> file, int index) {
    // A file that ends within (or right after) the count holds no picture at all.
    if (file.size() <= kEntrySize)
        return ImageResult::failure(PictureMessages::kFileEmpty);
    const std::int32_t count = readField(file, kCountOffset, 0);
    // Indices below 0 or beyond the directory have no slot, whatever the count claims.
    if (index < 0 || index >= kDirectoryEntries || count <= index)
        return ImageResult::failure(PictureMessages::kPictureNotInFile);
    if (file.size() < kHeightTable + kEntrySize * static_cast<std::size_t>(index + 1))
        return ImageResult::failure(PictureMessages::kPictureNotInFile);

    const std::int64_t offset = readField(file, kOffsetTable, index);
    const std::int64_t width = readField(file, kWidthTable, index);
    const std::int64_t height = readField(file, kHeightTable, index);
    if (width <= 0 || height <= 0 || width > kMaxSide || height > kMaxSide || width * height > kMaxPixels)
        return ImageResult::failure(PictureMessages::kMemoryOverflow);
    const std::int64_t blockSize = width * height * static_cast<std::int64_t>(kBytesPerPixel);
    if (offset < 0 || offset + blockSize > static_cast<std::int64_t>(file.size()))
        return ImageResult::failure(PictureMessages::kPictureNotInFile);

    ImageResult result;
    try {
        result.image = RgbImage(static_cast<int>(width), static_cast<int>(height));
    } catch (const std::bad_alloc&) {
        return ImageResult::failure(PictureMessages::kMemoryOverflow);
    }
    const std::uint8_t* src = file.data() + offset;
    const std::size_t rowBytes = static_cast<std::size_t>(width) * kBytesPerPixel;
    for (int y = 0; y < result.image.height; ++y)
        convertRow(src + rowBytes * static_cast<std::size_t>(y), result.image.row(y),
                   static_cast<std::size_t>(width));
    return result;
}

BrmListResult BrmContainer::list(std::span<const std::uint8_t> file) {
    BrmListResult result;
    if (file.size() <= kEntrySize) {
        result.error = PictureMessages::kFileEmpty;
        return result;
    }
    const std::int32_t count = readField(file, kCountOffset, 0);
    for (int i = 0; i < count && i < kDirectoryEntries; ++i) {
        if (file.size() < kHeightTable + kEntrySize * static_cast<std::size_t>(i + 1))
            break;
        const BrmEntry entry{i, readField(file, kOffsetTable, i), readField(file, kWidthTable, i),
                             readField(file, kHeightTable, i)};
        // Only slots that hold a picture are listed: a size out of range or pixels outside the
        // file are directory garbage (or a file that is no container at all).
        if (entry.width < 1 || entry.width > kMaxSide || entry.height < 1 || entry.height > kMaxSide ||
            entry.offset < 0)
            continue;
        const std::int64_t bytes = std::int64_t{entry.width} * entry.height * std::int64_t{kBytesPerPixel};
        if (std::int64_t{entry.offset} + bytes > static_cast<std::int64_t>(file.size()))
            continue;
        result.entries.push_back(entry);
    }
    return result;
}

bool BrmContainer::looksLikeContainer(std::span<const std::uint8_t> file) {
    if (file.size() < kHeaderSize)
        return false;
    const std::int32_t count = readField(file, kCountOffset, 0);
    if (count < 1 || count > kDirectoryEntries)
        return false;
    int pictures = 0;
    for (int i = 0; i < count; ++i) {
        const std::int64_t offset = readField(file, kOffsetTable, i);
        const std::int64_t width = readField(file, kWidthTable, i);
        const std::int64_t height = readField(file, kHeightTable, i);
        if (width == 0 || height == 0)
            continue;
        if (width < 0 || height < 0 || width > kMaxSide || height > kMaxSide)
            return false;
        if (offset < static_cast<std::int64_t>(kHeaderSize) ||
            offset + width * height * static_cast<std::int64_t>(kBytesPerPixel) >
                static_cast<std::int64_t>(file.size()))
            return false;
        ++pictures;
    }
    return pictures > 0;
}

} // namespace gfx
