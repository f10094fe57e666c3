#include "ovdata/OvDataSync.h"

#include "ovdata/OvDataRules.h"

#include <algorithm>

namespace ov {

namespace {

int used(std::int32_t count) {
    return std::clamp<std::int32_t>(count, 0, kCapacity);
}

// Positions of an ID path in one model; -1 where a level is not found.
struct Located {
    int s = -1, o = -1, b = -1;
};

// The entry at the reference's own positions when its IDs are there (that tells repeated IDs
// apart); otherwise the first entry with each ID.
Located locate(const OvDataModel& m, const EntryPath& path) {
    Located at;
    const int depth = path.depth();
    const auto inRange = [](int position, std::int32_t count) {
        return position >= 0 && position < used(count);
    };
    if (inRange(path.sector, m.OvNumberOfSectors) && m.SectorID[path.sector] == path.sectorId)
        at.s = path.sector;
    for (int s = 0; s < used(m.OvNumberOfSectors) && at.s < 0; ++s)
        if (m.SectorID[s] == path.sectorId)
            at.s = s;
    if (at.s < 0 || depth < 2)
        return at;
    if (inRange(path.op, m.SectorNumberOfOps[at.s]) && m.OpsID[at.s][path.op] == path.opId)
        at.o = path.op;
    for (int o = 0; o < used(m.SectorNumberOfOps[at.s]) && at.o < 0; ++o)
        if (m.OpsID[at.s][o] == path.opId)
            at.o = o;
    if (at.o < 0 || depth < 3)
        return at;
    if (inRange(path.battle, m.OpsNumberOfBattles[at.s][at.o]) &&
        m.BatID[at.s][at.o][path.battle] == path.battleId)
        at.b = path.battle;
    for (int b = 0; b < used(m.OpsNumberOfBattles[at.s][at.o]) && at.b < 0; ++b)
        if (m.BatID[at.s][at.o][b] == path.battleId)
            at.b = b;
    return at;
}

void copyBattle(const OvDataModel& f, int fs, int fo, int fb, OvDataModel& t, int ts, int to, int tb) {
    t.BatID[ts][to][tb] = f.BatID[fs][fo][fb];
    t.BatName[ts][to][tb] = f.BatName[fs][fo][fb];
    t.BatXY[ts][to][tb] = f.BatXY[fs][fo][fb];
    t.BatTail[ts][to][tb] = f.BatTail[fs][fo][fb];
}

// Every slot below the op is copied, so the target's op is the source's op, whole.
void copyOp(const OvDataModel& f, int fs, int fo, OvDataModel& t, int ts, int to) {
    t.OpsID[ts][to] = f.OpsID[fs][fo];
    t.OpsName[ts][to] = f.OpsName[fs][fo];
    t.OpsXY[ts][to] = f.OpsXY[fs][fo];
    t.OpsNumberOfBattles[ts][to] = used(f.OpsNumberOfBattles[fs][fo]);
    for (int b = 0; b < kCapacity; ++b)
        copyBattle(f, fs, fo, b, t, ts, to, b);
}

void copySector(const OvDataModel& f, int fs, OvDataModel& t, int ts) {
    t.SectorID[ts] = f.SectorID[fs];
    t.SectorName[ts] = f.SectorName[fs];
    t.SectorXY[ts] = f.SectorXY[fs];
    t.SectorNumberOfOps[ts] = used(f.SectorNumberOfOps[fs]);
    for (int o = 0; o < kCapacity; ++o)
        copyOp(f, fs, o, t, ts, o);
}

std::string noRoom(std::string_view what, std::string_view where) {
    return "sorry, " + std::string(where) + " has no room for another " + std::string(what) +
           "; a file holds at most " + std::to_string(rules::kMaxEntriesPerLevel);
}

std::string copyField(const OvDataModel& from, OvDataModel& to, const EntryPath& path, SyncPart part,
                      const Located& src, const Located& dst) {
    const int depth = path.depth();
    if (part == SyncPart::Flags && depth != 3)
        return "sorry, only battles have flags";
    switch (depth) {
    case 1:
        if (part == SyncPart::Name)
            to.SectorName[dst.s] = from.SectorName[src.s];
        else
            to.SectorXY[dst.s] = from.SectorXY[src.s];
        break;
    case 2:
        if (part == SyncPart::Name)
            to.OpsName[dst.s][dst.o] = from.OpsName[src.s][src.o];
        else
            to.OpsXY[dst.s][dst.o] = from.OpsXY[src.s][src.o];
        break;
    default:
        if (part == SyncPart::Name)
            to.BatName[dst.s][dst.o][dst.b] = from.BatName[src.s][src.o][src.b];
        else if (part == SyncPart::Rectangle)
            to.BatXY[dst.s][dst.o][dst.b] = from.BatXY[src.s][src.o][src.b];
        else
            to.BatTail[dst.s][dst.o][dst.b] = from.BatTail[src.s][src.o][src.b];
        break;
    }
    return {};
}

} // namespace

std::string CopyEntry(const OvDataModel& from, OvDataModel& to, const EntryPath& path, SyncPart part,
                      int sectorPosition) {
    return CopyEntry(from, path, to, path, part, sectorPosition);
}

std::string CopyEntry(const OvDataModel& from, const EntryPath& path, OvDataModel& to,
                      const EntryPath& target, SyncPart part, int sectorPosition) {
    const int depth = path.depth();
    if (target.depth() != depth || target.sectorId != path.sectorId ||
        (depth >= 2 && target.opId != path.opId) || (depth >= 3 && target.battleId != path.battleId))
        return "sorry, the entries " + idPathText(path) + " and " + idPathText(target) + " are not the same";
    if (depth < 1)
        return "sorry, a whole file is not copied entry by entry";
    const Located src = locate(from, path);
    const bool inSource = depth == 1 ? src.s >= 0 : depth == 2 ? src.o >= 0 : src.b >= 0;
    if (!inSource)
        return "sorry, the " + std::string(levelName(path)) + " " + idPathText(path) +
               " is not there to copy";
    const Located dst = locate(to, target);
    const bool inTarget = depth == 1 ? dst.s >= 0 : depth == 2 ? dst.o >= 0 : dst.b >= 0;

    if (part != SyncPart::Subtree) {
        if (!inTarget)
            return "sorry, the " + std::string(levelName(path)) + " " + idPathText(path) +
                   " is missing; copy it whole first";
        return copyField(from, to, path, part, src, dst);
    }

    if (inTarget) {
        if (depth == 1)
            copySector(from, src.s, to, dst.s);
        else if (depth == 2)
            copyOp(from, src.s, src.o, to, dst.s, dst.o);
        else
            copyBattle(from, src.s, src.o, src.b, to, dst.s, dst.o, dst.b);
        return {};
    }

    if (depth == 1) {
        const int count = used(to.OvNumberOfSectors);
        if (count >= kCapacity)
            return noRoom("sector", "the file");
        const int at = sectorPosition < 0 || sectorPosition > count ? count : sectorPosition;
        for (int s = count; s > at; --s)
            copySector(to, s - 1, to, s);
        copySector(from, src.s, to, at);
        to.OvNumberOfSectors = count + 1;
        return {};
    }
    if (dst.s < 0)
        return "sorry, the sector " + std::to_string(path.sectorId) + " is missing; copy it first";
    if (depth == 2) {
        const int count = used(to.SectorNumberOfOps[dst.s]);
        if (count >= kCapacity)
            return noRoom("op", "the sector " + std::to_string(path.sectorId));
        copyOp(from, src.s, src.o, to, dst.s, count);
        to.SectorNumberOfOps[dst.s] = count + 1;
        return {};
    }
    if (dst.o < 0)
        return "sorry, the op " + std::to_string(path.sectorId) + "/" + std::to_string(path.opId) +
               " is missing; copy it first";
    const int count = used(to.OpsNumberOfBattles[dst.s][dst.o]);
    if (count >= kCapacity)
        return noRoom("battle", "the op " + std::to_string(path.sectorId) + "/" + std::to_string(path.opId));
    copyBattle(from, src.s, src.o, src.b, to, dst.s, dst.o, count);
    to.OpsNumberOfBattles[dst.s][dst.o] = count + 1;
    return {};
}

namespace {

// `parent` (an entry of one file) with the deeper level of `child` (an entry of the other file
// with the same ID path above it): where a missing child goes, named by its parent's position.
EntryPath childOf(EntryPath parent, const EntryPath& child) {
    if (parent.depth() == 0) {
        parent.sector = child.sector;
        parent.sectorId = child.sectorId;
    } else if (parent.depth() == 1) {
        parent.op = child.op;
        parent.opId = child.opId;
    } else if (parent.depth() == 2) {
        parent.battle = child.battle;
        parent.battleId = child.battleId;
    }
    return parent;
}

} // namespace

std::string ApplySync(OvDataModel& overview, OvDataModel& sectorFile, const Finding& finding,
                      SyncDirection direction) {
    // The finding's own entries are named by position, so that where IDs repeat the copy goes
    // from and to the very entries the finding is about.
    const std::optional<EntryPath>& other = finding.counterpart;
    const bool sameEntry = other && other->depth() == finding.where.depth();
    if (direction == SyncDirection::ToOverview) {
        if (!finding.canCopyToOverview)
            return "sorry, this finding is not fixed by copying to OvData0";
        const EntryPath target = sameEntry ? *other
                                 : other && other->depth() + 1 == finding.where.depth()
                                     ? childOf(*other, finding.where)
                                     : finding.where;
        return CopyEntry(sectorFile, finding.where, overview, target, finding.syncPart,
                         finding.where.file - 1);
    }
    if (!finding.canTakeFromOverview || !other)
        return "sorry, this finding is not fixed by taking from OvData0";
    const EntryPath target = sameEntry                                     ? finding.where
                             : finding.where.depth() + 1 == other->depth() ? childOf(finding.where, *other)
                                                                           : *other;
    return CopyEntry(overview, *other, sectorFile, target, finding.syncPart);
}

} // namespace ov
