#include "graphics/core/PictureSource.h"

#include "graphics/core/BrmContainer.h"
#include "graphics/core/ForkFinder.h"
#include "graphics/core/ForkUnwrapper.h"
#include "graphics/core/PictureMessages.h"
#include "graphics/core/SourceFile.h"
#include "graphics/core/TgaDecoder.h"

#include <algorithm>
#include <limits>

namespace gfx {

namespace {

bool startsWith(std::span<const std::uint8_t> bytes, std::size_t at, std::string_view magic) {
    return bytes.size() >= at + magic.size() &&
           std::equal(magic.begin(), magic.end(), bytes.begin() + static_cast<std::ptrdiff_t>(at),
                      [](char m, std::uint8_t b) { return static_cast<std::uint8_t>(m) == b; });
}

// Formats the platform's image readers know by their magic numbers.
bool looksLikeCommonImage(std::span<const std::uint8_t> bytes) {
    using namespace std::string_view_literals;
    return startsWith(bytes, 0, "\x89PNG"sv) || startsWith(bytes, 0, "\xFF\xD8\xFF"sv) ||
           startsWith(bytes, 0, "GIF8"sv) || startsWith(bytes, 0, "BM"sv) ||
           startsWith(bytes, 0, "II*\0"sv) || startsWith(bytes, 0, "MM\0*"sv) ||
           (startsWith(bytes, 0, "RIFF"sv) && startsWith(bytes, 8, "WEBP"sv));
}

PictureListing listingOf(std::optional<int> id, std::string name, const RgbImage& image,
                         const std::string& error) {
    PictureListing entry;
    entry.id = id;
    entry.name = std::move(name);
    entry.width = image.width;
    entry.height = image.height;
    entry.error = error;
    return entry;
}

} // namespace

std::optional<PictureSourceKind> PictureSource::kindFromName(std::string_view name) {
    if (name == "ui")
        return PictureSourceKind::ResourceFork;
    if (name == "intrface")
        return PictureSourceKind::Container;
    if (name == "picture")
        return PictureSourceKind::PictureFile;
    return std::nullopt;
}

const char* PictureSource::kindName(PictureSourceKind kind) {
    switch (kind) {
    case PictureSourceKind::ResourceFork:
        return "ui";
    case PictureSourceKind::Container:
        return "intrface";
    case PictureSourceKind::PictureFile:
        return "picture";
    }
    return "picture";
}

PictureFileFormat PictureSource::sniffPictureFile(std::span<const std::uint8_t> bytes) {
    if (bytes.empty())
        return PictureFileFormat::None;
    if (looksLikeCommonImage(bytes))
        return PictureFileFormat::Foreign;
    if (readPictFileInfo(bytes).ok())
        return PictureFileFormat::Pict;
    if (TgaDecoder::looksLikeTga(bytes))
        return PictureFileFormat::Tga;
    return PictureFileFormat::Foreign;
}

PictureSourceResult PictureSource::open(const std::filesystem::path& path,
                                        std::optional<PictureSourceKind> forced) {
    if (forced == PictureSourceKind::ResourceFork)
        return fromContents({}, path, forced);
    SourceFileResult file = readSourceFile(path);
    if (!file.ok() && (file.error != PictureMessages::kFileEmpty || forced == PictureSourceKind::Container)) {
        PictureSourceResult result;
        result.error = file.error; // a folder, nothing at that path, or too large a file
        result.detail = file.detail;
        return result;
    }
    return fromContents(std::move(file.bytes), path, forced);
}

PictureSourceResult PictureSource::fromBytes(std::vector<std::uint8_t> bytes,
                                             std::optional<PictureSourceKind> forced) {
    if (bytes.empty()) {
        PictureSourceResult result;
        result.error = PictureMessages::kFileEmpty;
        return result;
    }
    return fromContents(std::move(bytes), {}, forced);
}

// `path` empty: the bytes came from a stream, and neither a native fork nor a sidecar can exist.
PictureSourceResult PictureSource::fromContents(std::vector<std::uint8_t> bytes,
                                                const std::filesystem::path& path,
                                                std::optional<PictureSourceKind> forced) {
    PictureSourceResult result;
    PictureSource source;
    source.m_location = path;

    auto takeFork = [&](FoundFork&& found) {
        if (!found.ok()) {
            result.error = found.error;
            result.detail = found.detail;
            return std::move(result);
        }
        source.m_kind = PictureSourceKind::ResourceFork;
        source.m_location = found.location;
        source.m_fork = std::move(found.fork);
        result.source = std::move(source);
        return std::move(result);
    };

    if (forced == PictureSourceKind::ResourceFork)
        return takeFork(path.empty() ? ForkFinder::fromBytes(bytes) : ForkFinder::find(path));

    if (forced == PictureSourceKind::Container) {
        source.m_kind = PictureSourceKind::Container;
        source.m_bytes = std::move(bytes);
        result.source = std::move(source);
        return result;
    }

    if (!forced) {
        const UnwrappedFork own = ForkUnwrapper::unwrap(bytes);
        if (own.recognised() && (own.hasFork() || !own.problem.empty()))
            return takeFork(ForkFinder::fromBytes(bytes, path));
        if (BrmContainer::looksLikeContainer(bytes)) {
            source.m_kind = PictureSourceKind::Container;
            source.m_bytes = std::move(bytes);
            result.source = std::move(source);
            return result;
        }
    }

    PictureFileFormat format = sniffPictureFile(bytes);
    if (!forced && !path.empty() && !looksLikeCommonImage(bytes) && format != PictureFileFormat::Pict &&
        format != PictureFileFormat::Tga) {
        // Nothing in the bytes says "picture": a fork kept beside the file decides first.
        FoundFork beside = ForkFinder::find(path);
        if (beside.ok())
            return takeFork(std::move(beside));
        if (format == PictureFileFormat::None) {
            result.error = PictureMessages::kFileEmpty;
            result.detail = beside.detail;
            return result;
        }
    }
    if (format == PictureFileFormat::None) {
        result.error = PictureMessages::kPictureNotFound;
        result.detail = "the file is empty or cannot be read";
        return result;
    }
    source.m_kind = PictureSourceKind::PictureFile;
    source.m_format = format;
    source.m_bytes = std::move(bytes);
    result.source = std::move(source);
    return result;
}

PictureListResult PictureSource::list(const PictureDecoders& decoders) const {
    PictureListResult result;
    switch (m_kind) {
    case PictureSourceKind::ResourceFork:
        for (const ResourceInfo& info : m_fork->resources(ResourceFork::kPict)) {
            PictureListing entry;
            entry.id = info.id;
            entry.name = info.name;
            const ResourceFork::Lookup data = m_fork->find(ResourceFork::kPict, info.id);
            if (!data.ok()) {
                entry.error = data.error;
            } else if (const PictInfoResult pict = readPictInfo(data.data); pict.ok()) {
                entry.width = pict.info.width;
                entry.height = pict.info.height;
            } else {
                entry.error = pict.error;
            }
            result.pictures.push_back(std::move(entry));
        }
        break;
    case PictureSourceKind::Container: {
        const BrmListResult brm = BrmContainer::list(m_bytes);
        result.error = brm.error;
        for (const BrmEntry& e : brm.entries) {
            PictureListing entry;
            entry.id = BrmLayout::kIdBase + e.index;
            entry.width = e.width;
            entry.height = e.height;
            result.pictures.push_back(entry);
        }
        break;
    }
    case PictureSourceKind::PictureFile:
        if (m_format == PictureFileFormat::Pict) {
            const PictInfoResult pict = readPictFileInfo(m_bytes);
            PictureListing entry;
            entry.width = pict.info.width;
            entry.height = pict.info.height;
            entry.error = pict.error;
            result.pictures.push_back(entry);
        } else {
            const PictureResult decoded = decodeFile(decoders);
            result.pictures.push_back(listingOf(std::nullopt, {}, decoded.image,
                                                decoded.detail.empty() ? decoded.error : decoded.detail));
        }
        break;
    }
    return result;
}

PictureResult PictureSource::picture(int id, const PictureDecoders& decoders) const {
    switch (m_kind) {
    case PictureSourceKind::ResourceFork:
        return decodeResource(id, decoders);
    case PictureSourceKind::Container: {
        ImageResult decoded = BrmContainer::decodeId(m_bytes, id);
        return {std::move(decoded.image), std::move(decoded.error), {}};
    }
    case PictureSourceKind::PictureFile:
        break;
    }
    return decodeFile(decoders);
}

PictureResult PictureSource::decodeResource(int id, const PictureDecoders& decoders) const {
    PictureResult result;
    result.error = PictureMessages::pictResourceNotFound(id);
    if (id < std::numeric_limits<std::int16_t>::min() || id > std::numeric_limits<std::int16_t>::max()) {
        result.detail = "resource IDs are 16-bit numbers";
        return result;
    }
    const ResourceFork::Lookup data = m_fork->find(ResourceFork::kPict, static_cast<std::int16_t>(id));
    if (!data.ok()) {
        result.detail = data.error;
        return result;
    }
    ImageResult decoded = decodePict(data.data, decoders.pict);
    if (!decoded.ok()) {
        result.detail = decoded.error;
        return result;
    }
    result.image = std::move(decoded.image);
    result.error.clear();
    return result;
}

PictureResult PictureSource::decodeFile(const PictureDecoders& decoders) const {
    ImageResult decoded;
    switch (m_format) {
    case PictureFileFormat::Pict:
        decoded = decodePictFile(m_bytes, decoders.pict);
        break;
    case PictureFileFormat::Tga:
        decoded = TgaDecoder::decode(m_bytes);
        break;
    case PictureFileFormat::Foreign:
        decoded = decoders.foreignDecoder ? decoders.foreignDecoder(m_bytes)
                                          : ImageResult::failure("no decoder for this picture format");
        break;
    case PictureFileFormat::None:
        decoded = ImageResult::failure("the file is empty");
        break;
    }
    if (!decoded.ok())
        return {RgbImage{}, PictureMessages::kPictureNotFound,
                decoded.error.empty() ? "the picture is empty" : decoded.error};
    return {std::move(decoded.image), {}, {}};
}

} // namespace gfx
