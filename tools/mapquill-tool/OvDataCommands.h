#pragma once

#include "ovdata/OvDataModel.h"

#include <memory>
#include <string>
#include <vector>

namespace mqtool {

// Exit codes of every subcommand.
inline constexpr int kExitSuccess = 0;
inline constexpr int kExitBadInput = 1; // the message is on stderr; nothing was written
inline constexpr int kExitUsage = 2;

// Each takes the words after its subcommand name and returns the exit code.
int runDumpCommand(const std::vector<std::string>& args);
int runBuildCommand(const std::vector<std::string>& args);
int runBatnamesCommand(const std::vector<std::string>& args);

// Each command's help paragraph, as `mapquill-tool help COMMAND` prints it.
extern const char* const kDumpHelp;
extern const char* const kBuildHelp;
extern const char* const kBatnamesHelp;

// Reads an OvData file for a command; on failure returns null with the message to print.
std::unique_ptr<ov::OvDataModel> loadOvData(const std::string& path, std::string& message);

} // namespace mqtool
