#pragma once

#include "ovdata/OvDataModel.h"

#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace mqtool {

// The tool's JSON form of an OvData model:
//   {"resource_id": 1018, "sectors": [{"id": 4, "name": "...", "rect": [x1, y1, x2, y2],
//     "ops": [{"id": 40, "name": "...", "rect": [...],
//       "battles": [{"id": 400, "name": "...", "rect": [...], "flags": [lz, bridge, road]}]}]}]}
// Only the used part of the tree is written. Names are ISO-8859-1 bytes shown as Unicode text;
// flags are the raw tail byte values.
std::string OvDataToJsonText(const ov::OvDataModel& model);

struct JsonModelResult {
    std::unique_ptr<ov::OvDataModel> model; // set exactly when the JSON was accepted
    std::string message;                    // otherwise why not, naming the place in the JSON
    std::vector<std::string> warnings;      // what was changed to fit, naming the place
    bool ok() const { return model != nullptr; }
};

// Accepts only what an OvData file can hold: every field present with its type and no others,
// at most 11 entries per level, Int32 IDs, Int16 coordinates, flag bytes 0..255, names of at
// most 49 ISO-8859-1 characters without U+0000 (a name of 50, as a file can hold one, is cut to
// its first 49 with a warning). Lists and objects may nest at most 64 deep, and the document may
// hold at most 200,000 values.
JsonModelResult OvDataFromJsonText(std::string_view text);

} // namespace mqtool
