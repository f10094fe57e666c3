#include "graphics/core/PngWriter.h"

#include <algorithm>
#include <atomic>
#include <cstring>
#include <iterator>
#include <memory>
#include <new>
#include <system_error>
#include <thread>

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

// The image data (every row behind its filter byte, as one zlib stream) is deflated in
// independent segments of whole rows, on as many threads as the machine has, and the segments
// are joined the way pigz joins them: each but the last ends on a byte boundary with an empty
// stored block, the last one ends the stream, and the checksums are combined. The segments depend
// on the picture's size only, never on the machine, so the same picture always gives the same
// file. Each segment starts without the previous one's history, which costs a few bytes.
constexpr std::size_t kSegmentBytes = std::size_t{512} << 10;

struct Segment {
    int firstRow = 0;
    int endRow = 0;
    // As much as deflate may need, left uninitialised: only the pages it writes are touched.
    std::unique_ptr<std::uint8_t[]> deflated;
    std::size_t deflatedSize = 0;
    uLong adler = 1; // adler32 of nothing
    std::size_t rawBytes = 0;
    bool failed = false;
};

struct ImageData {
    const std::uint8_t* rows = nullptr; // RGB pixels, or one palette index a pixel
    std::size_t rowBytes = 0;
    bool rgb = false;
};

// One a thread: zlib's state (some 300 KiB) is made once and reset for every segment.
//
// Level 1, what Qt chose for quality 80, and one fixed filter instead of libpng's adaptive
// choice among all five per row, which costs more than the deflate. Indices deflate best
// unfiltered. Millions of colours (photographs, gradients) barely repeat beyond the row above:
// there deflate looks for runs only, twice as fast as level 1 and no larger, or for nothing at
// all where the rows have no runs either.
class SegmentDeflater {
public:
    explicit SegmentDeflater(const ImageData& image) : m_image(image) {
        m_ready = deflateInit2(&m_z, Z_BEST_SPEED, Z_DEFLATED, -15, 8,
                               image.rgb ? Z_RLE : Z_DEFAULT_STRATEGY) == Z_OK;
    }
    ~SegmentDeflater() {
        if (m_ready)
            deflateEnd(&m_z);
    }
    SegmentDeflater(const SegmentDeflater&) = delete;
    SegmentDeflater& operator=(const SegmentDeflater&) = delete;

    void run(Segment& segment, bool last) {
        segment.failed = !m_ready || deflateReset(&m_z) != Z_OK;
        if (segment.failed)
            return;
        try {
            m_line.resize(m_image.rowBytes + 1);
            m_line[0] = m_image.rgb ? PNG_FILTER_VALUE_UP : PNG_FILTER_VALUE_NONE;
            segment.rawBytes = static_cast<std::size_t>(segment.endRow - segment.firstRow) * m_line.size();
            segment.deflatedSize = deflateBound(&m_z, static_cast<uLong>(segment.rawBytes)) + 16;
            segment.deflated.reset(new std::uint8_t[segment.deflatedSize]);
        } catch (const std::bad_alloc&) {
            segment.failed = true;
            return;
        }
        m_z.next_out = segment.deflated.get();
        m_z.avail_out = static_cast<uInt>(segment.deflatedSize);
        std::uint8_t* const line = m_line.data();
        // Chosen again for every segment: a reset keeps the previous one's strategy. Set before any
        // input, it changes nothing else.
        if (m_image.rgb &&
            deflateParams(&m_z, Z_BEST_SPEED, hasRuns(segment) ? Z_RLE : Z_HUFFMAN_ONLY) != Z_OK) {
            segment.failed = true;
            return;
        }
        for (int y = segment.firstRow; y < segment.endRow && !segment.failed; ++y) {
            const std::uint8_t* row = m_image.rows + static_cast<std::size_t>(y) * m_image.rowBytes;
            if (m_image.rgb && y > 0)
                filterUp(row, row - m_image.rowBytes, line + 1, m_image.rowBytes);
            else
                std::memcpy(line + 1, row, m_image.rowBytes);
            segment.adler = adler32(segment.adler, line, static_cast<uInt>(m_line.size()));
            m_z.next_in = line;
            m_z.avail_in = static_cast<uInt>(m_line.size());
            const int flush = y + 1 < segment.endRow ? Z_NO_FLUSH : last ? Z_FINISH : Z_SYNC_FLUSH;
            const int result = deflate(&m_z, flush);
            // The output has room for the bound, so everything goes in at once.
            segment.failed =
                m_z.avail_in != 0 || (flush == Z_FINISH ? result != Z_STREAM_END : result != Z_OK);
        }
        segment.deflatedSize = m_z.total_out;
    }

private:
    // Whether the segment's first rows, filtered, hold runs that deflate can use. A noisy picture
    // (a photograph, a plasma) has next to none: deflate then codes its bytes without looking for
    // runs, a tenth faster, and the file comes out the same size.
    bool hasRuns(const Segment& segment) {
        constexpr int kSampleRows = 8;
        std::size_t inRuns = 0;
        std::size_t sampled = 0;
        std::uint8_t* const line = m_line.data() + 1;
        for (int y = segment.firstRow; y < std::min(segment.endRow, segment.firstRow + kSampleRows); ++y) {
            const std::uint8_t* row = m_image.rows + static_cast<std::size_t>(y) * m_image.rowBytes;
            if (y > 0)
                filterUp(row, row - m_image.rowBytes, line, m_image.rowBytes);
            else
                std::memcpy(line, row, m_image.rowBytes);
            for (std::size_t i = 2; i < m_image.rowBytes; ++i)
                inRuns += line[i] == line[i - 1] && line[i] == line[i - 2];
            sampled += m_image.rowBytes;
        }
        return inRuns * 64 >= sampled;
    }

    // Apart, with no aliasing, so that the compiler makes it a vector loop.
    static void filterUp(const std::uint8_t* __restrict row, const std::uint8_t* __restrict above,
                         std::uint8_t* __restrict out, std::size_t n) {
        for (std::size_t i = 0; i < n; ++i)
            out[i] = static_cast<std::uint8_t>(row[i] - above[i]);
    }

    const ImageData& m_image;
    z_stream m_z{};
    bool m_ready = false;
    std::vector<std::uint8_t> m_line;
};

// Deflates every segment on at most `allowedThreads` threads (0: one a core); false when one
// could not be made (no memory).
bool deflateSegments(const ImageData& image, std::vector<Segment>& segments, unsigned allowedThreads) {
    std::atomic<std::size_t> next{0};
    auto work = [&] {
        SegmentDeflater deflater(image);
        for (std::size_t i; (i = next.fetch_add(1)) < segments.size();)
            deflater.run(segments[i], i + 1 == segments.size());
    };
    std::vector<std::thread> helpers;
    const unsigned cores =
        allowedThreads ? allowedThreads : std::max(1u, std::thread::hardware_concurrency());
    const std::size_t threads = std::min<std::size_t>({segments.size(), cores, 8});
    try {
        for (std::size_t t = 1; t < threads; ++t)
            helpers.emplace_back(work);
    } catch (const std::system_error&) {
        // Fewer threads than hoped: the ones there are (at least this one) do all the segments.
    }
    work();
    for (std::thread& helper : helpers)
        helper.join();
    return std::none_of(segments.begin(), segments.end(), [](const Segment& s) { return s.failed; });
}

// The zlib stream around the segments: its two-byte header (deflate, 32 KiB window, "fastest"),
// the segments in order, then the adler32 of all the data.
void writeImageData(png_structp png, const std::vector<Segment>& segments) {
    // At most this much to an IDAT chunk: the format allows 2 GiB, but readers like them small.
    constexpr std::size_t kChunkBytes = std::size_t{1} << 20;
    std::uint8_t header[2] = {0x78, 0x01};
    png_write_chunk(png, reinterpret_cast<png_const_bytep>("IDAT"), header, sizeof header);
    uLong adler = 1;
    for (const Segment& segment : segments) {
        for (std::size_t at = 0; at < segment.deflatedSize; at += kChunkBytes)
            png_write_chunk(png, reinterpret_cast<png_const_bytep>("IDAT"), segment.deflated.get() + at,
                            std::min(kChunkBytes, segment.deflatedSize - at));
        adler = adler32_combine(adler, segment.adler, static_cast<z_off_t>(segment.rawBytes));
    }
    const std::uint8_t trailer[4] = {static_cast<std::uint8_t>(adler >> 24),
                                     static_cast<std::uint8_t>(adler >> 16),
                                     static_cast<std::uint8_t>(adler >> 8), static_cast<std::uint8_t>(adler)};
    png_write_chunk(png, reinterpret_cast<png_const_bytep>("IDAT"), trailer, sizeof trailer);
    png_write_chunk(png, reinterpret_cast<png_const_bytep>("IEND"), nullptr, 0);
}

// Kept apart from encodePng so that no C++ object with a destructor shares its frame with setjmp.
// libpng writes the signature, the header, the palette and every chunk's length and checksum.
bool writeFile(png_structp png, png_infop info, const RgbImage& image, const Palette* palette,
               const std::vector<Segment>& segments, WriteState& state) {
    if (setjmp(png_jmpbuf(png)))
        return false;
    png_set_write_fn(png, &state, onWrite, onFlush);
    png_set_IHDR(png, info, static_cast<png_uint_32>(image.width), static_cast<png_uint_32>(image.height), 8,
                 palette ? PNG_COLOR_TYPE_PALETTE : PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    if (palette)
        png_set_PLTE(png, info, palette->colours, palette->size);
    png_write_info(png, info);
    writeImageData(png, segments);
    return true;
}

} // namespace
#endif

bool pngEncodingAvailable() {
    return MQ_IMAGE_LIBRARIES != 0;
}

PngBytes encodePng(const RgbImage& image, [[maybe_unused]] unsigned threads) {
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
    std::vector<Segment> segments;
    try {
        indexed = indexColours(image, palette, indices);
        const ImageData data{indexed ? indices.get() : image.pixels.data(),
                             static_cast<std::size_t>(image.width) * (indexed ? 1u : 3u), !indexed};
        // Segments of about equal size, in a multiple of four, so that machines of one, two or
        // four cores finish them together.
        const std::size_t raw = (data.rowBytes + 1) * static_cast<std::size_t>(image.height);
        std::size_t count = (raw + kSegmentBytes - 1) / kSegmentBytes;
        if (count > 1)
            count = (count + 3) / 4 * 4;
        const int rowsPerSegment = static_cast<int>((static_cast<std::size_t>(image.height) + count - 1) /
                                                    std::min(count, std::size_t(image.height)));
        for (int row = 0; row < image.height; row += rowsPerSegment) {
            Segment& segment = segments.emplace_back();
            segment.firstRow = row;
            segment.endRow = std::min(image.height, row + rowsPerSegment);
        }
        if (!deflateSegments(data, segments, threads)) {
            result.error = "no memory for the PNG file";
            return result;
        }
        // The whole file at once, so that it is never copied while it grows.
        std::size_t size = 4096u;
        for (const Segment& segment : segments)
            size += segment.deflatedSize + segment.deflatedSize / (std::size_t{1} << 20) * 12u + 12u;
        result.bytes.reserve(size);
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
    const bool written = writeFile(png, info, image, indexed ? &palette : nullptr, segments, state);
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
