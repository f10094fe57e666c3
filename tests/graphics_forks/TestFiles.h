#pragma once

#include "graphics/core/RgbImage.h"

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <string>
#include <unistd.h>
#include <vector>

// Helpers shared by the picture tests: whole-file reads and writes, the binary PPM (P6) files the
// fixture generators write as expected pixels, and a pixel comparison that names the first difference.
namespace testfiles {

inline const std::filesystem::path kData = MQ_TEST_DATA_DIR;
inline const std::filesystem::path kSamples = kData / "samples";

inline std::vector<std::uint8_t> readBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline void writeBytes(const std::filesystem::path& path, const std::vector<std::uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

// "P6\nW H\n255\n" followed by W*H*3 bytes; a null image when the file is not like that.
inline gfx::RgbImage readPpm(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::string magic;
    int w = 0, h = 0, maxval = 0;
    in >> magic >> w >> h >> maxval;
    in.get();
    if (magic != "P6" || w <= 0 || h <= 0 || maxval != 255)
        return {};
    gfx::RgbImage image(w, h);
    in.read(reinterpret_cast<char*>(image.pixels.data()), static_cast<std::streamsize>(image.pixels.size()));
    return in ? image : gfx::RgbImage{};
}

// Equal sizes and every channel within `tolerance`; otherwise the first pixel that differs.
inline ::testing::AssertionResult samePixels(const gfx::RgbImage& got, const gfx::RgbImage& want,
                                             int tolerance = 0) {
    if (want.isNull())
        return ::testing::AssertionFailure() << "expected image missing";
    if (got.width != want.width || got.height != want.height)
        return ::testing::AssertionFailure()
               << got.width << "x" << got.height << " instead of " << want.width << "x" << want.height;
    for (std::size_t i = 0; i < got.pixels.size(); ++i)
        if (std::abs(got.pixels[i] - want.pixels[i]) > tolerance)
            return ::testing::AssertionFailure()
                   << "pixel (" << (i / 3) % std::size_t(want.width) << ", "
                   << (i / 3) / std::size_t(want.width) << ") channel " << i % 3 << ": " << int(got.pixels[i])
                   << " instead of " << int(want.pixels[i]);
    return ::testing::AssertionSuccess();
}

// A fresh, empty folder under the system temp folder, removed when the object goes away.
class TempDir {
public:
    explicit TempDir(const std::string& name)
        : m_path(std::filesystem::temp_directory_path() / (name + "-" + std::to_string(::getpid()))) {
        std::filesystem::remove_all(m_path);
        std::filesystem::create_directories(m_path);
    }
    ~TempDir() { std::filesystem::remove_all(m_path); }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const std::filesystem::path& path() const { return m_path; }

private:
    std::filesystem::path m_path;
};

} // namespace testfiles
