// mapquill-tool: the editor's file formats from the command line. This file only dispatches;
// each family of subcommands lives in its own files.
#include "OvDataCommands.h"

#if __has_include("PictureCommands.h")
#include "PictureCommands.h"
#define MQ_HAVE_PICTURE_COMMANDS 1
#endif

#include <cstdio>
#include <exception>
#include <new>
#include <string>
#include <string_view>
#include <vector>

namespace {

// The picture commands may be declared at global scope or in the tool's namespace.
using namespace mqtool;

struct Subcommand {
    std::string_view name;
    int (*run)(const std::vector<std::string>& args);
};

// clang-format off
constexpr Subcommand kSubcommands[] = {
    {"dump", mqtool::runDumpCommand},
    {"build", mqtool::runBuildCommand},
    {"batnames", mqtool::runBatnamesCommand},
#ifdef MQ_HAVE_PICTURE_COMMANDS
    {"pictures", runPicturesCommand},
    {"map", runMapCommand},
#endif
};
// clang-format on

void printHelp(std::FILE* to) {
    std::fputs("usage: mapquill-tool COMMAND ARGUMENTS...\n"
               "       mapquill-tool --help\n"
               "\n"
               "Reads and writes the overlay-data files OvData0..OvData9 of the game, as the editor does.\n"
               "Exit status: 0 success, 1 bad input (the message is on standard error, nothing is\n"
               "written), 2 wrong usage.\n"
               "\n"
               "Commands:\n",
               to);
    std::fputs(mqtool::ovDataCommandsHelp(), to);
#ifdef MQ_HAVE_PICTURE_COMMANDS
    std::fputs(pictureCommandsHelp(), to);
#endif
}

bool isHelp(std::string_view word) {
    return word == "--help" || word == "-h" || word == "help";
}

} // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> words(argv + (argc > 0 ? 1 : 0), argv + (argc > 0 ? argc : 0));
    if (words.empty()) {
        printHelp(stderr);
        return mqtool::kExitUsage;
    }
    if (isHelp(words[0])) {
        printHelp(stdout);
        return mqtool::kExitSuccess;
    }
    for (const Subcommand& subcommand : kSubcommands) {
        if (subcommand.name != words[0])
            continue;
        const std::vector<std::string> args(words.begin() + 1, words.end());
        for (const std::string& arg : args) {
            if (arg == "--help") {
                printHelp(stdout);
                return mqtool::kExitSuccess;
            }
        }
        // No failure may end the tool in an abort: memory running out or any other exception
        // becomes a message and the bad-input exit status, with nothing written.
        try {
            return subcommand.run(args);
        } catch (const std::bad_alloc&) {
            std::fprintf(stderr, "mapquill-tool: sorry, not enough memory for '%s'\n", words[0].c_str());
        } catch (const std::exception& e) {
            std::fprintf(stderr, "mapquill-tool: sorry, '%s' failed: %s\n", words[0].c_str(), e.what());
        }
        return mqtool::kExitBadInput;
    }
    std::fprintf(stderr, "mapquill-tool: unknown command '%s'\n(see mapquill-tool --help)\n",
                 words[0].c_str());
    return mqtool::kExitUsage;
}
