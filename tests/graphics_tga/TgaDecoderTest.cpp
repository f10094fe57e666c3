#include "graphics/core/TgaDecoder.h"

#include "TestFiles.h"

#include <algorithm>
#include <gtest/gtest.h>

using gfx::TgaDecoder;
namespace fs = std::filesystem;

namespace {

std::vector<fs::path> fixtures() {
    std::vector<fs::path> out;
    for (const auto& entry : fs::directory_iterator(testfiles::kData / "tga"))
        if (entry.path().extension() == ".tga")
            out.push_back(entry.path());
    std::sort(out.begin(), out.end());
    return out;
}

// A true-colour header (2 x 2 unless told) followed by `payload`.
std::vector<std::uint8_t> tiny(std::uint8_t type, std::uint8_t bits, std::vector<std::uint8_t> payload,
                               std::uint16_t width = 2, std::uint16_t height = 2) {
    const std::uint8_t header[18] = {0,
                                     0,
                                     type,
                                     0,
                                     0,
                                     0,
                                     0,
                                     0,
                                     0,
                                     0,
                                     0,
                                     0,
                                     static_cast<std::uint8_t>(width),
                                     static_cast<std::uint8_t>(width >> 8),
                                     static_cast<std::uint8_t>(height),
                                     static_cast<std::uint8_t>(height >> 8),
                                     bits,
                                     0x20};
    // Sized once and filled with std::copy: g++ 12 at -O2 mistakes a vector insert here for an
    // out-of-bounds copy.
    std::vector<std::uint8_t> out(sizeof header + payload.size());
    std::copy(std::begin(header), std::end(header), out.begin());
    std::copy(payload.begin(), payload.end(), out.begin() + static_cast<std::ptrdiff_t>(sizeof header));
    return out;
}

} // namespace

TEST(TgaDecoder, EveryFixtureDecodesPixelExact) {
    const auto files = fixtures();
    ASSERT_GE(files.size(), 17u);
    for (fs::path file : files) {
        SCOPED_TRACE(file.filename().string());
        const std::vector<std::uint8_t> bytes = testfiles::readBytes(file);
        EXPECT_TRUE(TgaDecoder::looksLikeTga(bytes));
        const gfx::ImageResult result = TgaDecoder::decode(bytes);
        ASSERT_TRUE(result.ok()) << result.error;
        EXPECT_TRUE(testfiles::samePixels(result.image, testfiles::readPpm(file.replace_extension(".ppm"))));
    }
}

TEST(TgaDecoder, FifteenBitChannelsWidenByBitReplication) {
    // Pixels: 0x7FFF white, 0x7C00 red, 0x0000 black, 0x0421 (1, 1, 1) -> 8.
    const auto result = TgaDecoder::decode(tiny(2, 16, {0xFF, 0x7F, 0x00, 0x7C, 0x00, 0x00, 0x21, 0x04}));
    EXPECT_EQ(result.image.pixels, (std::vector<std::uint8_t>{255, 255, 255, 255, 0, 0, 0, 0, 0, 8, 8, 8}))
        << result.error;
}

TEST(TgaDecoder, TruncatedAndHostileFilesFailCleanly) {
    for (const fs::path& file : fixtures()) {
        const std::vector<std::uint8_t> bytes = testfiles::readBytes(file);
        // Every cut that removes pixel data must fail; the footer is the only optional tail.
        const bool hasFooter = file.filename().string().find("footer") != std::string::npos;
        for (std::size_t n = 0; n < bytes.size() - (hasFooter ? 26 : 0); ++n)
            EXPECT_FALSE(TgaDecoder::decode(std::span<const std::uint8_t>(bytes).first(n)).ok())
                << file.filename() << " cut at " << n;
    }
    const std::pair<const char*, std::vector<std::uint8_t>> hostile[] = {
        // 65535 x 65535 pixels over a few bytes of data: refused before allocating.
        {"huge raw", tiny(2, 24, std::vector<std::uint8_t>(30, 7), 65535, 65535)},
        {"huge run-length", tiny(10, 24, std::vector<std::uint8_t>(30, 0xFF), 65535, 65535)},
        {"run of 128 in 4 pixels", tiny(10, 24, {0xFF, 1, 2, 3})},
        {"raw packet of 4 with data for 1", tiny(10, 24, {0x03, 1, 2, 3})},
        {"unknown type", tiny(4, 24, std::vector<std::uint8_t>(12, 0))},
        {"impossible depth", tiny(2, 12, std::vector<std::uint8_t>(12, 0))},
        {"colour-mapped without a map", tiny(1, 8, std::vector<std::uint8_t>(4, 0))},
        {"zero width", tiny(2, 24, std::vector<std::uint8_t>(12, 0), 0, 2)},
    };
    for (const auto& [what, bytes] : hostile)
        EXPECT_FALSE(TgaDecoder::decode(bytes).ok()) << what;
}

TEST(TgaDecoder, SniffRejectsOtherFiles) {
    const std::string text = "Brenmoor battles\rline two\r";
    const std::vector<std::uint8_t> others[] = {
        {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n', 0, 0, 0, 13, 'I', 'H', 'D', 'R', 0, 0, 0, 1},
        std::vector<std::uint8_t>(600, 0),
        {text.begin(), text.end()},
        // A plausible header whose raw pixels cannot fit the file, and no footer.
        tiny(2, 24, std::vector<std::uint8_t>(11, 0)),
    };
    for (const auto& bytes : others)
        EXPECT_FALSE(TgaDecoder::looksLikeTga(bytes)) << bytes.size();
    EXPECT_TRUE(TgaDecoder::looksLikeTga(tiny(2, 24, std::vector<std::uint8_t>(12, 0))));
}
