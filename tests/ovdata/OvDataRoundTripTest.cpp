#include "OvDataTestModels.h"
#include "ovdata/OvDataFile.h"

#include <gtest/gtest.h>

using namespace ov;

TEST(OvDataRoundTrip, RandomLegalModelsComeBackEqualAndRewriteToTheSameBytes) {
    for (std::uint32_t seed = 1; seed <= 300; ++seed) {
        OvDataModel model;
        ovtest::fillRandomModel(model, seed, seed % 3 == 0 ? 11 : 4);
        const OvDataWriteResult written = WriteToOvDataFile(model);
        ASSERT_TRUE(written.ok()) << "seed " << seed << ": " << written.message;
        ASSERT_EQ(written.bytes.size(), OvDataFileSize(model));
        OvDataReadResult read = ReadFromOvDataFile(written.bytes);
        ASSERT_TRUE(read.ok()) << "seed " << seed << ": " << read.message;
        ASSERT_EQ(*read.model, model) << "seed " << seed;
        ASSERT_EQ(WriteToOvDataFile(*read.model).bytes, written.bytes) << "seed " << seed;
    }
}

TEST(OvDataRoundTrip, FullModelOf1331BattlesIsTheLargestFile) {
    OvDataModel model;
    ovtest::fillRandomModel(model, 2026, 11, /*full=*/true);
    EXPECT_EQ(model.NumberOfAllBattles(), 1331);
    const OvDataWriteResult written = WriteToOvDataFile(model);
    ASSERT_TRUE(written.ok());
    EXPECT_EQ(written.bytes.size(), 95243u);
    EXPECT_EQ(written.bytes.size(), OvDataLayout::kMaxFileSize);
    const OvDataReadResult read = ReadFromOvDataFile(written.bytes);
    ASSERT_TRUE(read.ok());
    EXPECT_EQ(*read.model, model);
}
