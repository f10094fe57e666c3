#pragma once

#include "graphics/core/MapComposition.h"
#include "ovdata/OvDataModel.h"

#include <string>
#include <vector>

namespace mqtool {

// "render OVDATA SOURCE [ID] OUT.png": the map with every entry of OVDATA drawn as the editor
// draws it when every row is View-ticked and none is selected.
int runRenderCommand(const std::vector<std::string>& args);

extern const char* const kRenderHelp;

// The marks of every entry in table order (each sector, then each of its ops followed by the
// op's battles), none highlighted.
std::vector<gfx::MapMark> allEntryMarks(const ov::OvDataModel& model);

// The picture the editor's canvas shows for `map`: as large as the map, at most 314 x 491.
gfx::Rgb16Image renderReviewPicture(const ov::OvDataModel& model, const gfx::RgbImage& map);

} // namespace mqtool
