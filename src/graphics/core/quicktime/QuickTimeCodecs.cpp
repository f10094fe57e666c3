#include "graphics/core/quicktime/QuickTimeCodecs.h"

#include "graphics/core/PngReader.h"
#include "graphics/core/quicktime/Codecs.h"

#include <algorithm>
#include <array>
#include <string_view>

namespace gfx::quicktime {

namespace {

constexpr int kMaxSide = 16384;

ImageResult decodeJpeg(Bytes data, const DecodeOptions& options) {
    // Writers may put padding before the stream; it starts at the first start-of-image marker.
    static constexpr std::array<std::uint8_t, 3> kSoi{0xFF, 0xD8, 0xFF};
    auto soi = std::search(data.begin(), data.end(), kSoi.begin(), kSoi.end());
    if (soi == data.end())
        return ImageResult::failure("QuickTime data holds no JPEG stream");
    data = data.subspan(static_cast<std::size_t>(soi - data.begin()));
    if (!options.jpegDecoder)
        return ImageResult::failure("picture holds JPEG data, but no JPEG decoder is available");
    ImageResult jpeg = options.jpegDecoder(data);
    if (!jpeg.ok())
        return ImageResult::failure("JPEG data in the picture cannot be decoded" +
                                    (jpeg.error.empty() ? std::string{} : ": " + jpeg.error));
    return jpeg;
}

ImageResult decodePng(const ImageDescription& d, Bytes data) {
    PngLimits limits;
    limits.maxWidth = static_cast<std::uint32_t>(d.width);
    limits.maxHeight = static_cast<std::uint32_t>(d.height);
    return readPng(data, limits);
}

} // namespace

ImageResult decode(const ImageDescription& d, std::span<const std::uint8_t> data,
                   const DecodeOptions& options) {
    const std::string name = d.codecName();
    if (name == "jpeg")
        return decodeJpeg(data, options);

    using Decoder = ImageResult (*)(const ImageDescription&, Bytes);
    struct Entry {
        std::string_view codec;
        Decoder decoder;
    };
    static constexpr std::array<Entry, 10> kCodecs{{{"raw ", decodeRaw},
                                                    {"png ", decodePng},
                                                    {"tiff", decodeTiff},
                                                    {"gif ", decodeGif},
                                                    {"WRLE", decodeBmp},
                                                    {"rle ", decodeAnimation},
                                                    {"smc ", decodeGraphics},
                                                    {"rpza", decodeAppleVideo},
                                                    {"cvid", decodeCinepak},
                                                    {"8BPS", decodePlanarRgb}}};
    auto entry =
        std::find_if(kCodecs.begin(), kCodecs.end(), [&](const Entry& e) { return e.codec == name; });
    if (entry == kCodecs.end())
        return ImageResult::failure("QuickTime pictures compressed as '" + name + "' are not supported");

    const std::string what = "QuickTime image compressed as '" + name + "'";
    if (d.width <= 0 || d.height <= 0)
        return ImageResult::failure(what + " has no size");
    if (d.width > kMaxSide || d.height > kMaxSide ||
        std::uint64_t(d.width) * std::uint64_t(d.height) > options.maxPixels)
        return ImageResult::failure(what + " is too large for its data (" + std::to_string(d.width) + " x " +
                                    std::to_string(d.height) + ")");
    ImageResult result = entry->decoder(d, data);
    if (!result.error.empty())
        return ImageResult::failure(what + " cannot be decoded: " + result.error);
    if (result.image.isNull())
        return ImageResult::failure(what + " cannot be decoded");
    return result;
}

} // namespace gfx::quicktime
