// The set rules over small sets: OvData1..9 against OvData0.
#include "CheckTestModels.h"
#include "ovdata/OvDataChecks.h"

#include <functional>
#include <gtest/gtest.h>

using namespace ov;
using checktest::codes;

namespace {

// Swaps two sectors with everything below them.
void swapSectors(OvDataModel& m, int a, int b) {
    std::swap(m.SectorID[a], m.SectorID[b]);
    std::swap(m.SectorName[a], m.SectorName[b]);
    std::swap(m.SectorXY[a], m.SectorXY[b]);
    std::swap(m.SectorNumberOfOps[a], m.SectorNumberOfOps[b]);
    std::swap(m.OpsID[a], m.OpsID[b]);
    std::swap(m.OpsName[a], m.OpsName[b]);
    std::swap(m.OpsXY[a], m.OpsXY[b]);
    std::swap(m.OpsNumberOfBattles[a], m.OpsNumberOfBattles[b]);
    std::swap(m.BatID[a], m.BatID[b]);
    std::swap(m.BatName[a], m.BatName[b]);
    std::swap(m.BatXY[a], m.BatXY[b]);
    std::swap(m.BatTail[a], m.BatTail[b]);
}

struct SetCase {
    const char* name;
    std::function<void(OvDataModel& overview, OvDataModel& two)> change;
    std::vector<std::string> expected; // set findings only, "code@file:path"
};

void PrintTo(const SetCase& c, std::ostream* os) {
    *os << c.name;
}

const SetCase kSetCases[] = {
    {"the game's own set", [](OvDataModel&, OvDataModel&) {}, {}},
    {"a battle OvData0 lacks",
     [](OvDataModel&, OvDataModel& two) {
         two.OpsNumberOfBattles[0][1] = 3;
         two.BatID[0][1][2] = 212;
         two.BatName[0][1][2] = "New";
     },
     {"missing-in-overview@2:2/21/212"}},
    {"an op OvData0 lacks: its battles are not reported again",
     [](OvDataModel& overview, OvDataModel&) { overview.SectorNumberOfOps[1] = 3; },
     {"missing-in-overview@2:2/23"}},
    {"a sector OvData0 lacks",
     [](OvDataModel&, OvDataModel& two) { two.SectorID[0] = 7; },
     {"missing-in-overview@2:7"}},
    {"names, rectangles and flags, field by field",
     [](OvDataModel& overview, OvDataModel& two) {
         two.OvResourceID = overview.OvResourceID; // same map: rectangles compare
         two.SectorName[0] = "Other";
         two.OpsXY[0][2][0] += 1;
         two.BatTail[0][3][1][2] = 0; // Road off
         two.BatName[0][3][1] = "Renamed";
     },
     {"name-differs@2:2", "rect-differs@2:2/22", "flags-differ@2:2/23/231", "name-differs@2:2/23/231"}},
    {"rectangles on different maps are not compared",
     [](OvDataModel&, OvDataModel& two) { two.OpsXY[0][2][0] += 1; },
     {}},
    {"flags that are on with another byte value are equal",
     [](OvDataModel&, OvDataModel& two) { two.BatTail[0][0][0][0] = 7; },
     {}},
    {"the sector at another place of OvData0",
     [](OvDataModel& overview, OvDataModel&) { swapSectors(overview, 0, 1); },
     {"sector-order@2:2"}},
    {"an op of OvData0's sector that OvData2 lacks",
     [](OvDataModel&, OvDataModel& two) { two.SectorNumberOfOps[0] = 3; },
     {"missing-in-sector-file@2:2"}},
    {"a battle of OvData0's op that OvData2 lacks",
     [](OvDataModel&, OvDataModel& two) { two.OpsNumberOfBattles[0][0] = 1; },
     {"missing-in-sector-file@2:2/20"}},
};

class SetRuleTest : public testing::TestWithParam<SetCase> {};

TEST_P(SetRuleTest, ReportsTheDifferencesBetweenOvData0AndOvData2) {
    const SetCase& c = GetParam();
    OvDataModel overview = checktest::overview();
    OvDataModel two = checktest::sectorFile(2);
    c.change(overview, two);
    OvDataSet set{};
    set[0] = &overview;
    set[2] = &two;
    EXPECT_EQ(codes(CheckSetRules(set)), c.expected);
}

INSTANTIATE_TEST_SUITE_P(Rules, SetRuleTest, testing::ValuesIn(kSetCases), checktest::caseName<SetCase>);

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
    OvDataSet set{};
    set[0] = &overview;
    set[3] = &three;
    const std::vector<Finding> findings = CheckSetRules(set);
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
    OvDataSet set{};
    set[0] = &overview;
    set[3] = &three;
    const std::vector<Finding> findings = CheckSetRules(set);
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
    OvDataSet set{};
    set[2] = &two;
    EXPECT_TRUE(CheckSetRules(set).empty());
    EXPECT_EQ(codes(CheckSet(set)), (std::vector<std::string>{"id-numbering@2:99"}));
}

} // namespace
