#include "ovdata/BatnamesExport.h"

#include "OvDataTestModels.h"

#include <algorithm>
#include <gtest/gtest.h>

using namespace ov;

namespace {

std::string joinLines(std::initializer_list<std::string> lines) {
    std::string text;
    for (const std::string& line : lines)
        text += line + "\r";
    return text;
}

const std::string kHead =
    joinLines({"5\t// number of boot camp entries", "Quick Tour of Ironvale", "Monitors and the Toolbar",
               "Viewing Terrain", "Infantry Tactics", "Armor Tactics"});
const std::string kGrand =
    joinLines({"Grand Campaign\t// campaign name", "0\t// campaign number", "0\t// starting battle",
               "1000\t// folder prefix for this campaign", "100\t// map number for preview picture",
               "1\t// 1=enabled / 0=disabled in Command-Screen"});

std::size_t lineCount(const std::string& text) {
    return static_cast<std::size_t>(std::count(text.begin(), text.end(), '\r'));
}

} // namespace

TEST(BatnamesExport, WorkedExampleGivesThe39CarriageReturnLines) {
    const OvDataModel m = ovtest::northModel();
    const std::string expected =
        kHead +
        joinLines({"2\t// number of all battles", "B1\t// name of battle", "1\t// campaign/sector ID",
                   "10\t// operation ID", "0\t// battle sequence in this operation",
                   "100\t// map number for preview picture", "1\t// 1=enabled / 0=disabled in Command-Screen",
                   "B2", "1", "10", "1", "101", "1"}) +
        joinLines({"1\t// number of all operations", "Op A\t// name of operation", "1\t// campaign/sector ID",
                   "10\t// operation ID", "0\t// starting battle", "100\t// map number for preview picture",
                   "1\t// 1=enabled / 0=disabled in Command-Screen"}) +
        joinLines({"2\t// number of all campaigns"}) + kGrand +
        joinLines({"North Sector Campaign", "1", "0", "1100", "100", "1"});
    EXPECT_EQ(ExportAsBatnamesFile(m), expected);
}

TEST(BatnamesExport, EmptyModelGivesFifteenLines) {
    OvDataModel m;
    EXPECT_EQ(ExportAsBatnamesFile(m),
              kHead +
                  joinLines({"0\t// number of all battles", "0\t// number of all operations",
                             "1\t// number of all campaigns"}) +
                  kGrand);
}

TEST(BatnamesExport, CommentsOncePerOpForBattlesAndOncePerSectorForOps) {
    OvDataModel m;
    m.InitProperties();
    m.OvNumberOfSectors = 2;
    for (int s = 0; s < 2; ++s) {
        m.SectorNumberOfOps[s] = 2;
        m.OpsNumberOfBattles[s] = {3, 3};
    }
    m.OpsNumberOfBattles[1][1] = 0; // an op without battles is still listed
    const std::string text = ExportAsBatnamesFile(m);
    const auto occurrences = [&text](const std::string& what) {
        std::size_t n = 0;
        for (std::size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1))
            ++n;
        return n;
    };
    EXPECT_EQ(occurrences("// name of battle"), 3u);
    EXPECT_EQ(occurrences("// name of operation"), 2u);
    EXPECT_EQ(occurrences("// campaign name"), 1u);
    EXPECT_EQ(lineCount(text), 15u + 6 * (9 + 4 + 2));
}

// Map numbers are built as text ("1" + "200", "" + "00"), folder prefixes as numbers; counts
// beyond the capacity never leave the arrays.
TEST(BatnamesExport, MapNumbersPrefixesAndCountsBeyondTheCapacity) {
    OvDataModel m;
    m.InitProperties();
    m.OvNumberOfSectors = 2;
    m.SectorID[0] = 12;
    m.SectorName[0] = "F\xE4hre"; // Latin-1 bytes pass through unchanged
    m.SectorNumberOfOps[1] = 1;
    m.OpsName[1][0] = "Zero";
    std::string text = ExportAsBatnamesFile(m);
    EXPECT_NE(text.find(joinLines({"F\xE4hre Sector Campaign", "12", "0", "2200", "1200", "1"})),
              std::string::npos);
    EXPECT_NE(text.find(joinLines({" Sector Campaign", "0", "0", "1000", "000", "1"})), std::string::npos);
    EXPECT_NE(text.find("00\t// map number for preview picture\r"), std::string::npos);

    m.OvNumberOfSectors = 1000;
    m.SectorNumberOfOps[0] = -5;
    m.SectorNumberOfOps[1] = 99;
    text = ExportAsBatnamesFile(m);
    EXPECT_NE(text.find("12\t// number of all campaigns"), std::string::npos);
    EXPECT_NE(text.find("11\t// number of all operations"), std::string::npos);
}
