#pragma once

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <string>
#include <sys/wait.h>
#include <vector>

namespace fs = std::filesystem;

inline std::string readText(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline void writeText(const fs::path& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
}

struct ToolRun {
    int exitCode = -1;
    std::string out, err;
};

// Runs the built mapquill-tool with its output caught, in a fresh temporary folder removed afterwards.
class ToolTest : public testing::Test {
protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "mq-tool-test-XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        dir_ = pattern;
    }
    void TearDown() override { fs::remove_all(dir_); }

    std::string at(const std::string& name) const { return (dir_ / name).string(); }

    // The names in the test's folder, sorted: what a command left behind.
    std::vector<std::string> files() const {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(dir_))
            names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }

    // `input`, when given, is the file fed to the tool's standard input (through a pipe when
    // `piped`, so that the tool cannot seek or stat it as a plain file). A tool that hangs is
    // stopped and exits with 124.
    ToolRun run(const std::vector<std::string>& args, const std::string& input = {},
                bool piped = false) const {
        const auto quoted = [](const std::string& word) {
            std::string out = "'";
            for (char c : word)
                out += c == '\'' ? std::string("'\\''") : std::string(1, c);
            return out + "'";
        };
        const std::string tool = "timeout 60 " + quoted(MQ_TOOL_PATH);
        std::string command = input.empty() || !piped ? tool : "cat " + quoted(input) + " | " + tool;
        for (const std::string& a : args)
            command += " " + quoted(a);
        if (!input.empty() && !piped)
            command += " <" + quoted(input);
        const int status =
            std::system((command + " >" + quoted(at(".out")) + " 2>" + quoted(at(".err"))).c_str());
        ToolRun result{WIFEXITED(status) ? WEXITSTATUS(status) : -1, readText(at(".out")),
                       readText(at(".err"))};
        fs::remove(at(".out"));
        fs::remove(at(".err"));
        return result;
    }

    fs::path dir_;
};
