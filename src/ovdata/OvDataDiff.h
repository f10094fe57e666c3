#pragma once

#include "ovdata/OvDataChecks.h"
#include "ovdata/OvDataModel.h"

#include <string>
#include <vector>

// The differences between two OvData models, entry by entry. Entries are matched by their ID
// path (sector ID, op ID within it, battle ID within that); an ID that repeats among siblings is
// matched occurrence by occurrence. Only the used part of each model is compared, the way the
// files hold them: names byte for byte, flags as their raw byte values.
namespace ov {

struct Difference {
    enum class Kind {
        Changed, // a field of an entry both hold (or of the file: the picture ID)
        Removed, // an entry only `a` holds
        Added,   // an entry only `b` holds
        Order,   // the entries both hold stand in another order below one parent
    };
    Kind kind = Kind::Changed;
    EntryPath where;   // in `a` (for Added: in `b`); the file itself for picture ID and sector order
    std::string field; // Changed: "picture ID", "name", "rect", "flags"; Order: "sectors", "ops", "battles"
    std::string before, after; // Changed and Order: the values in `a` and `b`, as text
    std::string summary;       // Removed / Added: the entry's name, rectangle and flags as text
};

std::vector<Difference> DiffModels(const OvDataModel& a, const OvDataModel& b);

// One line a person reads in a review: "~ 1/10/100 name: 'Orchard Ridge' -> 'Orchard Hill'",
// "- 1/11 op 'Operation Greyfield' [15, 92, 149, 159], 2 battles", "+ ...",
// "~ 1 order of ops: 10, 11, 12 -> 11, 10, 12", "~ file picture ID: 1013 -> 1014".
std::string DifferenceLine(const Difference& d);

} // namespace ov
