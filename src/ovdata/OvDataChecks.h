#pragma once

#include "ovdata/OvDataModel.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The check engine: what the game is known to need from OvData files, as advice. A check never
// changes a model and never blocks a save; it lists findings. Rules and their codes:
//
// One file (its number 0..9 when known, -1 when not):
//   battles-per-op        error    more than 5 battles in an op (six crash the PC version)
//   ops-per-sector        warning  more ops than the game's 4 / 4 / 3 for that sector
//   sectors-per-file      warning  more than the game's 3 sectors (OvData0 or a file of unknown number)
//   one-sector-per-file   warning  OvData1..9 holding other than exactly one sector
//   picture-id            warning  the map picture against the game's value for the file's number
//                                  (note when OvData4 names another free extension picture)
//   rect-outside-map      warning  a coordinate outside the 314 x 491 map
//   rect-reversed         warning  x2 < x1 or y2 < y1
//   rect-not-drawn        note     a coordinate is 0, so the editor and the game draw nothing
//   duplicate-id          error    an ID used twice at one level of the file (sectors, ops, battles)
//   id-numbering          note     an ID other than renumbering gives
//   empty-name            warning
//   name-too-long         warning  more than 49 bytes: saving keeps only the first 49
//   name-zero-byte        warning  a zero byte ends the name early when the file is read again
//   coordinate-range      error    outside -32768..32767: the file cannot hold it, saving refuses
//   count-range           error    a count outside 0..11 (only in a model built by hand)
//   maps-in-total         warning  more than 50 maps (battles) in the file
//
// A set of files, OvData0 with OvData1..9 (file checks of each, plus):
//   missing-in-overview   error    an entry of OvDataN that OvData0 lacks under the same ID path
//   name-differs          warning  same ID path, other name
//   rect-differs          warning  same ID path, other rectangle; compared only when both files
//                                  name the same map picture (coordinates on different maps differ
//                                  by nature)
//   flags-differ          warning  same ID path, other LZ / Bridge / Road flags
//   sector-order          warning  OvDataN's sector is not sector N in OvData0's order
//   missing-in-sector-file warning an op or battle of OvDataN's sector in OvData0 that OvDataN lacks
namespace ov {

enum class Severity { Error, Warning, Note };
std::string_view severityName(Severity severity); // "error", "warning", "note"

inline constexpr int kFileNumbers = 10; // OvData0 .. OvData9
inline constexpr int kUnknownFile = -1;

// An entry of one file: positions (-1 = the level is not part of the path) and the IDs the
// positions held when the reference was made. A reference with sector == -1 is the file itself.
struct EntryPath {
    int file = kUnknownFile;
    int sector = -1, op = -1, battle = -1;
    std::int32_t sectorId = 0, opId = 0, battleId = 0;

    bool isFile() const { return sector < 0; }
    int depth() const { return sector < 0 ? 0 : op < 0 ? 1 : battle < 0 ? 2 : 3; }
    bool operator==(const EntryPath&) const = default;
};

// The entry's ID path as the tool prints it: "1/10/100", or "file" for the file itself.
std::string idPathText(const EntryPath& ref);
// "sector", "op", "battle" or "file".
std::string_view levelName(const EntryPath& ref);

// What a set finding can be fixed with: copying the entry, or one of its fields, between
// OvDataN and OvData0 (see OvDataSync.h).
enum class SyncPart { Subtree, Name, Rectangle, Flags };

struct Finding {
    Severity severity = Severity::Note;
    std::string_view code; // stable; see the list above (always a string literal)
    EntryPath where;
    std::string message;                  // one line, for the user
    std::optional<EntryPath> counterpart; // the entry in the other file of a set finding
    // For set findings: which copies make the finding disappear.
    bool canCopyToOverview = false;   // OvDataN's entry (or field) into OvData0
    bool canTakeFromOverview = false; // OvData0's entry (or field) into OvDataN
    SyncPart syncPart = SyncPart::Subtree;
};

// The file rules for one model. `fileNumber` is 0..9 when the file's slot is known (it decides
// the expected picture, the sector limits and whether the file should hold one sector only).
std::vector<Finding> CheckFile(const OvDataModel& model, int fileNumber = kUnknownFile);

// Models keyed by their file number; null where a file is absent.
using OvDataSet = std::array<const OvDataModel*, kFileNumbers>;

// The set rules only (OvData1..9 against OvData0); nothing without OvData0.
std::vector<Finding> CheckSetRules(const OvDataSet& set);
// Everything: the file rules of every present file, then the set rules, in the order of
// SortFindings.
std::vector<Finding> CheckSet(const OvDataSet& set);

// File, then tree order of the entry (the file itself first), then severity (errors first),
// then code and message: the order a reader walks the table in.
void SortFindings(std::vector<Finding>& findings);

struct FindingCounts {
    int errors = 0, warnings = 0, notes = 0;
};
FindingCounts CountFindings(const std::vector<Finding>& findings);
// "2 errors, 1 warning": the kinds there are, most severe first ("no findings" for none).
std::string CountsText(const FindingCounts& counts);

} // namespace ov
