// 'tiff': a whole TIFF file, read from memory through libtiff's RGBA interface (every photometric
// interpretation and compression libtiff knows). Its size may not exceed the description's, and
// libtiff's own allocations are capped to a little more than that image, so a small hostile file
// cannot make it allocate gigabytes.
#include "graphics/core/quicktime/Codecs.h"

#if MQ_IMAGE_LIBRARIES
#include "graphics/core/SharedLibrary.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <tiffio.h>
#include <vector>

namespace gfx::quicktime {

namespace {

#define MQ_TIFF_FUNCTIONS(X)                                                                                 \
    X(TIFFOpenOptionsAlloc)                                                                                  \
    X(TIFFOpenOptionsFree)                                                                                   \
    X(TIFFOpenOptionsSetMaxSingleMemAlloc)                                                                   \
    X(TIFFOpenOptionsSetErrorHandlerExtR)                                                                    \
    X(TIFFOpenOptionsSetWarningHandlerExtR)                                                                  \
    X(TIFFClientOpenExt)                                                                                     \
    X(TIFFClose)                                                                                             \
    X(TIFFGetField)                                                                                          \
    X(TIFFRGBAImageOK)                                                                                       \
    X(TIFFReadRGBAImageOriented)

MQ_SHARED_LIBRARY(Libtiff, libtiff, MQ_TIFF_LIBRARY, MQ_TIFF_FUNCTIONS)

constexpr tmsize_t kAllocationSlack = tmsize_t{1} << 20;

struct MemoryFile {
    Bytes data;
    toff_t pos = 0;
    std::string error;
};

tmsize_t readProc(thandle_t handle, void* buffer, tmsize_t size) {
    auto* f = static_cast<MemoryFile*>(handle);
    if (size <= 0 || f->pos >= f->data.size())
        return 0;
    const auto n = std::min<toff_t>(toff_t(size), f->data.size() - f->pos);
    std::memcpy(buffer, f->data.data() + f->pos, n);
    f->pos += n;
    return tmsize_t(n);
}

tmsize_t writeProc(thandle_t, void*, tmsize_t) {
    return 0;
}

toff_t seekProc(thandle_t handle, toff_t offset, int whence) {
    auto* f = static_cast<MemoryFile*>(handle);
    toff_t base = 0;
    if (whence == SEEK_CUR)
        base = f->pos;
    else if (whence == SEEK_END)
        base = f->data.size();
    if (offset > ~toff_t{0} - base)
        return ~toff_t{0};
    f->pos = base + offset; // past the end is allowed; reads there return nothing
    return f->pos;
}

int closeProc(thandle_t) {
    return 0;
}
toff_t sizeProc(thandle_t handle) {
    return static_cast<MemoryFile*>(handle)->data.size();
}
int mapProc(thandle_t, void**, toff_t*) {
    return 0;
}
void unmapProc(thandle_t, void*, toff_t) {}

int onError(TIFF*, void* user, const char*, const char* format, va_list args) {
    auto* f = static_cast<MemoryFile*>(user);
    if (f->error.empty()) {
        char buffer[256];
        std::vsnprintf(buffer, sizeof buffer, format, args);
        f->error = buffer;
    }
    return 1;
}

int onWarning(TIFF*, void*, const char*, const char*, va_list) {
    return 1;
}

struct TiffCloser {
    void operator()(TIFF* tif) const { libtiff().TIFFClose(tif); }
};
struct OptionsFreer {
    void operator()(TIFFOpenOptions* o) const { libtiff().TIFFOpenOptionsFree(o); }
};

} // namespace

ImageResult decodeTiff(const ImageDescription& d, Bytes data) {
    if (!libtiff().ok())
        return ImageResult::failure(libtiff().failure("reading TIFF images"));
    MemoryFile file{data, 0, {}};
    std::unique_ptr<TIFFOpenOptions, OptionsFreer> options(libtiff().TIFFOpenOptionsAlloc());
    if (!options)
        throw std::bad_alloc();
    const tmsize_t area = tmsize_t(d.width) * tmsize_t(d.height) * 4;
    libtiff().TIFFOpenOptionsSetMaxSingleMemAlloc(options.get(), area + kAllocationSlack);
    libtiff().TIFFOpenOptionsSetErrorHandlerExtR(options.get(), onError, &file);
    libtiff().TIFFOpenOptionsSetWarningHandlerExtR(options.get(), onWarning, &file);
    // "m": no memory mapping, libtiff reads through readProc only.
    std::unique_ptr<TIFF, TiffCloser> tif(
        libtiff().TIFFClientOpenExt("quicktime-tiff", "rm", &file, readProc, writeProc, seekProc, closeProc,
                                    sizeProc, mapProc, unmapProc, options.get()));
    if (!tif)
        return ImageResult::failure("not a TIFF image" +
                                    (file.error.empty() ? std::string{} : ": " + file.error));
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    libtiff().TIFFGetField(tif.get(), TIFFTAG_IMAGEWIDTH, &width);
    libtiff().TIFFGetField(tif.get(), TIFFTAG_IMAGELENGTH, &height);
    if (width == 0 || height == 0)
        return ImageResult::failure("TIFF image has no size");
    if (width > std::uint32_t(d.width) || height > std::uint32_t(d.height))
        return ImageResult::failure("TIFF image of " + std::to_string(width) + " x " +
                                    std::to_string(height) + " is larger than its description says");
    char why[1024] = {};
    if (!libtiff().TIFFRGBAImageOK(tif.get(), why))
        return ImageResult::failure(std::string("TIFF image cannot be read: ") + why);

    std::vector<std::uint32_t> raster(std::size_t(width) * height);
    if (!libtiff().TIFFReadRGBAImageOriented(tif.get(), width, height, raster.data(), ORIENTATION_TOPLEFT, 1))
        return ImageResult::failure("TIFF image is damaged" +
                                    (file.error.empty() ? std::string{} : ": " + file.error));

    // The raster's colour is premultiplied by its alpha; over white that is colour + (255 - alpha).
    RgbImage img(static_cast<int>(width), static_cast<int>(height));
    for (std::size_t i = 0; i < raster.size(); ++i) {
        const std::uint32_t p = raster[i];
        const unsigned lift = 255u - TIFFGetA(p);
        img.pixels[i * 3] = static_cast<std::uint8_t>(std::min(255u, TIFFGetR(p) + lift));
        img.pixels[i * 3 + 1] = static_cast<std::uint8_t>(std::min(255u, TIFFGetG(p) + lift));
        img.pixels[i * 3 + 2] = static_cast<std::uint8_t>(std::min(255u, TIFFGetB(p) + lift));
    }
    return {std::move(img), {}};
}

} // namespace gfx::quicktime

#else // built without the image libraries (the Windows cross build)

namespace gfx::quicktime {

ImageResult decodeTiff(const ImageDescription&, Bytes) {
    return ImageResult::failure("this build of the program cannot read TIFF images");
}

} // namespace gfx::quicktime

#endif
