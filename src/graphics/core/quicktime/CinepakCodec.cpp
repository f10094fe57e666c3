// 'cvid' (Cinepak): the frame is cut into horizontal strips; each strip brings codebooks of 256
// entries of 2x2 pixels (four luma samples and a shared chroma pair, or four grey samples) and then
// one code per 4x4 block: a V1 code names one entry whose pixels each cover 2x2, a V4 code names
// four entries, one per 2x2 quarter. Flag words choose V1 or V4 per block (and in later frames,
// which blocks change). Strips inherit the codebooks of the strip above unless the frame says not.
#include "graphics/core/ByteReader.h"
#include "graphics/core/quicktime/Codecs.h"

#include <array>

namespace gfx::quicktime {

namespace CinepakLayout {
constexpr std::size_t kFrameHeader = 10;     // flags, 24-bit size, width, height, strip count
constexpr std::size_t kStripHeader = 12;     // id, 24-bit size, top, left, bottom, right
constexpr std::size_t kChunkHeader = 4;      // id, 24-bit size (both counting their header)
constexpr std::uint8_t kOwnCodebooks = 0x01; // frame flag: strips do not inherit codebooks
constexpr unsigned kMaxStrips = 32;
// Chunk ids: 0x20-0x27 codebooks, 0x30-0x32 block codes.
constexpr std::uint8_t kCodebookV4 = 0x20, kCodebookV1 = 0x22;
constexpr std::uint8_t kGreyEntries = 0x04;   // codebook: four samples an entry, no chroma
constexpr std::uint8_t kPartialUpdate = 0x01; // codebook or codes: flag words select what changes
constexpr std::uint8_t kCodes = 0x30;
constexpr std::uint8_t kOnlyV1 = 0x02; // codes: every block is V1, no choice flags
} // namespace CinepakLayout

namespace {

using Entry = std::array<std::uint8_t, 12>; // four RGB pixels: top left, top right, bottom left, bottom right
using Codebook = std::array<Entry, 256>;

struct Strip {
    Codebook v4{};
    Codebook v1{};
};

std::uint8_t clampByte(int v) {
    return static_cast<std::uint8_t>(std::clamp(v, 0, 255));
}

void readCodebook(Codebook& book, std::uint8_t id, ByteReader r) {
    using namespace CinepakLayout;
    const bool grey = id & kGreyEntries;
    const std::size_t entrySize = grey ? 4 : 6;
    std::uint32_t flags = 0;
    std::uint32_t mask = 0;
    for (Entry& e : book) {
        if (id & kPartialUpdate) {
            mask >>= 1;
            if (!mask) {
                if (!r.canRead(4))
                    return;
                flags = r.u32be();
                mask = 0x80000000u;
            }
            if (!(flags & mask))
                continue;
        }
        if (!r.canRead(entrySize))
            return; // a short codebook updates the entries it holds
        int y[4];
        for (int& v : y)
            v = r.u8();
        const int u = grey ? 0 : r.s8();
        const int v = grey ? 0 : r.s8();
        for (int i = 0; i < 4; ++i) {
            e[std::size_t(i) * 3] = clampByte(y[i] + 2 * v);
            e[std::size_t(i) * 3 + 1] = clampByte(y[i] - u / 2 - v);
            e[std::size_t(i) * 3 + 2] = clampByte(y[i] + 2 * u);
        }
    }
}

class Frame {
public:
    explicit Frame(RgbImage& img) : m_img(img) {}

    // Entry pixel i drawn as a square of `scale` at (x, y) + offset of its place in the entry.
    void putEntry(const Entry& e, int x, int y, int scale) {
        for (int i = 0; i < 4; ++i)
            for (int dy = 0; dy < scale; ++dy)
                for (int dx = 0; dx < scale; ++dx)
                    std::copy_n(e.data() + i * 3, 3,
                                m_img.row(y + (i / 2) * scale + dy) +
                                    std::size_t(x + (i % 2) * scale + dx) * 3);
    }

private:
    RgbImage& m_img;
};

std::string readCodes(Frame& frame, const Strip& s, std::uint8_t id, ByteReader r, int top, int left,
                      int bottom, int right) {
    using namespace CinepakLayout;
    std::uint32_t flags = 0;
    std::uint32_t mask = 0;
    auto nextFlag = [&]() -> int {
        mask >>= 1;
        if (!mask) {
            if (!r.canRead(4))
                return -1;
            flags = r.u32be();
            mask = 0x80000000u;
        }
        return (flags & mask) ? 1 : 0;
    };
    for (int y = top; y < bottom; y += 4) {
        for (int x = left; x < right; x += 4) {
            if (id & kPartialUpdate) {
                const int changed = nextFlag();
                if (changed < 0)
                    return "block codes are cut off";
                if (!changed)
                    continue; // keep the picture's white
            }
            bool v4 = false;
            if (!(id & kOnlyV1)) {
                const int flag = nextFlag();
                if (flag < 0)
                    return "block codes are cut off";
                v4 = flag == 1;
            }
            if (v4) {
                const auto codes = r.bytes(4);
                if (r.failed())
                    return "block codes are cut off";
                for (int q = 0; q < 4; ++q)
                    frame.putEntry(s.v4[codes[std::size_t(q)]], x + (q % 2) * 2, y + (q / 2) * 2, 1);
            } else {
                const std::uint8_t code = r.u8();
                if (r.failed())
                    return "block codes are cut off";
                frame.putEntry(s.v1[code], x, y, 2);
            }
        }
    }
    return {};
}

} // namespace

ImageResult decodeCinepak(const ImageDescription& d, Bytes data) {
    using namespace CinepakLayout;
    ByteReader r(data);
    const std::uint8_t frameFlags = r.u8();
    r.skip(kFrameHeader - 3);
    const unsigned stripCount = std::min<unsigned>(r.u16be(), kMaxStrips);
    if (r.failed())
        return ImageResult::failure("frame header is cut off");
    RgbImage img = whiteImage(roundUp4(d.width), roundUp4(d.height));
    Frame frame(img);
    Strip strip;
    int previousBottom = 0;
    for (unsigned i = 0; i < stripCount; ++i) {
        r.u8(); // strip id: key or inter frame
        const std::uint32_t size = (std::uint32_t(r.u8()) << 16) | r.u16be();
        int top = r.u16be();
        const int left = r.u16be();
        int bottom = r.u16be();
        const int right = r.u16be();
        if (r.failed() || size < kStripHeader)
            return ImageResult::failure("strip header is cut off or corrupt");
        if (top == 0) {
            // A strip at 0 is placed below the previous one; its bottom is then its height.
            top = previousBottom;
            bottom += previousBottom;
        }
        // Blocks start at the strip's corner every 4 pixels and are whole, so they reach up to
        // 3 pixels past its right and bottom edges.
        if (left >= right || top >= bottom || left + roundUp4(right - left) > img.width ||
            top + roundUp4(bottom - top) > img.height)
            return ImageResult::failure("strip " + std::to_string(i) + " lies outside the image");
        if ((frameFlags & kOwnCodebooks) && i > 0)
            strip = Strip{};
        ByteReader body(r.bytes(std::min<std::size_t>(size - kStripHeader, r.remaining())));
        bool drawn = false;
        while (!drawn && body.canRead(kChunkHeader)) {
            const std::uint8_t id = body.u8();
            const std::uint32_t chunkSize = (std::uint32_t(body.u8()) << 16) | body.u16be();
            if (chunkSize < kChunkHeader)
                return ImageResult::failure("chunk size is corrupt");
            ByteReader chunk(body.bytes(std::min<std::size_t>(chunkSize - kChunkHeader, body.remaining())));
            if ((id & 0xF8) == kCodebookV4) {
                readCodebook((id & kCodebookV1) == kCodebookV1 ? strip.v1 : strip.v4, id, chunk);
            } else if (id >= kCodes && id <= (kCodes | kOnlyV1)) {
                if (auto err = readCodes(frame, strip, id, chunk, top, left, bottom, right); !err.empty())
                    return ImageResult::failure(err);
                drawn = true;
            }
        }
        if (!drawn)
            return ImageResult::failure("strip " + std::to_string(i) + " holds no block codes");
        previousBottom = bottom;
    }
    return {cropped(std::move(img), d.width, d.height), {}};
}

} // namespace gfx::quicktime
