// mapquill-tool: the editor's file formats from the command line. This file only dispatches;
// each family of subcommands lives in its own files, and a new subcommand is one row of the table.
#include "CheckCommands.h"
#include "CommandLine.h"
#include "OvDataCommands.h"
#include "PictureCommands.h"
#include "RenderCommand.h"
#include "StandardStreams.h"

#include <cstdio>
#if defined(__GLIBC__)
#include <malloc.h>
#endif
#include <exception>
#include <new>
#include <string>
#include <string_view>
#include <vector>

namespace {

using namespace mqtool;

struct Subcommand {
    std::string_view name;
    int (*run)(const std::vector<std::string>& args);
    const char* help = nullptr; // its paragraph of the help, starting with its usage line
};

// clang-format off
const Subcommand kSubcommands[] = {
    {"dump", runDumpCommand, kDumpHelp},
    {"build", runBuildCommand, kBuildHelp},
    {"batnames", runBatnamesCommand, kBatnamesHelp},
    {"check", runCheckCommand, kCheckHelp},
    {"diff", runDiffCommand, kDiffHelp},
    {"pictures", runPicturesCommand, kPicturesHelp},
    {"map", runMapCommand, kMapHelp},
    {"render", runRenderCommand, kRenderHelp},
};
// clang-format on

const Subcommand* findSubcommand(std::string_view name) {
    for (const Subcommand& subcommand : kSubcommands)
        if (subcommand.name == name)
            return &subcommand;
    return nullptr;
}

void printHelp(std::FILE* to) {
    std::fputs("usage: mapquill-tool COMMAND ARGUMENTS...\n"
               "       mapquill-tool help [COMMAND] | COMMAND --help | --help | --version\n"
               "\n"
               "Reads and writes the overlay-data files OvData0..OvData9 of the game, as the editor does.\n"
               "Exit status: 0 success, 1 bad input (the message is on standard error, nothing is\n"
               "written), 2 wrong usage. A FILE given as - is standard input or output; -- ends the\n"
               "options, so that a file name may start with -.\n"
               "\n"
               "Commands:\n",
               to);
    for (const Subcommand& subcommand : kSubcommands)
        if (subcommand.help)
            std::fputs(subcommand.help, to);
}

int printCommandHelp(const Subcommand& subcommand) {
    if (subcommand.help)
        std::fputs(subcommand.help, stdout);
    else
        std::printf("  %s\n", std::string(subcommand.name).c_str());
    return kExitSuccess;
}

int printVersion() {
    std::printf("mapquill-tool %s\n", MQ_VERSION);
    return kExitSuccess;
}

int unknownCommand(const std::string& name) {
    std::fprintf(stderr, "mapquill-tool: unknown command '%s'\n(see mapquill-tool --help)\n", name.c_str());
    return kExitUsage;
}

} // namespace

int main(int argc, char** argv) {
#if defined(__GLIBC__)
    // A run lasts a fraction of a second and holds a few buffers of megabytes. From the heap, not
    // from mappings of their own, and never handed back before the end, a freed buffer's pages
    // (already faulted in) serve the next one: a picture's file bytes become its PNG file.
    mallopt(M_MMAP_THRESHOLD, 256 << 20);
    mallopt(M_TRIM_THRESHOLD, 512 << 20);
#endif
    useBinaryStandardStreams();
    const std::vector<std::string> words(argv + (argc > 0 ? 1 : 0), argv + (argc > 0 ? argc : 0));
    if (words.empty()) {
        printHelp(stderr);
        return kExitUsage;
    }
    const std::string& first = words[0];
    if (first == "--help" || first == "-h") {
        printHelp(stdout);
        return kExitSuccess;
    }
    if (first == "--version")
        return printVersion();
    if (first == "help") {
        if (words.size() == 1) {
            printHelp(stdout);
            return kExitSuccess;
        }
        const Subcommand* subcommand = findSubcommand(words[1]);
        if (!subcommand || words.size() > 2)
            return subcommand ? usageError("help [COMMAND]") : unknownCommand(words[1]);
        return printCommandHelp(*subcommand);
    }
    const Subcommand* subcommand = findSubcommand(first);
    if (!subcommand)
        return unknownCommand(first);
    const std::vector<std::string> args(words.begin() + 1, words.end());
    if (asksForHelp(args))
        return printCommandHelp(*subcommand);
    // No failure may end the tool in an abort: memory running out or any other exception
    // becomes a message and the bad-input exit status, with nothing written.
    try {
        return subcommand->run(args);
    } catch (const std::bad_alloc&) {
        std::fprintf(stderr, "mapquill-tool: sorry, not enough memory for '%s'\n", first.c_str());
    } catch (const std::exception& e) {
        std::fprintf(stderr, "mapquill-tool: sorry, '%s' failed: %s\n", first.c_str(), e.what());
    }
    return kExitBadInput;
}
