// The FreeType text renderer the tool uses, with the fonts setup-deps.sh installs (DejaVu).
#include "graphics/fonts/FreeTypeText.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <string>

namespace {

gfx::PictTextMask render(const std::string& text, int fontNumber, unsigned face = 0, int size = 20,
                         std::size_t maxPixels = 1u << 20) {
    static const gfx::PictTextRenderer renderer = gfx::freeTypeTextRenderer();
    gfx::PictTextRun run;
    run.fontNumber = fontNumber;
    run.size = size;
    run.face = face;
    run.text = text;
    return renderer(run, maxPixels);
}

std::size_t inked(const gfx::PictTextMask& m) {
    return static_cast<std::size_t>(
        std::count_if(m.coverage.begin(), m.coverage.end(), [](auto c) { return c >= 128; }));
}

} // namespace

// Glyphs stand on the baseline (the mask starts above it by about the ascent), are drawn
// without smoothing, follow the face bits, and stay within the pixels they are allowed.
TEST(FreeTypeText, RunsAreRenderedAlignedToTheBaselineWithTheirFace) {
    const auto h = render("H", 21);
    ASSERT_GT(h.width, 0) << "no font found: install fonts-dejavu-core";
    EXPECT_LT(h.top, -10);
    EXPECT_GE(h.top + h.height, 0);
    EXPECT_LE(h.top + h.height, 1); // an H has no descender
    EXPECT_TRUE(std::all_of(h.coverage.begin(), h.coverage.end(), [](auto c) { return c == 0 || c == 255; }));
    EXPECT_GT(inked(render("H", 21, 1)), inked(h)); // bold
    const auto underlined = render("H", 21, 4);
    EXPECT_GT(underlined.top + underlined.height, 1); // a line below the baseline
    // Courier (22) maps to a monospace font: narrow and wide letters take the same room.
    EXPECT_EQ(render("iiii", 22).width > render("WWWW", 22).width - 4, true);
    EXPECT_LT(render("iiii", 21).width * 2, render("WWWW", 21).width);
    EXPECT_EQ(render("H", 21, 0, 200, 100).width, 0); // over its pixel allowance
}
