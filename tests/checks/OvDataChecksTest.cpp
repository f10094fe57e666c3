// The file rules, one table: for each limit a model just inside it (no finding of that rule) and
// one just beyond it (exactly that finding, at that entry, with that severity).
#include "ovdata/OvDataChecks.h"

#include "CheckTestModels.h"

#include <functional>
#include <gtest/gtest.h>

using namespace ov;
using checktest::codes;

namespace {

struct RuleCase {
    const char* name;
    int fileNumber;
    std::function<void(OvDataModel&)> change;
    const char* code; // the rule that must report, or nullptr for "no finding at all"
    Severity severity;
    const char* idPath; // where it must report
};

// Adds battles to op (s, o) up to `count`, numbered as renumbering does, drawn on the map.
void battles(OvDataModel& m, int s, int o, int count) {
    for (int b = m.OpsNumberOfBattles[s][o]; b < count; ++b) {
        m.BatID[s][o][b] = m.OpsID[s][o] * 10 + b;
        m.BatName[s][o][b] = "B" + std::to_string(b);
        m.BatXY[s][o][b] = {20, 20, 30, 30};
    }
    m.OpsNumberOfBattles[s][o] = count;
}

void ops(OvDataModel& m, int s, int count) {
    for (int o = m.SectorNumberOfOps[s]; o < count; ++o) {
        m.OpsID[s][o] = m.SectorID[s] * 10 + o;
        m.OpsName[s][o] = "O" + std::to_string(o);
        m.OpsXY[s][o] = {20, 20, 30, 30};
        m.OpsNumberOfBattles[s][o] = 0;
    }
    m.SectorNumberOfOps[s] = count;
}

void sectors(OvDataModel& m, int count) {
    for (int s = m.OvNumberOfSectors; s < count; ++s) {
        m.SectorID[s] = s + 1;
        m.SectorName[s] = "S" + std::to_string(s);
        m.SectorXY[s] = {20, 20, 30, 30};
        m.SectorNumberOfOps[s] = 0;
    }
    m.OvNumberOfSectors = count;
}

void PrintTo(const RuleCase& c, std::ostream* os) {
    *os << c.name;
}

const RuleCase kCases[] = {
    {"the game's own shape", 0, [](OvDataModel&) {}, nullptr, Severity::Note, ""},
    {"5 battles in an op", 0, [](OvDataModel& m) { battles(m, 0, 1, 5); }, nullptr, Severity::Note, ""},
    {"6 battles in an op", 0, [](OvDataModel& m) { battles(m, 0, 1, 6); }, "battles-per-op", Severity::Error,
     "1/11"},
    {"4 ops in sector 2", 0, [](OvDataModel&) {}, nullptr, Severity::Note, ""},
    {"5 ops in sector 2", 0, [](OvDataModel& m) { ops(m, 1, 5); }, "ops-per-sector", Severity::Warning, "2"},
    {"4 ops in sector 3", 0, [](OvDataModel& m) { ops(m, 2, 4); }, "ops-per-sector", Severity::Warning, "3"},
    {"4 ops in OvData3's one sector", 3,
     [](OvDataModel& m) {
         m = checktest::sectorFile(3);
         ops(m, 0, 4);
     },
     "ops-per-sector", Severity::Warning, "3"},
    {"4 ops in OvData2's one sector", 2, [](OvDataModel& m) { m = checktest::sectorFile(2); }, nullptr,
     Severity::Note, ""},
    {"4 sectors", 0, [](OvDataModel& m) { sectors(m, 4); }, "sectors-per-file", Severity::Warning, "file"},
    {"2 sectors in OvData1", 1,
     [](OvDataModel& m) {
         m = checktest::sectorFile(1);
         sectors(m, 2);
     },
     "one-sector-per-file", Severity::Warning, "file"},
    {"no sector in OvData1", 1,
     [](OvDataModel& m) {
         m = checktest::sectorFile(1);
         m.OvNumberOfSectors = 0;
     },
     "one-sector-per-file", Severity::Warning, "file"},
    {"OvData2 on picture 1015", 2, [](OvDataModel& m) { m = checktest::sectorFile(2); }, nullptr,
     Severity::Note, ""},
    {"OvData2 on picture 1014", 2,
     [](OvDataModel& m) {
         m = checktest::sectorFile(2);
         m.OvResourceID = 1014;
     },
     "picture-id", Severity::Warning, "file"},
    {"picture 1017 in a file of unknown number", -1, [](OvDataModel& m) { m.OvResourceID = 1017; },
     "picture-id", Severity::Warning, "file"},
    {"picture 1018 in a file of unknown number", -1, [](OvDataModel& m) { m.OvResourceID = 1018; },
     "picture-id", Severity::Warning, "file"},
    {"picture 1024 in a file of unknown number", -1, [](OvDataModel& m) { m.OvResourceID = 1024; }, nullptr,
     Severity::Note, ""},
    {"picture 1025", -1, [](OvDataModel& m) { m.OvResourceID = 1025; }, "picture-id", Severity::Warning,
     "file"},
    {"picture 1012", -1, [](OvDataModel& m) { m.OvResourceID = 1012; }, "picture-id", Severity::Warning,
     "file"},
    {"OvData4 on 1019", 4,
     [](OvDataModel& m) {
         m = checktest::sectorFile(1);
         m.OvResourceID = 1019;
     },
     nullptr, Severity::Note, ""},
    {"OvData4 on 1020", 4,
     [](OvDataModel& m) {
         m = checktest::sectorFile(1);
         m.OvResourceID = 1020;
     },
     "picture-id", Severity::Note, "file"},
    {"OvData4 on 1016", 4,
     [](OvDataModel& m) {
         m = checktest::sectorFile(1);
         m.OvResourceID = 1016;
     },
     "picture-id", Severity::Warning, "file"},
    {"OvData7 on 1022", 7,
     [](OvDataModel& m) {
         m = checktest::sectorFile(1);
         m.OvResourceID = 1022;
     },
     nullptr, Severity::Note, ""},
    {"OvData7 on 1014", 7,
     [](OvDataModel& m) {
         m = checktest::sectorFile(1);
         m.OvResourceID = 1014;
     },
     "picture-id", Severity::Warning, "file"},
    {"rectangle on the last pixels", 0,
     [](OvDataModel& m) {
         m.BatXY[0][0][0] = {1, 1, 313, 490};
     },
     nullptr, Severity::Note, ""},
    {"x2 one pixel past the map", 0,
     [](OvDataModel& m) {
         m.BatXY[0][0][0] = {1, 1, 314, 490};
     },
     "rect-outside-map", Severity::Warning, "1/10/100"},
    {"y2 one pixel past the map", 0,
     [](OvDataModel& m) {
         m.OpsXY[0][0] = {1, 1, 313, 491};
     },
     "rect-outside-map", Severity::Warning, "1/10"},
    {"negative x1", 0,
     [](OvDataModel& m) {
         m.SectorXY[0] = {-1, 1, 313, 490};
     },
     "rect-outside-map", Severity::Warning, "1"},
    {"a one-pixel-wide rectangle", 0,
     [](OvDataModel& m) {
         m.BatXY[0][0][0] = {20, 20, 20, 30};
     },
     nullptr, Severity::Note, ""},
    {"x2 left of x1", 0,
     [](OvDataModel& m) {
         m.BatXY[0][0][0] = {21, 20, 20, 30};
     },
     "rect-reversed", Severity::Warning, "1/10/100"},
    {"y2 above y1", 0,
     [](OvDataModel& m) {
         m.BatXY[0][0][0] = {20, 31, 30, 30};
     },
     "rect-reversed", Severity::Warning, "1/10/100"},
    {"a coordinate 0", 0, [](OvDataModel& m) { m.BatXY[0][0][1][3] = 0; }, "rect-not-drawn", Severity::Note,
     "1/10/101"},
    {"no rectangle", 0, [](OvDataModel& m) { m.SectorXY[2] = {}; }, "rect-not-drawn", Severity::Note, "3"},
    {"coordinate 32767", 0, [](OvDataModel& m) { m.BatXY[0][0][0][2] = 32767; }, "rect-outside-map",
     Severity::Warning, "1/10/100"},
    {"coordinate 32768", 0, [](OvDataModel& m) { m.BatXY[0][0][0][2] = 32768; }, "coordinate-range",
     Severity::Error, "1/10/100"},
    {"battle IDs repeated in different ops", 0, [](OvDataModel& m) { m.BatID[1][0][0] = m.BatID[0][0][0]; },
     "duplicate-id", Severity::Error, "2/20/100"},
    {"op IDs repeated in different sectors", 0, [](OvDataModel& m) { m.OpsID[2][2] = 10; }, "duplicate-id",
     Severity::Error, "3/10"},
    {"sector IDs repeated", 0, [](OvDataModel& m) { m.SectorID[2] = 1; }, "duplicate-id", Severity::Error,
     "1"},
    {"renumbered from 5", 0,
     [](OvDataModel& m) {
         for (int s = 0; s < 3; ++s) {
             m.SectorID[s] = 5 + s;
             for (int o = 0; o < m.SectorNumberOfOps[s]; ++o) {
                 m.OpsID[s][o] = m.SectorID[s] * 10 + o;
                 for (int b = 0; b < m.OpsNumberOfBattles[s][o]; ++b)
                     m.BatID[s][o][b] = m.OpsID[s][o] * 10 + b;
             }
         }
     },
     nullptr, Severity::Note, ""},
    {"a battle ID off the scheme", 0, [](OvDataModel& m) { m.BatID[0][1][1] = 119; }, "id-numbering",
     Severity::Note, "1/11/119"},
    {"first sector ID 10", -1,
     [](OvDataModel& m) {
         m = checktest::sectorFile(1);
         m.SectorID[0] = 10;
         for (int o = 0; o < m.SectorNumberOfOps[0]; ++o) {
             m.OpsID[0][o] = 100 + o;
             for (int b = 0; b < m.OpsNumberOfBattles[0][o]; ++b)
                 m.BatID[0][o][b] = m.OpsID[0][o] * 10 + b;
         }
         m.OvResourceID = 1014;
     },
     "id-numbering", Severity::Note, "10"},
    {"a name of one character", 0, [](OvDataModel& m) { m.OpsName[0][0] = "x"; }, nullptr, Severity::Note,
     ""},
    {"an empty name", 0, [](OvDataModel& m) { m.OpsName[0][0].clear(); }, "empty-name", Severity::Warning,
     "1/10"},
    {"a name of 49 bytes", 0, [](OvDataModel& m) { m.BatName[0][0][0] = std::string(49, 'x'); }, nullptr,
     Severity::Note, ""},
    {"a name of 50 bytes", 0, [](OvDataModel& m) { m.BatName[0][0][0] = std::string(50, 'x'); },
     "name-too-long", Severity::Warning, "1/10/100"},
    {"a name with a zero byte", 0, [](OvDataModel& m) { m.SectorName[1] = std::string("a\0b", 3); },
     "name-zero-byte", Severity::Warning, "2"},
    {"50 battles", 0,
     [](OvDataModel& m) {
         // 22 battles already; five more in each of six ops gives 5 x 4 + 3 x 2 ... counted exactly:
         for (int o = 0; o < 4; ++o)
             battles(m, 0, o, 5);
         for (int o = 0; o < 4; ++o)
             battles(m, 1, o, 5);
         for (int o = 0; o < 3; ++o)
             battles(m, 2, o, o < 2 ? 5 : 0);
         ASSERT_EQ(m.NumberOfAllBattles(), 50);
     },
     nullptr, Severity::Note, ""},
    {"51 battles", 0,
     [](OvDataModel& m) {
         for (int o = 0; o < 4; ++o)
             battles(m, 0, o, 5);
         for (int o = 0; o < 4; ++o)
             battles(m, 1, o, 5);
         for (int o = 0; o < 3; ++o)
             battles(m, 2, o, o < 2 ? 5 : 1);
         ASSERT_EQ(m.NumberOfAllBattles(), 51);
     },
     "maps-in-total", Severity::Warning, "file"},
    {"a count of 12 in a model built by hand", 0, [](OvDataModel& m) { m.OpsNumberOfBattles[0][0] = 12; },
     "count-range", Severity::Error, "1/10"},
};

class FileRuleTest : public testing::TestWithParam<RuleCase> {};

TEST_P(FileRuleTest, ReportsExactlyTheRuleAtItsEntry) {
    const RuleCase& c = GetParam();
    OvDataModel model = checktest::overview();
    c.change(model);
    const std::vector<Finding> findings = CheckFile(model, c.fileNumber);
    if (!c.code) {
        EXPECT_TRUE(findings.empty()) << testing::PrintToString(codes(findings));
        return;
    }
    int matching = 0;
    for (const Finding& f : findings) {
        if (f.code != c.code)
            continue;
        ++matching;
        EXPECT_EQ(f.severity, c.severity);
        EXPECT_EQ(idPathText(f.where), c.idPath);
        EXPECT_EQ(f.where.file, c.fileNumber);
        EXPECT_FALSE(f.message.empty());
        EXPECT_EQ(f.message.find('\n'), std::string::npos);
    }
    EXPECT_EQ(matching, 1) << testing::PrintToString(codes(findings));
}

INSTANTIATE_TEST_SUITE_P(Limits, FileRuleTest, testing::ValuesIn(kCases), checktest::caseName<RuleCase>);

TEST(FileChecks, MessagesSpeakOfTheValuesInTheProgramsVoice) {
    OvDataModel m = checktest::overview();
    battles(m, 0, 0, 6);
    m.OvResourceID = 1017;
    m.BatXY[0][1][0] = {40, 20, 30, 30};
    m.BatID[0][1][1] = m.BatID[0][1][0];
    const std::vector<Finding> findings = CheckFile(m, 0);
    std::vector<std::string> lines;
    for (const Finding& f : findings)
        lines.push_back(std::string(severityName(f.severity)) + " " + std::string(f.code) + " " +
                        idPathText(f.where) + ": " + f.message);
    const std::vector<std::string> expected = {
        "warning picture-id file: picture 1017 is the game's About screen, not a map",
        "error battles-per-op 1/10: 6 battles in this op; the PC version of the game crashes with more than "
        "5",
        "warning rect-reversed 1/11/110: rectangle 40, 20, 30, 30 has its corners reversed (x2 < x1); the "
        "game may "
        "not draw it",
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
    EXPECT_EQ(CountsText(CountFindings(CheckFile(m))), "no findings");
    m.SectorXY[1] = {};
    EXPECT_EQ(CountsText(CountFindings(CheckFile(m))), "1 note");
    m.SectorXY[1] = checktest::overview().SectorXY[1];
    battles(m, 0, 0, 6);
    battles(m, 0, 1, 7);
    m.OpsName[0][0].clear();
    EXPECT_EQ(CountsText(CountFindings(CheckFile(m))), "2 errors, 1 warning");
    m.SectorXY[0] = {};
    EXPECT_EQ(CountsText(CountFindings(CheckFile(m))), "2 errors, 1 warning, 1 note");
}

TEST(FileChecks, AnEmptyOrHandBuiltModelIsWalkedSafely) {
    OvDataModel empty; // never initialised: empty tails, no sectors
    EXPECT_EQ(codes(CheckFile(empty)), (std::vector<std::string>{"picture-id@file"}));
    OvDataModel wild = checktest::overview();
    wild.OvNumberOfSectors = 1000;
    wild.SectorNumberOfOps[0] = -4;
    const std::vector<Finding> findings = CheckFile(wild);
    EXPECT_TRUE(checktest::has(findings, "count-range"));
}

} // namespace
