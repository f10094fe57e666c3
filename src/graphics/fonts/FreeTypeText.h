#pragma once

#include "graphics/core/PictText.h"

namespace gfx {

// A text renderer for pictures built on FreeType: classic Mac fonts map to the installed free
// sans, serif and monospace fonts (DejaVu where present), bold and italic faces are used when
// installed and synthesised otherwise, glyphs are rendered without smoothing as on the Mac, and
// underline is drawn below the baseline. Without any usable font it renders nothing, so pictures
// still decode, without their text.
PictTextRenderer freeTypeTextRenderer();

} // namespace gfx
