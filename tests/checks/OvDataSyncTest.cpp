// The syncs behind "Copy to OvData0" and "Take from OvData0": after one, its finding is gone,
// every other finding stays, the file copied from is untouched and the file copied to differs
// only at that entry.
#include "ovdata/OvDataSync.h"

#include "CheckTestModels.h"
#include "ovdata/OvDataDiff.h"

#include <functional>
#include <gtest/gtest.h>

using namespace ov;
using checktest::codes;

namespace {

struct SyncCase {
    const char* name;
    std::function<void(OvDataModel& overview, OvDataModel& two)> change;
    const char* fixed; // "code@file:path" of the finding the sync removes
    SyncDirection direction;
    std::vector<std::string> changedInTarget;   // DifferenceLine()s of the target, before -> after
    std::vector<std::string> alsoResolved = {}; // findings the copy settles too
};

void PrintTo(const SyncCase& c, std::ostream* os) {
    *os << c.name;
}

const SyncCase kSyncCases[] = {
    {"a missing battle copied into OvData0",
     [](OvDataModel&, OvDataModel& two) {
         two.OpsNumberOfBattles[0][1] = 3;
         two.BatID[0][1][2] = 212;
         two.BatName[0][1][2] = "New";
         two.BatXY[0][1][2] = {1, 2, 3, 4};
         two.BatTail[0][1][2] = std::string("\x01\x01\x00", 3);
         two.BatName[0][0][0] = "Renamed"; // a second finding that must stay
     },
     "missing-in-overview@2:2/21/212",
     SyncDirection::ToOverview,
     {"+ 2/21/212 battle 'New' [1, 2, 3, 4] flags 1-1-0"}},
    {"a missing op with its battles copied into OvData0",
     [](OvDataModel& overview, OvDataModel&) { overview.SectorNumberOfOps[1] = 3; },
     "missing-in-overview@2:2/23",
     SyncDirection::ToOverview,
     {"+ 2/23 op 'Op 23' [102, 312, 178, 400], 2 battles"}},
    {"a missing sector goes to its place in OvData0",
     [](OvDataModel& overview, OvDataModel&) {
         // OvData0 without its second sector: the third moves up.
         OvDataModel without = overview;
         without.OvNumberOfSectors = 2;
         without.SectorID[1] = overview.SectorID[2];
         without.SectorName[1] = overview.SectorName[2];
         without.SectorXY[1] = overview.SectorXY[2];
         without.SectorNumberOfOps[1] = overview.SectorNumberOfOps[2];
         without.OpsID[1] = overview.OpsID[2];
         without.OpsName[1] = overview.OpsName[2];
         without.OpsXY[1] = overview.OpsXY[2];
         without.OpsNumberOfBattles[1] = overview.OpsNumberOfBattles[2];
         without.BatID[1] = overview.BatID[2];
         without.BatName[1] = overview.BatName[2];
         without.BatXY[1] = overview.BatXY[2];
         without.BatTail[1] = overview.BatTail[2];
         overview = without;
     },
     "missing-in-overview@2:2",
     SyncDirection::ToOverview,
     {"+ 2 sector 'Sector 2' [100, 10, 180, 480], 4 ops"},
     // Sector 3 stood second, off the numbering; back in third place it is numbered right again.
     {"id-numbering@0:3"}},
    {"a name copied into OvData0",
     [](OvDataModel&, OvDataModel& two) {
         two.OpsName[0][2] = "Better";
         two.SectorXY[0] = {}; // a file finding that must stay
     },
     "name-differs@2:2/22",
     SyncDirection::ToOverview,
     {"~ 2/22 name: 'Op 22' -> 'Better'"}},
    {"a name taken from OvData0",
     [](OvDataModel&, OvDataModel& two) { two.OpsName[0][2] = "Worse"; },
     "name-differs@2:2/22",
     SyncDirection::FromOverview,
     {"~ 2/22 name: 'Worse' -> 'Op 22'"}},
    {"flags taken from OvData0",
     [](OvDataModel&, OvDataModel& two) { two.BatTail[0][3][0] = std::string(3, '\0'); },
     "flags-differ@2:2/23/230",
     SyncDirection::FromOverview,
     {"~ 2/23/230 flags: 0-0-0 -> 1-0-0"}},
    {"a rectangle copied into OvData0",
     [](OvDataModel& overview, OvDataModel& two) {
         two.OvResourceID = overview.OvResourceID;
         two.BatXY[0][0][1] = {50, 60, 70, 80};
     },
     "rect-differs@2:2/20/201",
     SyncDirection::ToOverview,
     {"~ 2/20/201 rect: [135, 15, 160, 50] -> [50, 60, 70, 80]"}},
    {"the second of two battles with one ID takes its name from OvData0",
     [](OvDataModel&, OvDataModel& two) {
         two.BatID[0][0][1] = 200;
         two.BatName[0][0][1] = "Twin";
     },
     "name-differs@2:2/20/200",
     SyncDirection::FromOverview,
     {"~ 2/20/200 name: 'Twin' -> 'Battle 200'"}},
    {"a missing op taken from OvData0",
     [](OvDataModel&, OvDataModel& two) { two.SectorNumberOfOps[0] = 2; },
     "missing-in-sector-file@2:2",
     SyncDirection::FromOverview,
     {"+ 2/22 op 'Op 22' [102, 212, 178, 300], 2 battles"}},
};

std::vector<std::string> lines(const std::vector<Difference>& differences) {
    std::vector<std::string> out;
    for (const Difference& d : differences)
        out.push_back(DifferenceLine(d));
    return out;
}

class SyncTest : public testing::TestWithParam<SyncCase> {};

TEST_P(SyncTest, RemovesItsFindingAndChangesNothingElse) {
    const SyncCase& c = GetParam();
    OvDataModel overview = checktest::overview();
    OvDataModel two = checktest::sectorFile(2);
    c.change(overview, two);
    const OvDataModel overviewBefore = overview, twoBefore = two;
    const OvDataSet set = {&overview, nullptr, &two};

    std::vector<Finding> before = CheckSet(set);
    std::vector<std::string> expected = codes(before);
    const auto fixed = std::find(expected.begin(), expected.end(), c.fixed);
    ASSERT_NE(fixed, expected.end()) << testing::PrintToString(expected);
    const Finding finding = before[static_cast<std::size_t>(fixed - expected.begin())];
    expected.erase(fixed);
    for (const std::string& settled : c.alsoResolved) {
        const auto at = std::find(expected.begin(), expected.end(), settled);
        ASSERT_NE(at, expected.end()) << settled;
        expected.erase(at);
    }

    ASSERT_EQ(ApplySync(overview, two, finding, c.direction), "");
    EXPECT_EQ(codes(CheckSet(set)), expected);
    const bool toOverview = c.direction == SyncDirection::ToOverview;
    EXPECT_EQ(toOverview ? two : overview, toOverview ? twoBefore : overviewBefore) << "the source changed";
    const std::vector<Difference> changed =
        toOverview ? DiffModels(overviewBefore, overview) : DiffModels(twoBefore, two);
    EXPECT_EQ(lines(changed), c.changedInTarget);
}

INSTANTIATE_TEST_SUITE_P(Findings, SyncTest, testing::ValuesIn(kSyncCases), checktest::caseName<SyncCase>);

TEST(Sync, AMissingSectorIsPutAtThePositionTheGameExpects) {
    OvDataModel overview = checktest::overview();
    overview.OvNumberOfSectors = 1; // only sector 1
    OvDataModel three = checktest::sectorFile(3);
    const OvDataSet set = {&overview, nullptr, nullptr, &three};
    const std::vector<Finding> findings = CheckSetRules(set);
    ASSERT_EQ(codes(findings), (std::vector<std::string>{"missing-in-overview@3:3"}));
    ASSERT_EQ(ApplySync(overview, three, findings[0], SyncDirection::ToOverview), "");
    EXPECT_EQ(overview.OvNumberOfSectors, 2); // after the last: position 3 does not exist yet
    EXPECT_EQ(overview.SectorID[1], 3);
    EXPECT_EQ(overview.BatName[1][2][1], "Battle 321");
}

TEST(Sync, RefusesWhatCannotBeCopiedAndLeavesTheModelAlone) {
    OvDataModel overview = checktest::overview();
    OvDataModel two = checktest::sectorFile(2);
    EntryRef battle;
    battle.sector = battle.op = battle.battle = 0;
    battle.sectorId = 2;
    battle.opId = 20;
    battle.battleId = 999;
    EXPECT_EQ(CopyEntry(two, overview, battle, SyncPart::Subtree),
              "sorry, the battle 2/20/999 is not there to copy");
    battle.battleId = 200;
    battle.opId = 20;
    EXPECT_EQ(CopyEntry(two, overview, battle, SyncPart::Flags), ""); // equal flags: a harmless copy
    EntryRef op = battle;
    op.battle = -1;
    EXPECT_EQ(CopyEntry(two, overview, op, SyncPart::Flags), "sorry, only battles have flags");

    // Into an op that already holds 11 battles.
    two.OpsNumberOfBattles[0][0] = 3;
    two.BatID[0][0][2] = 777;
    overview.OpsNumberOfBattles[1][0] = 11;
    const OvDataModel full = overview;
    battle.battleId = 777;
    EXPECT_EQ(CopyEntry(two, overview, battle, SyncPart::Subtree),
              "sorry, the op 2/20 has no room for another battle; a file holds at most 11");
    EXPECT_EQ(overview, full);

    // A field of an entry the target lacks.
    EXPECT_EQ(CopyEntry(two, overview, battle, SyncPart::Name),
              "sorry, the battle 2/20/777 is missing; copy it whole first");
    // A finding that offers no such direction.
    Finding missing;
    missing.where = battle;
    missing.canCopyToOverview = true;
    EXPECT_EQ(ApplySync(overview, two, missing, SyncDirection::FromOverview),
              "sorry, this finding is not fixed by taking from OvData0");
}

} // namespace
