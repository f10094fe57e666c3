// In-process PICT decoding of the public samples: 8-bit bands, 32-bit planar with alpha, a
// large version 1 bitmap, two vector drawings and four QuickTime images. Whole-process timings against
// ImageMagick: pict_vs_imagemagick.sh.
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

void decodeSample(benchmark::State& state, const char* name) {
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

BENCHMARK_CAPTURE(decodeSample, bands8_622x437, "tm_1_44bands_8bit.pict")->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(decodeSample, direct32_alpha_146x194, "tm_food.pct")->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(decodeSample, direct16_269x269, "tm_16bit.pict")->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(decodeSample, v1_bitmap_2265x2593, "tm_FC10_v1.PCT")->Unit(benchmark::kMicrosecond);
// QuickDraw drawing (no text renderer): 856 polygons and 5,000 lines of a map; 3,592 regions.
BENCHMARK_CAPTURE(decodeSample, vector_map_782x598, "tm_carte.pict")->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(decodeSample, vector_regions_1024x723, "tm_EDUC0052.pict")->Unit(benchmark::kMicrosecond);

// QuickTime images: 'raw ' and BMP by our own codecs, PNG through libpng, TIFF through libtiff.
BENCHMARK_CAPTURE(decodeSample, qt_raw24_160x159, "tm_u2.pict")->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(decodeSample, qt_png_500x662, "tm_qt_png.pict")->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(decodeSample, qt_tiff_500x662, "tm_qt_tiff.pict")->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(decodeSample, qt_bmp_500x662, "tm_qt_bmp.pict")->Unit(benchmark::kMicrosecond);

BENCHMARK_MAIN();
