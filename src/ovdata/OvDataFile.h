#pragma once

#include "ovdata/OvDataModel.h"
#include "ovdata/OvDataRules.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace ov {

// The OvData binary format: a 16-byte header, then the sector tree depth-first in fixed-size
// records (sector, its ops, each op followed by its battles). Big-endian throughout; no index,
// no offsets, no checksum, no trailer.
namespace OvDataLayout {
constexpr std::string_view kMagic = "OvDa"; // compared case-sensitively
constexpr std::int32_t kFormatNumber = 1;   // always written; ignored on reading
constexpr std::size_t kHeaderSize = 16;     // magic, format number, resource ID, sector count
constexpr std::size_t kNameFieldSize = 50;  // name bytes, a zero byte, then filler
constexpr std::size_t kMaxNameLength = rules::kMaxNameBytes;
static_assert(kMaxNameLength == kNameFieldSize - 1, "a name field ends with at least one zero byte");
constexpr std::uint8_t kNameFiller = 0xA3;
constexpr std::size_t kRectSize = 4 * 2;                                      // x1, y1, x2, y2 as Int16
constexpr std::size_t kSectorRecordSize = 4 + kNameFieldSize + kRectSize + 4; // ID, name, rect, op count
constexpr std::size_t kOpsRecordSize = 4 + kNameFieldSize + kRectSize + 4;    // ID, name, rect, battle count
constexpr std::size_t kBattleRecordSize = 4 + kNameFieldSize + kRectSize + kTailLength;
constexpr std::int32_t kMinCoordinate = rules::kMinCoordinate;
constexpr std::int32_t kMaxCoordinate = rules::kMaxCoordinate;
// 95,243 bytes: 11 sectors of 11 ops of 11 battles. Nothing beyond this can ever be read.
constexpr std::size_t kMaxFileSize =
    kHeaderSize +
    kCapacity * (kSectorRecordSize + kCapacity * (kOpsRecordSize + kCapacity * kBattleRecordSize));
} // namespace OvDataLayout

// The texts shown to the user. Messages that name an entry carry the name as UTF-8.
namespace OvDataMessages {
inline constexpr std::string_view kFailedToOpen = "sorry, file failed to open";
inline constexpr std::string_view kFileIsEmpty = "file is empty";
inline constexpr std::string_view kNoHeader = "no valid 'OvDa' header found";
inline constexpr std::string_view kDamaged = "sorry, file is damaged or truncated.";
} // namespace OvDataMessages

struct OvDataReadResult {
    std::unique_ptr<OvDataModel> model; // set exactly when the read succeeded
    std::string message;                // set exactly when it failed
    std::size_t trailingBytes = 0;      // bytes after the last record; accepted and not kept
    bool ok() const { return model != nullptr; }
};

struct OvDataWriteResult {
    std::vector<std::uint8_t> bytes; // the whole file; empty when refused
    std::string message;             // empty on success
    bool ok() const { return message.empty(); }
};

// Reads a whole file held in memory into a fresh model. A file that ends inside a record, or
// holds a count outside 0..11, is refused as damaged: nothing half-read is ever handed out.
OvDataReadResult ReadFromOvDataFile(std::span<const std::uint8_t> bytes);
OvDataReadResult ReadFromOvDataFile(std::string_view bytes);

// In-place form for a model that lives on: replaces `model` only on success and returns an
// empty string; on failure returns the message and leaves `model` exactly as it was.
std::string ReadFromOvDataFile(std::span<const std::uint8_t> bytes, OvDataModel& model);
std::string ReadFromOvDataFile(std::string_view bytes, OvDataModel& model);

// Writes the used part of the model. Short battle tails are completed with zero bytes in the
// model itself, as the editor has always done; that is the only change to the model, and it
// happens only when the write succeeds. Refused, with the model untouched, when a count lies
// outside 0..11, a coordinate outside the Int16 range or a tail is longer than three bytes.
// Names of 50 bytes or more are cut to their first 49 bytes in the file.
OvDataWriteResult WriteToOvDataFile(OvDataModel& model);

// The size WriteToOvDataFile produces for a model whose counts are valid.
std::size_t OvDataFileSize(const OvDataModel& model);

} // namespace ov
