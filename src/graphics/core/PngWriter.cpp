#include "graphics/core/PngWriter.h"

#include <cstring>
#include <new>

#if MQ_HAVE_PNG
#include <png.h>
#include <zlib.h>
#endif

namespace gfx {

#if MQ_HAVE_PNG
namespace {

// libpng reports failures by longjmp; everything that lives across the setjmp below is plain
// data owned by the caller, so the jump skips no destructor.
struct WriteState {
    std::vector<std::uint8_t>* out = nullptr;
    char error[200] = {};
};

[[noreturn]] void onError(png_structp png, png_const_charp message) {
    auto* state = static_cast<WriteState*>(png_get_error_ptr(png));
    if (state->error[0] == '\0')
        std::strncpy(state->error, message, sizeof state->error - 1);
    png_longjmp(png, 1);
}

void onWarning(png_structp, png_const_charp) {}

void onWrite(png_structp png, png_bytep data, png_size_t length) {
    auto* state = static_cast<WriteState*>(png_get_io_ptr(png));
    bool full = false;
    try {
        state->out->insert(state->out->end(), data, data + length);
    } catch (const std::bad_alloc&) {
        full = true;
    }
    if (full) // outside the handler: the jump must not leave a caught exception behind
        png_error(png, "no memory for the PNG file");
}

void onFlush(png_structp) {}

// Kept apart from encodePng so that no C++ object with a destructor shares its frame with setjmp.
bool writeRows(png_structp png, png_infop info, const RgbImage& image, WriteState& state) {
    if (setjmp(png_jmpbuf(png)))
        return false;
    png_set_write_fn(png, &state, onWrite, onFlush);
    png_set_IHDR(png, info, static_cast<png_uint_32>(image.width), static_cast<png_uint_32>(image.height), 8,
                 PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    // Level 1 is what Qt chose for quality 80. One fixed filter instead of libpng's adaptive
    // choice among all five per row: the adaptive search costs more than the deflate.
    png_set_compression_level(png, Z_BEST_SPEED);
    png_set_filter(png, PNG_FILTER_TYPE_BASE, PNG_FILTER_SUB);
    png_write_info(png, info);
    for (int y = 0; y < image.height; ++y)
        png_write_row(png, image.row(y));
    png_write_end(png, info);
    return true;
}

} // namespace
#endif

bool pngEncodingAvailable() {
    return MQ_HAVE_PNG != 0;
}

PngBytes encodePng(const RgbImage& image) {
    PngBytes result;
    if (image.isNull() || image.pixels.size() < static_cast<std::size_t>(image.width) *
                                                    static_cast<std::size_t>(image.height) * 3u) {
        result.error = "the picture is empty";
        return result;
    }
#if MQ_HAVE_PNG
    WriteState state;
    state.out = &result.bytes;
    try {
        // Deflate at level 1 rarely shrinks a map below a third of its pixels.
        result.bytes.reserve(image.pixels.size() / 3u + 1024u);
    } catch (const std::bad_alloc&) {
        result.error = "no memory for the PNG file";
        return result;
    }
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, &state, onError, onWarning);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    if (!png || !info) {
        png_destroy_write_struct(&png, nullptr);
        result.error = "no memory for the PNG writer";
        return result;
    }
    const bool written = writeRows(png, info, image, state);
    png_destroy_write_struct(&png, &info);
    if (!written) {
        result.bytes.clear();
        result.error = std::string("the PNG file cannot be made: ") + state.error;
    }
#else
    result.error = "this build of the program cannot write PNG files";
#endif
    return result;
}

} // namespace gfx
