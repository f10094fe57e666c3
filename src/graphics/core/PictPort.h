#pragma once

#include "graphics/core/ByteReader.h"
#include "graphics/core/PictCanvas.h"
#include "graphics/core/PictPaint.h"
#include "graphics/core/PictRect.h"
#include "graphics/core/PictRegion.h"
#include "graphics/core/PictShapes.h"
#include "graphics/core/PictText.h"

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace gfx {

// The QuickDraw drawing state a picture plays back into (pen, patterns, colours, text settings,
// the last shapes for the "same" opcodes) and the opcodes that change it or draw with it: lines,
// rectangles, rounded rectangles, ovals, arcs, polygons, regions and text. Bitmaps are drawn by the
// picture decoder itself.
class PictPort {
public:
    // `textRenderer` may be empty: text is then read but not drawn. A measuring port only reads.
    PictPort(PictCanvas& canvas, PictTextRenderer textRenderer, bool measureOnly);

    // Whether `op` is one of the opcodes this port plays. Reserved opcodes inside the drawing
    // range are not: they keep the decoder's skipping rules.
    static bool handles(std::uint16_t op);

    // Plays one opcode whose data starts at the reader's position and leaves the reader after it.
    std::string play(std::uint16_t op, ByteReader& reader);

private:
    enum Verb { Frame = 0, Paint = 1, Erase = 2, Invert = 3, Fill = 4 };

    std::string readPattern(ByteReader& reader, PictPattern& out);
    std::string readPixPattern(ByteReader& reader, PictPattern& out);
    std::string drawLine(PictShapes::Point from, PictShapes::Point to);
    std::string drawShape(std::uint16_t op, ByteReader& reader);
    std::string drawRectLike(unsigned kind, Verb verb, const PictRect& r, int startAngle, int arcAngle);
    std::string drawPolygon(Verb verb);
    std::string drawRegion(Verb verb);
    std::string drawText(std::uint16_t op, ByteReader& reader);
    std::string paintShape(PictShape& shape, Verb verb);

    PictCanvas& m_canvas;
    PictTextRenderer m_text;
    bool m_measureOnly;

    PictShapes::Point m_penLoc;
    int m_penWidth = 1;
    int m_penHeight = 1;
    std::uint16_t m_penMode = 8; // patCopy
    PictPattern m_penPat = PictPattern::filled(0xFF);
    PictPattern m_fillPat = PictPattern::filled(0xFF);
    PictPattern m_backPat = PictPattern::filled(0x00);
    PictRgb m_fore{0, 0, 0};
    PictRgb m_back{255, 255, 255};
    std::array<std::uint16_t, 3> m_opColor{0x8000, 0x8000, 0x8000};
    bool m_opColorSet = false;
    PictRgb m_hilite{0xCC, 0xCC, 0xFF}; // stands in for the system's highlight colour, which
                                        // the picture does not record
    bool m_hiliteNext = false;          // HiliteMode: the next inversion highlights instead
    int m_ovalWidth = 0;
    int m_ovalHeight = 0;

    PictShapes::Point m_textLoc;
    int m_fontNumber = 0;
    int m_textSize = 0;
    unsigned m_textFace = 0;
    std::uint16_t m_textMode = 1; // srcOr
    std::map<int, std::string> m_fontNames;

    PictRect m_lastRect;
    std::vector<PictShapes::Point> m_lastPolygon;
    PictRegion m_lastRegion;
};

} // namespace gfx
