// The model diff: entries matched by ID path, fields compared as the file holds them.
#include "ovdata/OvDataDiff.h"

#include "CheckTestModels.h"

#include <gtest/gtest.h>

using namespace ov;

using checktest::diffLines;

TEST(Diff, EqualModelsAndUnusedSlotsGiveNothing) {
    const OvDataModel a = checktest::overview();
    OvDataModel b = a;
    b.BatName[0][0][9] = "beyond the count";
    b.OpsXY[2][5] = {1, 2, 3, 4};
    EXPECT_TRUE(DiffModels(a, b).empty());
}

TEST(Diff, FieldsEntriesAndOrder) {
    const OvDataModel a = checktest::overview();
    OvDataModel b = a;
    b.OvResourceID = 1014;
    b.SectorName[0] = "F\xE4hre";
    b.OpsXY[0][1] = {1, 2, 3, 4};
    b.BatTail[0][1][0] = std::string("\x02\x00\x00", 3); // another "on" byte is a difference in the file
    b.OpsNumberOfBattles[1][3] = 1;                      // battle 2/23/231 removed
    b.OpsNumberOfBattles[2][2] = 3;                      // battle 3/32/322 added
    b.BatID[2][2][2] = 322;
    b.BatName[2][2][2] = "Added";
    b.BatXY[2][2][2] = {5, 6, 7, 8};
    b.BatTail[2][2][2] = std::string(3, '\0');
    // Ops 20 and 21 trade places, and their contents follow the IDs.
    const auto swapOps = [](auto&... perOp) { (std::swap(perOp[1][0], perOp[1][1]), ...); };
    swapOps(b.OpsID, b.OpsName, b.OpsXY, b.BatID, b.BatName, b.BatXY, b.BatTail);
    EXPECT_EQ(diffLines(a, b), (std::vector<std::string>{
                                   "~ file picture ID: 1013 -> 1014",
                                   "~ 1 name: 'Sector 1' -> 'F\xC3\xA4hre'",
                                   "~ 1/11 rect: [12, 112, 88, 200] -> [1, 2, 3, 4]",
                                   "~ 1/11/110 flags: 1-0-0 -> 2-0-0",
                                   "- 2/23/231 battle 'Battle 231' [135, 315, 160, 350] flags 1-0-1",
                                   "~ 2 order of ops: 20, 21, 22, 23 -> 21, 20, 22, 23",
                                   "+ 3/32/322 battle 'Added' [5, 6, 7, 8] flags 0-0-0",
                               }));
}

TEST(Diff, RepeatedIdsAreMatchedOccurrenceByOccurrence) {
    OvDataModel a = checktest::overview();
    a.BatID[0][0][1] = 100; // two battles 100 in op 10
    OvDataModel b = a;
    b.BatName[0][0][1] = "Second";
    EXPECT_EQ(diffLines(a, b), (std::vector<std::string>{"~ 1/10/100 name: 'Battle 101' -> 'Second'"}));
    b.OpsNumberOfBattles[0][0] = 1;
    EXPECT_EQ(diffLines(a, b),
              (std::vector<std::string>{"- 1/10/100 battle 'Battle 101' [45, 15, 70, 50] flags 1-0-1"}));
}

TEST(Diff, AWholeSectorOnlyInOneFileIsOneLine) {
    const OvDataModel a = checktest::overview();
    const OvDataModel b = checktest::sectorFile(2);
    EXPECT_EQ(diffLines(a, b), (std::vector<std::string>{
                                   "~ file picture ID: 1013 -> 1015",
                                   "- 1 sector 'Sector 1' [10, 10, 90, 480], 4 ops",
                                   "- 3 sector 'Sector 3' [190, 10, 270, 480], 3 ops",
                               }));
}
