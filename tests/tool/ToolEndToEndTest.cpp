#include "OvDataTestModels.h"
#include "ToolTestSupport.h"
#include "ovdata/BatnamesExport.h"
#include "ovdata/OvDataFile.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <gmock/gmock.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>

using testing::HasSubstr;

namespace {

std::string fixturePath(const std::string& name) {
    return std::string(MQ_TEST_DATA_DIR) + "/ovdata/" + name;
}
std::string example(const std::string& name) {
    return std::string(MQ_EXAMPLES_DIR) + "/" + name;
}

} // namespace

// Every file the editor writes comes back byte for byte through dump and build; the examples
// dump to exactly their committed JSON sources.
TEST_F(ToolTest, DumpThenBuildGivesBackTheSameBytes) {
    ov::OvDataModel full;
    ovtest::fillRandomModel(full, 99, 11, true);
    const std::vector<std::uint8_t> fullBytes = ov::WriteToOvDataFile(full).bytes;
    writeText(at("full"), std::string(fullBytes.begin(), fullBytes.end()));
    std::vector<std::pair<std::string, std::string>> inputs = {
        {fixturePath("one_sector_82_bytes.ovdata"), ""},
        {fixturePath("north_one_op_two_battles.ovdata"), ""},
        {at("full"), ""}};
    for (int n = 0; n <= 3; ++n)
        inputs.emplace_back(example("OvData" + std::to_string(n)),
                            example("src/OvData" + std::to_string(n) + ".json"));

    for (const auto& [input, json] : inputs) {
        const ToolRun dump = run({"dump", input});
        ASSERT_EQ(dump.exitCode, 0) << input << ": " << dump.err;
        EXPECT_EQ(dump.out, json.empty() ? dump.out : readText(json)) << input;
        writeText(at("model.json"), dump.out);
        const ToolRun build = run({"build", at("model.json"), at("rebuilt")});
        ASSERT_EQ(build.exitCode, 0) << input << ": " << build.err;
        EXPECT_EQ(readText(at("rebuilt")), readText(input)) << input;
    }
}

TEST_F(ToolTest, BatnamesWritesTheCoreExport) {
    const ToolRun batnames = run({"batnames", example("OvData0"), at("Batnames")});
    ASSERT_EQ(batnames.exitCode, 0) << batnames.err;
    EXPECT_EQ(readText(at("Batnames")),
              ov::ExportAsBatnamesFile(*ov::ReadFromOvDataFile(readText(example("OvData0"))).model));
    EXPECT_THAT(readText(at("Batnames")), HasSubstr("F\xE4hrmann's Crossing\t// name of battle\r"));
}

TEST_F(ToolTest, BuildRefusesWhatTheFileCannotHoldAndLeavesTheTargetAlone) {
    const auto battle = [](const std::string& fields) {
        return R"({"resource_id": 1013, "sectors": [{"id": 1, "name": "S", "rect": [1, 2, 3, 4], "ops": [)"
               R"({"id": 10, "name": "O", "rect": [1, 2, 3, 4], "battles": [{)" +
               fields + "}]}]}]}";
    };
    const std::string ok = R"("id": 100, "name": "B", "rect": [1, 2, 3, 4], "flags": [0, 1, 0])";
    const auto with = [&](const std::string& from, const std::string& to) {
        std::string fields = ok;
        return battle(fields.replace(fields.find(from), from.size(), to));
    };
    std::string twelveSectors = R"({"resource_id": 1, "sectors": [)";
    for (int s = 0; s < 12; ++s)
        twelveSectors +=
            std::string(s ? "," : "") + R"({"id": 1, "name": "S", "rect": [0,0,0,0], "ops": []})";

    std::string wide = "[0";
    for (int i = 0; i < 4 << 20; ++i)
        wide += ",0";

    const std::pair<std::string, std::string> cases[] = {
        {battle(ok) + "x", "sorry, the JSON cannot be read"},
        {twelveSectors + "]}", "sorry, sectors: 12 sectors are outside 0..11."},
        {with("3, 4]", "40000, 4]"),
         "sorry, sectors[0].ops[0].battles[0].rect[2]: coordinate 40000 is outside -32768..32767."},
        {with(", 4]", "]"), "rect: expected a list of 4"},
        {with("1, 0]", "256, 0]"), "flags[1]: 256 is outside 0..255."},
        {with("100", "2147483648"), "battles[0].id: 2147483648 is outside -2147483648..2147483647."},
        {with("100", "1.5"), "expected a whole number"},
        {with("100", "\"100\""), "expected a whole number"},
        {with("\"B\"", "\"Łódź\""), "battles[0].name: the character U+0141 has no ISO-8859-1 form"},
        {with("\"B\"", R"("A\u0000B")"), "U+0000"},
        {with("\"B\"", "\"" + std::string(51, 'x') + "\""),
         "the name has 51 characters; a file holds at most 49"},
        {with(R"("name": "B", )", ""), "the field \"name\" is missing"},
        {battle(ok + R"(, "flag": [0, 0, 0])"), "unknown field \"flag\""},
        {with(R"("name": "B")", R"("name": "B", "name": "C")"), "the field \"name\" appears twice"},
        {R"([1, 2])", "sorry, the document: expected an object."},
        // Nesting costs the parser memory for every level: 16 MB of '[' is refused at the first
        // level no model has, and no failure anywhere ends in an abort.
        {std::string((16u << 20) - 16, '['), "nests lists and objects deeper than 64 levels"},
        // Millions of small values: refused while parsing, whatever memory the system allows.
        {wide + "]", "the JSON holds more than 200000 values"},
    };
    writeText(at("OvData1"), "keep me");
    for (const auto& [json, message] : cases) {
        writeText(at("in.json"), json);
        const ToolRun build = run({"build", at("in.json"), at("OvData1")});
        SCOPED_TRACE(json.substr(0, 200));
        EXPECT_EQ(build.exitCode, 1);
        EXPECT_THAT(build.err, HasSubstr(message));
        EXPECT_EQ(readText(at("OvData1")), "keep me");
    }

    writeText(at("in.json"), battle(ok));
    EXPECT_EQ(run({"build", at("in.json"), at("no-such-folder/OvData1")}).exitCode, 1);
    EXPECT_EQ(run({"build", at("in.json"), at("OvData1")}).exitCode, 0);
    EXPECT_EQ(readText(at("OvData1")).size(), 16u + 66 + 66 + 65);

    // Only the files this test made are left: no temporary file of a refused or finished write.
    EXPECT_EQ(files(), (std::vector<std::string>{"OvData1", "in.json"}));
}

// A name of 50 bytes, as a file can hold it, comes back through dump and build cut to 49, with
// a warning naming the entry.
TEST_F(ToolTest, EveryReadableFileBuildsAgain) {
    const ToolRun dump = run({"dump", fixturePath("name_of_50_bytes_without_zero.ovdata")});
    ASSERT_EQ(dump.exitCode, 0) << dump.err;
    writeText(at("model.json"), dump.out);
    const ToolRun build = run({"build", at("model.json"), at("OvData1")});
    ASSERT_EQ(build.exitCode, 0) << build.err;
    EXPECT_THAT(build.err,
                HasSubstr("warning: " + at("model.json") +
                          ": sectors[0].name: the name has 50 characters; the file keeps the first 49"));
    const ov::OvDataReadResult back = ov::ReadFromOvDataFile(readText(at("OvData1")));
    ASSERT_TRUE(back.ok()) << back.message;
    const ov::OvDataReadResult original =
        ov::ReadFromOvDataFile(readText(fixturePath("name_of_50_bytes_without_zero.ovdata")));
    EXPECT_EQ(back.model->SectorName[0], original.model->SectorName[0].substr(0, 49));
}

// Every output of the tool goes through the safe writer: what is not a regular file is refused
// and left as it is, a read-only file too, a link is written through.
TEST_F(ToolTest, OutputsRefuseWhatIsNotARegularFileAndWriteThroughLinks) {
    writeText(at("in.json"), readText(example("src/OvData1.json")));
    const std::string pict = std::string(MQ_TEST_DATA_DIR) + "/pict/hand_v1_bitmap.pict";
    ASSERT_EQ(::mkfifo(at("fifo").c_str(), 0644), 0);
    const int sock = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::strncpy(address.sun_path, at("socket").c_str(), sizeof address.sun_path - 1);
    ASSERT_EQ(::bind(sock, reinterpret_cast<const sockaddr*>(&address), sizeof address), 0);
    // A link to the system's /dev/null: a writer that replaced links would replace only the link.
    fs::create_symlink("/dev/null", at("null-link"));
    writeText(at("read-only"), "keep me");
    fs::permissions(at("read-only"), fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    const std::pair<std::string, fs::file_type> targets[] = {{"fifo", fs::file_type::fifo},
                                                             {"socket", fs::file_type::socket},
                                                             {"null-link", fs::file_type::character},
                                                             {"read-only", fs::file_type::regular}};
    for (const auto& [name, type] : targets) {
        for (const std::vector<std::string>& args :
             {std::vector<std::string>{"build", at("in.json"), at(name)},
              {"batnames", example("OvData0"), at(name)},
              {"map", pict, at(name)}}) {
            SCOPED_TRACE(args[0] + " to " + name);
            const ToolRun r = run(args);
            EXPECT_EQ(r.exitCode, 1);
            EXPECT_THAT(r.err, HasSubstr("sorry, file could not be written: '" + at(name) + "' is "));
            EXPECT_EQ(fs::status(at(name)).type(), type);
        }
    }
    EXPECT_TRUE(fs::is_symlink(at("null-link")));
    EXPECT_EQ(readText(at("read-only")), "keep me");
    ::close(sock);

    writeText(at("OvData1"), "old");
    fs::create_symlink("OvData1", at("link"));
    ASSERT_EQ(run({"build", at("in.json"), at("link")}).exitCode, 0);
    EXPECT_TRUE(fs::is_symlink(at("link")));
    EXPECT_EQ(readText(at("OvData1")), readText(example("OvData1")));
}
