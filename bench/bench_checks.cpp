// Every rule of the check engine on the largest legal model (11 x 11 x 11 battles), alone and as a
// set of ten such files (OvData0..9). Goals: 1 ms for one file, 10 ms for the set.
#include "BenchModels.h"
#include "ovdata/OvDataChecks.h"
#include "ovdata/OvDataDiff.h"

#include <benchmark/benchmark.h>
#include <random>

namespace {

// The largest model, with findings everywhere: every op holds too many battles, many rectangles
// reversed or outside the map.
ov::OvDataModel largestModel(std::uint32_t seed) {
    return bench::largestModel(seed, 330, 500);
}

void BM_CheckLargestFile(benchmark::State& state) {
    const ov::OvDataModel model = largestModel(1331);
    std::size_t findings = 0;
    for (auto _ : state) {
        const std::vector<ov::Finding> found = ov::CheckFile(model, 0);
        findings = found.size();
        benchmark::DoNotOptimize(found.data());
    }
    state.counters["findings"] = static_cast<double>(findings);
}
BENCHMARK(BM_CheckLargestFile)->Unit(benchmark::kMicrosecond);

// All rules on `set` in each iteration; the count of findings is reported beside the time.
void checkSetLoop(benchmark::State& state, const ov::OvDataSet& set) {
    std::size_t findings = 0;
    for (auto _ : state) {
        const std::vector<ov::Finding> found = ov::CheckSet(set);
        findings = found.size();
        benchmark::DoNotOptimize(found.data());
    }
    state.counters["findings"] = static_cast<double>(findings);
}

// The worst case: ten largest files on one picture, each with other random rectangles and names,
// so nearly every entry of OvData1..9 is reported against OvData0 field by field.
void BM_CheckSetOfTenLargest(benchmark::State& state) {
    std::vector<ov::OvDataModel> models;
    for (int n = 0; n < ov::kFileNumbers; ++n) {
        models.push_back(largestModel(n == 0 ? 1331 : 1331 + static_cast<std::uint32_t>(n)));
        models.back().OvResourceID = 1013;
    }
    ov::OvDataSet set{};
    for (int n = 0; n < ov::kFileNumbers; ++n)
        set[static_cast<std::size_t>(n)] = &models[static_cast<std::size_t>(n)];
    checkSetLoop(state, set);
}
BENCHMARK(BM_CheckSetOfTenLargest)->Unit(benchmark::kMillisecond);

// The set as a mod has it, at the largest size: OvData0 with eleven full sectors and OvData1..9
// each holding its sector of OvData0 on its own map picture, every tenth battle renamed.
void BM_CheckSetOfTenLargestAsTheGameHasThem(benchmark::State& state) {
    const ov::OvDataModel overview = largestModel(1331);
    std::vector<ov::OvDataModel> files(ov::kFileNumbers - 1);
    for (int n = 1; n < ov::kFileNumbers; ++n) {
        ov::OvDataModel& m = files[static_cast<std::size_t>(n - 1)];
        m.InitProperties();
        m.OvResourceID = 1013 + n;
        m.OvNumberOfSectors = 1;
        const int s = n - 1;
        m.SectorID[0] = overview.SectorID[s];
        m.SectorName[0] = overview.SectorName[s];
        m.SectorXY[0] = overview.SectorXY[s];
        m.SectorNumberOfOps[0] = overview.SectorNumberOfOps[s];
        m.OpsID[0] = overview.OpsID[s];
        m.OpsName[0] = overview.OpsName[s];
        m.OpsXY[0] = overview.OpsXY[s];
        m.OpsNumberOfBattles[0] = overview.OpsNumberOfBattles[s];
        m.BatID[0] = overview.BatID[s];
        m.BatName[0] = overview.BatName[s];
        m.BatXY[0] = overview.BatXY[s];
        m.BatTail[0] = overview.BatTail[s];
        for (int o = 0; o < ov::kCapacity; ++o)
            m.BatName[0][o][o % 10] += " (renamed)";
    }
    ov::OvDataSet set{};
    set[0] = &overview;
    for (int n = 1; n < ov::kFileNumbers; ++n)
        set[static_cast<std::size_t>(n)] = &files[static_cast<std::size_t>(n - 1)];
    checkSetLoop(state, set);
}
BENCHMARK(BM_CheckSetOfTenLargestAsTheGameHasThem)->Unit(benchmark::kMillisecond);

// Ten equal largest files: every rule, the set rules finding nothing to compare against.
void BM_CheckSetOfTenEqualLargest(benchmark::State& state) {
    const ov::OvDataModel model = largestModel(1331);
    ov::OvDataSet set{};
    for (auto& slot : set)
        slot = &model;
    checkSetLoop(state, set);
}
BENCHMARK(BM_CheckSetOfTenEqualLargest)->Unit(benchmark::kMillisecond);

void BM_DiffLargestFiles(benchmark::State& state) {
    const ov::OvDataModel a = largestModel(1331);
    const ov::OvDataModel b = largestModel(1332);
    for (auto _ : state) {
        const std::vector<ov::Difference> found = ov::DiffModels(a, b);
        benchmark::DoNotOptimize(found.data());
    }
}
BENCHMARK(BM_DiffLargestFiles)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
