#pragma once

#include "ovdata/OvDataModel.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// The one table of what an OvData value must meet. Two kinds of limit live here:
//  - what a file can hold at all (the writer refuses anything beyond it, the tool's JSON reader
//    and the table's typed-value guards refuse it before it reaches a model);
//  - what the game is known to take (the check engine advises; nothing is refused).
// Every limit has one phrase for the user, so the writer, the JSON reader, the table and the
// checks say the same thing about the same value.
namespace ov::rules {

// ---- what a file can hold -------------------------------------------------------------------

inline constexpr std::int32_t kMinCoordinate = -32768; // coordinates are stored as Int16
inline constexpr std::int32_t kMaxCoordinate = 32767;
inline constexpr std::size_t kMaxNameBytes = 49;      // a 50-byte name field ends with a zero byte
inline constexpr int kMaxEntriesPerLevel = kCapacity; // sectors per file, ops per sector, battles per op
inline constexpr int kMaxFlagByte = 255;

// ---- what the editor offers -------------------------------------------------------------------

inline constexpr int kEntriesAddedPerLevel = kAddLimit; // "Add ..." stops at this count
inline constexpr int kFirstFileNumber = 0;              // OvData0 .. OvData9
inline constexpr int kLastFileNumber = 9;
inline constexpr std::int32_t kFirstPictureId = 1013; // the picture popup: 1013 + item index
inline constexpr std::int32_t kLastPictureId = 1024;
inline constexpr std::int32_t kFirstSectorIdChoice = 1; // "set ID of first sector": 1..9
inline constexpr std::int32_t kLastSectorIdChoice = 9;

// ---- what the game is known to take -------------------------------------------------------------

inline constexpr int kMapWidth = 314; // the strategic map picture; pixels 0..313 x 0..490
inline constexpr int kMapHeight = 491;
inline constexpr int kMaxBattlesPerOp = 5; // six crash the PC version
inline constexpr int kGameSectors = 3;
inline constexpr std::array<int, kGameSectors> kGameOpsPerSector = {4, 4, 3};
// The game holds at most this many maps at run time. A map is counted per battle: every battle is
// fought on its own map (the one its ID names in Batnames), and ops and sectors show the maps of
// their first battles as previews, so they add none of their own.
inline constexpr int kMaxMaps = 50;

inline constexpr std::int32_t kOverviewPictureId = 1013;       // OvData0, the Command & Briefing screen
inline constexpr std::int32_t kAboutPictureId = 1017;          // the About screen, not a map
inline constexpr std::int32_t kPatternPictureId = 1018;        // last picture of Intrface.brm: a pattern
inline constexpr std::int32_t kFirstExtensionPictureId = 1019; // free for OvData4..9

// The picture a file of this number should name: the game's own values for OvData0..3
// (1013..1016) and the best choice 1019 for OvData4. No value for OvData5..9 (any free
// extension picture will do) or an unknown number.
std::optional<std::int32_t> expectedPictureId(int fileNumber);
// Whether `id` is one of the pictures the editor's popup offers and that shows a map.
bool isMapPictureId(std::int32_t id);
// The game's number of ops for its sector `gameSector` (1-based); the largest the game has for
// sectors beyond its own.
int gameOpsLimit(int gameSector);

// ---- phrases: empty when the value fits, otherwise why not ---------------------------------------

std::string rangeText(std::int64_t low, std::int64_t high); // "-32768..32767"
// "40000 is outside -32768..32767"
std::string outsideRange(std::int64_t value, std::int64_t low, std::int64_t high);
// "coordinate 40000 is outside -32768..32767"
std::string coordinateProblem(std::int64_t value);
// "12 battles are outside 0..11" (`what` is the plural noun)
std::string countProblem(std::int64_t count, std::string_view what);
// Name bytes as stored: at most 49 bytes, no zero byte (it would end the name early on reading).
std::string nameBytesProblem(std::string_view bytes);
// Text typed or read as UTF-8: valid UTF-8, ISO-8859-1 only, then the byte rules above.
std::string nameTextProblem(std::string_view utf8);

} // namespace ov::rules
