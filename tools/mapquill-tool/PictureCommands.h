#pragma once

#include <string>
#include <vector>

namespace mqtool {

// The tool's picture subcommands: "pictures" lists the map pictures of a source, "map" writes one
// as PNG. Each takes the words after its subcommand name and returns the exit code (0 success,
// 1 bad input with the message on stderr, 2 wrong usage).
int runPicturesCommand(const std::vector<std::string>& args);
int runMapCommand(const std::vector<std::string>& args);

extern const char* const kPicturesHelp;
extern const char* const kMapHelp;

} // namespace mqtool
