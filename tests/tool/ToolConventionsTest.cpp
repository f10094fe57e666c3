// The tool as a Unix command: "-" for standard input and output, "--" before file names that
// look like options, --version, one command's help, errors that name their file, and an
// executable that does not load Qt.
#include "ToolTestSupport.h"

#include <array>
#include <gmock/gmock.h>
#include <regex>
#include <sys/stat.h>

using testing::HasSubstr;
using testing::Not;

namespace {

const std::string kData = MQ_TEST_DATA_DIR;
const std::string kOvData = std::string(MQ_EXAMPLES_DIR) + "/OvData1";
const std::string kUi = kData + "/forks/map_hcopy.bin";

} // namespace

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
    const auto ovdata = [](const char* name) { return kData + "/ovdata/" + name; };
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
        cases.push_back({{"dump", ovdata(name)}, ovdata(name), reason});
        cases.push_back({{"batnames", ovdata(name), at("out")}, ovdata(name), reason});
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
    const ToolRun trailing = run({"dump", ovdata("trailing_bytes.ovdata")});
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
