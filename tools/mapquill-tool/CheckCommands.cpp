#include "CheckCommands.h"

#include "OvDataCommands.h"
#include "ovdata/OvDataChecks.h"
#include "ovdata/OvDataDiff.h"
#include "ovdata/OvDataFile.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <filesystem>
#include <map>
#include <nlohmann/json.hpp>
#include <optional>

namespace mqtool {

namespace fs = std::filesystem;
using nlohmann::ordered_json;

namespace {

constexpr const char* kCheckUsage = "check [--json] [--warnings-as-errors] FILE|FOLDER...";
constexpr const char* kDiffUsage = "diff [--json] A B";

int usage(const char* line, const std::string& why = {}) {
    if (!why.empty())
        std::fprintf(stderr, "mapquill-tool: %s\n", why.c_str());
    std::fprintf(stderr, "usage: mapquill-tool %s\n(see mapquill-tool --help)\n", line);
    return kExitUsage;
}

bool writeOut(const std::string& text) {
    return std::fwrite(text.data(), 1, text.size(), stdout) == text.size() && std::fflush(stdout) == 0;
}

// Text as JSON carries it: invalid UTF-8 (a path from a file system that is not UTF-8) is
// replaced rather than failing the whole output.
std::string jsonText(const ordered_json& value) {
    return value.dump(2, ' ', false, ordered_json::error_handler_t::replace) + "\n";
}

struct Options {
    bool json = false;
    bool warningsAsErrors = false;
    std::vector<std::string> operands;
    std::string problem;
};

Options parseOptions(const std::vector<std::string>& args, bool allowWarningsAsErrors) {
    Options out;
    bool operandsOnly = false;
    for (const std::string& arg : args) {
        if (!operandsOnly && arg == "--") {
            operandsOnly = true;
        } else if (!operandsOnly && arg == "--json") {
            out.json = true;
        } else if (!operandsOnly && allowWarningsAsErrors && arg == "--warnings-as-errors") {
            out.warningsAsErrors = true;
        } else if (!operandsOnly && arg.size() > 1 && arg[0] == '-') {
            out.problem = "unknown option '" + arg + "'";
            return out;
        } else {
            out.operands.push_back(arg);
        }
    }
    return out;
}

// One file the check reads, and the set (its folder) it belongs to.
struct CheckedFile {
    std::string path;
    int number = -1;
    std::string group; // the folder, for files that can form a set
    std::unique_ptr<ov::OvDataModel> model;
};

ordered_json entryJson(const ov::EntryPath& ref, const std::string& path) {
    ordered_json entry;
    entry["file"] = path;
    entry["path"] = ov::idPathText(ref);
    entry["level"] = std::string(ov::levelName(ref));
    if (!ref.isFile()) {
        entry["sector_id"] = ref.sectorId;
        entry["sector_position"] = ref.sector;
    }
    if (ref.op >= 0) {
        entry["op_id"] = ref.opId;
        entry["op_position"] = ref.op;
    }
    if (ref.battle >= 0) {
        entry["battle_id"] = ref.battleId;
        entry["battle_position"] = ref.battle;
    }
    return entry;
}

const char* syncPartName(ov::SyncPart part) {
    switch (part) {
    case ov::SyncPart::Subtree:
        return "entry";
    case ov::SyncPart::Name:
        return "name";
    case ov::SyncPart::Rectangle:
        return "rect";
    case ov::SyncPart::Flags:
        return "flags";
    }
    return "entry";
}

// One spelling per folder ("a/", "./a" and a link to it are one folder), so that its numbered
// files meet in one set however they were named.
std::string folderKey(const fs::path& folder) {
    std::error_code ec;
    const fs::path real = fs::weakly_canonical(folder.empty() ? fs::path(".") : folder, ec);
    return ec ? fs::absolute(folder, ec).lexically_normal().string() : real.string();
}

} // namespace

int ovDataFileNumber(const std::string& path) {
    const std::string name = fs::path(path).filename().string();
    if (name.size() != 7 || !std::isdigit(static_cast<unsigned char>(name[6])))
        return -1;
    std::string stem = name.substr(0, 6);
    std::transform(stem.begin(), stem.end(), stem.begin(), [](unsigned char c) { return std::tolower(c); });
    return stem == "ovdata" ? name[6] - '0' : -1;
}

int runCheckCommand(const std::vector<std::string>& args) {
    const Options options = parseOptions(args, true);
    if (!options.problem.empty())
        return usage(kCheckUsage, options.problem);
    if (options.operands.empty())
        return usage(kCheckUsage);

    // A folder stands for the files OvData0..OvData9 in it; a folder without any is bad input.
    bool badInput = false;
    std::vector<CheckedFile> files;
    for (const std::string& operand : options.operands) {
        std::error_code ec;
        if (fs::is_directory(operand, ec)) {
            bool found = false;
            for (int n = 0; n < ov::kFileNumbers; ++n) {
                const fs::path candidate = fs::path(operand) / ("OvData" + std::to_string(n));
                if (fs::exists(candidate, ec)) {
                    files.push_back({candidate.string(), n, folderKey(operand), {}});
                    found = true;
                }
            }
            if (!found) {
                std::fprintf(stderr, "mapquill-tool: sorry, '%s' holds no files OvData0..OvData9\n",
                             operand.c_str());
                badInput = true;
            }
            continue;
        }
        const int number = ovDataFileNumber(operand);
        files.push_back(
            {operand, number, number >= 0 ? folderKey(fs::path(operand).parent_path()) : std::string(), {}});
    }

    for (CheckedFile& file : files) {
        std::string message;
        file.model = loadOvData(file.path, message);
        if (!file.model) {
            std::fprintf(stderr, "mapquill-tool: %s\n", message.c_str());
            badInput = true;
        }
    }

    // Numbered files of one folder form a set; a number given twice for one folder (the same
    // file named twice) is checked once.
    struct Group {
        ov::OvDataSet set{};
        std::array<const CheckedFile*, ov::kFileNumbers> files{};
        int count = 0;
    };
    std::map<std::string, Group> groups;
    std::vector<std::pair<const CheckedFile*, ov::Finding>> findings;
    for (const CheckedFile& file : files) {
        if (!file.model)
            continue;
        if (file.number >= 0) {
            Group& group = groups[file.group];
            const auto n = static_cast<std::size_t>(file.number);
            if (!group.set[n]) {
                group.set[n] = file.model.get();
                group.files[n] = &file;
                ++group.count;
            }
            continue;
        }
        for (ov::Finding& f : ov::CheckFile(*file.model))
            findings.emplace_back(&file, std::move(f));
    }
    for (const auto& [folder, group] : groups) {
        // A lone numbered file gets the file rules of its number; the set rules need OvData0.
        for (ov::Finding& f : ov::CheckSet(group.set))
            findings.emplace_back(group.files[static_cast<std::size_t>(f.where.file)], std::move(f));
    }
    std::stable_sort(findings.begin(), findings.end(), [](const auto& a, const auto& b) {
        if (a.first->path != b.first->path)
            return a.first->path < b.first->path;
        return false; // within a file: the engine's tree order, kept by the stable sort
    });

    // Paths of the set's other files, for the counterparts.
    const auto pathOf = [&](const CheckedFile* from, int number) -> std::string {
        if (number < 0 || from->number < 0)
            return from->path;
        const Group& group = groups.at(from->group);
        const CheckedFile* other = group.files[static_cast<std::size_t>(number)];
        return other ? other->path : from->path;
    };

    ov::FindingCounts counts;
    std::vector<ov::Finding> all;
    all.reserve(findings.size());
    for (const auto& entry : findings)
        all.push_back(entry.second);
    counts = ov::CountFindings(all);

    std::string out;
    if (options.json) {
        ordered_json doc;
        doc["files"] = ordered_json::array();
        for (const CheckedFile& file : files) {
            ordered_json f;
            f["path"] = file.path;
            f["number"] = file.number >= 0 ? ordered_json(file.number) : ordered_json(nullptr);
            f["read"] = file.model != nullptr;
            doc["files"].push_back(std::move(f));
        }
        doc["findings"] = ordered_json::array();
        for (const auto& [file, f] : findings) {
            ordered_json item;
            item["file"] = file->path;
            item["severity"] = std::string(ov::severityName(f.severity));
            item["code"] = std::string(f.code);
            item["path"] = ov::idPathText(f.where);
            item["entry"] = entryJson(f.where, file->path);
            item["message"] = f.message;
            item["counterpart"] = f.counterpart ? entryJson(*f.counterpart, pathOf(file, f.counterpart->file))
                                                : ordered_json(nullptr);
            ordered_json sync = ordered_json::array();
            if (f.canCopyToOverview)
                sync.push_back("copy-to-overview");
            if (f.canTakeFromOverview)
                sync.push_back("take-from-overview");
            item["sync"] = std::move(sync);
            if (f.canCopyToOverview || f.canTakeFromOverview)
                item["sync_part"] = syncPartName(f.syncPart);
            doc["findings"].push_back(std::move(item));
        }
        doc["counts"] = {{"errors", counts.errors}, {"warnings", counts.warnings}, {"notes", counts.notes}};
        out = jsonText(doc);
    } else {
        for (const auto& [file, f] : findings)
            out += file->path + ": " + std::string(ov::severityName(f.severity)) + " " + std::string(f.code) +
                   " " + ov::idPathText(f.where) + ": " + f.message + "\n";
    }
    if (!writeOut(out)) {
        std::fprintf(stderr, "mapquill-tool: sorry, the findings could not be written to standard output\n");
        return kExitBadInput;
    }
    if (!options.json)
        std::fprintf(stderr, "mapquill-tool: %s\n", ov::CountsText(counts).c_str());
    if (badInput || counts.errors > 0 || (options.warningsAsErrors && counts.warnings > 0))
        return kExitBadInput;
    return kExitSuccess;
}

int runDiffCommand(const std::vector<std::string>& args) {
    const Options options = parseOptions(args, false);
    if (!options.problem.empty())
        return usage(kDiffUsage, options.problem);
    if (options.operands.size() != 2)
        return usage(kDiffUsage);
    std::unique_ptr<ov::OvDataModel> models[2];
    for (int i = 0; i < 2; ++i) {
        std::string message;
        models[i] = loadOvData(options.operands[static_cast<std::size_t>(i)], message);
        if (!models[i]) {
            std::fprintf(stderr, "mapquill-tool: %s\n", message.c_str());
            return kExitBadInput;
        }
    }
    const std::vector<ov::Difference> differences = ov::DiffModels(*models[0], *models[1]);
    std::string out;
    if (options.json) {
        static constexpr const char* kKinds[] = {"changed", "removed", "added", "order"};
        ordered_json doc;
        doc["a"] = options.operands[0];
        doc["b"] = options.operands[1];
        doc["equal"] = differences.empty();
        doc["differences"] = ordered_json::array();
        for (const ov::Difference& d : differences) {
            ordered_json item;
            item["kind"] = kKinds[static_cast<int>(d.kind)];
            item["path"] = ov::idPathText(d.where);
            item["level"] = std::string(ov::levelName(d.where));
            if (d.kind == ov::Difference::Kind::Changed || d.kind == ov::Difference::Kind::Order) {
                item["field"] = d.field;
                item["before"] = d.before;
                item["after"] = d.after;
            } else {
                item["entry"] = d.summary;
            }
            item["line"] = ov::DifferenceLine(d);
            doc["differences"].push_back(std::move(item));
        }
        out = jsonText(doc);
    } else {
        for (const ov::Difference& d : differences)
            out += ov::DifferenceLine(d) + "\n";
    }
    if (!writeOut(out)) {
        std::fprintf(stderr,
                     "mapquill-tool: sorry, the differences could not be written to standard output\n");
        return kExitBadInput;
    }
    return differences.empty() ? kExitSuccess : kExitBadInput;
}

const char* const kCheckHelp =
    "  check [--json] [--warnings-as-errors] FILE|FOLDER...\n"
    "      Check OvData files against what the game is known to take, one line per finding:\n"
    "      FILE: severity rule-code path: message, where path is the entry's ID path\n"
    "      (sector/op/battle, \"file\" for the file itself). A file named OvData0..OvData9 is\n"
    "      checked for that slot (picture ID, sector limits); the numbered files of one\n"
    "      folder are also checked as a set, OvData1..9 against OvData0. A FOLDER stands for\n"
    "      its files OvData0..OvData9. Exit status 0 without errors, 1 with errors (or with\n"
    "      warnings under --warnings-as-errors) or when a file cannot be read. --json prints\n"
    "      the findings with their entries, counterparts and the syncs that fix them.\n"
    "      Rules: battles-per-op (error, more than 5), ops-per-sector (more than 4/4/3),\n"
    "      sectors-per-file (more than 3), one-sector-per-file (OvData1..9), picture-id,\n"
    "      rect-outside-map (314 x 491), rect-reversed, rect-not-drawn (note), duplicate-id\n"
    "      (error), id-numbering (note), empty-name, name-too-long, name-zero-byte,\n"
    "      coordinate-range and count-range (errors: the file cannot hold them), maps-in-total\n"
    "      (more than 50 battles, each fought on a map of its own); set rules:\n"
    "      missing-in-overview (error), name-differs, rect-differs (only between files on\n"
    "      the same map picture), flags-differ, sector-order, missing-in-sector-file.\n";

const char* const kDiffHelp =
    "  diff [--json] A B\n"
    "      The differences between the OvData files A and B, entry by entry, matched by ID\n"
    "      path: \"~\" changed field, \"-\" only in A, \"+\" only in B, \"order of\" for entries\n"
    "      both hold in another order. Exit status 0 when equal, 1 when different (or when a\n"
    "      file cannot be read).\n";

} // namespace mqtool
