#pragma once

#include "ovdata/OvDataChecks.h"
#include "ovdata/OvDataModel.h"

#include <string>

// Bringing OvData0 and a sector file OvDataN into line, one entry at a time: the model operations
// behind the set findings' "Copy to OvData0" and "Take from OvData0". Entries are matched by their
// ID path (sector ID, op ID, battle ID); where IDs repeat, an entry is told apart by its position.
namespace ov {

// Copies the entry at `path` (its IDs and depth 1..3) from `from` into `to`:
//  - SyncPart::Subtree: the entry with everything below it. An entry of the same ID path in `to`
//    takes the source's name, rectangle, flags and children (and loses children the source
//    lacks); otherwise the entry is added as the last child of its parent, or, for a sector, at
//    `sectorPosition` (clamped to the sectors there are; -1 = after the last).
//  - SyncPart::Name / Rectangle / Flags: only that field of an entry that both files hold.
// Nothing else in `to` changes. Returns an empty string on success; otherwise the reason (the
// entry or its parent is missing, no room: a file holds at most 11 per level, flags on a sector
// or op) and `to` is untouched.
std::string CopyEntry(const OvDataModel& from, OvDataModel& to, const EntryRef& path, SyncPart part,
                      int sectorPosition = -1);
// The same with the two ends named apart: `source` in `from`, `target` in `to`, both with the
// same ID path. Each is taken at its own positions when its IDs stand there (so that of two
// entries with one ID the right one is copied, and the right one replaced), otherwise by ID.
std::string CopyEntry(const OvDataModel& from, const EntryRef& source, OvDataModel& to,
                      const EntryRef& target, SyncPart part, int sectorPosition = -1);

enum class SyncDirection { ToOverview, FromOverview };

// The sync a set finding offers (Finding::canCopyToOverview / canTakeFromOverview), applied to
// OvData0 (`overview`) and the finding's sector file OvDataN (`sectorFile`, N = finding.where.file).
// A sector copied into OvData0 goes to position N - 1, where the game expects it. Afterwards that
// finding is gone and nothing else in either model has changed. Returns the reason when the
// finding offers no such sync or the copy is refused.
std::string ApplySync(OvDataModel& overview, OvDataModel& sectorFile, const Finding& finding,
                      SyncDirection direction);

} // namespace ov
