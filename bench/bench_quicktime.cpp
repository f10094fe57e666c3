// In-process decoding of the public suite's QuickTime pictures (tests/data/pict/public): the
// 'raw ', PNG (libpng), TIFF (libtiff) and BMP codecs plus placing the image on the canvas.
#include "graphics/core/PictDecoder.h"

#include <benchmark/benchmark.h>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

std::vector<std::uint8_t> load(const char* name) {
    std::ifstream in(std::string(MQ_TEST_DATA_DIR) + "/pict/public/" + name, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void decodeQuickTime(benchmark::State& state, const char* name) {
    const auto data = load(name);
    std::int64_t pixels = 0;
    for (auto _ : state) {
        auto result = gfx::decodePictFile(data);
        if (!result.ok()) {
            state.SkipWithError(result.error.c_str());
            return;
        }
        pixels += std::int64_t{result.image.width} * result.image.height;
        benchmark::DoNotOptimize(result.image.pixels.data());
    }
    state.counters["Mpixel/s"] =
        benchmark::Counter(static_cast<double>(pixels) / 1e6, benchmark::Counter::kIsRate);
}

} // namespace

BENCHMARK_CAPTURE(decodeQuickTime, raw24_160x159, "tm_u2.pict")->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(decodeQuickTime, png_500x662, "tm_qt_png.pict")->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(decodeQuickTime, tiff_500x662, "tm_qt_tiff.pict")->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(decodeQuickTime, bmp_500x662, "tm_qt_bmp.pict")->Unit(benchmark::kMicrosecond);

BENCHMARK_MAIN();
