#include "CheckTestModels.h"
#include "ToolTestSupport.h"
#include "graphics/core/MapComposition.h"
#include "graphics/core/PictureSource.h"
#include "ovdata/OvDataFile.h"

#include <QImage>

#include <cstring>
#include <functional>
#include <gmock/gmock.h>
#include <nlohmann/json.hpp>

using testing::HasSubstr;

namespace {

std::string example(const std::string& name) {
    return std::string(MQ_EXAMPLES_DIR) + "/" + name;
}

class CheckToolTest : public ToolTest {
protected:
    void write(const std::string& name, ov::OvDataModel model) {
        const std::vector<std::uint8_t> bytes = ov::WriteToOvDataFile(model).bytes;
        ASSERT_FALSE(bytes.empty());
        writeText(at(name), std::string(bytes.begin(), bytes.end()));
    }
    // OvData0 and OvData2 of the game's shape in a folder "set", OvData2 changed by `change`.
    void writeSet(const std::function<void(ov::OvDataModel&)>& change) {
        fs::create_directory(at("set"));
        write("set/OvData0", checktest::overview());
        ov::OvDataModel two = checktest::sectorFile(2);
        change(two);
        write("set/OvData2", two);
    }
};

TEST_F(CheckToolTest, ExitCodesFollowTheWorstFinding) {
    writeSet([](ov::OvDataModel& m) { m.BatName[0][0][1].clear(); }); // a warning
    ov::OvDataModel six = checktest::overview();
    six.OpsNumberOfBattles[0][0] = 6;
    write("six", six);
    writeText(at("broken"), std::string("OvDa\0\0", 6));
    fs::create_directory(at("empty"));
    struct Case {
        std::vector<std::string> args;
        int exitCode;
    };
    const Case cases[] = {
        {{"check", at("set")}, 0},
        {{"check", "--warnings-as-errors", at("set")}, 1},
        {{"check", at("set/OvData0")}, 0},
        {{"check", at("six")}, 1},
        {{"check", at("set/OvData0"), at("broken")}, 1},
        {{"check", at("missing")}, 1},
        {{"check", at("empty")}, 1},
        {{"check"}, 2},
        {{"check", "--strict", at("set")}, 2},
        {{"diff", at("set/OvData0"), at("set/OvData0")}, 0},
        {{"diff", at("set/OvData0"), at("six")}, 1},
        {{"diff", at("set/OvData0"), at("missing")}, 1},
        {{"diff", at("set/OvData0")}, 2},
        {{"render", at("set/OvData0"), at("out.png")}, 2},
    };
    for (const Case& c : cases) {
        const ToolRun r = run(c.args);
        EXPECT_EQ(r.exitCode, c.exitCode) << testing::PrintToString(c.args) << "\n" << r.err;
    }
    EXPECT_THAT(run({"check", at("broken")}).err, HasSubstr("sorry, file is damaged or truncated."));
    EXPECT_THAT(run({"check", at("empty")}).err, HasSubstr("holds no files OvData0..OvData9"));
}

TEST_F(CheckToolTest, TextLinesAreSortedByFileThenTreeOrder) {
    writeSet([](ov::OvDataModel& m) {
        m.OvResourceID = 1018;
        m.OpsName[0][1] = "Renamed";
        m.OpsNumberOfBattles[0][3] = 3;
        m.BatID[0][3][2] = 232;
        m.BatName[0][3][2] = "New";
        m.BatXY[0][3][2] = {1, 2, 3, 4};
    });
    ov::OvDataModel loose = checktest::overview();
    loose.SectorXY[0] = {};
    write("loose.ovd", loose);
    const ToolRun r = run({"check", at("set/OvData2"), at("loose.ovd"), at("set/OvData0")});
    EXPECT_EQ(r.exitCode, 1) << r.err;
    const std::string set2 = at("set/OvData2");
    EXPECT_EQ(
        r.out,
        at("loose.ovd") + ": note rect-not-drawn 1: no rectangle set, so nothing is drawn\n" + set2 +
            ": warning picture-id file: picture 1018 is the background pattern of 'Intrface.brm', not a "
            "map\n" +
            set2 + ": warning name-differs 2/21: name 'Renamed' here, 'Op 21' in OvData0\n" + set2 +
            ": error missing-in-overview 2/23/232: OvData0 has no battle 232 in its op 2/23\n");
    EXPECT_THAT(r.err, HasSubstr("1 error, 2 warnings, 1 note"));

    // The same file given alone keeps its number but has no set to be checked in.
    const ToolRun alone = run({"check", set2});
    EXPECT_EQ(alone.exitCode, 0);
    EXPECT_EQ(alone.out, set2 + ": warning picture-id file: picture 1018 is the background pattern of "
                                "'Intrface.brm', not a map\n");
}

TEST_F(CheckToolTest, JsonCarriesEntriesCounterpartsAndSyncs) {
    writeSet([](ov::OvDataModel& m) { m.BatName[0][0][1] = "Other"; });
    const ToolRun r = run({"check", "--json", at("set")});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    const nlohmann::json doc = nlohmann::json::parse(r.out);
    ASSERT_EQ(doc["files"].size(), 2u);
    EXPECT_EQ(doc["files"][1]["number"], 2);
    ASSERT_EQ(doc["findings"].size(), 1u);
    const nlohmann::json& f = doc["findings"][0];
    EXPECT_EQ(f["file"], at("set/OvData2"));
    EXPECT_EQ(f["severity"], "warning");
    EXPECT_EQ(f["code"], "name-differs");
    EXPECT_EQ(f["path"], "2/20/201");
    EXPECT_EQ(f["entry"]["battle_id"], 201);
    EXPECT_EQ(f["entry"]["battle_position"], 1);
    EXPECT_EQ(f["message"], "name 'Other' here, 'Battle 201' in OvData0");
    EXPECT_EQ(f["counterpart"]["file"], at("set/OvData0"));
    EXPECT_EQ(f["counterpart"]["sector_position"], 1);
    EXPECT_EQ(f["sync"], nlohmann::json::array({"copy-to-overview", "take-from-overview"}));
    EXPECT_EQ(f["sync_part"], "name");
    EXPECT_EQ(doc["counts"], nlohmann::json({{"errors", 0}, {"warnings", 1}, {"notes", 0}}));
}

TEST_F(CheckToolTest, DiffPrintsOneLinePerDifference) {
    ov::OvDataModel a = checktest::overview();
    ov::OvDataModel b = a;
    b.BatName[2][0][0] = "F\xE4hre";
    b.OpsNumberOfBattles[0][0] = 1;
    write("a", a);
    write("b", b);
    const ToolRun r = run({"diff", at("a"), at("b")});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.out, "- 1/10/101 battle 'Battle 101' [45, 15, 70, 50] flags 1-0-1\n"
                     "~ 3/30/300 name: 'Battle 300' -> 'F\xC3\xA4hre'\n");
    const ToolRun json = run({"diff", "--json", at("a"), at("b")});
    EXPECT_EQ(json.exitCode, 1);
    const nlohmann::json doc = nlohmann::json::parse(json.out);
    EXPECT_FALSE(doc["equal"]);
    ASSERT_EQ(doc["differences"].size(), 2u);
    EXPECT_EQ(doc["differences"][0]["kind"], "removed");
    EXPECT_EQ(doc["differences"][1]["before"], "'Battle 300'");
    const ToolRun same = run({"diff", "--json", at("a"), at("a")});
    EXPECT_EQ(same.exitCode, 0);
    EXPECT_TRUE(nlohmann::json::parse(same.out)["equal"]);
}

// The PNG holds the core composition of the file's own picture, clipped to the map size.
TEST_F(CheckToolTest, RenderWritesTheComposedMapOfTheFilesPicture) {
    const std::string brm = example("maps/Intrface.brm");
    const ToolRun r = run({"render", example("OvData1"), brm, at("one.png")});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    const QImage written(QString::fromStdString(at("one.png")));
    ASSERT_EQ(written.size(), QSize(314, 491));

    const ov::OvDataModel model = *ov::ReadFromOvDataFile(readText(example("OvData1"))).model;
    gfx::PictureSourceResult source = gfx::PictureSource::open(brm);
    ASSERT_TRUE(source.ok());
    const gfx::PictureResult picture = source.source->picture(model.OvResourceID, {});
    ASSERT_TRUE(picture.ok());
    std::vector<gfx::MapMark> marks;
    const auto mark = [&marks](const ov::Rect& x) { marks.push_back({x[0], x[1], x[2], x[3]}); };
    for (int s = 0; s < model.OvNumberOfSectors; ++s) {
        mark(model.SectorXY[s]);
        for (int o = 0; o < model.SectorNumberOfOps[s]; ++o) {
            mark(model.OpsXY[s][o]);
            for (int b = 0; b < model.OpsNumberOfBattles[s][o]; ++b)
                mark(model.BatXY[s][o][b]);
        }
    }
    const gfx::RgbImage expected = gfx::toRgbImage(gfx::composeMap(&picture.image, 314, 491, marks));
    const QImage rgb = written.convertToFormat(QImage::Format_RGB888);
    int wrong = 0;
    for (int y = 0; y < 491; ++y)
        wrong += std::memcmp(rgb.constScanLine(y), expected.row(y), 314 * 3) != 0;
    EXPECT_EQ(wrong, 0);

    // An explicit picture ID wins over the file's; a picture the source lacks is refused.
    EXPECT_EQ(run({"render", example("OvData1"), brm, "1013", at("x.png")}).exitCode, 0);
    const ToolRun missing = run({"render", example("OvData1"), brm, "1030", at("y.png")});
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_FALSE(fs::exists(at("y.png")));
}

} // namespace
