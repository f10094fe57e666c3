#include "OvDataTestModels.h"
#include "ovdata/BatnamesExport.h"
#include "ovdata/OvDataFile.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

namespace fs = std::filesystem;
using testing::HasSubstr;

namespace {

std::string readText(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void writeText(const fs::path& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
}

struct ToolRun {
    int exitCode = -1;
    std::string out;
    std::string err;
};

class ToolTest : public testing::Test {
protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "mq-tool-test-XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        dir_ = pattern;
    }
    void TearDown() override { fs::remove_all(dir_); }

    fs::path at(const std::string& name) const { return dir_ / name; }

    ToolRun tool(const std::string& arguments) const {
        const std::string command = std::string("'") + MQ_TOOL_PATH + "' " + arguments + " >'" +
                                    at(".out").string() + "' 2>'" + at(".err").string() + "'";
        const int status = std::system(command.c_str());
        ToolRun run;
        run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        run.out = readText(at(".out"));
        run.err = readText(at(".err"));
        fs::remove(at(".out"));
        fs::remove(at(".err"));
        return run;
    }

    static std::string q(const fs::path& path) { return "'" + path.string() + "'"; }

    fs::path dir_;
};

std::string fixturePath(const std::string& name) {
    return std::string(MQ_TEST_DATA_DIR) + "/ovdata/" + name;
}

} // namespace

TEST_F(ToolTest, DumpThenBuildGivesBackTheSameBytes) {
    std::vector<std::string> inputs = {fixturePath("one_sector_82_bytes.ovdata"),
                                       fixturePath("north_one_op_two_battles.ovdata")};
    for (int n = 0; n <= 3; ++n)
        inputs.push_back(std::string(MQ_EXAMPLES_DIR) + "/OvData" + std::to_string(n));
    ov::OvDataModel full;
    ovtest::fillRandomModel(full, 99, 11, true);
    const std::vector<std::uint8_t> fullBytes = ov::WriteToOvDataFile(full).bytes;
    writeText(at("full"), std::string(fullBytes.begin(), fullBytes.end()));
    inputs.push_back(at("full").string());

    for (const std::string& input : inputs) {
        const ToolRun dump = tool("dump " + q(input));
        ASSERT_EQ(dump.exitCode, 0) << input << ": " << dump.err;
        writeText(at("model.json"), dump.out);
        const ToolRun build = tool("build " + q(at("model.json")) + " " + q(at("rebuilt")));
        ASSERT_EQ(build.exitCode, 0) << input << ": " << build.err;
        EXPECT_EQ(readText(at("rebuilt")), readText(input)) << input;
    }
}

TEST_F(ToolTest, ExamplesAreTheirSourcesBuilt) {
    for (int n = 0; n <= 3; ++n) {
        const std::string name = "OvData" + std::to_string(n);
        const ToolRun dump = tool("dump " + q(std::string(MQ_EXAMPLES_DIR) + "/" + name));
        ASSERT_EQ(dump.exitCode, 0) << dump.err;
        EXPECT_EQ(dump.out, readText(std::string(MQ_EXAMPLES_DIR) + "/src/" + name + ".json")) << name;
    }
}

TEST_F(ToolTest, BatnamesWritesTheCoreExport) {
    const std::string input = std::string(MQ_EXAMPLES_DIR) + "/OvData0";
    const ToolRun run = tool("batnames " + q(input) + " " + q(at("Batnames")));
    ASSERT_EQ(run.exitCode, 0) << run.err;
    const std::string bytes = readText(input);
    EXPECT_EQ(readText(at("Batnames")), ov::ExportAsBatnamesFile(*ov::ReadFromOvDataFile(bytes).model));
    EXPECT_THAT(readText(at("Batnames")), HasSubstr("F\xE4hrmann's Crossing\t// name of battle\r"));
}

TEST_F(ToolTest, ExitCodesTellUsageFromBadInput) {
    EXPECT_EQ(tool("").exitCode, 2);
    EXPECT_EQ(tool("frobnicate x").exitCode, 2);
    EXPECT_EQ(tool("dump").exitCode, 2);
    EXPECT_EQ(tool("build a.json").exitCode, 2);
    EXPECT_EQ(tool("batnames a b c").exitCode, 2);

    const ToolRun help = tool("--help");
    EXPECT_EQ(help.exitCode, 0);
    for (const char* word : {"dump OVDATA", "build JSON OVDATA", "batnames OVDATA OUT"})
        EXPECT_THAT(help.out, HasSubstr(word));

    const std::pair<std::string, std::string> bad[] = {
        {at("missing").string(), "sorry, file failed to open"},
        {dir_.string(), "sorry, file failed to open"},
        {fixturePath("empty.ovdata"), "file is empty"},
        {fixturePath("lowercase_magic.ovdata"), "no valid 'OvDa' header found"},
        {fixturePath("truncated_in_battle_tail.ovdata"), "sorry, file is damaged or truncated."},
        {fixturePath("op_count_12.ovdata"), "sorry, file is damaged or truncated."},
    };
    for (const auto& [input, message] : bad) {
        const ToolRun dump = tool("dump " + q(input));
        EXPECT_EQ(dump.exitCode, 1) << input;
        EXPECT_THAT(dump.err, HasSubstr(message)) << input;
        EXPECT_EQ(dump.out, "") << input;
        const ToolRun batnames = tool("batnames " + q(input) + " " + q(at("out")));
        EXPECT_EQ(batnames.exitCode, 1) << input;
        EXPECT_FALSE(fs::exists(at("out"))) << input;
    }

    const ToolRun trailing = tool("dump " + q(fixturePath("trailing_bytes.ovdata")));
    EXPECT_EQ(trailing.exitCode, 0);
    EXPECT_THAT(trailing.err, HasSubstr("bytes after its last record"));
}

TEST_F(ToolTest, BuildRefusesWhatTheFileCannotHoldAndLeavesTheTargetAlone) {
    const auto battle = [](const std::string& fields) {
        return R"({"resource_id": 1013, "sectors": [{"id": 1, "name": "S", "rect": [1, 2, 3, 4], "ops": [)"
               R"({"id": 10, "name": "O", "rect": [1, 2, 3, 4], "battles": [{)" +
               fields + "}]}]}]}";
    };
    const std::string okBattle = R"("id": 100, "name": "B", "rect": [1, 2, 3, 4], "flags": [0, 1, 0])";
    std::string twelveSectors = R"({"resource_id": 1, "sectors": [)";
    for (int s = 0; s < 12; ++s)
        twelveSectors +=
            std::string(s ? "," : "") + R"({"id": 1, "name": "S", "rect": [0,0,0,0], "ops": []})";
    twelveSectors += "]}";

    const std::pair<std::string, std::string> cases[] = {
        {battle(okBattle) + "x", "sorry, the JSON cannot be read"},
        {twelveSectors, "sorry, sectors: 12 sectors are more than the 11 a file holds."},
        {battle(R"("id": 100, "name": "B", "rect": [1, 2, 40000, 4], "flags": [0, 1, 0])"),
         "sorry, sectors[0].ops[0].battles[0].rect[2]: 40000 is outside -32768..32767."},
        {battle(R"("id": 100, "name": "B", "rect": [1, 2, 3], "flags": [0, 1, 0])"),
         "rect: expected a list of 4"},
        {battle(R"("id": 100, "name": "B", "rect": [1, 2, 3, 4], "flags": [0, 256, 0])"),
         "flags[1]: 256 is outside 0..255."},
        {battle(R"("id": 2147483648, "name": "B", "rect": [1, 2, 3, 4], "flags": [0, 1, 0])"),
         "battles[0].id: 2147483648 is outside -2147483648..2147483647."},
        {battle(R"("id": 1.5, "name": "B", "rect": [1, 2, 3, 4], "flags": [0, 1, 0])"),
         "expected a whole number"},
        {battle(R"("id": 100, "name": "Łódź", "rect": [1, 2, 3, 4], "flags": [0, 1, 0])"),
         "battles[0].name: the character U+0141 has no ISO-8859-1 form"},
        {battle(R"("id": 100, "name": "A\u0000B", "rect": [1, 2, 3, 4], "flags": [0, 1, 0])"), "U+0000"},
        {battle(R"("id": 100, "name": ")" + std::string(50, 'x') +
                R"(", "rect": [1, 2, 3, 4], "flags": [0, 1, 0])"),
         "the name has 50 characters; a file holds at most 49"},
        {battle(R"("id": 100, "rect": [1, 2, 3, 4], "flags": [0, 1, 0])"), "the field \"name\" is missing"},
        {battle(okBattle + R"(, "flag": [0, 0, 0])"), "unknown field \"flag\""},
        {battle(R"("id": "100", "name": "B", "rect": [1, 2, 3, 4], "flags": [0, 1, 0])"),
         "expected a whole number"},
        {R"([1, 2])", "sorry, the document: expected an object."},
        {battle(R"("id": 100, "name": "B", "name": "C", "rect": [1, 2, 3, 4], "flags": [0, 1, 0])"),
         "the field \"name\" appears twice"},
    };
    writeText(at("OvData1"), "keep me");
    for (const auto& [json, message] : cases) {
        writeText(at("in.json"), json);
        const ToolRun run = tool("build " + q(at("in.json")) + " " + q(at("OvData1")));
        EXPECT_EQ(run.exitCode, 1) << json;
        EXPECT_THAT(run.err, HasSubstr(message)) << json;
        EXPECT_EQ(readText(at("OvData1")), "keep me") << json;
    }

    writeText(at("in.json"), battle(okBattle));
    EXPECT_EQ(tool("build " + q(at("in.json")) + " " + q(at("no-such-folder/OvData1"))).exitCode, 1);
    EXPECT_EQ(tool("build " + q(at("in.json")) + " " + q(at("OvData1"))).exitCode, 0);
    EXPECT_EQ(readText(at("OvData1")).size(), 16u + 66 + 66 + 65);

    // Only the files this test made are left: no temporary file of a refused or finished write.
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(dir_))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"OvData1", "in.json"}));
}
