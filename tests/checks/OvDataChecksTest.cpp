// The rule table's limits and phrases, and the file rules: for each limit a model just inside it
// (no finding at all) and one just beyond it (exactly that finding of its rule, at that entry,
// with that severity; the filler beyond a raised count may break other rules).
#include "ovdata/OvDataChecks.h"

#include "CheckTestModels.h"
#include "ovdata/OvDataRules.h"

#include <functional>
#include <gtest/gtest.h>
#include <sstream>

using namespace ov;
using checktest::codes;

namespace {

TEST(Rules, ValuesAtAndBeyondEachLimit) {
    const std::pair<std::string, std::string> cases[] = {
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
    for (const auto& [problem, expected] : cases)
        EXPECT_EQ(problem, expected);
}

TEST(Rules, PictureIdsAndOpsPerSector) {
    const std::optional<std::int32_t> expected[] = {1013, 1014, 1015, 1016, 1019, {}, {}, {}, {}, {}};
    for (int n = 0; n <= 9; ++n)
        EXPECT_EQ(rules::expectedPictureId(n), expected[n]) << n;
    EXPECT_EQ(rules::expectedPictureId(-1), std::nullopt);
    for (std::int32_t id = 1010; id <= 1027; ++id)
        EXPECT_EQ(rules::isMapPictureId(id), id >= 1013 && id <= 1024 && id != 1017 && id != 1018) << id;
    for (const auto& [sector, ops] : {std::pair{1, 4}, {2, 4}, {3, 3}, {4, 4}, {0, 4}})
        EXPECT_EQ(rules::gameOpsLimit(sector), ops) << sector;
}

using Change = std::function<void(OvDataModel&)>;

// Adds battles to op (s, o) up to `count` (or cuts it to `count`), numbered as renumbering does.
void battles(OvDataModel& m, int s, int o, int count) {
    for (int b = m.OpsNumberOfBattles[s][o]; b < count; ++b) {
        m.BatID[s][o][b] = m.OpsID[s][o] * 10 + b;
        m.BatName[s][o][b] = "B" + std::to_string(b);
        m.BatXY[s][o][b] = {20, 20, 30, 30};
    }
    m.OpsNumberOfBattles[s][o] = count;
}

// OvDataN's model (N = 1..3) changed by `then`.
Change inFile(
    int n, Change then = [](OvDataModel&) {}) {
    return [n, then](OvDataModel& m) {
        m = checktest::sectorFile(n);
        then(m);
    };
}

// Picture `id`, in OvData0's model or, when n > 0, in OvDataN's.
Change onPicture(std::int32_t id, int n = 0) {
    return [id, n](OvDataModel& m) {
        if (n)
            m = checktest::sectorFile(n);
        m.OvResourceID = id;
    };
}

Change battleRect(Rect rect) {
    return [rect](OvDataModel& m) { m.BatXY[0][0][0] = rect; };
}

// IDs as renumbering from `first` gives them.
Change renumberFrom(int first) {
    return [first](OvDataModel& m) {
        for (int s = 0; s < m.OvNumberOfSectors; ++s) {
            m.SectorID[s] = first + s;
            for (int o = 0; o < m.SectorNumberOfOps[s]; ++o) {
                m.OpsID[s][o] = m.SectorID[s] * 10 + o;
                for (int b = 0; b < m.OpsNumberOfBattles[s][o]; ++b)
                    m.BatID[s][o][b] = m.OpsID[s][o] * 10 + b;
            }
        }
    };
}

// Five battles in every op but the last, which holds `last`: 50 + last battles in all.
Change fiveBattlesPerOp(int last) {
    return [last](OvDataModel& m) {
        for (int s = 0; s < 3; ++s)
            for (int o = 0; o < m.SectorNumberOfOps[s]; ++o)
                battles(m, s, o, s == 2 && o == 2 ? last : 5);
        ASSERT_EQ(m.NumberOfAllBattles(), 50 + last);
    };
}

struct RuleCase {
    const char* name;
    int fileNumber;
    Change change;
    const char* finding; // "severity code idpath" of the one finding of its rule; nullptr: no finding at all
};

void PrintTo(const RuleCase& c, std::ostream* os) {
    *os << c.name;
}

const RuleCase kCases[] = {
    {"the game's own shape", 0, [](OvDataModel&) {}, nullptr},
    {"5 battles in an op", 0, [](OvDataModel& m) { battles(m, 0, 1, 5); }, nullptr},
    {"6 battles in an op", 0, [](OvDataModel& m) { battles(m, 0, 1, 6); }, "error battles-per-op 1/11"},
    {"5 ops in sector 2", 0, [](OvDataModel& m) { m.SectorNumberOfOps[1] = 5; }, "warning ops-per-sector 2"},
    {"4 ops in sector 3", 0, [](OvDataModel& m) { m.SectorNumberOfOps[2] = 4; }, "warning ops-per-sector 3"},
    {"4 ops in OvData3's one sector", 3, inFile(3, [](OvDataModel& m) { m.SectorNumberOfOps[0] = 4; }),
     "warning ops-per-sector 3"},
    {"4 ops in OvData2's one sector on picture 1015", 2, inFile(2), nullptr},
    {"4 sectors", 0, [](OvDataModel& m) { m.OvNumberOfSectors = 4; }, "warning sectors-per-file file"},
    {"2 sectors in OvData1", 1, inFile(1, [](OvDataModel& m) { m.OvNumberOfSectors = 2; }),
     "warning one-sector-per-file file"},
    {"no sector in OvData1", 1, inFile(1, [](OvDataModel& m) { m.OvNumberOfSectors = 0; }),
     "warning one-sector-per-file file"},
    {"OvData2 on picture 1014", 2, onPicture(1014, 2), "warning picture-id file"},
    {"picture 1017 in a file of unknown number", -1, onPicture(1017), "warning picture-id file"},
    {"picture 1018 in a file of unknown number", -1, onPicture(1018), "warning picture-id file"},
    {"picture 1025", -1, onPicture(1025), "warning picture-id file"},
    {"OvData4 on 1019", 4, onPicture(1019, 1), nullptr},
    {"OvData4 on 1020", 4, onPicture(1020, 1), "note picture-id file"},
    {"OvData4 on 1016", 4, onPicture(1016, 1), "warning picture-id file"},
    {"OvData7 on 1022", 7, onPicture(1022, 1), nullptr},
    {"OvData7 on 1014", 7, onPicture(1014, 1), "warning picture-id file"},
    {"rectangle on the last pixels", 0, battleRect({1, 1, 313, 490}), nullptr},
    {"x2 one pixel past the map", 0, battleRect({1, 1, 314, 490}), "warning rect-outside-map 1/10/100"},
    {"y2 one pixel past the map", 0, [](OvDataModel& m) { m.OpsXY[0][0][3] = 491; },
     "warning rect-outside-map 1/10"},
    {"negative x1", 0, [](OvDataModel& m) { m.SectorXY[0][0] = -1; }, "warning rect-outside-map 1"},
    {"a one-pixel-wide rectangle", 0, battleRect({20, 20, 20, 30}), nullptr},
    {"x2 left of x1", 0, battleRect({21, 20, 20, 30}), "warning rect-reversed 1/10/100"},
    {"y2 above y1", 0, battleRect({20, 31, 30, 30}), "warning rect-reversed 1/10/100"},
    {"a coordinate 0", 0, [](OvDataModel& m) { m.BatXY[0][0][1][3] = 0; }, "note rect-not-drawn 1/10/101"},
    {"no rectangle", 0, [](OvDataModel& m) { m.SectorXY[2] = {}; }, "note rect-not-drawn 3"},
    {"coordinate 32767", 0, battleRect({15, 15, 32767, 50}), "warning rect-outside-map 1/10/100"},
    {"coordinate 32768", 0, battleRect({15, 15, 32768, 50}), "error coordinate-range 1/10/100"},
    {"battle IDs repeated in different ops", 0, [](OvDataModel& m) { m.BatID[1][0][0] = m.BatID[0][0][0]; },
     "error duplicate-id 2/20/100"},
    {"op IDs repeated in different sectors", 0, [](OvDataModel& m) { m.OpsID[2][2] = 10; },
     "error duplicate-id 3/10"},
    {"sector IDs repeated", 0, [](OvDataModel& m) { m.SectorID[2] = 1; }, "error duplicate-id 1"},
    {"renumbered from 5", 0, renumberFrom(5), nullptr},
    {"a battle ID off the scheme", 0, [](OvDataModel& m) { m.BatID[0][1][1] = 119; },
     "note id-numbering 1/11/119"},
    {"first sector ID 10", -1, inFile(1, renumberFrom(10)), "note id-numbering 10"},
    {"a name of one character", 0, [](OvDataModel& m) { m.OpsName[0][0] = "x"; }, nullptr},
    {"an empty name", 0, [](OvDataModel& m) { m.OpsName[0][0].clear(); }, "warning empty-name 1/10"},
    {"a name of 49 bytes", 0, [](OvDataModel& m) { m.BatName[0][0][0] = std::string(49, 'x'); }, nullptr},
    {"a name of 50 bytes", 0, [](OvDataModel& m) { m.BatName[0][0][0] = std::string(50, 'x'); },
     "warning name-too-long 1/10/100"},
    {"a name with a zero byte", 0, [](OvDataModel& m) { m.SectorName[1] = std::string("a\0b", 3); },
     "warning name-zero-byte 2"},
    {"50 battles", 0, fiveBattlesPerOp(0), nullptr},
    {"51 battles", 0, fiveBattlesPerOp(1), "warning maps-in-total file"},
    {"a count of 12 in a model built by hand", 0, [](OvDataModel& m) { m.OpsNumberOfBattles[0][0] = 12; },
     "error count-range 1/10"},
};

class FileRuleTest : public testing::TestWithParam<RuleCase> {};

TEST_P(FileRuleTest, ReportsExactlyTheRuleAtItsEntry) {
    const RuleCase& c = GetParam();
    OvDataModel model = checktest::overview();
    c.change(model);
    const std::vector<Finding> findings = CheckFile(model, c.fileNumber);
    std::string severity, code;
    std::istringstream(c.finding ? c.finding : "") >> severity >> code;
    std::vector<std::string> ofRule;
    for (const Finding& f : findings) {
        if (f.code != code)
            continue;
        ofRule.push_back(std::string(severityName(f.severity)) + " " + code + " " + idPathText(f.where));
        EXPECT_EQ(f.where.file, c.fileNumber);
        EXPECT_FALSE(f.message.empty());
        EXPECT_EQ(f.message.find('\n'), std::string::npos);
    }
    if (!c.finding) {
        EXPECT_TRUE(findings.empty()) << testing::PrintToString(codes(findings));
    } else {
        EXPECT_EQ(ofRule, std::vector<std::string>{c.finding}) << testing::PrintToString(codes(findings));
    }
}

INSTANTIATE_TEST_SUITE_P(Limits, FileRuleTest, testing::ValuesIn(kCases), checktest::caseName<RuleCase>);

TEST(FileChecks, MessagesSpeakOfTheValuesInTheProgramsVoice) {
    OvDataModel m = checktest::overview();
    battles(m, 0, 0, 6);
    m.OvResourceID = 1017;
    m.BatXY[0][1][0] = {40, 20, 30, 30};
    m.BatID[0][1][1] = m.BatID[0][1][0];
    std::vector<std::string> lines;
    for (const Finding& f : CheckFile(m, 0))
        lines.push_back(std::string(severityName(f.severity)) + " " + std::string(f.code) + " " +
                        idPathText(f.where) + ": " + f.message);
    const std::vector<std::string> expected = {
        "warning picture-id file: picture 1017 is the game's About screen, not a map",
        "error battles-per-op 1/10: 6 battles in this op; the PC version of the game crashes with more than "
        "5",
        "warning rect-reversed 1/11/110: rectangle 40, 20, 30, 30 has its corners reversed (x2 < x1); the "
        "game may not draw it",
        "error duplicate-id 1/11/110: battle ID 110 is used already by 'Battle 110', battle 1 of op 1/11",
        "note id-numbering 1/11/110: ID 110; renumbering gives 111",
    };
    EXPECT_EQ(lines, expected);
}

TEST(FileChecks, FindingsComeInTreeOrderFileFirstErrorsBeforeWarnings) {
    OvDataModel m = checktest::overview();
    m.BatName[2][0][1].clear();
    m.SectorXY[1] = {1, 1, 1, 0};
    m.OpsID[0][3] = 10; // a second op 10, off the scheme too
    m.OpsNumberOfBattles[0][3] = 0;
    m.OpsXY[0][3] = {400, 10, 20, 20}; // outside and reversed
    m.OvResourceID = 1018;
    EXPECT_EQ(codes(CheckFile(m)),
              (std::vector<std::string>{"picture-id@file", "duplicate-id@1/10", "rect-outside-map@1/10",
                                        "rect-reversed@1/10", "id-numbering@1/10", "rect-not-drawn@2",
                                        "empty-name@3/30/301"}));
}

TEST(FileChecks, CountsAndTheirText) {
    OvDataModel m = checktest::overview();
    const auto counts = [&m] { return CountsText(CountFindings(CheckFile(m))); };
    EXPECT_EQ(counts(), "no findings");
    m.SectorXY[0] = {};
    EXPECT_EQ(counts(), "1 note");
    battles(m, 0, 0, 6);
    battles(m, 0, 1, 7);
    m.OpsName[0][0].clear();
    EXPECT_EQ(counts(), "2 errors, 1 warning, 1 note");
    m.SectorXY[0] = checktest::overview().SectorXY[0];
    EXPECT_EQ(counts(), "2 errors, 1 warning");
}

TEST(FileChecks, AnEmptyOrHandBuiltModelIsWalkedSafely) {
    OvDataModel empty; // never initialised: empty tails, no sectors
    EXPECT_EQ(codes(CheckFile(empty)), (std::vector<std::string>{"picture-id@file"}));
    OvDataModel wild = checktest::overview();
    wild.OvNumberOfSectors = 1000;
    wild.SectorNumberOfOps[0] = -4;
    const std::vector<Finding> found = CheckFile(wild);
    EXPECT_TRUE(
        std::any_of(found.begin(), found.end(), [](const Finding& f) { return f.code == "count-range"; }));
}

} // namespace
