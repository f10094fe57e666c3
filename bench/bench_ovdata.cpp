// Read and write of the largest legal OvData file (11 x 11 x 11 battles, 95,243 bytes), with a
// memcpy of the same size as the yardstick for the ratio.
#include "BenchModels.h"
#include "ovdata/BatnamesExport.h"
#include "ovdata/OvDataFile.h"

#include <benchmark/benchmark.h>
#include <cstring>
#include <random>
#include <vector>

namespace {

ov::OvDataModel& largestModel() {
    static ov::OvDataModel model = bench::largestModel(1331);
    return model;
}

const std::vector<std::uint8_t>& largestFile() {
    static const std::vector<std::uint8_t> bytes = ov::WriteToOvDataFile(largestModel()).bytes;
    return bytes;
}

void BM_ReadLargestFile(benchmark::State& state) {
    const std::vector<std::uint8_t>& file = largestFile();
    for (auto _ : state) {
        ov::OvDataReadResult read = ov::ReadFromOvDataFile(file);
        benchmark::DoNotOptimize(read.model.get());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * file.size()));
}

// The editor's path: read into the model it keeps, replacing it only on success.
void BM_ReadLargestFileInPlace(benchmark::State& state) {
    const std::vector<std::uint8_t>& file = largestFile();
    auto model = std::make_unique<ov::OvDataModel>();
    for (auto _ : state) {
        std::string message = ov::ReadFromOvDataFile(file, *model);
        benchmark::DoNotOptimize(message.data());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * file.size()));
}

void BM_WriteLargestFile(benchmark::State& state) {
    ov::OvDataModel& model = largestModel();
    for (auto _ : state) {
        ov::OvDataWriteResult written = ov::WriteToOvDataFile(model);
        benchmark::DoNotOptimize(written.bytes.data());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * largestFile().size()));
}

void BM_MemcpyLargestFileSize(benchmark::State& state) {
    const std::vector<std::uint8_t>& file = largestFile();
    std::vector<std::uint8_t> target(file.size());
    for (auto _ : state) {
        std::memcpy(target.data(), file.data(), file.size());
        benchmark::DoNotOptimize(target.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * file.size()));
}

void BM_BatnamesOfLargestModel(benchmark::State& state) {
    const ov::OvDataModel& model = largestModel();
    std::size_t size = 0;
    for (auto _ : state) {
        const std::string text = ov::ExportAsBatnamesFile(model);
        size = text.size();
        benchmark::DoNotOptimize(text.data());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * size));
}

} // namespace

BENCHMARK(BM_ReadLargestFile);
BENCHMARK(BM_ReadLargestFileInPlace);
BENCHMARK(BM_WriteLargestFile);
BENCHMARK(BM_MemcpyLargestFileSize);
BENCHMARK(BM_BatnamesOfLargestModel);
BENCHMARK_MAIN();
