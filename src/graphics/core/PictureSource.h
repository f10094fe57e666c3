#pragma once

#include "graphics/core/PictDecoder.h"
#include "graphics/core/ResourceFork.h"
#include "graphics/core/RgbImage.h"

#include <filesystem>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace gfx {

// The three places a map picture comes from.
enum class PictureSourceKind {
    ResourceFork, // the game's Mac file 'UI': PICT resources in a resource fork, in any carrier
    Container,    // the game's PC file 'Intrface.brm'
    PictureFile,  // one picture in a file of its own
};

enum class PictureFileFormat { None, Pict, Tga, Foreign };

// What the core cannot decode itself is handed to the caller's decoders (the Qt glue passes
// QImage-based ones). Both may be empty; pictures that need them then fail with a message.
struct PictureDecoders {
    PictOptions pict;
    std::function<ImageResult(std::span<const std::uint8_t> file)> foreignDecoder; // PNG, JPEG, BMP...
};

// One picture of a source. `id` is the PICT resource ID, or 1000 + the container index; a single
// picture file has no ID. `error` is set when the picture's size could not be had.
struct PictureListing {
    std::optional<int> id;
    std::string name;
    int width = 0;
    int height = 0;
    std::string error;
};

// `error` is the user's message (one of PictureMessages'); `detail` what exactly was wrong, when
// the message alone does not say.
struct PictureResult {
    RgbImage image;
    std::string error;
    std::string detail;
    bool ok() const { return error.empty() && !image.isNull(); }
};

struct PictureListResult {
    std::vector<PictureListing> pictures;
    std::string error;
    std::string detail;
    bool ok() const { return error.empty(); }
};

struct PictureSourceResult;

// The front door to map pictures for the editor and the tool: opens a path, tells its kind from
// the bytes (or takes the kind the user forces), lists its pictures and decodes one by ID.
//
// Sniffing order: a resource fork in any carrier -> 'UI'; the 16-bit container's directory ->
// 'Intrface.brm'; a recognisable picture file (PNG, JPEG, GIF, BMP, TIFF, WebP magic; PICT with or
// without its 512-byte header; a consistent TGA header) -> picture; a fork beside the file (native
// fork or sidecar) -> 'UI'; any other non-empty file -> a picture for the foreign decoder.
class PictureSource {
public:
    static PictureSourceResult open(const std::filesystem::path& path,
                                    std::optional<PictureSourceKind> forced = std::nullopt);

    // The same for bytes already read from a stream (the tool's standard input): kinds are told
    // from the bytes alone, as there is no file for a fork to sit beside.
    static PictureSourceResult fromBytes(std::vector<std::uint8_t> bytes,
                                         std::optional<PictureSourceKind> forced = std::nullopt);

    // Kind names as the tool's --from option spells them: "ui", "intrface", "picture".
    static std::optional<PictureSourceKind> kindFromName(std::string_view name);
    static const char* kindName(PictureSourceKind kind);

    // The format of a single picture file, from its bytes.
    static PictureFileFormat sniffPictureFile(std::span<const std::uint8_t> bytes);

    PictureSourceKind kind() const { return m_kind; }
    PictureFileFormat fileFormat() const { return m_format; }
    const std::filesystem::path& location() const { return m_location; } // where the data was read

    PictureListResult list(const PictureDecoders& decoders = {}) const;

    // Picture `id`: a PICT resource ID for 'UI', 1000 + index for the container; ignored for a
    // picture file.
    PictureResult picture(int id, const PictureDecoders& decoders = {}) const;

private:
    static PictureSourceResult fromContents(std::vector<std::uint8_t> bytes,
                                            const std::filesystem::path& path,
                                            std::optional<PictureSourceKind> forced);
    PictureResult decodeFile(const PictureDecoders& decoders) const;
    PictureResult decodeResource(int id, const PictureDecoders& decoders) const;

    PictureSourceKind m_kind = PictureSourceKind::PictureFile;
    PictureFileFormat m_format = PictureFileFormat::None;
    std::filesystem::path m_location;
    std::vector<std::uint8_t> m_bytes; // the container or picture file
    std::optional<ResourceFork> m_fork;
};

struct PictureSourceResult {
    std::optional<PictureSource> source;
    std::string error;
    std::string detail;
    bool ok() const { return source.has_value(); }
};

} // namespace gfx
