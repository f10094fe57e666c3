#include "graphics/core/PngWriter.h"

#include <algorithm>
#include <cstring>
#include <iterator>
#include <memory>
#include <new>

#if MQ_IMAGE_LIBRARIES
#include <png.h>
#include <zlib.h>
#endif

namespace gfx {

#if MQ_IMAGE_LIBRARIES
namespace {

// A picture of at most 256 colours (every map drawn from an 8-bit PICT) as palette indices:
// a third of the bytes to filter and deflate, and a smaller file.
struct Palette {
    png_color colours[256];
    int size = 0;
};

class ColourIndex {
public:
    ColourIndex() { std::fill(std::begin(m_keys), std::end(m_keys), kEmpty); }

    // The palette index of `pixel`, added when new; false when it would be the 257th colour.
    bool find(const std::uint8_t* pixel, Palette& palette, std::uint8_t& index) {
        const std::uint32_t key = (std::uint32_t{pixel[0]} << 16) | (std::uint32_t{pixel[1]} << 8) | pixel[2];
        if (key == m_last) { // maps come in runs of one colour
            index = m_lastIndex;
            return true;
        }
        std::uint32_t slot = (key * 2654435761u) >> 22;
        while (m_keys[slot] != kEmpty && m_keys[slot] != key)
            slot = (slot + 1) & (kSlots - 1);
        if (m_keys[slot] == kEmpty) {
            if (palette.size == 256)
                return false;
            m_keys[slot] = key;
            m_values[slot] = static_cast<std::uint8_t>(palette.size);
            palette.colours[palette.size++] = {pixel[0], pixel[1], pixel[2]};
        }
        m_last = key;
        m_lastIndex = index = m_values[slot];
        return true;
    }

private:
    static constexpr std::uint32_t kEmpty = 0xFFFFFFFFu;
    static constexpr std::uint32_t kSlots = 1024; // open addressing, never more than a quarter full
    std::uint32_t m_keys[kSlots];
    std::uint8_t m_values[kSlots] = {};
    std::uint32_t m_last = kEmpty;
    std::uint8_t m_lastIndex = 0;
};

// The palette and one index a pixel, when the picture has at most 256 colours. `indices` is
// left uninitialised until written, so a picture of many colours (found out after a few rows)
// costs only the pages it touched.
bool indexColours(const RgbImage& image, Palette& palette, std::unique_ptr<std::uint8_t[]>& indices) {
    const std::size_t pixels = static_cast<std::size_t>(image.width) * static_cast<std::size_t>(image.height);
    indices.reset(new std::uint8_t[pixels]);
    ColourIndex colours;
    const std::uint8_t* pixel = image.pixels.data();
    for (std::size_t i = 0; i < pixels; ++i, pixel += 3)
        if (!colours.find(pixel, palette, indices[i]))
            return false;
    return true;
}

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
// `palette` null: RGB rows from `image`; otherwise rows of `indices` into it.
bool writeRows(png_structp png, png_infop info, const RgbImage& image, const Palette* palette,
               const std::uint8_t* indices, WriteState& state) {
    if (setjmp(png_jmpbuf(png)))
        return false;
    png_set_write_fn(png, &state, onWrite, onFlush);
    png_set_IHDR(png, info, static_cast<png_uint_32>(image.width), static_cast<png_uint_32>(image.height), 8,
                 palette ? PNG_COLOR_TYPE_PALETTE : PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    // Level 1, what Qt chose for quality 80, and one fixed filter instead of libpng's adaptive
    // choice among all five per row, which costs more than the deflate. Indices deflate best
    // unfiltered. Millions of colours (photographs, gradients) barely repeat beyond the row above:
    // there deflate looks for runs only, twice as fast as level 1 and no larger.
    png_set_compression_level(png, Z_BEST_SPEED);
    if (palette) {
        png_set_PLTE(png, info, palette->colours, palette->size);
        png_set_filter(png, PNG_FILTER_TYPE_BASE, PNG_FILTER_NONE);
    } else {
        png_set_compression_strategy(png, Z_RLE);
        png_set_filter(png, PNG_FILTER_TYPE_BASE, PNG_FILTER_UP);
    }
    png_write_info(png, info);
    const auto rowBytes = static_cast<std::size_t>(image.width) * (palette ? 1u : 3u);
    const std::uint8_t* rows = palette ? indices : image.pixels.data();
    for (int y = 0; y < image.height; ++y)
        png_write_row(png, rows + static_cast<std::size_t>(y) * rowBytes);
    png_write_end(png, info);
    return true;
}

} // namespace
#endif

bool pngEncodingAvailable() {
    return MQ_IMAGE_LIBRARIES != 0;
}

PngBytes encodePng(const RgbImage& image) {
    PngBytes result;
    if (image.isNull() || image.pixels.size() < static_cast<std::size_t>(image.width) *
                                                    static_cast<std::size_t>(image.height) * 3u) {
        result.error = "the picture is empty";
        return result;
    }
#if MQ_IMAGE_LIBRARIES
    WriteState state;
    state.out = &result.bytes;
    Palette palette;
    std::unique_ptr<std::uint8_t[]> indices;
    bool indexed = false;
    try {
        indexed = indexColours(image, palette, indices);
        // As much as deflate can ever need, so that the file is never copied while it grows;
        // pages never written are never touched.
        const std::size_t raw = (indexed ? image.pixels.size() / 3u : image.pixels.size()) +
                                static_cast<std::size_t>(image.height);
        result.bytes.reserve(raw + raw / 64u + 4096u);
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
    const bool written = writeRows(png, info, image, indexed ? &palette : nullptr, indices.get(), state);
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
