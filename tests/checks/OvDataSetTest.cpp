// The set rules over small sets, OvData1..9 against OvData0, and the syncs behind "Copy to
// OvData0" and "Take from OvData0".
#include "CheckTestModels.h"
#include "ovdata/OvDataChecks.h"
#include "ovdata/OvDataDiff.h"
#include "ovdata/OvDataSync.h"

#include <functional>
#include <gtest/gtest.h>

using namespace ov;
using checktest::codes;

namespace {

using Change = std::function<void(OvDataModel& overview, OvDataModel& two)>;

// A change to OvData0 and OvData2 of the game's shape, the set findings it gives and, for a
// finding a sync fixes, what that sync changes in the file copied to.
struct SetCase {
    const char* name;
    Change change;
    std::vector<std::string> findings; // set findings, "code@file:path"; "*" marks the one a sync fixes
    SyncDirection direction = SyncDirection::ToOverview;
    const char* changedInTarget = nullptr;      // the sync's DifferenceLine() in the target file
    std::vector<std::string> alsoResolved = {}; // findings the copy settles too
};

void PrintTo(const SetCase& c, std::ostream* os) {
    *os << c.name;
}

const SetCase kSetCases[] = {
    {"a missing battle copied into OvData0",
     [](auto&, auto& two) {
         two.OpsNumberOfBattles[0][1] = 3;
         two.BatID[0][1][2] = 212;
         two.BatName[0][1][2] = "New";
         two.BatXY[0][1][2] = {1, 2, 3, 4};
         two.BatTail[0][1][2] = std::string("\x01\x01\x00", 3);
         two.BatName[0][0][0] = "Renamed"; // a second finding that must stay
     },
     {"name-differs@2:2/20/200", "*missing-in-overview@2:2/21/212"},
     SyncDirection::ToOverview,
     "+ 2/21/212 battle 'New' [1, 2, 3, 4] flags 1-1-0"},
    {"a missing op with its battles, not reported again, copied into OvData0",
     [](auto& overview, auto&) { overview.SectorNumberOfOps[1] = 3; },
     {"*missing-in-overview@2:2/23"},
     SyncDirection::ToOverview,
     "+ 2/23 op 'Op 23' [102, 312, 178, 400], 2 battles"},
    {"a missing sector goes to its place in OvData0",
     [](auto& overview, auto&) {
         checktest::swapSectors(overview, 1, 2); // OvData0 without its second sector: the third moves up
         overview.OvNumberOfSectors = 2;
     },
     {"*missing-in-overview@2:2"},
     SyncDirection::ToOverview,
     "+ 2 sector 'Sector 2' [100, 10, 180, 480], 4 ops",
     // Sector 3 stood second, off the numbering; back in third place it is numbered right again.
     {"id-numbering@0:3"}},
    {"a sector OvData0 lacks", [](auto&, auto& two) { two.SectorID[0] = 7; }, {"missing-in-overview@2:7"}},
    {"names, rectangles and flags, field by field",
     [](auto& overview, auto& two) {
         two.OvResourceID = overview.OvResourceID; // same map: rectangles compare
         two.SectorName[0] = "Other";
         two.OpsXY[0][2][0] += 1;
         two.BatTail[0][3][1][2] = 0; // Road off
         two.BatName[0][3][1] = "Renamed";
     },
     {"name-differs@2:2", "rect-differs@2:2/22", "flags-differ@2:2/23/231", "name-differs@2:2/23/231"}},
    {"a name copied into OvData0",
     [](auto&, auto& two) {
         two.OpsName[0][2] = "Better";
         two.SectorXY[0] = {}; // a file finding that must stay; on another map it is no set finding
     },
     {"*name-differs@2:2/22"},
     SyncDirection::ToOverview,
     "~ 2/22 name: 'Op 22' -> 'Better'"},
    {"a name taken from OvData0",
     [](auto&, auto& two) { two.OpsName[0][2] = "Worse"; },
     {"*name-differs@2:2/22"},
     SyncDirection::FromOverview,
     "~ 2/22 name: 'Worse' -> 'Op 22'"},
    {"flags taken from OvData0",
     [](auto&, auto& two) { two.BatTail[0][3][0] = std::string(3, '\0'); },
     {"*flags-differ@2:2/23/230"},
     SyncDirection::FromOverview,
     "~ 2/23/230 flags: 0-0-0 -> 1-0-0"},
    {"flags that are on with another byte value are equal",
     [](auto&, auto& two) { two.BatTail[0][0][0][0] = 7; },
     {}},
    {"a rectangle copied into OvData0",
     [](auto& overview, auto& two) {
         two.OvResourceID = overview.OvResourceID;
         two.BatXY[0][0][1] = {50, 60, 70, 80};
     },
     {"*rect-differs@2:2/20/201"},
     SyncDirection::ToOverview,
     "~ 2/20/201 rect: [135, 15, 160, 50] -> [50, 60, 70, 80]"},
    {"rectangles on different maps are not compared", [](auto&, auto& two) { two.OpsXY[0][2][0] += 1; }, {}},
    {"the second of two battles with one ID takes its name from OvData0",
     [](auto&, auto& two) {
         two.BatID[0][0][1] = 200;
         two.BatName[0][0][1] = "Twin";
     },
     // OvData0's 201 is missing; both battles 200 are compared with its one battle 200.
     {"missing-in-sector-file@2:2/20", "flags-differ@2:2/20/200", "*name-differs@2:2/20/200"},
     SyncDirection::FromOverview,
     "~ 2/20/200 name: 'Twin' -> 'Battle 200'"},
    {"the sector at another place of OvData0",
     [](auto& overview, auto&) { checktest::swapSectors(overview, 0, 1); },
     {"sector-order@2:2"}},
    {"a missing op taken from OvData0",
     [](auto&, auto& two) { two.SectorNumberOfOps[0] = 3; },
     {"*missing-in-sector-file@2:2"},
     SyncDirection::FromOverview,
     "+ 2/23 op 'Op 23' [102, 312, 178, 400], 2 battles"},
    {"a battle of OvData0's op that OvData2 lacks",
     [](auto&, auto& two) { two.OpsNumberOfBattles[0][0] = 1; },
     {"missing-in-sector-file@2:2/20"}},
};

class SetTest : public testing::TestWithParam<SetCase> {};

// After a sync its finding is gone, every other finding stays, the file copied from is untouched
// and the file copied to differs only at that entry.
TEST_P(SetTest, FindsTheDifferencesAndASyncChangesOnlyItsEntry) {
    const SetCase& c = GetParam();
    OvDataModel overview = checktest::overview();
    OvDataModel two = checktest::sectorFile(2);
    c.change(overview, two);
    const OvDataModel overviewBefore = overview, twoBefore = two;
    const OvDataSet set = {&overview, nullptr, &two};
    std::vector<std::string> expected = c.findings;
    const auto marked = std::find_if(expected.begin(), expected.end(), [](auto& f) { return f[0] == '*'; });
    if (marked != expected.end())
        marked->erase(0, 1);
    EXPECT_EQ(codes(CheckSetRules(set)), expected);
    if (marked == expected.end())
        return;
    const std::string fixedCode = *marked;

    std::vector<Finding> before = CheckSet(set);
    expected = codes(before);
    const auto fixed = std::find(expected.begin(), expected.end(), fixedCode);
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
    EXPECT_EQ(toOverview ? checktest::diffLines(overviewBefore, overview)
                         : checktest::diffLines(twoBefore, two),
              std::vector<std::string>{c.changedInTarget});
}

INSTANTIATE_TEST_SUITE_P(Findings, SetTest, testing::ValuesIn(kSetCases), checktest::caseName<SetCase>);

TEST(SetChecks, TheGamesFourFilesHaveNoFindingAtAll) {
    const OvDataModel overview = checktest::overview();
    const OvDataModel one = checktest::sectorFile(1), two = checktest::sectorFile(2),
                      three = checktest::sectorFile(3);
    EXPECT_TRUE(CheckSet({&overview, &one, &two, &three}).empty());
}

TEST(SetChecks, FindingsNameTheirCounterpartAndTheSyncsThatFixThem) {
    OvDataModel overview = checktest::overview();
    OvDataModel three = checktest::sectorFile(3);
    three.OvResourceID = 1013;
    three.BatXY[0][1][0] = {1, 2, 3, 4};
    three.OpsNumberOfBattles[0][2] = 3;
    three.BatID[0][2][2] = 322;
    three.BatName[0][2][2] = "Extra";
    const std::vector<Finding> findings = CheckSetRules({&overview, nullptr, nullptr, &three});
    ASSERT_EQ(codes(findings),
              (std::vector<std::string>{"rect-differs@3:3/31/310", "missing-in-overview@3:3/32/322"}));

    const Finding& rect = findings[0];
    EXPECT_EQ(rect.severity, Severity::Warning);
    EXPECT_EQ(rect.message, "rectangle 1, 2, 3, 4 here, 195, 115, 220, 150 in OvData0");
    ASSERT_TRUE(rect.counterpart);
    EXPECT_EQ(rect.counterpart->file, 0);
    EXPECT_EQ(idPathText(*rect.counterpart), "3/31/310");
    EXPECT_EQ(rect.counterpart->sector, 2); // OvData0's third sector
    EXPECT_TRUE(rect.canCopyToOverview && rect.canTakeFromOverview);
    EXPECT_EQ(rect.syncPart, SyncPart::Rectangle);

    const Finding& missing = findings[1];
    EXPECT_EQ(missing.severity, Severity::Error);
    EXPECT_EQ(missing.message, "OvData0 has no battle 322 in its op 3/32");
    ASSERT_TRUE(missing.counterpart);
    EXPECT_EQ(idPathText(*missing.counterpart), "3/32");
    EXPECT_TRUE(missing.canCopyToOverview);
    EXPECT_FALSE(missing.canTakeFromOverview);
    EXPECT_EQ(missing.syncPart, SyncPart::Subtree);
}

TEST(SetChecks, OrderAgainstAnOverviewWithTooFewSectors) {
    OvDataModel overview = checktest::overview();
    overview.OvNumberOfSectors = 2;
    OvDataModel three = checktest::sectorFile(3);
    three.SectorID[0] = 2; // OvData0's second sector, in the third file
    three.SectorName[0] = overview.SectorName[1];
    three.SectorNumberOfOps[0] = 0;
    const std::vector<Finding> findings = CheckSetRules({&overview, nullptr, nullptr, &three});
    ASSERT_EQ(codes(findings),
              (std::vector<std::string>{"missing-in-sector-file@3:2", "missing-in-sector-file@3:2",
                                        "missing-in-sector-file@3:2", "missing-in-sector-file@3:2",
                                        "sector-order@3:2"}));
    EXPECT_EQ(findings[0].message, "OvData3 lacks OvData0's op 2/20 'Op 20'");
    EXPECT_EQ(findings[4].message,
              "this is sector 2 of OvData0; OvData3 should hold its sector 3, and OvData0 has only 2");
    EXPECT_FALSE(findings[4].counterpart);
}

TEST(SetChecks, WithoutOvData0ThereAreNoSetFindings) {
    OvDataModel two = checktest::sectorFile(2);
    two.SectorID[0] = 99;
    two.SectorNumberOfOps[0] = 0;
    const OvDataSet set = {nullptr, nullptr, &two};
    EXPECT_TRUE(CheckSetRules(set).empty());
    EXPECT_EQ(codes(CheckSet(set)), (std::vector<std::string>{"id-numbering@2:99"}));
}

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
    EntryPath battle{.sector = 0, .op = 0, .battle = 0, .sectorId = 2, .opId = 20, .battleId = 999};
    EXPECT_EQ(CopyEntry(two, overview, battle, SyncPart::Subtree),
              "sorry, the battle 2/20/999 is not there to copy");
    battle.battleId = 200;
    EXPECT_EQ(CopyEntry(two, overview, battle, SyncPart::Flags), ""); // equal flags: a harmless copy
    EntryPath op = battle;
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
