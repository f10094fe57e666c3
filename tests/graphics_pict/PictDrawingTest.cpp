// QuickDraw drawing, pixel for pixel, on pictures made to measure. The expected pictures follow
// QuickDraw's rules: coordinates are the lines between pixels, a shape covers the pixels whose
// centres lie inside it, a frame lies inside its shape with the pen's width and height, a line's
// pen hangs below and to the right of it, and patterns are aligned to the canvas.
#include "PictBuilder.h"
#include "PictTestSupport.h"

#include <functional>
#include <gtest/gtest.h>
#include <map>
#include <string>
#include <vector>

using namespace picttest;

namespace {

// '.' white, '#' black, 'r' red, 'b' blue, 'g' green.
::testing::AssertionResult looksLike(const gfx::ImageResult& result, const std::vector<std::string>& rows) {
    if (!result.ok())
        return ::testing::AssertionFailure() << "not decoded: " << result.error;
    const std::map<char, std::array<int, 3>> colours = {
        {'.', {255, 255, 255}}, {'#', {0, 0, 0}}, {'r', {255, 0, 0}}, {'b', {0, 0, 255}}, {'g', {0, 255, 0}}};
    std::string got;
    bool same = true;
    for (int y = 0; y < static_cast<int>(rows.size()); ++y) {
        for (int x = 0; x < static_cast<int>(rows[y].size()); ++x) {
            const auto p = pixel(result.image, x, y);
            char c = '?';
            for (const auto& [name, rgb] : colours)
                if (rgb == p)
                    c = name;
            got += c;
            same = same && c == rows[y][x];
        }
        got += '\n';
    }
    if (same)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "got\n" << got;
}

// A version 2 picture of the given size with `body` appended after the header.
gfx::ImageResult draw(int width, int height, const std::function<void(PictBuilder&)>& body,
                      const gfx::PictOptions& options = {}) {
    PictBuilder b(0, 0, height, width);
    body(b);
    return gfx::decodePictFile(b.end().file(), options);
}

} // namespace

// Rectangles: the 1-pixel frame lies on the rectangle's outermost pixels; a 3 x 2 pen frames with
// 3-pixel sides and 2-pixel top and bottom; paint covers exactly left <= h < right, top <= v < bottom.
// Lines: the pen's top-left follows the line, so a 1 x 1 pen covers both end points and a 3 x 2
// pen reaches two pixels further right and one further down. Shallow lines step one row where the
// exact line crosses the middle between rows.
// Ovals, rounded rectangles and arcs take the pixels whose centres are inside the curve. An 8 x 8
// oval loses two pixels at each end of its first and last rows and one of its second and seventh;
// an arc from 0 for 90 degrees is its top-right quarter, and so is 90 for -90.
// Polygons fill by the even-odd rule over pixel centres, so one traced round a rectangle covers the
// rectangle; framing moves the pen along its edges, and the pen hangs outside on the right and
// bottom. Regions fill their scan lines' spans.
// Patterns repeat every 8 pixels from the canvas's top-left, not the shape's. FillRect uses the
// fill pattern, EraseRect the background pattern, InvertRect inverts.
// Then colours (RGB and the old eight), the pen's transfer modes on a white canvas, the clip
// region and Origin.
TEST(PictDrawing, ShapesFollowQuickDrawsRules) {
    using Body = std::function<void(PictBuilder&)>;
    struct Drawing {
        Body body;
        std::vector<std::string> rows; // the canvas: '.' white, '#' black, 'r' red, 'b' blue, 'g' green
    };
    const auto square = [](PictBuilder& b) {
        b.word(30).rect(0, 0, 4, 6).point(0, 0).point(0, 6).point(4, 6).point(4, 0).point(0, 0);
    };
    const auto checker = [](PictBuilder& b) -> PictBuilder& {
        return b.bytes({0xAA, 0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA, 0x55});
    };
    const std::vector<std::string> quarter = {"....##..", "....###.", "....####", "....####",
                                              "........", "........", "........", "........"};
    std::vector<Drawing> drawings = {
        {[](PictBuilder& b) { b.op(0x30).rect(1, 1, 5, 7); },
         {"........", ".######.", ".#....#.", ".#....#.", ".######.", "........"}},
        {[](PictBuilder& b) { b.op(0x07).point(2, 3).op(0x30).rect(0, 0, 6, 9); },
         {"#########", "#########", "###...###", "###...###", "#########", "#########"}},
        // Paint; an empty rectangle draws nothing.
        {[](PictBuilder& b) { b.op(0x31).rect(1, 1, 3, 4).op(0x30).rect(3, 3, 2, 2); },
         {".....", ".###.", ".###.", "....."}},
        // A pen wider than half the rectangle fills it.
        {[](PictBuilder& b) { b.op(0x07).point(1, 2).op(0x30).rect(0, 0, 3, 3); }, {"###.", "###.", "###."}},
        // A pen of width 0 draws nothing.
        {[](PictBuilder& b) { b.op(0x07).point(1, 0).op(0x30).rect(0, 0, 3, 3); }, {"....", "....", "...."}},
        {[](PictBuilder& b) { b.op(0x07).point(2, 3).op(0x20).point(1, 1).point(1, 5); },
         {".........", ".#######.", ".#######.", "........."}},
        {[](PictBuilder& b) { b.op(0x20).point(0, 0).point(2, 6); }, {"##.....", "..###..", ".....##"}},
        // LineFrom continues from the pen; ShortLine and ShortLineFrom move by signed bytes.
        {[](PictBuilder& b) {
             b.op(0x22).point(0, 0).bytes({4, 0}).op(0x23).bytes({0, 4}).op(0x21).point(4, 0);
         },
         {"#####", "....#", "....#", "....#", "#####"}},
        {[](PictBuilder& b) { b.op(0x51).rect(0, 0, 8, 8); },
         {"..####..", ".######.", "########", "########", "########", "########", ".######.", "..####.."}},
        {[](PictBuilder& b) { b.op(0x51).rect(0, 0, 3, 5); }, {".###.", "#####", ".###."}},
        // Framed oval: the oval minus the oval inset by the pen.
        {[](PictBuilder& b) { b.op(0x50).rect(0, 0, 8, 8); },
         {"..####..", ".#....#.", "#......#", "#......#", "#......#", "#......#", ".#....#.", "..####.."}},
        {[](PictBuilder& b) { b.op(0x61).rect(0, 0, 8, 8).word(0).word(90); }, quarter},
        {[](PictBuilder& b) { b.op(0x61).rect(0, 0, 8, 8).word(90).word(-90); }, quarter},
        // The "same" variant reuses the last rectangle, whatever kind of shape used it.
        {[](PictBuilder& b) { b.op(0x30).rect(0, 0, 8, 8).op(0x69).word(180).word(90); },
         {"########", "#......#", "#......#", "#......#", "####...#", "####...#", "####...#", "########"}},
        {[](PictBuilder& b) { b.op(0x0B).point(4, 4).op(0x41).rect(0, 0, 6, 8); },
         {".######.", "########", "########", "########", "########", ".######."}},
        {[&](PictBuilder& b) { square(b.op(0x71)); },
         {"######..", "######..", "######..", "######..", "........", "........"}},
        {[&](PictBuilder& b) { square(b.op(0x70)); },
         {"#######.", "#.....#.", "#.....#.", "#.....#.", "#######.", "........"}},
        // The rows' spans shrink to the apex; a centre on the right edge is outside.
        {[](PictBuilder& b) { b.op(0x71).word(22).rect(0, 0, 3, 6).point(0, 0).point(0, 6).point(3, 3); },
         {"#####.", ".###..", "..#..."}},
        // L-shaped region: full rows 0-1, then the left half.
        {[](PictBuilder& b) {
             b.op(0x81).region(0, 0, 4, 4, {{0, 0, 4}, {2, 2, 4}, {4, 0, 2}});
         },
         {"####", "####", "##..", "##.."}},
        // FrameRgn draws inside the region like FrameRect.
        {[](PictBuilder& b) { b.op(0x80).region(0, 0, 4, 5); }, {"#####", "#...#", "#...#", "#####"}},
        // A checkerboard rectangle at an odd column continues the board.
        {[&](PictBuilder& b) { checker(b.op(0x0A)).op(0x34).rect(0, 1, 3, 5); },
         {"..#.#.", ".#.#..", "..#.#."}},
        // The pen pattern, then the top row inverted.
        {[&](PictBuilder& b) { checker(b.op(0x09)).op(0x31).rect(0, 0, 2, 3).op(0x33).rect(0, 0, 1, 6); },
         {".#.###", ".#...."}},
        // Erase in the (blue) background colour.
        {[](PictBuilder& b) {
             b.op(0x31).rect(0, 0, 2, 4).op(0x1B).word(0).word(0).word(0xFFFF).op(0x32).rect(0, 1, 2, 3);
         },
         {"#bb#", "#bb#"}},
        // RGB red, then the old greenColor.
        {[](PictBuilder& b) {
             b.op(0x1A).word(0xFFFF).word(0).word(0).op(0x31).rect(0, 0, 1, 2);
             b.op(0x0E).word(0).word(341).op(0x31).rect(0, 2, 1, 4);
         },
         {"rrgg"}},
        // Only what lies inside the clip region is drawn.
        {[](PictBuilder& b) { b.op(0x01).region(1, 1, 2, 3).op(0x31).rect(0, 0, 3, 4); },
         {"....", ".##.", "...."}},
        // After Origin (dh 2, dv 1) the local point (2, 1) is the canvas's top-left.
        {[](PictBuilder& b) { b.op(0x0C).word(2).word(1).op(0x31).rect(1, 2, 2, 4); }, {"##..", "...."}},
    };
    // Black paint over "#...": copy, or, xor, bic, notPatCopy, then adMin/addMax with red.
    for (const auto& [mode, row] :
         {std::pair{8, "###."}, {9, "###."}, {10, ".##."}, {11, "...."}, {12, "...."}, {15, "#..."}})
        drawings.push_back({[mode = mode](PictBuilder& b) {
                                b.op(0x31).rect(0, 0, 1, 1).op(0x08).word(mode).op(0x31).rect(0, 0, 1, 3);
                            },
                            {row}});
    for (const auto& [mode, row] : {std::pair{39, "rr.."}, {37, "...."}, {36, "rr.."}})
        drawings.push_back({[mode = mode](PictBuilder& b) {
                                b.op(0x1A).word(0xFFFF).word(0).word(0).op(0x08).word(mode);
                                b.op(0x31).rect(0, 0, 1, 2);
                            },
                            {row}});
    for (std::size_t i = 0; i < drawings.size(); ++i) {
        const Drawing& d = drawings[i];
        EXPECT_TRUE(looksLike(draw(int(d.rows[0].size()), int(d.rows.size()), d.body), d.rows))
            << "drawing " << i;
    }
}

// Text goes through the renderer with the picture's font, size and face; LongText places the
// baseline start, DHText/DVText/DHDVText move it from the previous start. Without a renderer the
// text is skipped and the picture still decodes.
TEST(PictDrawing, TextRunsReachTheRendererAtTheirPlaces) {
    std::vector<gfx::PictTextRun> runs;
    gfx::PictOptions options;
    options.textRenderer = [&runs](const gfx::PictTextRun& run, std::size_t) {
        runs.push_back(run);
        gfx::PictTextMask mask; // a 2 x 2 block standing on the baseline
        mask.left = 0;
        mask.top = -2;
        mask.width = 2;
        mask.height = 2;
        mask.coverage.assign(4, 255);
        return mask;
    };
    auto body = [](PictBuilder& b) {
        b.op(0x2C).word(12).word(21).text("Helvetica").op(0x03).word(21).op(0x0D).word(24).op(0x04).byte(1);
        b.op(0x28).point(2, 0).text("A\x8A"); // "Aä" at h 0, baseline 2
        b.op(0x03).word(22).op(0x29).byte(3).text("B");
        b.op(0x2A).byte(2).text("C");
        b.op(0x2B).bytes({3, 0}).text("D");
    };
    EXPECT_TRUE(looksLike(draw(32, 4, body, options), {"##.##...", "##.##...", "...##.##", "...##.##"}));
    ASSERT_EQ(runs.size(), 4u);
    EXPECT_EQ(runs[0].family, "Helvetica");
    EXPECT_EQ(runs[0].size, 24);
    EXPECT_EQ(runs[0].face, 1u);
    EXPECT_EQ(runs[0].text, "A\xC3\xA4");
    EXPECT_EQ(runs[1].family, "Courier");
    EXPECT_STREQ(gfx::genericFamily(runs[1]), "monospace");
    EXPECT_STREQ(gfx::genericFamily(runs[0]), "sans");
    EXPECT_TRUE(looksLike(draw(32, 4, body), {"........", "........", "........", "........"}));
}

// Drawing is bounded like bitmaps: every pixel a shape or text run touches counts against a
// budget that grows with the canvas, which the picture's bytes pay for. A few bytes of opcodes
// repeating a full-canvas shape run out of it; the same shapes a few times do not.
TEST(PictDrawing, ShapesAndTextShareTheDrawingBudget) {
    auto rects = [](int count) {
        return [count](PictBuilder& b) {
            for (int i = 0; i < count; ++i)
                b.op(0x33).rect(0, 0, 2000, 2000);
        };
    };
    EXPECT_TRUE(draw(2000, 2000, rects(3)).ok());
    const auto refused = draw(2000, 2000, rects(40));
    EXPECT_FALSE(refused.ok());
    EXPECT_NE(refused.error.find("far more pixels"), std::string::npos) << refused.error;

    gfx::PictOptions options;
    std::size_t asked = 0;
    options.textRenderer = [&asked](const gfx::PictTextRun&, std::size_t maxPixels) {
        asked = std::max(asked, maxPixels);
        return gfx::PictTextMask{};
    };
    // Text larger than the canvas is drawn at the canvas's size, and the renderer is never asked
    // for much more than twice the canvas.
    const auto huge = draw(
        100, 50,
        [](PictBuilder& b) {
            b.op(0x0D).word(30000);
            for (int i = 0; i < 4; ++i)
                b.op(0x28).point(50, 0).text("WWWW");
        },
        options);
    EXPECT_TRUE(huge.ok()) << huge.error;
    EXPECT_EQ(asked, std::size_t{100} * 50 * 2 + 4096);
}
