#include "OvDataTestModels.h"
#include "ovdata/OvDataFile.h"

#include <gtest/gtest.h>

using namespace ov;

TEST(OvDataWrite, NewSectorModelGivesThe82ByteFileByteForByte) {
    OvDataModel model = ovtest::newSectorFourModel();
    const OvDataWriteResult written = WriteToOvDataFile(model);
    ASSERT_TRUE(written.ok()) << written.message;
    EXPECT_EQ(written.bytes.size(), 82u);
    EXPECT_EQ(written.bytes, ovtest::readFixture("one_sector_82_bytes.ovdata"));
}

TEST(OvDataWrite, MatchesAnIndependentlyBuiltFile) {
    OvDataModel model = ovtest::northModel();
    EXPECT_EQ(WriteToOvDataFile(model).bytes, ovtest::readFixture("north_one_op_two_battles.ovdata"));
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

TEST(OvDataWrite, ShortTailsAreCompletedInTheModelAndFormatNumberIsAlwaysOne) {
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
}

TEST(OvDataWrite, ValuesTheFileCannotHoldAreRefusedNamingTheEntryAndChangeNothing) {
    struct Case {
        const char* what;
        void (*spoil)(OvDataModel&);
        const char* message;
    };
    const Case cases[] = {
        {"battle coordinate", [](OvDataModel& m) { m.BatXY[0][0][1][2] = 40000; },
         "sorry, battle 'B2' (ID 101) has coordinate 40000 outside -32768..32767."},
        {"op coordinate", [](OvDataModel& m) { m.OpsXY[0][0][0] = -32769; },
         "sorry, op 'Op A' (ID 10) has coordinate -32769 outside -32768..32767."},
        {"sector coordinate, Latin-1 name",
         [](OvDataModel& m) {
             m.SectorName[0] = "F\xE4hre";
             m.SectorXY[0][3] = 32768;
         },
         "sorry, sector 'F\xC3\xA4hre' (ID 1) has coordinate 32768 outside -32768..32767."},
        {"sector count", [](OvDataModel& m) { m.OvNumberOfSectors = 12; },
         "sorry, the file has 12 sectors, outside 0..11."},
        {"negative op count", [](OvDataModel& m) { m.SectorNumberOfOps[0] = -1; },
         "sorry, sector 'North' (ID 1) has -1 ops, outside 0..11."},
        {"battle count", [](OvDataModel& m) { m.OpsNumberOfBattles[0][0] = 12; },
         "sorry, op 'Op A' (ID 10) has 12 battles, outside 0..11."},
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

TEST(OvDataWrite, EntriesBeyondTheCountsAreNotWritten) {
    OvDataModel model = ovtest::northModel();
    model.OpsNumberOfBattles[0][0] = 1;
    model.BatXY[0][0][1][0] = 99999; // stale, unused slot: must neither be written nor refused
    const OvDataWriteResult written = WriteToOvDataFile(model);
    ASSERT_TRUE(written.ok()) << written.message;
    EXPECT_EQ(written.bytes.size(), 16u + 66 + 66 + 65);
}
