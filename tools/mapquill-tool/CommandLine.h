#pragma once

#include <cstddef>
#include <cstdio>
#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace mqtool {

// A command's words split the usual way: words starting with "-" are options until "--", which
// ends them (so a file may be called "--help" or "-x"); "-" alone is an operand (standard input
// or output). An option's value follows it ("--from ui") or is joined to it ("--from=ui").
// Options may come before, between or after the operands.
struct CommandLine {
    std::vector<std::string> operands;
    std::vector<std::pair<std::string, std::string>> options; // name ("--from"), value
    std::string problem;                                      // wrong usage, when not empty

    bool ok() const { return problem.empty(); }
    std::optional<std::string> option(std::string_view name) const;
};

// `withValue` names the options that take a value; every other option is refused.
CommandLine splitCommandLine(const std::vector<std::string>& words,
                             std::initializer_list<std::string_view> withValue = {});

// Whether the words ask for help ("--help" or "-h" before any "--").
bool asksForHelp(const std::vector<std::string>& words);

// "-" as a file: standard input or output.
inline bool isStandardStream(std::string_view path) {
    return path == "-";
}

// How a file appears in messages: its path, or "standard input" / "standard output" for "-".
std::string inputName(const std::string& path);
std::string outputName(const std::string& path);

// The two shapes of every message: wrong usage (exit 2, the command's usage line after it) and
// bad input (exit 1). A failure names the file it concerns first, as "FILE: message"; `detail`,
// when given, says what exactly was wrong on a line of its own.
int usageError(const char* usageLine, const std::string& why = {});
int inputError(const std::string& file, const std::string& message, const std::string& detail = {});

} // namespace mqtool
