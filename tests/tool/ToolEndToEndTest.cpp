// mapquill-tool end to end through its executable: the OvData commands, and the tool as a Unix
// command ("-" for standard input and output, "--" before file names that look like options,
// --version, one command's help, errors that name their file, outputs written safely, and an
// executable that does not load Qt).
#include "OvDataTestModels.h"
#include "ToolTestSupport.h"
#include "ovdata/BatnamesExport.h"
#include "ovdata/OvDataFile.h"

#include <array>
#include <cstring>
#include <gmock/gmock.h>
#include <regex>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>

using testing::HasSubstr;
using testing::Not;

namespace {

const std::string kData = MQ_TEST_DATA_DIR;
const std::string kOvData = std::string(MQ_EXAMPLES_DIR) + "/OvData1";
const std::string kUi = kData + "/forks/map_hcopy.bin";

std::string fixturePath(const std::string& name) {
    return kData + "/ovdata/" + name;
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
    const std::string pict = kData + "/pict/hand_v1_bitmap.pict";
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

// Every command reads "-" from standard input, whether a plain file or a pipe, and the commands
// that write take "-" for standard output; the bytes equal those of the named-file forms.
TEST_F(ToolTest, ADashIsStandardInputOrOutput) {
    const ToolRun dumped = run({"dump", kOvData});
    ASSERT_EQ(dumped.exitCode, 0) << dumped.err;
    writeText(at("model.json"), dumped.out);
    ASSERT_EQ(run({"build", at("model.json"), at("built")}).exitCode, 0);
    ASSERT_EQ(run({"batnames", kOvData, at("Batnames")}).exitCode, 0);
    ASSERT_EQ(run({"map", kUi, "1013", at("map.png")}).exitCode, 0);
    ASSERT_EQ(readText(at("built")), readText(kOvData));

    struct Case {
        std::vector<std::string> args;
        std::string input;
        std::string expectedOut;
    };
    const Case cases[] = {
        {{"dump", "-"}, kOvData, dumped.out},
        {{"build", "-", "-"}, at("model.json"), readText(kOvData)},
        {{"build", at("model.json"), "-"}, "", readText(kOvData)},
        {{"batnames", "-", "-"}, kOvData, readText(at("Batnames"))},
        {{"map", "-", "1013", "-"}, kUi, readText(at("map.png"))},
        {{"map", kUi, "1013", "-"}, "", readText(at("map.png"))},
        {{"pictures", "-"},
         kData + "/brm/Intrface_test.brm",
         run({"pictures", kData + "/brm/Intrface_test.brm"}).out},
    };
    for (const Case& c : cases) {
        for (const bool piped : {false, true}) {
            SCOPED_TRACE(c.args[0] + " " + c.args[1] + (piped ? " piped" : ""));
            const ToolRun r = run(c.args, c.input, piped);
            EXPECT_EQ(r.exitCode, 0) << r.err;
            EXPECT_TRUE(r.out == c.expectedOut)
                << r.out.size() << " bytes instead of " << c.expectedOut.size();
        }
    }
    // build from standard input into a file.
    ASSERT_EQ(run({"build", "-", at("again")}, at("model.json"), true).exitCode, 0);
    EXPECT_EQ(readText(at("again")), readText(kOvData));
    // Bad input on standard input is named as such.
    writeText(at("junk"), "not an OvData file");
    const ToolRun junk = run({"dump", "-"}, at("junk"), true);
    EXPECT_EQ(junk.exitCode, 1);
    EXPECT_THAT(junk.err, HasSubstr("standard input: "));
}

// After "--" every word is a file, even "--help", "-h" or "-x"; before it such words are options.
TEST_F(ToolTest, DoubleDashEndsTheOptions) {
    for (const char* name : {"--help", "-x", "-h"})
        writeText(at(name), readText(kOvData));
    const std::string expected = run({"dump", kOvData}).out;
    for (const char* name : {"--help", "-x", "-h"}) {
        SCOPED_TRACE(name);
        const fs::path old = fs::current_path();
        fs::current_path(dir_);
        const ToolRun dumped = run({"dump", "--", name});
        const ToolRun built = run({"build", "--", "model.json", name}); // model.json is missing
        fs::current_path(old);
        EXPECT_EQ(dumped.exitCode, 0) << dumped.err;
        EXPECT_EQ(dumped.out, expected);
        EXPECT_EQ(built.exitCode, 1);
        EXPECT_EQ(readText(at(name)), readText(kOvData)) << "a failed build leaves it alone";
    }
    const ToolRun option = run({"dump", "-x"});
    EXPECT_EQ(option.exitCode, 2);
    EXPECT_THAT(option.err, HasSubstr("unknown option '-x'"));
    EXPECT_EQ(run({"map", "--", kUi, "1013", "--from", at("x.png")}).exitCode, 2) << "--from is a file there";
    EXPECT_EQ(run({"pictures", "--from", "ui", "--", kUi}).exitCode, 0);
}

TEST_F(ToolTest, VersionAndOneCommandsHelp) {
    const ToolRun version = run({"--version"});
    EXPECT_EQ(version.exitCode, 0);
    EXPECT_TRUE(std::regex_match(version.out, std::regex("mapquill-tool [0-9]+\\.[0-9]+\\.[0-9]+\n")))
        << version.out;

    const ToolRun fullHelp = run({"--help"});
    const std::string& full = fullHelp.out;
    EXPECT_EQ(fullHelp.exitCode, 0);
    for (const char* word : {"dump OVDATA", "build JSON OVDATA", "batnames OVDATA OUT"})
        EXPECT_THAT(full, HasSubstr(word));
    const std::array<std::string, 8> commands = {"dump", "build",    "batnames", "check",
                                                 "diff", "pictures", "map",      "render"};
    for (const std::string& command : commands) {
        SCOPED_TRACE(command);
        const ToolRun help = run({"help", command});
        EXPECT_EQ(help.exitCode, 0);
        EXPECT_EQ(help.out.rfind("  " + command + " ", 0), 0u) << help.out;
        EXPECT_THAT(full, HasSubstr(help.out)) << "the same paragraph as in the full help";
        for (const std::string& other : commands) {
            if (other != command) {
                EXPECT_THAT(help.out, Not(HasSubstr("\n  " + other + " "))) << other;
            }
        }
        for (const char* flag : {"--help", "-h"}) {
            const ToolRun asked = run({command, "some-file", flag});
            EXPECT_EQ(asked.exitCode, 0);
            EXPECT_EQ(asked.out, help.out);
        }
    }
    EXPECT_THAT(run({"help", "build"}).out, HasSubstr("JSON form"));
    EXPECT_EQ(run({"help"}).out, full);
}

// Each failure exits with 1 and names the file it concerns (standard input and output included)
// and the reason, writes nothing to standard output and leaves no output file behind.
TEST_F(ToolTest, EveryFailureNamesItsFileAndTheReason) {
    writeText(at("bad.json"), "{");
    writeText(at("plain"), "just data");
    writeText(at("huge.pict"), ""); // sparse: 65 MiB that cost nothing on the disk
    fs::resize_file(at("huge.pict"), 65u << 20);
    ASSERT_EQ(::mkfifo(at("pipe").c_str(), 0600), 0); // refused, not waited for
    const std::string missing = at("missing"), noFolder = at("no-such-folder/out");
    const std::string as = kData + "/forks/map.as", tga = kData + "/tga/own_map24_rle_top.tga";
    struct Case {
        std::vector<std::string> args;
        std::string file, reason;
    };
    std::vector<Case> cases = {
        {{"dump", missing},
         missing,
         "sorry, file failed to open: '" + missing + "' (No such file or directory)"},
        {{"dump", dir_.string()},
         dir_.string(),
         "sorry, file failed to open: '" + dir_.string() + "' (a folder"},
        {{"dump", at("pipe")}, at("pipe"), "sorry, file failed to open"},
        {{"batnames", kOvData, noFolder}, noFolder, "No such file or directory"},
        {{"build", at("bad.json"), at("out")}, at("bad.json"), "sorry, the JSON cannot be read"},
        {{"build", missing, at("out")}, missing, "No such file or directory"},
        {{"pictures", missing}, missing, "sorry, file not found."},
        {{"pictures", at("plain")}, at("plain"), "sorry, picture not found or memory overflow."},
        {{"pictures", "--from", "ui", tga}, tga, "sorry, file has no resource fork."},
        {{"map", kUi, "1020", at("x.png")}, kUi, "sorry, PICT resource 1020 not found or memory overflow."},
        {{"map", as, "1020", at("x.png")}, as, "sorry, PICT resource 1020 not found or memory overflow."},
        {{"map", "--from", "intrface", kData + "/tga/im_grey.tga", "1013", at("x.png")},
         "im_grey.tga",
         "sorry, picture not in file."},
        {{"map", kUi, "1013", noFolder}, noFolder, "No such file or directory"},
        {{"map", at("huge.pict"), at("x.png")}, at("huge.pict"), "sorry, file is larger than 64 MB."},
    };
    for (const auto& [name, reason] :
         {std::pair{"empty.ovdata", "file is empty"},
          {"lowercase_magic.ovdata", "no valid 'OvDa' header found"},
          {"truncated_in_battle_tail.ovdata", "sorry, file is damaged or truncated."},
          {"op_count_12.ovdata", "sorry, file is damaged or truncated."}}) {
        cases.push_back({{"dump", fixturePath(name)}, fixturePath(name), reason});
        cases.push_back({{"batnames", fixturePath(name), at("out")}, fixturePath(name), reason});
    }
    for (const Case& c : cases) {
        SCOPED_TRACE(c.args[0] + " " + c.args[1]);
        const ToolRun r = run(c.args);
        EXPECT_EQ(r.exitCode, 1);
        EXPECT_EQ(r.err.rfind("mapquill-tool: ", 0), 0u) << r.err;
        EXPECT_THAT(r.err, HasSubstr(c.file));
        EXPECT_THAT(r.err, HasSubstr(c.reason));
        EXPECT_EQ(r.out, "");
    }
    EXPECT_EQ(files(), (std::vector<std::string>{"bad.json", "huge.pict", "pipe", "plain"}));

    // A readable file with a flaw is read, with a note.
    const ToolRun trailing = run({"dump", fixturePath("trailing_bytes.ovdata")});
    EXPECT_EQ(trailing.exitCode, 0);
    EXPECT_THAT(trailing.err, HasSubstr("bytes after its last record"));
}

// Wrong usage exits with 2, before any file is touched.
TEST_F(ToolTest, WrongUsageExitsWithTwo) {
    const std::string as = kData + "/forks/map.as";
    for (const std::vector<std::string>& usage : {std::vector<std::string>{},
                                                  {"frobnicate", "x"},
                                                  {"help", "frobnicate"},
                                                  {"dump"},
                                                  {"build", "a.json"},
                                                  {"batnames", "a", "b", "c"},
                                                  {"map", as, at("x.png")}, // a 'UI' source needs an ID
                                                  {"map", as, "10x3", at("x.png")},
                                                  {"pictures", "--from", "mac", as},
                                                  {"pictures", "--from"},
                                                  {"pictures"},
                                                  {"pictures", as, "--verbose"}}) {
        EXPECT_EQ(run(usage).exitCode, 2) << (usage.empty() ? "" : usage.back());
    }
    EXPECT_TRUE(files().empty());
}

// The common paths must not pay for loading Qt, nor for the libraries only some pictures need
// (TIFF, GIF, text): the executable links none of them; the latter are opened on first use.
TEST(ToolLinking, OnlyTheCommonLibrariesAreLinked) {
    const std::string command = std::string("ldd '") + MQ_TOOL_PATH + "' 2>&1";
    std::FILE* pipe = ::popen(command.c_str(), "r");
    ASSERT_NE(pipe, nullptr);
    std::string listing;
    char buffer[4096];
    for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;)
        listing.append(buffer, n);
    ASSERT_EQ(::pclose(pipe), 0) << listing;
    EXPECT_THAT(listing, HasSubstr("libc.so")) << "ldd listed the libraries";
    EXPECT_THAT(listing, HasSubstr("libpng"));
    EXPECT_THAT(listing, HasSubstr("libturbojpeg"));
    for (const char* onDemand : {"libQt", "libtiff", "libgif", "libfreetype", "libfontconfig"})
        EXPECT_THAT(listing, Not(HasSubstr(onDemand)));
}
