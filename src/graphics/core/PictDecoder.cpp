#include "graphics/core/PictDecoder.h"

#include "graphics/core/ByteReader.h"
#include "graphics/core/PictBitmap.h"
#include "graphics/core/PictCanvas.h"
#include "graphics/core/PictPort.h"
#include "graphics/core/PictRect.h"
#include "graphics/core/PictRegion.h"
#include "graphics/core/quicktime/QuickTimeCodecs.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <exception>
#include <new>
#include <optional>
#include <utility>
#include <vector>

namespace gfx {

namespace PictLayout {
constexpr std::size_t kFileHeaderSize = 512; // application header of a PICT file
constexpr std::size_t kVersionOffset = 10;   // after picSize (u16) and picFrame (Rect)
constexpr std::array<std::uint8_t, 4> kVersion2Sig{0x00, 0x11, 0x02, 0xFF};
constexpr std::array<std::uint8_t, 2> kVersion1Sig{0x11, 0x01};
constexpr std::uint16_t kHeaderOp = 0x0C00;
constexpr std::size_t kHeaderOpSize = 24;
constexpr std::int16_t kExtendedVersion2 = -2;
constexpr double kDefaultDpi = 72.0;

constexpr int kMaxSide = 16384;
// A picture may be far larger than its data (a packed 1-bit row stores up to 512 pixels a byte,
// bitmaps may be stretched, one rectangle may fill the frame), but a frame of gigapixels from a
// few bytes is hostile. Only the bytes the opcodes consume up to the end of the picture pay for
// the canvas: whatever follows the end opcode is not part of the picture.
constexpr std::uint64_t kMinPixelBudget = std::uint64_t{1} << 22;
constexpr std::uint64_t kPixelsPerDataByte = 1024;
constexpr std::uint64_t kWorkPerCanvasPixel = 16;

// QuickTime CompressedQuickTime (0x8200) data, offsets from the start of the opcode's data.
constexpr std::size_t kQtMatrixOffset = 2;
constexpr std::size_t kQtMatrixEntries = 9; // a b u c d v tx ty w
// The pen height that marks the start of a QuickTime image's fallback drawing.
constexpr std::uint16_t kQtFallbackMarker = 0x00AE;
} // namespace PictLayout

namespace PictOp {
constexpr std::uint16_t kNop = 0x0000;
constexpr std::uint16_t kPnSize = 0x0007;
constexpr std::uint16_t kVersion = 0x0011;
constexpr std::uint16_t kEndPic = 0x00FF;
constexpr std::uint16_t kCompressedQuickTime = 0x8200;
constexpr std::uint16_t kUncompressedQuickTime = 0x8201;
constexpr std::uint16_t kEndMarkV2 = 0xFFFF;
} // namespace PictOp

namespace {

struct PictHeader {
    PictRect frame;
    PictRect space; // the coordinate space opcodes draw in; the canvas
    int version = 0;
    bool extended = false;
    double hRes = PictLayout::kDefaultDpi;
    double vRes = PictLayout::kDefaultDpi;
    std::size_t firstOpcode = 0; // offset from the picture record's start
};

std::string hex4(unsigned v) {
    char buf[8];
    std::snprintf(buf, sizeof buf, "0x%04X", v & 0xFFFFu);
    return buf;
}

bool matchesAt(std::span<const std::uint8_t> data, std::size_t offset, std::span<const std::uint8_t> sig) {
    if (offset > data.size() || data.size() - offset < sig.size())
        return false;
    return std::equal(sig.begin(), sig.end(), data.begin() + static_cast<std::ptrdiff_t>(offset));
}

// How strongly the bytes at `offset` look like the start of a picture record.
int recordScore(std::span<const std::uint8_t> data, std::size_t offset) {
    using namespace PictLayout;
    if (matchesAt(data, offset + kVersionOffset, kVersion2Sig)) {
        const std::array<std::uint8_t, 2> headerOp{0x0C, 0x00};
        return matchesAt(data, offset + kVersionOffset + 4, headerOp) ? 4 : 3;
    }
    if (matchesAt(data, offset + kVersionOffset, kVersion1Sig)) {
        ByteReader r(data.subspan(offset + 2));
        if (PictRect::read(r).isEmpty())
            return 0;
        return data.back() == 0xFF ? 2 : 1;
    }
    return 0;
}

std::optional<std::size_t> locateRecord(std::span<const std::uint8_t> data, bool preferFileHeader) {
    const std::size_t withHeader = PictLayout::kFileHeaderSize;
    const std::size_t first = preferFileHeader ? withHeader : 0;
    const std::size_t second = preferFileHeader ? 0 : withHeader;
    const int a = recordScore(data, first);
    const int b = recordScore(data, second);
    if (a == 0 && b == 0)
        return std::nullopt;
    return a >= b ? first : second;
}

std::string parseHeader(std::span<const std::uint8_t> record, PictHeader& h) {
    using namespace PictLayout;
    ByteReader r(record);
    r.u16be(); // picSize: only the low 16 bits of a v1 size, meaningless otherwise
    h.frame = PictRect::read(r);
    if (r.failed())
        return "picture header is cut off";
    if (matchesAt(record, kVersionOffset, kVersion2Sig)) {
        h.version = 2;
        r.seek(kVersionOffset + kVersion2Sig.size());
        std::uint16_t next = 0;
        if (r.peekU16be(next) && next == kHeaderOp) {
            r.skip(2);
            ByteReader op(r.bytes(kHeaderOpSize));
            if (r.failed())
                return "picture header is cut off";
            if (op.s16be() == kExtendedVersion2) {
                op.u16be();
                const double hRes = op.s32be() / 65536.0;
                const double vRes = op.s32be() / 65536.0;
                const PictRect src = PictRect::read(op);
                h.extended = true;
                // Writers leave the resolution 0; the coordinates are then plain 72 dpi.
                h.hRes = hRes > 0 ? hRes : kDefaultDpi;
                h.vRes = vRes > 0 ? vRes : kDefaultDpi;
                if (!src.isEmpty())
                    h.space = src;
            }
        }
    } else if (matchesAt(record, kVersionOffset, kVersion1Sig)) {
        h.version = 1;
        r.seek(kVersionOffset + kVersion1Sig.size());
    } else {
        return "not a PICT picture (no version opcode after the frame)";
    }
    h.firstOpcode = r.pos();
    if (h.space.isEmpty())
        h.space = h.frame;
    if (h.space.isEmpty())
        return "picture frame is empty";
    if (h.space.width() > kMaxSide || h.space.height() > kMaxSide)
        return "picture is too large (" + std::to_string(h.space.width()) + " x " +
               std::to_string(h.space.height()) + ")";
    return {};
}

// Walks the opcodes of one picture record and draws its bitmaps.
class PictRenderer {
public:
    // A measuring renderer walks the opcodes without drawing or decoding anything, to find
    // where the picture ends.
    PictRenderer(std::span<const std::uint8_t> record, const PictHeader& header, const PictOptions& options,
                 bool measureOnly = false)
        : m_reader(record), m_header(header), m_options(options),
          m_canvas(header.space, canvasPixels() * PictLayout::kWorkPerCanvasPixel + (std::uint64_t{1} << 20)),
          m_measureOnly(measureOnly),
          m_port(m_canvas, measureOnly ? PictTextRenderer{} : options.textRenderer, measureOnly) {
        m_canvas.setMeasureOnly(measureOnly);
        m_canvas.setAdmissionCheck([this] { return admitCanvas(); });
    }

    ImageResult run() {
        // Even every byte of the record cannot pay for this frame: refused without walking it.
        if (canvasPixels() > pixelBudget(m_reader.size()))
            return ImageResult::failure(tooLargeMessage());
        if (auto err = walk(); !err.empty())
            return ImageResult::failure(err);
        if (!m_canvas.hasDrawn()) {
            // Nothing reached the canvas (an empty picture, or one drawn entirely outside its
            // frame): it is as white as QuickDraw leaves it.
            if (auto refusal = admitCanvas(); !refusal.empty())
                return ImageResult::failure(refusal);
            return {RgbImage(m_header.space.width(), m_header.space.height(), 255), {}};
        }
        return {m_canvas.takeImage(), {}};
    }

private:
    static std::uint64_t pixelBudget(std::size_t consumedBytes) {
        return std::max(PictLayout::kMinPixelBudget,
                        std::uint64_t{consumedBytes} * PictLayout::kPixelsPerDataByte);
    }

    std::string tooLargeMessage() const {
        return "picture frame " + std::to_string(m_header.space.width()) + " x " +
               std::to_string(m_header.space.height()) + " is too large for its data";
    }

    // Decides whether the canvas may be allocated now. The bytes consumed so far usually pay for
    // it; when they do not, the rest of the picture is walked once without drawing to learn how
    // many bytes the whole picture really holds.
    std::string admitCanvas() {
        if (m_measureOnly || canvasPixels() <= pixelBudget(m_reader.pos()))
            return {};
        // A picture that breaks off later has no end to count to; its data pays for nothing more.
        PictRenderer measure(m_reader.data(), m_header, m_options, true);
        if (!measure.walk().empty() || canvasPixels() > pixelBudget(measure.m_reader.pos()))
            return tooLargeMessage();
        return {};
    }

    // Runs the opcodes up to the end of the picture; the reader then stands just after it.
    std::string walk() {
        m_reader.seek(m_header.firstOpcode);
        const bool v2 = m_header.version == 2;
        for (;;) {
            // Version 2 opcodes start on even offsets from the start of the picture record.
            if (v2 && (m_reader.pos() & 1u))
                m_reader.skip(1);
            if (m_reader.remaining() < (v2 ? 2u : 1u))
                return "picture ends without an end-of-picture opcode";
            const std::uint16_t op = v2 ? m_reader.u16be() : m_reader.u8();
            if (op == PictOp::kEndPic || (v2 && op == PictOp::kEndMarkV2))
                return {};
            if (!v2 && !validVersion1Opcode(op))
                return "opcode " + hex4(op) + " cannot occur in a version 1 picture";
            std::string err = handle(op, v2);
            if (err.empty() && m_reader.failed())
                err = "picture is cut off";
            if (!err.empty())
                return err + " (opcode " + hex4(op) + ")";
        }
    }

    std::uint64_t canvasPixels() const {
        return std::uint64_t(m_header.space.width()) * std::uint64_t(m_header.space.height());
    }

    static bool validVersion1Opcode(std::uint16_t op) {
        if (op > 0xA1 && op != PictOp::kEndPic)
            return false;
        return !((op >= 0x12 && op <= 0x16) || (op >= 0x1A && op <= 0x1F) || op == 0x9A || op == 0x9B);
    }

    std::string skipWordLength() {
        const std::uint16_t len = m_reader.u16be();
        m_reader.skip(len);
        return {};
    }

    std::string skipLongLength() {
        const std::uint32_t len = m_reader.u32be();
        if (!m_reader.failed() && !m_reader.skip(len))
            return "opcode data runs past the end of the picture";
        return {};
    }

    // Polygons and regions: a u16 size that counts itself.
    std::string skipSized(std::size_t minSize) {
        const std::uint16_t size = m_reader.u16be();
        if (m_reader.failed())
            return {};
        if (size < minSize)
            return "shape size " + std::to_string(size) + " is too small";
        m_reader.skip(size - 2u);
        return {};
    }

    std::string handle(std::uint16_t op, bool v2) {
        if (std::exchange(m_quickTimeFallbackMayFollow, false) && op == PictOp::kPnSize &&
            skipQuickTimeFallback())
            return {};
        if (op >= 0x0100) {
            if (op == PictOp::kCompressedQuickTime)
                return compressedQuickTime();
            if (op == PictOp::kUncompressedQuickTime)
                return uncompressedQuickTime();
            if (op <= 0x7FFF) {
                // Apple: reserved opcodes 0x0100-0x7FFF carry 2 bytes per unit of the high byte.
                m_reader.skip(2u * (op >> 8));
                return {};
            }
            if (op <= 0x80FF)
                return {};
            return skipLongLength();
        }
        if (PictPort::handles(op))
            return m_port.play(op, m_reader);
        if (op >= 0xD0)
            return skipLongLength(); // 0x00D0-0x00FE (0x00FF ends the picture before here)
        if (op >= 0xB0)
            return {};
        if (op >= 0xA2)
            return skipWordLength();
        switch (op) {
        // Drawing and drawing-state opcodes are the port's; what is left here is skipped.
        case PictOp::kNop:
        case 0x17:
        case 0x18:
        case 0x19:
            return {};
        case PictOp::kVersion:
            m_reader.skip(v2 ? 2 : 1);
            return {};
        case 0x24:
        case 0x25:
        case 0x26:
        case 0x27:
        case 0x2D:
        case 0x2E:
        case 0x2F:
            return skipWordLength();
        case 0x90:
        case 0x91:
        case 0x98:
        case 0x99:
        case 0x9A:
        case 0x9B:
            return bitmap(op, m_reader);
        case 0x92:
        case 0x93:
        case 0x94:
        case 0x95:
        case 0x96:
        case 0x97:
        case 0x9C:
        case 0x9D:
        case 0x9E:
        case 0x9F:
            return skipWordLength();
        case 0xA0:
            m_reader.skip(2);
            return {};
        case 0xA1:
            m_reader.skip(2);
            return skipWordLength();
        default:
            break;
        }
        // Reserved shape opcodes 0x30-0x8F (the last three of each group of eight) carry the data
        // of their kind; their "same" variants carry nothing.
        const unsigned sameFlag = op & 0x08u;
        if (op < 0x60) {
            m_reader.skip(sameFlag ? 0 : 8);
            return {};
        }
        if (op < 0x70) {
            m_reader.skip(sameFlag ? 4 : 12);
            return {};
        }
        if (sameFlag)
            return {};
        return skipSized(op < 0x80 ? 2 : 10);
    }

    std::string bitmap(std::uint16_t op, ByteReader& reader) {
        PictBitmap bm;
        if (auto err = PictBitmap::read(reader, op, bm); !err.empty())
            return err;
        // Some writers repeat a QuickTime image's area as an ordinary bitmap for viewers without
        // QuickTime; drawing it would cover the real image with a placeholder.
        auto placeholder = std::find(m_quickTimeAreas.begin(), m_quickTimeAreas.end(), bm.dstRect());
        if (placeholder != m_quickTimeAreas.end()) {
            m_quickTimeAreas.erase(placeholder);
            return {};
        }
        PictCanvas::Source src{bm.bounds(), bm.srcRect(), bm.dstRect(), bm.mode(),
                               bm.mask() ? &*bm.mask() : nullptr};
        return m_canvas.draw(
            src, [&bm](int row, int c0, int c1, std::uint8_t* rgb) { bm.rowToRgb(row, c0, c1, rgb); });
    }

    // After a compressed image QuickTime records the drawing a Mac without QuickTime shows instead
    // ("QuickTime and a ... decompressor are needed to see this picture"). That drawing opens with
    // a PnSize whose height is 0x00AE and whose width counts the bytes of the drawing after it:
    // QuickDraw alone sets that pen, which the drawing's own PnSize replaces at once, while
    // QuickTime, having drawn the image, skips the counted bytes. A count that runs past the
    // picture is no such marker; the PnSize is then played like any other.
    bool skipQuickTimeFallback() {
        ByteReader probe = m_reader;
        const std::uint16_t marker = probe.u16be();
        const std::uint16_t fallbackSize = probe.u16be();
        if (probe.failed() || marker != PictLayout::kQtFallbackMarker || !probe.skip(fallbackSize))
            return false;
        m_reader = probe;
        return true;
    }

    // The length-prefixed data of a QuickTime opcode as a reader of its own; nothing when the
    // length is cut off (the opcode loop reports that, so `error` stays empty) or runs past the end.
    std::optional<ByteReader> quickTimeData(std::string& error) {
        const std::uint32_t len = m_reader.u32be();
        if (m_reader.failed())
            return std::nullopt;
        if (!m_reader.canRead(len)) {
            error = "QuickTime data runs past the end of the picture";
            return std::nullopt;
        }
        return ByteReader(m_reader.bytes(len));
    }

    std::string compressedQuickTime() {
        using namespace PictLayout;
        std::string error;
        std::optional<ByteReader> block = quickTimeData(error);
        if (!block)
            return error;
        if (m_measureOnly) {
            // Measured as if the image decodes: when it does not, the picture fails anyway.
            m_quickTimeFallbackMayFollow = true;
            return {};
        }
        ByteReader& qt = *block;
        qt.seek(kQtMatrixOffset); // past the version word
        std::array<std::int32_t, kQtMatrixEntries> matrix{};
        for (auto& m : matrix)
            m = qt.s32be();
        const std::uint32_t matteSize = qt.u32be();
        PictRect::read(qt); // matte rectangle
        qt.u16be();         // transfer mode
        PictRect srcRect = PictRect::read(qt);
        qt.u32be(); // accuracy
        const std::uint32_t maskSize = qt.u32be();
        if (qt.failed())
            return "QuickTime header is cut off";
        if (!qt.skip(matteSize) || !qt.skip(maskSize))
            return "QuickTime matte or mask runs past its data";
        const std::size_t idStart = qt.pos();
        // The reader checks the description's size against its minimum and the bytes there.
        quicktime::ImageDescription description;
        if (!quicktime::readImageDescription(qt.data().subspan(idStart), description).empty())
            return "QuickTime image description is corrupt";
        const int idWidth = description.width;
        const int idHeight = description.height;

        auto data = qt.data().subspan(idStart + description.size);
        if (description.dataSize > 0 && description.dataSize <= data.size())
            data = data.first(description.dataSize);
        quicktime::DecodeOptions codecOptions;
        codecOptions.maxPixels = std::max(kMinPixelBudget, std::uint64_t{qt.size()} * kPixelsPerDataByte);
        codecOptions.jpegDecoder = m_options.jpegDecoder;
        ImageResult decoded = quicktime::decode(description, data, codecOptions);
        if (!decoded.ok())
            return decoded.error;

        const PictRect imageRect{0, 0, decoded.image.height, decoded.image.width};
        if (srcRect.isEmpty())
            srcRect = PictRect{0, 0, idHeight > 0 ? idHeight : imageRect.bottom,
                               idWidth > 0 ? idWidth : imageRect.right};
        const PictRect dst = transformed(srcRect, matrix);
        m_quickTimeAreas.push_back(dst);
        PictCanvas::Source src{imageRect, srcRect, dst, 0, nullptr};
        const RgbImage& img = decoded.image;
        std::string drawError = m_canvas.draw(src, [&img](int row, int c0, int c1, std::uint8_t* rgb) {
            std::copy_n(img.row(row) + std::size_t(c0) * 3, std::size_t(c1 - c0) * 3, rgb);
        });
        // An image that cannot be decoded fails the whole picture with its codec's message above,
        // so the fallback never stands in for it: only a drawn image leaves it out.
        m_quickTimeFallbackMayFollow = drawError.empty();
        return drawError;
    }

    // Applies the scale and translation of a QuickTime matrix (16.16 fixed point); rotation and
    // perspective terms do not occur in pictures and are ignored.
    static PictRect transformed(const PictRect& r,
                                const std::array<std::int32_t, PictLayout::kQtMatrixEntries>& m) {
        double sx = m[0] / 65536.0;
        double sy = m[4] / 65536.0;
        if (!(sx > 0))
            sx = 1.0;
        if (!(sy > 0))
            sy = 1.0;
        const double tx = m[6] / 65536.0;
        const double ty = m[7] / 65536.0;
        auto clampCoord = [](double v) {
            return static_cast<int>(std::clamp(std::lround(v), -65536L, 65536L));
        };
        return PictRect{clampCoord(r.top * sy + ty), clampCoord(r.left * sx + tx),
                        clampCoord(r.bottom * sy + ty), clampCoord(r.right * sx + tx)};
    }

    std::string uncompressedQuickTime() {
        using namespace PictLayout;
        std::string error;
        std::optional<ByteReader> block = quickTimeData(error);
        if (!block)
            return error;
        ByteReader& qt = *block;
        qt.skip(2 + 4 * kQtMatrixEntries); // version, matrix
        const std::uint32_t matteSize = qt.u32be();
        qt.skip(8); // matte rectangle
        qt.skip(matteSize);
        const std::uint16_t op = qt.u16be();
        if (qt.failed())
            return "QuickTime data is cut off";
        if (op != 0x98 && op != 0x99 && op != 0x9A && op != 0x9B)
            return "QuickTime data holds no bitmap";
        std::string err = bitmap(op, qt);
        if (err.empty() && qt.failed())
            err = "QuickTime bitmap is cut off";
        return err;
    }

    ByteReader m_reader;
    const PictHeader& m_header;
    const PictOptions& m_options;
    PictCanvas m_canvas;
    bool m_measureOnly = false;
    PictPort m_port;
    std::vector<PictRect> m_quickTimeAreas;
    bool m_quickTimeFallbackMayFollow = false; // a compressed image was just drawn
};

ImageResult decodeAt(std::span<const std::uint8_t> data, bool preferFileHeader, const PictOptions& options) {
    if (data.empty())
        return ImageResult::failure("picture is empty");
    const auto offset = locateRecord(data, preferFileHeader);
    if (!offset)
        return ImageResult::failure("not a PICT picture (no version opcode after the frame)");
    const auto record = data.subspan(*offset);
    PictHeader header;
    if (auto err = parseHeader(record, header); !err.empty())
        return ImageResult::failure(err);
    // The canvas may legitimately reach hundreds of megabytes; running out of memory, or a
    // JPEG decoder that throws, is reported like any other failure.
    try {
        return PictRenderer(record, header, options).run();
    } catch (const std::bad_alloc&) {
        return ImageResult::failure("not enough memory for a picture of " +
                                    std::to_string(header.space.width()) + " x " +
                                    std::to_string(header.space.height()));
    } catch (const std::exception& e) {
        return ImageResult::failure(std::string("picture cannot be decoded: ") + e.what());
    }
}

PictInfoResult infoAt(std::span<const std::uint8_t> data, bool preferFileHeader) {
    PictInfoResult result;
    const auto offset = data.empty() ? std::nullopt : locateRecord(data, preferFileHeader);
    if (!offset) {
        result.error = "not a PICT picture (no version opcode after the frame)";
        return result;
    }
    PictHeader header;
    if (auto err = parseHeader(data.subspan(*offset), header); !err.empty()) {
        result.error = err;
        return result;
    }
    result.info.width = header.space.width();
    result.info.height = header.space.height();
    result.info.version = header.version;
    result.info.extendedVersion2 = header.extended;
    result.info.hRes = header.hRes;
    result.info.vRes = header.vRes;
    result.info.pictureOffset = *offset;
    return result;
}

} // namespace

ImageResult decodePict(std::span<const std::uint8_t> data, const PictOptions& options) {
    return decodeAt(data, false, options);
}

ImageResult decodePictFile(std::span<const std::uint8_t> data, const PictOptions& options) {
    return decodeAt(data, true, options);
}

PictInfoResult readPictInfo(std::span<const std::uint8_t> data) {
    return infoAt(data, false);
}

PictInfoResult readPictFileInfo(std::span<const std::uint8_t> data) {
    return infoAt(data, true);
}

} // namespace gfx
