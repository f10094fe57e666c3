#pragma once

#include "ovdata/OvDataModel.h"

#include <string>

namespace ov {

// The game's commented "Batnames" base-file as suggested by a model (meant for OvData0's, which
// holds every sector): boot camp, battles, operations, campaigns. Every line ends with a single
// carriage return; a comment follows its value after one tab. Names are copied byte for byte.
// Only the used part of the tree is written; counts outside 0..11 are clamped so that the walk
// never leaves the arrays.
std::string ExportAsBatnamesFile(const OvDataModel& model);

} // namespace ov
