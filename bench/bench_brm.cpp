// Decoding speed of the 16-bit picture container: the game's map size (314 x 491) and a large
// picture (1024 x 1024). items/s counts pixels.
#include "graphics/core/BrmContainer.h"

#include <benchmark/benchmark.h>
#include <cstdint>
#include <vector>

namespace {

// A one-picture container (slot 13, ID 1013) of the given size filled with varied words.
std::vector<std::uint8_t> makeContainer(std::int32_t width, std::int32_t height) {
    std::vector<std::uint8_t> file(gfx::BrmLayout::kHeaderSize, 0);
    auto put = [&file](std::size_t at, std::int32_t value) {
        for (int i = 0; i < 4; ++i)
            file[at + static_cast<std::size_t>(i)] =
                static_cast<std::uint8_t>(static_cast<std::uint32_t>(value) >> (8 * i));
    };
    put(gfx::BrmLayout::kCountOffset, 14);
    put(gfx::BrmLayout::kOffsetTable + 4 * 13, static_cast<std::int32_t>(gfx::BrmLayout::kHeaderSize));
    put(gfx::BrmLayout::kWidthTable + 4 * 13, width);
    put(gfx::BrmLayout::kHeightTable + 4 * 13, height);
    std::uint32_t seed = 12345;
    for (std::int64_t i = 0; i < std::int64_t{width} * height; ++i) {
        seed = seed * 1103515245u + 12345u;
        file.push_back(static_cast<std::uint8_t>(seed >> 16));
        file.push_back(static_cast<std::uint8_t>(seed >> 24));
    }
    return file;
}

void decode(benchmark::State& state) {
    const auto width = static_cast<std::int32_t>(state.range(0));
    const auto height = static_cast<std::int32_t>(state.range(1));
    const std::vector<std::uint8_t> file = makeContainer(width, height);
    for (auto _ : state) {
        gfx::ImageResult result = gfx::BrmContainer::decodeId(file, 1013);
        benchmark::DoNotOptimize(result.image.pixels.data());
        if (!result.ok())
            state.SkipWithError("decode failed");
    }
    state.SetItemsProcessed(state.iterations() * std::int64_t{width} * height);
}

} // namespace

BENCHMARK(decode)->Args({314, 491})->Args({1024, 1024})->Unit(benchmark::kMicrosecond);

BENCHMARK_MAIN();
