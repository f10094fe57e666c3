#pragma once

#include "ovdata/OvDataModel.h"

#include <memory>
#include <string>
#include <vector>

namespace mqtool {

// "check": the game's rules for OvData files, as findings (see ovdata/OvDataChecks.h).
// "diff": the differences between two OvData files, entry by entry.
// Each takes the words after its subcommand name and returns the exit code.
int runCheckCommand(const std::vector<std::string>& args);
int runDiffCommand(const std::vector<std::string>& args);

extern const char* const kCheckHelp;
extern const char* const kDiffHelp;

// 0..9 for a file named OvData0..OvData9 (any letter case), -1 for any other name.
int ovDataFileNumber(const std::string& path);

} // namespace mqtool
