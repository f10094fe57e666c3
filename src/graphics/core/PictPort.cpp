#include "graphics/core/PictPort.h"

#include "graphics/core/PictBitmap.h"

#include <algorithm>
#include <cstring>

namespace gfx {

namespace PictPortLayout {
constexpr std::uint16_t kPatCopy = 8;
constexpr std::uint16_t kPatXor = 10;
constexpr std::uint16_t kHilite = 50;
constexpr int kDefaultTextSize = 12; // size 0 means the system font's size
constexpr int kMaxTextSize = 2048;   // larger text cannot be told apart on any canvas we allow
// A pixel pattern's own tile is kept up to this many pixels; a larger one is drawn with its
// 1-bit fallback (patterns are 8 x 8 in practice).
constexpr std::uint64_t kMaxTilePixels = 1u << 16;
constexpr std::uint16_t kPixPatColour = 1;
constexpr std::uint16_t kPixPatDither = 2;
} // namespace PictPortLayout

namespace {

PictRgb readRgb(ByteReader& r) {
    PictRgb c;
    c.r = static_cast<std::uint8_t>(r.u16be() >> 8);
    c.g = static_cast<std::uint8_t>(r.u16be() >> 8);
    c.b = static_cast<std::uint8_t>(r.u16be() >> 8);
    return c;
}

// The eight colours of QuickDraw's original colour model (ForeColor/BackColor constants).
PictRgb oldStyleColour(std::uint32_t value, PictRgb fallback) {
    switch (value) {
    case 33:
        return {0, 0, 0}; // blackColor
    case 30:
        return {255, 255, 255}; // whiteColor
    case 205:
        return {255, 0, 0}; // redColor
    case 341:
        return {0, 255, 0}; // greenColor
    case 409:
        return {0, 0, 255}; // blueColor
    case 273:
        return {0, 255, 255}; // cyanColor
    case 137:
        return {255, 0, 255}; // magentaColor
    case 69:
        return {255, 255, 0}; // yellowColor
    default:
        return fallback;
    }
}

PictShapes::Point readPoint(ByteReader& r) {
    PictShapes::Point p;
    p.v = r.s16be();
    p.h = r.s16be();
    return p;
}

PictRect inset(const PictRect& r, int dh, int dv) {
    return PictRect{r.top + dv, r.left + dh, r.bottom - dv, r.right - dh};
}

// Classic font numbers that have a fixed name.
const char* classicFontName(int number) {
    switch (number) {
    case 0:
        return "Chicago";
    case 1:
    case 3:
        return "Geneva";
    case 2:
        return "New York";
    case 4:
        return "Monaco";
    case 20:
        return "Times";
    case 21:
        return "Helvetica";
    case 22:
        return "Courier";
    default:
        return "";
    }
}

} // namespace

PictPort::PictPort(PictCanvas& canvas, PictTextRenderer textRenderer, bool measureOnly)
    : m_canvas(canvas), m_text(std::move(textRenderer)), m_measureOnly(measureOnly) {}

bool PictPort::handles(std::uint16_t op) {
    if (op <= 0x10)
        return op != 0x00;
    switch (op) {
    case 0x12:
    case 0x13:
    case 0x14:
    case 0x15:
    case 0x16:
    case 0x1A:
    case 0x1B:
    case 0x1C:
    case 0x1D:
    case 0x1E:
    case 0x1F:
    case 0x20:
    case 0x21:
    case 0x22:
    case 0x23:
    case 0x28:
    case 0x29:
    case 0x2A:
    case 0x2B:
    case 0x2C:
        return true;
    default:
        break;
    }
    // Shapes: eight opcodes per kind, frame/paint/erase/invert/fill then three reserved, and the
    // same again for the "same" variants.
    return op >= 0x30 && op <= 0x8F && (op & 7u) <= 4;
}

std::string PictPort::play(std::uint16_t op, ByteReader& r) {
    using namespace PictPortLayout;
    switch (op) {
    case 0x01: {
        PictRegion clip;
        if (auto err = PictRegion::read(r, clip); !err.empty())
            return "clip " + err;
        m_canvas.setClip(std::move(clip));
        return {};
    }
    case 0x02:
        return readPattern(r, m_backPat);
    case 0x09:
        return readPattern(r, m_penPat);
    case 0x0A:
        return readPattern(r, m_fillPat);
    case 0x12:
        return readPixPattern(r, m_backPat);
    case 0x13:
        return readPixPattern(r, m_penPat);
    case 0x14:
        return readPixPattern(r, m_fillPat);
    case 0x03:
        m_fontNumber = r.u16be();
        return {};
    case 0x04:
        m_textFace = r.u8();
        return {};
    case 0x05:
        m_textMode = r.u16be();
        return {};
    case 0x06: // SpExtra: extra space width is left to the font
        r.skip(4);
        return {};
    case 0x07: {
        const PictShapes::Point size = readPoint(r);
        m_penHeight = size.v;
        m_penWidth = size.h;
        return {};
    }
    case 0x08:
        m_penMode = r.u16be();
        return {};
    case 0x0B: {
        const PictShapes::Point size = readPoint(r);
        m_ovalHeight = size.v;
        m_ovalWidth = size.h;
        return {};
    }
    case 0x0C: {
        const int dh = r.s16be();
        const int dv = r.s16be();
        if (!r.failed())
            m_canvas.moveOrigin(dh, dv);
        return {};
    }
    case 0x0D:
        m_textSize = r.u16be();
        return {};
    case 0x0E:
        m_fore = oldStyleColour(r.u32be(), m_fore);
        return {};
    case 0x0F:
        m_back = oldStyleColour(r.u32be(), m_back);
        return {};
    case 0x10: // TxRatio: text scaling, which the platform's fonts are not asked for
        r.skip(8);
        return {};
    case 0x15:
    case 0x16: // fractional pen position, extra character width
        r.skip(2);
        return {};
    case 0x1A:
        m_fore = readRgb(r);
        return {};
    case 0x1B:
        m_back = readRgb(r);
        return {};
    case 0x1C:
        m_hiliteNext = true;
        return {};
    case 0x1D:
        m_hilite = readRgb(r);
        return {};
    case 0x1E:
        m_hilite = PictRgb{0xCC, 0xCC, 0xFF};
        return {};
    case 0x1F:
        for (auto& c : m_opColor)
            c = r.u16be();
        m_opColorSet = true;
        return {};
    case 0x20: {
        m_penLoc = readPoint(r);
        const PictShapes::Point to = readPoint(r);
        return r.failed() ? std::string{} : drawLine(m_penLoc, to);
    }
    case 0x21: {
        const PictShapes::Point to = readPoint(r);
        return r.failed() ? std::string{} : drawLine(m_penLoc, to);
    }
    case 0x22: {
        m_penLoc = readPoint(r);
        const int dh = r.s8();
        const int dv = r.s8();
        return r.failed() ? std::string{} : drawLine(m_penLoc, {m_penLoc.h + dh, m_penLoc.v + dv});
    }
    case 0x23: {
        const int dh = r.s8();
        const int dv = r.s8();
        return r.failed() ? std::string{} : drawLine(m_penLoc, {m_penLoc.h + dh, m_penLoc.v + dv});
    }
    case 0x28:
    case 0x29:
    case 0x2A:
    case 0x2B:
        return drawText(op, r);
    case 0x2C: {
        // FontName: data length, the font number it names, then the name as a Pascal string.
        const std::uint16_t length = r.u16be();
        ByteReader data(r.bytes(length));
        const int number = data.u16be();
        const std::size_t nameLength = data.u8();
        const auto name = data.bytes(std::min(nameLength, data.remaining()));
        if (!data.failed() && !r.failed())
            m_fontNames[number] = std::string(name.begin(), name.end());
        return {};
    }
    default:
        return drawShape(op, r);
    }
}

std::string PictPort::readPattern(ByteReader& r, PictPattern& out) {
    const auto bits = r.bytes(8);
    if (r.failed())
        return {};
    out = PictPattern{};
    std::copy(bits.begin(), bits.end(), out.bits.begin());
    return {};
}

// PixPat: type, the 1-bit pattern for old devices, then for type 1 a pixel map with colour table
// and pixels (packed when rowBytes >= 8), for type 2 the RGB colour that a dither approximates.
std::string PictPort::readPixPattern(ByteReader& r, PictPattern& out) {
    using namespace PictPortLayout;
    const std::uint16_t type = r.u16be();
    PictPattern pattern;
    if (auto err = readPattern(r, pattern); !err.empty() || r.failed())
        return err;
    if (type == kPixPatColour) {
        PictBitmap pm;
        if (auto err = PictBitmap::readPatternPixMap(r, pm); !err.empty())
            return "pattern " + err;
        const PictRect b = pm.bounds();
        const std::uint64_t pixels =
            std::uint64_t(std::max(0, b.width())) * std::uint64_t(std::max(0, b.height()));
        if (!m_measureOnly && pixels > 0 && pixels <= kMaxTilePixels) {
            RgbImage tile(b.width(), b.height());
            for (int y = 0; y < b.height(); ++y)
                pm.rowToRgb(y, 0, b.width(), tile.row(y));
            pattern.tile = std::move(tile);
        }
    } else if (type == kPixPatDither) {
        pattern.solid = readRgb(r);
    }
    if (!r.failed())
        out = std::move(pattern);
    return {};
}

std::string PictPort::paintShape(PictShape& shape, Verb verb) {
    using namespace PictPortLayout;
    static const PictPattern kBlack = PictPattern::filled(0xFF);
    PictPaint paint;
    paint.fore = m_fore;
    paint.back = m_back;
    paint.opColor = m_opColor;
    paint.opColorSet = m_opColorSet;
    switch (verb) {
    case Frame:
    case Paint:
        paint.pattern = &m_penPat;
        paint.mode = m_penMode;
        break;
    case Erase:
        paint.pattern = &m_backPat;
        paint.mode = kPatCopy;
        break;
    case Invert:
        paint.pattern = &kBlack;
        paint.mode = m_hiliteNext ? kHilite : kPatXor;
        paint.hilite = m_hilite;
        break;
    case Fill:
        paint.pattern = &m_fillPat;
        paint.mode = kPatCopy;
        break;
    }
    // HiliteMode lasts for one drawing operation.
    m_hiliteNext = false;
    return m_canvas.fill(shape, paint);
}

std::string PictPort::drawLine(PictShapes::Point from, PictShapes::Point to) {
    m_penLoc = to;
    if (m_measureOnly || m_penWidth <= 0 || m_penHeight <= 0)
        return {};
    auto shape = PictShapes::line(from, to, m_penWidth, m_penHeight);
    return paintShape(*shape, Paint);
}

std::string PictPort::drawShape(std::uint16_t op, ByteReader& r) {
    const unsigned kind = (op - 0x30u) >> 4; // 0 rect, 1 round rect, 2 oval, 3 arc, 4 polygon, 5 region
    const bool same = (op & 0x08u) != 0;
    const auto verb = static_cast<Verb>(op & 7u);
    if (kind <= 3) {
        // One rectangle is remembered for the "same" opcodes of all four kinds.
        if (!same)
            m_lastRect = PictRect::read(r);
        int startAngle = 0;
        int arcAngle = 0;
        if (kind == 3) {
            startAngle = r.s16be();
            arcAngle = r.s16be();
        }
        if (r.failed())
            return {};
        return drawRectLike(kind, verb, m_lastRect, startAngle, arcAngle);
    }
    if (kind == 4) {
        if (!same) {
            // Polygon: size (counting itself), bounding box, then (v, h) points.
            const std::size_t size = r.u16be();
            if (r.failed())
                return {};
            if (size < 2)
                return "shape size " + std::to_string(size) + " is too small";
            ByteReader body(r.bytes(size - 2));
            if (r.failed())
                return {};
            body.skip(8);
            m_lastPolygon.clear();
            while (body.remaining() >= 4)
                m_lastPolygon.push_back(readPoint(body));
        }
        return drawPolygon(verb);
    }
    if (!same) {
        if (auto err = PictRegion::read(r, m_lastRegion); !err.empty()) {
            m_lastRegion = PictRegion{};
            return err;
        }
    }
    return drawRegion(verb);
}

std::string PictPort::drawRectLike(unsigned kind, Verb verb, const PictRect& r, int startAngle,
                                   int arcAngle) {
    if (m_measureOnly || r.isEmpty())
        return {};
    auto make = [&](const PictRect& rect, int ovalWidth, int ovalHeight) -> std::unique_ptr<PictShape> {
        switch (kind) {
        case 0:
            return PictShapes::rect(rect);
        case 1:
            return PictShapes::roundRect(rect, ovalWidth, ovalHeight);
        case 2:
            return PictShapes::oval(rect);
        default:
            return PictShapes::arc(rect, startAngle, arcAngle);
        }
    };
    if (verb != Frame) {
        auto shape = make(r, m_ovalWidth, m_ovalHeight);
        return paintShape(*shape, verb);
    }
    // The frame lies inside the shape: the shape minus itself inset by the pen. A pen of zero
    // width or height draws nothing; a pen that meets itself fills the shape.
    if (m_penWidth <= 0 || m_penHeight <= 0)
        return {};
    auto outer = make(r, m_ovalWidth, m_ovalHeight);
    auto inner =
        make(inset(r, m_penWidth, m_penHeight), m_ovalWidth - 2 * m_penWidth, m_ovalHeight - 2 * m_penHeight);
    auto frame = PictShapes::difference(std::move(outer), std::move(inner));
    return paintShape(*frame, Frame);
}

std::string PictPort::drawPolygon(Verb verb) {
    if (m_measureOnly || m_lastPolygon.empty())
        return {};
    if (verb == Frame) {
        // FramePoly moves the pen along each edge in turn, as LineTo would; the polygon is not
        // closed unless its last point repeats the first.
        if (m_penWidth <= 0 || m_penHeight <= 0)
            return {};
        const PictShapes::Point saved = m_penLoc;
        for (std::size_t i = 0; i + 1 < m_lastPolygon.size(); ++i)
            if (auto err = drawLine(m_lastPolygon[i], m_lastPolygon[i + 1]); !err.empty())
                return err;
        m_penLoc = saved;
        return {};
    }
    auto shape = PictShapes::polygon(m_lastPolygon);
    return paintShape(*shape, verb);
}

std::string PictPort::drawRegion(Verb verb) {
    if (m_measureOnly || m_lastRegion.bounds().isEmpty())
        return {};
    if (verb != Frame) {
        auto shape = PictShapes::region(m_lastRegion);
        return paintShape(*shape, verb);
    }
    if (m_penWidth <= 0 || m_penHeight <= 0)
        return {};
    const PictRect window = m_canvas.reachable();
    const std::uint64_t area =
        std::uint64_t(std::max(0, window.width())) * std::uint64_t(std::max(0, window.height()));
    // The outline is worked out on a pixel grid a little larger than what is visible.
    auto frame =
        PictShapes::regionFrame(m_lastRegion, m_penWidth, m_penHeight, window, 4 * area + (1u << 16));
    if (!frame)
        return "region outline is too large to draw";
    return paintShape(*frame, Frame);
}

// LongText (0x28) carries the text's baseline start; DHText, DVText and DHDVText move the previous
// start by unsigned byte offsets. The text location is separate from the pen: text never moves
// the pen, and the next text is placed relative to where the last one started.
std::string PictPort::drawText(std::uint16_t op, ByteReader& r) {
    using namespace PictPortLayout;
    switch (op) {
    case 0x28:
        m_textLoc = readPoint(r);
        break;
    case 0x29:
        m_textLoc.h += r.u8();
        break;
    case 0x2A:
        m_textLoc.v += r.u8();
        break;
    default:
        m_textLoc.h += r.u8();
        m_textLoc.v += r.u8();
        break;
    }
    const std::size_t count = r.u8();
    const auto bytes = r.bytes(count);
    if (r.failed() || m_measureOnly || !m_text || count == 0)
        return {};
    PictTextRun run;
    run.fontNumber = m_fontNumber;
    const auto named = m_fontNames.find(m_fontNumber);
    run.family = named != m_fontNames.end() ? named->second : classicFontName(m_fontNumber);
    // Text taller than the drawable area cannot show more than that area.
    const PictRect area = m_canvas.reachable();
    if (area.isEmpty())
        return {};
    const int largest = std::min(kMaxTextSize, std::max(area.width(), area.height()));
    run.size = std::clamp(m_textSize == 0 ? kDefaultTextSize : m_textSize, 1, largest);
    run.face = m_textFace;
    run.text = macRomanToUtf8(bytes.data(), bytes.size());
    if (run.text.empty())
        return {};
    // A character's cell is about size x size pixels; the renderer may use twice the run's cells
    // (slanted, shadowed or wide glyphs), but no mask much larger than the area it can land on.
    // The run is charged what it may use, up front.
    const std::uint64_t cells = std::uint64_t(run.size) * std::uint64_t(run.size) * (count + 1);
    const std::uint64_t areaPixels = std::uint64_t(area.width()) * std::uint64_t(area.height());
    const std::size_t maxPixels = static_cast<std::size_t>(std::min(2 * cells, 2 * areaPixels + 4096));
    if (auto err = m_canvas.charge(maxPixels); !err.empty())
        return err;
    PictTextMask mask = m_text(run, maxPixels);
    const std::uint64_t pixels =
        std::uint64_t(std::max(0, mask.width)) * std::uint64_t(std::max(0, mask.height));
    if (pixels == 0 || pixels > maxPixels || mask.coverage.size() != pixels)
        return {};
    auto shape = PictShapes::mask(m_textLoc.h + mask.left, m_textLoc.v + mask.top, mask.width, mask.height,
                                  std::move(mask.coverage));
    static const PictPattern kSolid = PictPattern::filled(0xFF);
    PictPaint paint;
    paint.pattern = &kSolid;
    paint.fore = m_fore;
    paint.back = m_back;
    paint.mode = m_textMode;
    paint.opColor = m_opColor;
    paint.opColorSet = m_opColorSet;
    return m_canvas.fill(*shape, paint);
}

} // namespace gfx
