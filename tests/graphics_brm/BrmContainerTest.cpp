#include "graphics/core/BrmContainer.h"
#include "graphics/core/PictureMessages.h"

#include "TestFiles.h"

#include <gtest/gtest.h>

#include <filesystem>

using gfx::BrmContainer;
namespace msg = gfx::PictureMessages;

namespace {

const std::filesystem::path kBrm = std::filesystem::path(MQ_TEST_DATA_DIR) / "brm";

void putLe32(std::vector<std::uint8_t>& b, std::size_t at, std::int32_t value)
{
    const auto v = static_cast<std::uint32_t>(value);
    for (int i = 0; i < 4; ++i)
        b[at + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(v >> (8 * i));
}

// A container with `count` in its header and one picture in slot `slot` whose pixels are `words`.
std::vector<std::uint8_t> container(std::int32_t count, int slot, std::int32_t width, std::int32_t height,
                                    const std::vector<std::uint16_t>& words)
{
    std::vector<std::uint8_t> b(1204, 0);
    putLe32(b, 0, count);
    putLe32(b, 4 + 4 * static_cast<std::size_t>(slot), 1204);
    putLe32(b, 404 + 4 * static_cast<std::size_t>(slot), width);
    putLe32(b, 804 + 4 * static_cast<std::size_t>(slot), height);
    for (std::uint16_t w : words) {
        b.push_back(static_cast<std::uint8_t>(w));
        b.push_back(static_cast<std::uint8_t>(w >> 8));
    }
    return b;
}

std::vector<std::uint8_t> rgbOf(const std::vector<std::uint16_t>& words)
{
    std::vector<std::uint8_t> bytes;
    for (std::uint16_t w : words) {
        bytes.push_back(static_cast<std::uint8_t>(w));
        bytes.push_back(static_cast<std::uint8_t>(w >> 8));
    }
    std::vector<std::uint8_t> rgb(words.size() * 3);
    BrmContainer::convertRow(bytes.data(), rgb.data(), words.size());
    return rgb;
}

} // namespace

TEST(BrmContainer, PixelWordsBecomeTheGamesColours)
{
    // Red and blue keep five bits, green the upper five of its six; nothing is widened.
    EXPECT_EQ(rgbOf({0xFFFF}), (std::vector<std::uint8_t>{248, 248, 248}));
    EXPECT_EQ(rgbOf({0xF800}), (std::vector<std::uint8_t>{248, 0, 0}));
    EXPECT_EQ(rgbOf({0x07E0}), (std::vector<std::uint8_t>{0, 248, 0}));
    EXPECT_EQ(rgbOf({0x0020}), (std::vector<std::uint8_t>{0, 0, 0}));
    EXPECT_EQ(rgbOf({0x001F}), (std::vector<std::uint8_t>{0, 0, 248}));
    EXPECT_EQ(rgbOf({0x0841}), (std::vector<std::uint8_t>{8, 8, 8}));
}

TEST(BrmContainer, GeneratedContainerDecodesRowByRowLittleEndian)
{
    const std::vector<std::uint8_t> file = testfiles::readBytes(kBrm / "Intrface_test.brm");
    EXPECT_TRUE(BrmContainer::looksLikeContainer(file));
    for (int slot : {13, 14, 18}) {
        SCOPED_TRACE(slot);
        const gfx::ImageResult result = BrmContainer::decodeId(file, 1000 + slot);
        ASSERT_TRUE(result.ok()) << result.error;
        const gfx::RgbImage want = testfiles::readPpm(kBrm / ("slot" + std::to_string(slot) + ".ppm"));
        EXPECT_EQ(result.image.width, want.width);
        EXPECT_EQ(result.image.height, want.height);
        EXPECT_TRUE(result.image.pixels == want.pixels);
    }
    const gfx::BrmListResult listed = BrmContainer::list(file);
    ASSERT_EQ(listed.entries.size(), 19u);
    EXPECT_EQ(listed.entries[13].width, 31);
    EXPECT_EQ(listed.entries[13].height, 47);
    EXPECT_EQ(listed.entries[0].width, 1);

    // Row order and byte order: a 2 x 2 picture whose words differ only in one byte.
    const auto small = container(14, 13, 2, 2, {0x00F8, 0xF800, 0x001F, 0x1F00});
    const auto decoded = BrmContainer::decodeId(small, 1013);
    ASSERT_TRUE(decoded.ok()) << decoded.error;
    EXPECT_EQ(decoded.image.pixels,
              (std::vector<std::uint8_t>{0, 24, 192, 248, 0, 0, 0, 0, 248, 24, 224, 0}));
}

TEST(BrmContainer, CountAndDirectoryDecideWhichPicturesExist)
{
    const auto fourteen = container(14, 13, 1, 1, {0xFFFF});
    EXPECT_TRUE(BrmContainer::decodeId(fourteen, 1013).ok());
    const auto thirteen = container(13, 13, 1, 1, {0xFFFF});
    EXPECT_EQ(BrmContainer::decodeId(thirteen, 1013).error, msg::kPictureNotInFile);

    // IDs below 1000 and slots past the 100-entry directory, whatever the count claims.
    const auto many = container(5000, 0, 1, 1, {0xFFFF});
    EXPECT_EQ(BrmContainer::decodeId(many, 999).error, msg::kPictureNotInFile);
    EXPECT_EQ(BrmContainer::decodeId(many, 1100).error, msg::kPictureNotInFile);
    EXPECT_EQ(BrmContainer::decodeId(container(-3, 0, 1, 1, {0}), 1000).error, msg::kPictureNotInFile);
    EXPECT_TRUE(BrmContainer::decodeId(many, 1000).ok());
    EXPECT_EQ(BrmContainer::list(many).entries.size(), 100u);
}

TEST(BrmContainer, EachFailureHasItsMessage)
{
    for (std::size_t n = 0; n <= 4; ++n)
        EXPECT_EQ(BrmContainer::decodeId(std::vector<std::uint8_t>(n, 0x14), 1013).error, msg::kFileEmpty) << n;

    // The directory itself is cut short before slot 13's height.
    auto cut = container(14, 13, 1, 1, {0xFFFF});
    cut.resize(856);
    EXPECT_EQ(BrmContainer::decodeId(cut, 1013).error, msg::kPictureNotInFile);

    // Sizes no picture can have.
    EXPECT_EQ(BrmContainer::decodeId(container(14, 13, 0, 5, {}), 1013).error, msg::kMemoryOverflow);
    EXPECT_EQ(BrmContainer::decodeId(container(14, 13, 5, -1, {}), 1013).error, msg::kMemoryOverflow);
    EXPECT_EQ(BrmContainer::decodeId(container(14, 13, 0x7FFFFFFF, 0x7FFFFFFF, {}), 1013).error, msg::kMemoryOverflow);
    EXPECT_EQ(BrmContainer::decodeId(container(14, 13, 40000, 1, {}), 1013).error, msg::kMemoryOverflow);

    // A block outside the file: more pixels than bytes, a negative offset, an offset past the end.
    EXPECT_EQ(BrmContainer::decodeId(container(14, 13, 2, 2, {1, 2, 3}), 1013).error, msg::kPictureNotInFile);
    EXPECT_EQ(BrmContainer::decodeId(container(14, 13, 10000, 10000, {1, 2}), 1013).error, msg::kPictureNotInFile);
    auto negative = container(14, 13, 1, 1, {0xFFFF});
    putLe32(negative, 4 + 4 * 13, -2);
    EXPECT_EQ(BrmContainer::decodeId(negative, 1013).error, msg::kPictureNotInFile);
    auto past = container(14, 13, 1, 1, {0xFFFF});
    putLe32(past, 4 + 4 * 13, 0x7FFFFFFF);
    EXPECT_EQ(BrmContainer::decodeId(past, 1013).error, msg::kPictureNotInFile);
}

TEST(BrmContainer, SniffNeedsAPlausibleDirectory)
{
    EXPECT_TRUE(BrmContainer::looksLikeContainer(container(14, 13, 2, 2, {1, 2, 3, 4})));
    EXPECT_FALSE(BrmContainer::looksLikeContainer(container(0, 13, 2, 2, {1, 2, 3, 4})));
    EXPECT_FALSE(BrmContainer::looksLikeContainer(container(101, 13, 2, 2, {1, 2, 3, 4})));
    EXPECT_FALSE(BrmContainer::looksLikeContainer(container(14, 13, 2, 2, {1, 2, 3})));
    EXPECT_FALSE(BrmContainer::looksLikeContainer(container(14, 13, 0, 0, {})));
    EXPECT_FALSE(BrmContainer::looksLikeContainer(std::vector<std::uint8_t>(2000, 0)));
}
