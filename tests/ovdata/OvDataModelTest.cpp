#include "OvDataTestModels.h"

#include <gtest/gtest.h>

using namespace ov;

TEST(OvDataModel, InitPropertiesClearsEverySlotButKeepsTheHeaderFields) {
    OvDataModel m;
    ovtest::fillRandomModel(m, 3, 11, true);
    m.OvNumberOfSectors = 3;
    const std::int32_t resource = m.OvResourceID;
    m.InitProperties();
    EXPECT_EQ(m.OvNumberOfSectors, 3);
    EXPECT_EQ(m.OvResourceID, resource);
    EXPECT_EQ(m.SectorName[2], "");
    EXPECT_EQ(m.OpsID[10][10], 0);
    EXPECT_EQ(m.BatXY[10][10][10], (Rect{0, 0, 0, 0}));
    EXPECT_EQ(m.BatTail[10][10][10], std::string(3, '\0'));
}

TEST(OvDataModel, CountsWalkOnlyTheUsedTree) {
    OvDataModel m = ovtest::northModel();
    m.SectorNumberOfOps[1] = 5;     // beyond OvNumberOfSectors
    m.OpsNumberOfBattles[0][1] = 7; // beyond SectorNumberOfOps
    EXPECT_EQ(m.NumberOfAllOps(), 1);
    EXPECT_EQ(m.NumberOfAllBattles(), 2);
    ovtest::fillRandomModel(m, 4, 11, true);
    EXPECT_EQ(m.NumberOfAllOps(), 121);
    EXPECT_EQ(m.NumberOfAllBattles(), 1331);
}
