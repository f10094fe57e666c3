#include "OvDataTestModels.h"
#include "ovdata/OvDataFile.h"

#include <gtest/gtest.h>
#include <tuple>

using namespace ov;
using ovtest::readFixture;

TEST(OvDataRead, OneSectorFileGivesTheEditorsNewSectorModel) {
    const OvDataReadResult read = ReadFromOvDataFile(readFixture("one_sector_82_bytes.ovdata"));
    ASSERT_TRUE(read.ok()) << read.message;
    EXPECT_EQ(*read.model, ovtest::newSectorFourModel());
    EXPECT_EQ(read.trailingBytes, 0u);
}

TEST(OvDataRead, SignedValuesAndRawTailBytesComeBackAsStored) {
    const OvDataReadResult read = ReadFromOvDataFile(readFixture("north_one_op_two_battles.ovdata"));
    ASSERT_TRUE(read.ok()) << read.message;
    EXPECT_EQ(*read.model, ovtest::northModel());
}

TEST(OvDataRead, QuirksOfStoredFilesAreAccepted) {
    // The format number is not checked.
    OvDataReadResult read = ReadFromOvDataFile(readFixture("format_number_7.ovdata"));
    ASSERT_TRUE(read.ok());
    EXPECT_EQ(*read.model, ovtest::newSectorFourModel());

    // Bytes after the last record are ignored but counted.
    read = ReadFromOvDataFile(readFixture("trailing_bytes.ovdata"));
    ASSERT_TRUE(read.ok());
    EXPECT_EQ(*read.model, ovtest::newSectorFourModel());
    EXPECT_EQ(read.trailingBytes, 6u);

    // A name field without a zero byte is a 50-byte name.
    read = ReadFromOvDataFile(readFixture("name_of_50_bytes_without_zero.ovdata"));
    ASSERT_TRUE(read.ok());
    EXPECT_EQ(read.model->SectorName[0], std::string(50, 'N'));
}

TEST(OvDataRead, MalformedFilesAreRefusedWithTheirMessage) {
    const std::tuple<const char*, std::string_view> cases[] = {
        {"empty.ovdata", OvDataMessages::kFileIsEmpty},
        {"shorter_than_magic.ovdata", OvDataMessages::kNoHeader},
        {"bad_magic.ovdata", OvDataMessages::kNoHeader},
        {"lowercase_magic.ovdata", OvDataMessages::kNoHeader},
        {"truncated_header.ovdata", OvDataMessages::kDamaged},
        {"truncated_in_sector_record.ovdata", OvDataMessages::kDamaged},
        {"truncated_in_battle_tail.ovdata", OvDataMessages::kDamaged},
        {"sector_count_12.ovdata", OvDataMessages::kDamaged},
        {"sector_count_negative.ovdata", OvDataMessages::kDamaged},
        {"op_count_12.ovdata", OvDataMessages::kDamaged},
        {"battle_count_negative.ovdata", OvDataMessages::kDamaged},
    };
    for (const auto& [fixture, message] : cases) {
        const OvDataReadResult read = ReadFromOvDataFile(readFixture(fixture));
        EXPECT_FALSE(read.ok()) << fixture;
        EXPECT_EQ(read.message, message) << fixture;
    }
}

TEST(OvDataRead, EveryCutPointIsRefusedAndLeavesTheModelAsItWas) {
    OvDataModel source;
    ovtest::fillRandomModel(source, 7, 3);
    source.OvNumberOfSectors = 2;
    source.SectorNumberOfOps[0] = 2;
    source.OpsNumberOfBattles[0][1] = 3;
    const std::vector<std::uint8_t> file = WriteToOvDataFile(source).bytes;

    const OvDataModel before = ovtest::northModel();
    OvDataModel model = before;
    for (std::size_t cut = 0; cut < file.size(); ++cut) {
        const std::string message = ReadFromOvDataFile(std::span(file.data(), cut), model);
        const std::string_view expected = cut == 0  ? OvDataMessages::kFileIsEmpty
                                          : cut < 4 ? OvDataMessages::kNoHeader
                                                    : OvDataMessages::kDamaged;
        ASSERT_EQ(message, expected) << "cut at " << cut;
        ASSERT_EQ(model, before) << "cut at " << cut;
    }
    EXPECT_EQ(ReadFromOvDataFile(file, model), "");
    EXPECT_EQ(model, source);
}

TEST(OvDataRead, CountsOutsideTheCapacityAtEveryLevelAreDamage) {
    // Patch each count of a valid file in place: -1 and 12 must be refused, 11 with too few
    // records must be refused as truncated, never read beyond the arrays.
    const std::vector<std::uint8_t> file = readFixture("north_one_op_two_battles.ovdata");
    const std::size_t countOffsets[] = {12, 16 + 62, 16 + 66 + 62};
    for (const std::size_t offset : countOffsets) {
        for (const std::int32_t count : {-1, 12, 11, INT32_MIN, INT32_MAX}) {
            std::vector<std::uint8_t> patched = file;
            const auto u = static_cast<std::uint32_t>(count);
            patched[offset] = static_cast<std::uint8_t>(u >> 24);
            patched[offset + 1] = static_cast<std::uint8_t>(u >> 16);
            patched[offset + 2] = static_cast<std::uint8_t>(u >> 8);
            patched[offset + 3] = static_cast<std::uint8_t>(u);
            const OvDataReadResult read = ReadFromOvDataFile(patched);
            EXPECT_EQ(read.message, OvDataMessages::kDamaged) << "offset " << offset << " count " << count;
        }
    }
}
