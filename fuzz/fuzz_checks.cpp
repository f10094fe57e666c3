// libFuzzer target for the check engine, the set syncs and the diff. The input is two OvData
// files: byte 0 picks the second file's number (1..9), bytes 1-2 the length of the first file,
// the rest of the input is the second file. For any pair the reader accepts:
//  - the checks, the set checks and the diff run without fault, and a model equals itself;
//  - every sync a set finding offers either is refused with a message and changes nothing, or
//    removes exactly that finding (one of several identical findings for repeated IDs).
#include "ovdata/OvDataChecks.h"
#include "ovdata/OvDataDiff.h"
#include "ovdata/OvDataFile.h"
#include "ovdata/OvDataSync.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

namespace {

std::string text(const ov::Finding& f) {
    return std::string(f.code) + "|" + std::to_string(f.where.file) + "|" + ov::idPathText(f.where) + "|" +
           f.message;
}

long count(const std::vector<ov::Finding>& findings, const std::string& wanted) {
    return std::count_if(findings.begin(), findings.end(),
                         [&](const ov::Finding& f) { return text(f) == wanted; });
}

void trySync(const ov::OvDataModel& overview, const ov::OvDataModel& file, int number,
             const ov::Finding& finding, ov::SyncDirection direction,
             const std::vector<ov::Finding>& before) {
    ov::OvDataModel o = overview, n = file;
    const std::string refused = ov::ApplySync(o, n, finding, direction);
    if (!refused.empty()) {
        if (!(o == overview) || !(n == file))
            __builtin_trap();
        return;
    }
    ov::OvDataSet set{};
    set[0] = &o;
    set[static_cast<std::size_t>(number)] = &n;
    const std::string wanted = text(finding);
    if (count(ov::CheckSetRules(set), wanted) >= count(before, wanted))
        __builtin_trap();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 3)
        return 0;
    const int number = 1 + data[0] % 9;
    const std::size_t firstSize = std::min<std::size_t>(size - 3, (std::size_t{data[1]} << 8) | data[2]);
    const std::span<const std::uint8_t> first(data + 3, firstSize);
    const std::span<const std::uint8_t> second(data + 3 + firstSize, size - 3 - firstSize);
    ov::OvDataReadResult a = ov::ReadFromOvDataFile(first);
    ov::OvDataReadResult b = ov::ReadFromOvDataFile(second);
    if (!a.ok() || !b.ok())
        return 0;
    const ov::OvDataModel& overview = *a.model;
    const ov::OvDataModel& file = *b.model;

    (void)ov::CheckFile(overview, 0);
    (void)ov::CheckFile(file);
    if (!ov::DiffModels(overview, overview).empty())
        __builtin_trap();
    for (const ov::Difference& d : ov::DiffModels(overview, file))
        (void)ov::DifferenceLine(d);

    ov::OvDataSet set{};
    set[0] = &overview;
    set[static_cast<std::size_t>(number)] = &file;
    (void)ov::CheckSet(set);
    const std::vector<ov::Finding> before = ov::CheckSetRules(set);
    for (const ov::Finding& finding : before) {
        if (finding.canCopyToOverview)
            trySync(overview, file, number, finding, ov::SyncDirection::ToOverview, before);
        if (finding.canTakeFromOverview)
            trySync(overview, file, number, finding, ov::SyncDirection::FromOverview, before);
    }
    return 0;
}
