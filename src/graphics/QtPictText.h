#pragma once

#include "graphics/core/PictText.h"

// The editor's text renderer for pictures: Qt fonts through fontconfig, the classic Mac fonts
// mapped to the installed free sans, serif and monospace families, drawn without antialiasing as
// on the Mac. Renders nothing when no GUI application (and so no font database) exists.
gfx::PictTextRenderer qtPictTextRenderer();
