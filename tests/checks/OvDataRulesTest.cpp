// The rule table: the limits at their edges and the one phrase per limit that the writer, the
// tool's JSON reader and the checks share.
#include "ovdata/OvDataRules.h"

#include "ovdata/OvDataFile.h"

#include <gtest/gtest.h>

using namespace ov;

TEST(Rules, ValuesAtAndBeyondEachLimit) {
    struct Case {
        std::string problem;
        std::string expected;
    };
    const Case cases[] = {
        {rules::coordinateProblem(-32768), ""},
        {rules::coordinateProblem(32767), ""},
        {rules::coordinateProblem(-32769), "coordinate -32769 is outside -32768..32767"},
        {rules::coordinateProblem(32768), "coordinate 32768 is outside -32768..32767"},
        {rules::countProblem(0, "ops"), ""},
        {rules::countProblem(11, "ops"), ""},
        {rules::countProblem(12, "ops"), "12 ops are outside 0..11"},
        {rules::countProblem(-1, "battles"), "-1 battles are outside 0..11"},
        {rules::nameBytesProblem(std::string(49, 'x')), ""},
        {rules::nameBytesProblem(std::string(50, 'x')),
         "the name has 50 characters; a file holds at most 49"},
        {rules::nameBytesProblem(std::string("a\0", 2)), "a name cannot hold the character U+0000"},
        {rules::nameTextProblem("F\xC3\xA4hre"), ""},
        {rules::nameTextProblem(std::string(48, 'x') + "\xC3\xA4"), ""}, // 49 characters, 50 UTF-8 bytes
        {rules::nameTextProblem("\xC5\x81"),
         "the character U+0141 has no ISO-8859-1 form; names are ISO-8859-1"},
        {rules::nameTextProblem("\xFF"), "the text is not valid UTF-8; names are ISO-8859-1"},
        {rules::outsideRange(256, 0, rules::kMaxFlagByte), "256 is outside 0..255"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.problem, c.expected);
}

TEST(Rules, PictureIdsPerFileNumber) {
    const std::optional<std::int32_t> expected[] = {1013, 1014, 1015, 1016, 1019, {}, {}, {}, {}, {}};
    for (int n = 0; n <= 9; ++n)
        EXPECT_EQ(rules::expectedPictureId(n), expected[n]) << n;
    EXPECT_EQ(rules::expectedPictureId(-1), std::nullopt);
    for (std::int32_t id = 1010; id <= 1027; ++id)
        EXPECT_EQ(rules::isMapPictureId(id), id >= 1013 && id <= 1024 && id != 1017 && id != 1018) << id;
}

TEST(Rules, TheGamesOpsPerSector) {
    EXPECT_EQ(rules::gameOpsLimit(1), 4);
    EXPECT_EQ(rules::gameOpsLimit(2), 4);
    EXPECT_EQ(rules::gameOpsLimit(3), 3);
    EXPECT_EQ(rules::gameOpsLimit(4), 4);
    EXPECT_EQ(rules::gameOpsLimit(0), 4);
}

TEST(Rules, TheFileLayoutTakesItsLimitsFromTheTable) {
    EXPECT_EQ(OvDataLayout::kMinCoordinate, rules::kMinCoordinate);
    EXPECT_EQ(OvDataLayout::kMaxCoordinate, rules::kMaxCoordinate);
    EXPECT_EQ(OvDataLayout::kMaxNameLength, rules::kMaxNameBytes);
}
