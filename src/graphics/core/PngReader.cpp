#include "graphics/core/PngReader.h"

#if MQ_IMAGE_LIBRARIES
#include <algorithm>
#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <new>
#include <png.h>
#include <string>
#include <vector>

namespace gfx {

namespace {

constexpr png_alloc_size_t kMaxChunkBytes = png_alloc_size_t{4} << 20;
constexpr png_uint_32 kMaxCachedChunks = 128;

// libpng reports errors by longjmp. Everything that lives while a longjmp may pass is in this
// trivially destructible record or in locals of the same kind, so no C++ destructor is skipped;
// the pixel buffer belongs to the caller and is obtained through `allocate`, which returns
// normally (null on failure) and is never left by a jump.
struct PngJob {
    const std::uint8_t* data;
    std::size_t size;
    std::size_t pos;
    const PngLimits* limits;
    std::uint8_t* (*allocate)(void* owner, std::size_t bytes);
    void* owner;
    png_structp png;
    png_infop info;
    png_uint_32 width;
    png_uint_32 height;
    char message[192];
};

void readData(png_structp png, png_bytep out, png_size_t length) {
    auto* job = static_cast<PngJob*>(png_get_io_ptr(png));
    if (length > job->size - job->pos)
        png_error(png, "data is cut off");
    std::memcpy(out, job->data + job->pos, length);
    job->pos += length;
}

[[noreturn]] void onError(png_structp png, png_const_charp message) {
    auto* job = static_cast<PngJob*>(png_get_error_ptr(png));
    std::snprintf(job->message, sizeof job->message, "%s", message);
    png_longjmp(png, 1);
}

void onWarning(png_structp, png_const_charp) {}

void fail(PngJob* job, const char* message) {
    std::snprintf(job->message, sizeof job->message, "%s", message);
}

// Decodes to RGBA rows of width * 4 bytes. False with job->message set on any failure.
bool decodeRgba(PngJob* job) {
    job->png = png_create_read_struct(PNG_LIBPNG_VER_STRING, job, onError, onWarning);
    if (!job->png) {
        fail(job, "out of memory");
        return false;
    }
    job->info = png_create_info_struct(job->png);
    if (!job->info) {
        fail(job, "out of memory");
        return false;
    }
    if (setjmp(png_jmpbuf(job->png)))
        return false;

    png_set_read_fn(job->png, job, readData);
    png_set_user_limits(job->png, job->limits->maxWidth, job->limits->maxHeight);
    png_set_chunk_cache_max(job->png, kMaxCachedChunks);
    png_set_chunk_malloc_max(job->png, kMaxChunkBytes);
    png_read_info(job->png, job->info);

    job->width = png_get_image_width(job->png, job->info);
    job->height = png_get_image_height(job->png, job->info);
    if (std::uint64_t{job->width} * job->height > job->limits->maxPixels) {
        fail(job, "image is larger than allowed");
        return false;
    }
    const int colourType = png_get_color_type(job->png, job->info);
    const int bitDepth = png_get_bit_depth(job->png, job->info);
    if (bitDepth == 16)
        png_set_strip_16(job->png);
    if (colourType == PNG_COLOR_TYPE_PALETTE)
        png_set_palette_to_rgb(job->png);
    if (colourType == PNG_COLOR_TYPE_GRAY && bitDepth < 8)
        png_set_expand_gray_1_2_4_to_8(job->png);
    if (png_get_valid(job->png, job->info, PNG_INFO_tRNS))
        png_set_tRNS_to_alpha(job->png);
    if (colourType == PNG_COLOR_TYPE_GRAY || colourType == PNG_COLOR_TYPE_GRAY_ALPHA)
        png_set_gray_to_rgb(job->png);
    png_set_filler(job->png, 0xFF, PNG_FILLER_AFTER);
    const int passes = png_set_interlace_handling(job->png);
    png_read_update_info(job->png, job->info);
    const std::size_t stride = std::size_t{job->width} * 4;
    if (png_get_rowbytes(job->png, job->info) != stride) {
        fail(job, "unexpected row layout");
        return false;
    }
    std::uint8_t* pixels = job->allocate(job->owner, stride * job->height);
    if (!pixels) {
        fail(job, "out of memory");
        return false;
    }
    for (int pass = 0; pass < passes; ++pass)
        for (png_uint_32 y = 0; y < job->height; ++y)
            png_read_row(job->png, pixels + stride * y, nullptr);
    return true;
}

std::uint8_t* allocateInVector(void* owner, std::size_t bytes) {
    try {
        auto* buffer = static_cast<std::vector<std::uint8_t>*>(owner);
        buffer->resize(bytes);
        return buffer->data();
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}

} // namespace

ImageResult readPng(std::span<const std::uint8_t> bytes, const PngLimits& limits) {
    if (bytes.size() < 8 || png_sig_cmp(bytes.data(), 0, 8) != 0)
        return ImageResult::failure("not a PNG image");
    // The size in IHDR, checked here so that the message says what is wrong (libpng's own limit
    // check, kept as a second line, reports only "Invalid IHDR data").
    static constexpr std::uint8_t kIhdr[4] = {'I', 'H', 'D', 'R'};
    if (bytes.size() >= 24 && std::equal(kIhdr, kIhdr + 4, bytes.begin() + 12)) {
        const std::uint32_t width = png_get_uint_32(bytes.data() + 16);
        const std::uint32_t height = png_get_uint_32(bytes.data() + 20);
        if (width > limits.maxWidth || height > limits.maxHeight ||
            std::uint64_t{width} * height > limits.maxPixels)
            return ImageResult::failure("PNG image of " + std::to_string(width) + " x " +
                                        std::to_string(height) + " is larger than allowed");
    }
    std::vector<std::uint8_t> rgba;
    PngJob job{};
    job.data = bytes.data();
    job.size = bytes.size();
    job.limits = &limits;
    job.allocate = allocateInVector;
    job.owner = &rgba;
    const bool ok = decodeRgba(&job);
    png_destroy_read_struct(job.png ? &job.png : nullptr, job.info ? &job.info : nullptr, nullptr);
    if (!ok) {
        if (std::strcmp(job.message, "out of memory") == 0)
            throw std::bad_alloc();
        return ImageResult::failure(std::string("PNG data is damaged: ") + job.message);
    }
    RgbImage image(static_cast<int>(job.width), static_cast<int>(job.height));
    const std::size_t count = std::size_t{job.width} * job.height;
    for (std::size_t i = 0; i < count; ++i) {
        const std::uint8_t* s = rgba.data() + i * 4;
        const unsigned a = s[3];
        for (int c = 0; c < 3; ++c)
            image.pixels[i * 3 + std::size_t(c)] =
                static_cast<std::uint8_t>((s[c] * a + 255u * (255u - a) + 127u) / 255u);
    }
    return {std::move(image), {}};
}

} // namespace gfx

#else // built without the image libraries (the Windows cross build)

namespace gfx {

ImageResult readPng(std::span<const std::uint8_t>, const PngLimits&) {
    return ImageResult::failure("this build of the program cannot read PNG images");
}

} // namespace gfx

#endif
