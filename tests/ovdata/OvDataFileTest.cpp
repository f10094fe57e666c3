#include "ovdata/OvDataFile.h"

#include "OvDataTestModels.h"

#include <gtest/gtest.h>

using namespace ov;
using ovtest::readFixture;

namespace {

const std::string kEmpty = "file is empty";
const std::string kNoHeader = "no valid 'OvDa' header found";
const std::string kDamaged = "sorry, file is damaged or truncated.";

} // namespace

// The editor's 82-byte new-sector file and one with signed values and raw tail bytes read to
// their model, and the model writes back byte for byte. Stored files' quirks are accepted: the
// format number is not checked, and bytes after the last record are ignored but counted.
TEST(OvDataRead, FixturesAndTheirModelsMatchBothWays) {
    const struct {
        const char* fixture;
        OvDataModel model;
        std::size_t trailing;
        bool writesBack;
    } cases[] = {
        {"one_sector_82_bytes.ovdata", ovtest::newSectorFourModel(), 0, true},
        {"north_one_op_two_battles.ovdata", ovtest::northModel(), 0, true},
        {"format_number_7.ovdata", ovtest::newSectorFourModel(), 0, false},
        {"trailing_bytes.ovdata", ovtest::newSectorFourModel(), 6, false},
    };
    for (const auto& c : cases) {
        const std::vector<std::uint8_t> file = readFixture(c.fixture);
        const OvDataReadResult read = ReadFromOvDataFile(file);
        ASSERT_TRUE(read.ok()) << c.fixture << ": " << read.message;
        EXPECT_EQ(*read.model, c.model) << c.fixture;
        EXPECT_EQ(read.trailingBytes, c.trailing) << c.fixture;
        OvDataModel copy = c.model;
        if (c.writesBack) {
            EXPECT_EQ(WriteToOvDataFile(copy).bytes, file) << c.fixture;
        }
    }
    // A name field without a zero byte is a 50-byte name.
    const OvDataReadResult read = ReadFromOvDataFile(readFixture("name_of_50_bytes_without_zero.ovdata"));
    ASSERT_TRUE(read.ok());
    EXPECT_EQ(read.model->SectorName[0], std::string(50, 'N'));
}

// Every cut point and a foreign header are refused with their message (the counts below).
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
        ASSERT_EQ(message, cut == 0 ? kEmpty : cut < 4 ? kNoHeader : kDamaged) << "cut at " << cut;
        ASSERT_EQ(model, before) << "cut at " << cut;
    }
    for (const char* fixture : {"bad_magic.ovdata", "lowercase_magic.ovdata"}) {
        EXPECT_EQ(ReadFromOvDataFile(readFixture(fixture), model), kNoHeader) << fixture;
        EXPECT_EQ(model, before) << fixture;
    }
    EXPECT_EQ(ReadFromOvDataFile(file, model), "");
    EXPECT_EQ(model, source);
}

TEST(OvDataRead, CountsOutsideTheCapacityAtEveryLevelAreDamage) {
    // Patch each count of a valid file in place: -1 and 12 must be refused, 11 with too few
    // records must be refused as truncated, never read beyond the arrays.
    const std::vector<std::uint8_t> file = readFixture("north_one_op_two_battles.ovdata");
    for (const std::size_t offset : {12, 16 + 62, 16 + 66 + 62}) {
        for (const std::int32_t count : {-1, 12, 11, INT32_MIN, INT32_MAX}) {
            std::vector<std::uint8_t> patched = file;
            for (int i = 0; i < 4; ++i)
                patched[offset + std::size_t(i)] =
                    static_cast<std::uint8_t>(static_cast<std::uint32_t>(count) >> (24 - 8 * i));
            EXPECT_EQ(ReadFromOvDataFile(patched).message, kDamaged)
                << "offset " << offset << " count " << count;
        }
    }
}

TEST(OvDataWrite, NamesAreCutTo49BytesAndTerminatedBeforeTheFiller) {
    OvDataModel model = ovtest::newSectorFourModel();
    for (const std::size_t length : {0u, 48u, 49u, 50u, 60u}) {
        model.SectorName[0] = std::string(length, 'x');
        const std::vector<std::uint8_t> bytes = WriteToOvDataFile(model).bytes;
        const std::size_t kept = std::min<std::size_t>(length, 49);
        const std::size_t field = 20;
        EXPECT_EQ(bytes[field + kept], 0) << length;
        for (std::size_t k = field + kept + 1; k < field + 50; ++k)
            ASSERT_EQ(bytes[k], 0xA3) << length;
        EXPECT_EQ(ReadFromOvDataFile(bytes).model->SectorName[0], std::string(kept, 'x'));
    }
}

TEST(OvDataWrite, ShortTailsAreCompletedFormatNumberIsOneAndStaleSlotsAreLeftOut) {
    OvDataModel model = ovtest::northModel();
    model.BatTail[0][0][0].clear();
    model.BatTail[0][0][1] = std::string("\x05", 1);
    const OvDataWriteResult written = WriteToOvDataFile(model);
    ASSERT_TRUE(written.ok());
    EXPECT_EQ(model.BatTail[0][0][0], std::string(3, '\0'));
    EXPECT_EQ(model.BatTail[0][0][1], std::string("\x05\x00\x00", 3));
    EXPECT_EQ(std::vector<std::uint8_t>(written.bytes.end() - 3, written.bytes.end()),
              (std::vector<std::uint8_t>{5, 0, 0}));

    OvDataModel fromFormat7 = *ReadFromOvDataFile(ovtest::readFixture("format_number_7.ovdata")).model;
    EXPECT_EQ(WriteToOvDataFile(fromFormat7).bytes[7], 1);

    // A stale, unused slot beyond the counts must neither be written nor refused.
    model.OpsNumberOfBattles[0][0] = 1;
    model.BatXY[0][0][1][0] = 99999;
    const OvDataWriteResult shorter = WriteToOvDataFile(model);
    ASSERT_TRUE(shorter.ok()) << shorter.message;
    EXPECT_EQ(shorter.bytes.size(), 16u + 66 + 66 + 65);
    // Counts beyond the level above are stale slots too, and not counted.
    model.SectorNumberOfOps[1] = 5;
    model.OpsNumberOfBattles[0][1] = 7;
    EXPECT_EQ(model.NumberOfAllOps(), 1);
    EXPECT_EQ(model.NumberOfAllBattles(), 1);
    EXPECT_EQ(WriteToOvDataFile(model).bytes, shorter.bytes);
}

TEST(OvDataWrite, ValuesTheFileCannotHoldAreRefusedNamingTheEntryAndChangeNothing) {
    struct Case {
        const char* what;
        void (*spoil)(OvDataModel&);
        const char* message;
    };
    const Case cases[] = {
        {"battle coordinate", [](OvDataModel& m) { m.BatXY[0][0][1][2] = 40000; },
         "sorry, battle 'B2' (ID 101): coordinate 40000 is outside -32768..32767."},
        {"op coordinate", [](OvDataModel& m) { m.OpsXY[0][0][0] = -32769; },
         "sorry, op 'Op A' (ID 10): coordinate -32769 is outside -32768..32767."},
        {"sector coordinate, Latin-1 name",
         [](OvDataModel& m) {
             m.SectorName[0] = "F\xE4hre";
             m.SectorXY[0][3] = 32768;
         },
         "sorry, sector 'F\xC3\xA4hre' (ID 1): coordinate 32768 is outside -32768..32767."},
        {"sector count", [](OvDataModel& m) { m.OvNumberOfSectors = 12; },
         "sorry, the file: 12 sectors are outside 0..11."},
        {"negative op count", [](OvDataModel& m) { m.SectorNumberOfOps[0] = -1; },
         "sorry, sector 'North' (ID 1): -1 ops are outside 0..11."},
        {"battle count", [](OvDataModel& m) { m.OpsNumberOfBattles[0][0] = 12; },
         "sorry, op 'Op A' (ID 10): 12 battles are outside 0..11."},
        {"long tail", [](OvDataModel& m) { m.BatTail[0][0][1] = "abcd"; },
         "sorry, battle 'B2' (ID 101) has 4 flag bytes; a battle holds 3."},
    };
    for (const Case& c : cases) {
        OvDataModel model = ovtest::northModel();
        model.BatTail[0][0][0].clear(); // would be completed by a successful write
        c.spoil(model);
        const OvDataModel before = model;
        const OvDataWriteResult written = WriteToOvDataFile(model);
        EXPECT_EQ(written.message, c.message) << c.what;
        EXPECT_TRUE(written.bytes.empty()) << c.what;
        EXPECT_EQ(model, before) << c.what;
    }
}

// Seed 0 is the full model of 11 x 11 x 11 battles, the largest file there can be.
TEST(OvDataRoundTrip, RandomLegalModelsComeBackEqualAndRewriteToTheSameBytes) {
    for (std::uint32_t seed = 0; seed <= 300; ++seed) {
        OvDataModel model;
        ovtest::fillRandomModel(model, seed, seed % 3 == 0 ? 11 : 4, /*full=*/seed == 0);
        const OvDataWriteResult written = WriteToOvDataFile(model);
        ASSERT_TRUE(written.ok()) << "seed " << seed << ": " << written.message;
        ASSERT_EQ(written.bytes.size(), OvDataFileSize(model));
        OvDataReadResult read = ReadFromOvDataFile(written.bytes);
        ASSERT_TRUE(read.ok()) << "seed " << seed << ": " << read.message;
        ASSERT_EQ(*read.model, model) << "seed " << seed;
        ASSERT_EQ(WriteToOvDataFile(*read.model).bytes, written.bytes) << "seed " << seed;
        if (seed == 0) {
            EXPECT_EQ(written.bytes.size(), 95243u);
        }
    }
}
