// 'gif ': a whole GIF file, read from memory through giflib's record-level interface so that
// nothing is allocated before the first image's size has been checked against the description
// (giflib's all-at-once reader would allocate every frame a file declares). Only the first image
// is drawn, on the file's logical screen; transparent and uncovered pixels stay white.
#include "graphics/core/quicktime/Codecs.h"

#if MQ_IMAGE_LIBRARIES
#include "graphics/core/SharedLibrary.h"

#include <cstring>
#include <gif_lib.h>
#include <memory>
#include <string>
#include <vector>

namespace gfx::quicktime {

namespace {

#define MQ_GIF_FUNCTIONS(X)                                                                                  \
    X(DGifOpen)                                                                                              \
    X(DGifCloseFile)                                                                                         \
    X(DGifGetRecordType)                                                                                     \
    X(DGifGetExtension)                                                                                      \
    X(DGifGetExtensionNext)                                                                                  \
    X(DGifGetImageDesc)                                                                                      \
    X(DGifGetLine)                                                                                           \
    X(GifErrorString)

MQ_SHARED_LIBRARY(Giflib, giflib, MQ_GIF_LIBRARY, MQ_GIF_FUNCTIONS)

struct MemorySource {
    Bytes data;
    std::size_t pos = 0;
};

int readProc(GifFileType* gif, GifByteType* out, int size) {
    auto* s = static_cast<MemorySource*>(gif->UserData);
    if (size <= 0)
        return 0;
    const std::size_t n = std::min(std::size_t(size), s->data.size() - s->pos);
    std::memcpy(out, s->data.data() + s->pos, n);
    s->pos += n;
    return int(n);
}

struct GifCloser {
    void operator()(GifFileType* gif) const {
        int error = 0;
        giflib().DGifCloseFile(gif, &error);
    }
};

std::string gifError(const GifFileType* gif) {
    const char* text = giflib().GifErrorString(gif->Error);
    return text ? text : "unknown error";
}

} // namespace

ImageResult decodeGif(const ImageDescription& d, Bytes data) {
    if (!giflib().ok())
        return ImageResult::failure(giflib().failure("reading GIF images"));
    MemorySource source{data, 0};
    int openError = 0;
    std::unique_ptr<GifFileType, GifCloser> gif(giflib().DGifOpen(&source, readProc, &openError));
    if (!gif) {
        const char* text = giflib().GifErrorString(openError);
        return ImageResult::failure(std::string("not a GIF image: ") + (text ? text : "unknown error"));
    }
    int transparent = -1;
    for (;;) {
        GifRecordType type = UNDEFINED_RECORD_TYPE;
        if (giflib().DGifGetRecordType(gif.get(), &type) == GIF_ERROR)
            return ImageResult::failure("GIF data is damaged: " + gifError(gif.get()));
        if (type == TERMINATE_RECORD_TYPE)
            return ImageResult::failure("GIF file holds no image");
        if (type == EXTENSION_RECORD_TYPE) {
            int code = 0;
            GifByteType* block = nullptr;
            if (giflib().DGifGetExtension(gif.get(), &code, &block) == GIF_ERROR)
                return ImageResult::failure("GIF data is damaged: " + gifError(gif.get()));
            // Graphics control: a length byte of 4, flags (bit 0: has a transparent index),
            // delay, transparent index.
            if (code == GRAPHICS_EXT_FUNC_CODE && block && block[0] >= 4 && (block[1] & 1u))
                transparent = block[4];
            while (block)
                if (giflib().DGifGetExtensionNext(gif.get(), &block) == GIF_ERROR)
                    return ImageResult::failure("GIF data is damaged: " + gifError(gif.get()));
            continue;
        }
        if (type != IMAGE_DESC_RECORD_TYPE)
            continue;
        if (giflib().DGifGetImageDesc(gif.get()) == GIF_ERROR)
            return ImageResult::failure("GIF data is damaged: " + gifError(gif.get()));
        break;
    }

    const GifImageDesc& frame = gif->Image;
    const int width = gif->SWidth > 0 ? gif->SWidth : frame.Width;
    const int height = gif->SHeight > 0 ? gif->SHeight : frame.Height;
    if (width <= 0 || height <= 0 || frame.Width <= 0 || frame.Height <= 0)
        return ImageResult::failure("GIF image has no size");
    if (width > d.width || height > d.height || frame.Width > d.width || frame.Height > d.height)
        return ImageResult::failure("GIF image of " + std::to_string(std::max(width, int(frame.Width))) +
                                    " x " + std::to_string(std::max(height, int(frame.Height))) +
                                    " is larger than its description says");
    const ColorMapObject* map = frame.ColorMap ? frame.ColorMap : gif->SColorMap;
    if (!map)
        return ImageResult::failure("GIF image has no colour table");

    RgbImage img = whiteImage(width, height);
    std::vector<GifPixelType> line(std::size_t(frame.Width));
    // Interlaced images send every 8th row from 0, every 8th from 4, every 4th from 2, then the odd rows.
    static constexpr int kPassStart[4] = {0, 4, 2, 1};
    static constexpr int kPassStep[4] = {8, 8, 4, 2};
    const int passes = frame.Interlace ? 4 : 1;
    for (int pass = 0; pass < passes; ++pass) {
        const int start = frame.Interlace ? kPassStart[pass] : 0;
        const int step = frame.Interlace ? kPassStep[pass] : 1;
        for (int row = start; row < frame.Height; row += step) {
            if (giflib().DGifGetLine(gif.get(), line.data(), frame.Width) == GIF_ERROR)
                return ImageResult::failure("GIF data is damaged: " + gifError(gif.get()));
            const int y = frame.Top + row;
            if (y >= height)
                continue;
            for (int i = 0; i < frame.Width; ++i) {
                const int x = frame.Left + i;
                if (x >= width || line[std::size_t(i)] == transparent)
                    continue;
                if (line[std::size_t(i)] >= map->ColorCount)
                    return ImageResult::failure("GIF pixel names a colour its table does not have");
                const GifColorType& c = map->Colors[line[std::size_t(i)]];
                std::uint8_t* out = img.row(y) + std::size_t(x) * 3;
                out[0] = c.Red;
                out[1] = c.Green;
                out[2] = c.Blue;
            }
        }
    }
    return {std::move(img), {}};
}

} // namespace gfx::quicktime

#else // built without the image libraries (the Windows cross build)

namespace gfx::quicktime {

ImageResult decodeGif(const ImageDescription&, Bytes) {
    return ImageResult::failure("this build of the program cannot read GIF images");
}

} // namespace gfx::quicktime

#endif
