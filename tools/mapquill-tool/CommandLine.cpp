#include "CommandLine.h"

#include "OvDataCommands.h"

#include <algorithm>

namespace mqtool {

std::optional<std::string> CommandLine::option(std::string_view name) const {
    std::optional<std::string> found;
    for (const auto& [key, value] : options)
        if (key == name)
            found = value; // the last one given counts
    return found;
}

CommandLine splitCommandLine(const std::vector<std::string>& words,
                             std::initializer_list<std::string_view> withValue) {
    CommandLine line;
    bool optionsEnded = false;
    for (std::size_t i = 0; i < words.size(); ++i) {
        const std::string& word = words[i];
        if (optionsEnded || word == "-" || word.empty() || word[0] != '-') {
            line.operands.push_back(word);
            continue;
        }
        if (word == "--") {
            optionsEnded = true;
            continue;
        }
        const std::size_t equals = word.find('=');
        const std::string name = word.substr(0, equals);
        if (std::find(withValue.begin(), withValue.end(), name) == withValue.end()) {
            line.problem = "unknown option '" + word + "'";
            return line;
        }
        if (equals != std::string::npos) {
            line.options.emplace_back(name, word.substr(equals + 1));
        } else if (i + 1 < words.size()) {
            line.options.emplace_back(name, words[++i]);
        } else {
            line.problem = "the option " + name + " needs a value";
            return line;
        }
    }
    return line;
}

bool asksForHelp(const std::vector<std::string>& words) {
    for (const std::string& word : words) {
        if (word == "--")
            return false;
        if (word == "--help" || word == "-h")
            return true;
    }
    return false;
}

std::string inputName(const std::string& path) {
    return isStandardStream(path) ? "standard input" : path;
}

std::string outputName(const std::string& path) {
    return isStandardStream(path) ? "standard output" : path;
}

int usageError(const char* usageLine, const std::string& why) {
    if (!why.empty())
        std::fprintf(stderr, "mapquill-tool: %s\n", why.c_str());
    std::fprintf(stderr, "usage: mapquill-tool %s\n(see mapquill-tool --help)\n", usageLine);
    return kExitUsage;
}

int inputError(const std::string& file, const std::string& message, const std::string& detail) {
    // Messages that already start with the file's name are not given it twice.
    const bool alreadyNamed = file.empty() || message.rfind(file + ":", 0) == 0 ||
                              message.find("'" + file + "'") != std::string::npos;
    if (!alreadyNamed)
        std::fprintf(stderr, "mapquill-tool: %s: %s\n", file.c_str(), message.c_str());
    else
        std::fprintf(stderr, "mapquill-tool: %s\n", message.c_str());
    if (!detail.empty())
        std::fprintf(stderr, "mapquill-tool: (%s)\n", detail.c_str());
    return kExitBadInput;
}

} // namespace mqtool
