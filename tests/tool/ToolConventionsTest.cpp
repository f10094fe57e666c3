// The tool as a Unix command: "-" for standard input and output, "--" before file names that
// look like options, --version, one command's help, errors that name their file, and an
// executable that does not load Qt.
#include "ToolTestSupport.h"

#include <array>
#include <gmock/gmock.h>
#include <regex>

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

    const std::string full = run({"--help"}).out;
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
    EXPECT_EQ(run({"help", "frobnicate"}).exitCode, 2);
    EXPECT_EQ(run({"help"}).out, full);
}

// Each failure names the file it concerns (standard input and output included) and the reason.
TEST_F(ToolTest, EveryErrorNamesItsFileAndTheReason) {
    writeText(at("bad.json"), "{");
    writeText(at("plain"), "just data");
    const std::string missing = at("missing");
    const std::string noFolder = at("no-such-folder/out");
    struct Case {
        std::vector<std::string> args;
        std::string file;
        std::string reason;
    };
    const Case cases[] = {
        {{"dump", missing}, missing, "No such file or directory"},
        {{"dump", dir_.string()}, dir_.string(), "a folder"},
        {{"batnames", kOvData, noFolder}, noFolder, "No such file or directory"},
        {{"build", at("bad.json"), at("out")}, at("bad.json"), "the JSON cannot be read"},
        {{"build", missing, at("out")}, missing, "No such file or directory"},
        {{"pictures", missing}, missing, "sorry, file not found."},
        {{"pictures", at("plain")}, at("plain"), "sorry, picture not found or memory overflow."},
        {{"map", kUi, "1020", at("x.png")}, kUi, "PICT resource 1020 not found"},
        {{"map", kUi, "1013", noFolder}, noFolder, "No such file or directory"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.args[0] + " " + c.args[1]);
        const ToolRun r = run(c.args);
        EXPECT_EQ(r.exitCode, 1);
        EXPECT_THAT(r.err, HasSubstr(c.file));
        EXPECT_THAT(r.err, HasSubstr(c.reason));
        EXPECT_EQ(r.err.rfind("mapquill-tool: ", 0), 0u) << r.err;
    }
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
