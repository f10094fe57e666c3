#include "graphics/core/BrmContainer.h"

#include "TestFiles.h"

#include <gtest/gtest.h>

using gfx::BrmContainer;
using Bytes = std::vector<std::uint8_t>;

namespace {

void putLe32(Bytes& b, std::size_t at, std::int32_t value) {
    for (std::size_t i = 0; i < 4; ++i)
        b[at + i] = static_cast<std::uint8_t>(static_cast<std::uint32_t>(value) >> (8 * i));
}

Bytes wordsLe(const std::vector<std::uint16_t>& words) {
    Bytes b;
    for (std::uint16_t w : words)
        b.insert(b.end(), {static_cast<std::uint8_t>(w), static_cast<std::uint8_t>(w >> 8)});
    return b;
}

// A container with `count` in its header and one picture in slot `slot` whose pixels are `words`.
Bytes container(std::int32_t count, int slot, std::int32_t width, std::int32_t height,
                const std::vector<std::uint16_t>& words) {
    Bytes b(1204, 0);
    putLe32(b, 0, count);
    for (const auto& [base, value] : {std::pair{4, 1204}, {404, width}, {804, height}})
        putLe32(b, std::size_t(base + 4 * slot), value);
    const Bytes pixels = wordsLe(words);
    b.insert(b.end(), pixels.begin(), pixels.end());
    return b;
}

// The program's own texts, spelled out so that a changed message shows here.
const std::string kNotInFile = "sorry, picture not in file.";
const std::string kOverflow = "memory overflow when creating picture.";

std::string decodeError(const Bytes& file, int id = 1013) {
    return BrmContainer::decodeId(file, id).error;
}

} // namespace

TEST(BrmContainer, PixelWordsBecomeTheGamesColours) {
    // Red and blue keep five bits, green the upper five of its six; nothing is widened.
    const std::pair<std::uint16_t, Bytes> cases[] = {
        {0xFFFF, {248, 248, 248}}, {0xF800, {248, 0, 0}}, {0x07E0, {0, 248, 0}},
        {0x0020, {0, 0, 0}},       {0x001F, {0, 0, 248}}, {0x0841, {8, 8, 8}},
    };
    for (const auto& [word, rgb] : cases) {
        Bytes got(3);
        BrmContainer::convertRow(wordsLe({word}).data(), got.data(), 1);
        EXPECT_EQ(got, rgb) << std::hex << word;
    }
}

TEST(BrmContainer, GeneratedContainerDecodesRowByRowLittleEndian) {
    const Bytes file = testfiles::readBytes(testfiles::kData / "brm" / "Intrface_test.brm");
    EXPECT_TRUE(BrmContainer::looksLikeContainer(file));
    for (int slot : {13, 14, 18}) {
        const gfx::ImageResult result = BrmContainer::decodeId(file, 1000 + slot);
        ASSERT_TRUE(result.ok()) << slot << ": " << result.error;
        EXPECT_TRUE(testfiles::samePixels(
            result.image,
            testfiles::readPpm(testfiles::kData / "brm" / ("slot" + std::to_string(slot) + ".ppm"))))
            << slot;
    }
    const gfx::BrmListResult listed = BrmContainer::list(file);
    ASSERT_EQ(listed.entries.size(), 19u);
    EXPECT_TRUE(listed.entries[13].width == 31 && listed.entries[13].height == 47 &&
                listed.entries[0].width == 1);

    // Row order and byte order: a 2 x 2 picture whose words differ only in one byte.
    const auto decoded =
        BrmContainer::decodeId(container(14, 13, 2, 2, {0x00F8, 0xF800, 0x001F, 0x1F00}), 1013);
    EXPECT_EQ(decoded.image.pixels, (Bytes{0, 24, 192, 248, 0, 0, 0, 0, 248, 24, 224, 0})) << decoded.error;
}

TEST(BrmContainer, CountAndDirectoryDecideWhichPicturesExist) {
    EXPECT_TRUE(BrmContainer::decodeId(container(14, 13, 1, 1, {0xFFFF}), 1013).ok());
    EXPECT_EQ(decodeError(container(13, 13, 1, 1, {0xFFFF})), kNotInFile);
    // IDs below 1000 and slots past the 100-entry directory, whatever the count claims.
    const auto many = container(5000, 0, 1, 1, {0xFFFF});
    EXPECT_EQ(decodeError(many, 999), kNotInFile);
    EXPECT_EQ(decodeError(many, 1100), kNotInFile);
    EXPECT_EQ(decodeError(container(-3, 0, 1, 1, {0}), 1000), kNotInFile);
    EXPECT_TRUE(BrmContainer::decodeId(many, 1000).ok());
    // The listing stops at the directory's 100 slots and names only slots that hold a picture.
    EXPECT_EQ(BrmContainer::list(many).entries.size(), 1u);
}

TEST(BrmContainer, EachFailureHasItsMessage) {
    for (std::size_t n = 0; n <= 4; ++n)
        EXPECT_EQ(decodeError(Bytes(n, 0x14)), "sorry, file is empty.") << n;

    auto cut = container(14, 13, 1, 1, {0xFFFF});
    cut.resize(856); // the directory itself ends before slot 13's height
    auto negative = container(14, 13, 1, 1, {0xFFFF});
    putLe32(negative, 4 + 4 * 13, -2);
    auto past = container(14, 13, 1, 1, {0xFFFF});
    putLe32(past, 4 + 4 * 13, 0x7FFFFFFF);
    const std::pair<Bytes, std::string> cases[] = {
        {cut, kNotInFile},
        // Sizes no picture can have.
        {container(14, 13, 0, 5, {}), kOverflow},
        {container(14, 13, 5, -1, {}), kOverflow},
        {container(14, 13, 0x7FFFFFFF, 0x7FFFFFFF, {}), kOverflow},
        {container(14, 13, 40000, 1, {}), kOverflow},
        // A block outside the file: more pixels than bytes, a negative offset, an offset past the end.
        {container(14, 13, 2, 2, {1, 2, 3}), kNotInFile},
        {container(14, 13, 10000, 10000, {1, 2}), kNotInFile},
        {negative, kNotInFile},
        {past, kNotInFile},
    };
    for (std::size_t i = 0; i < std::size(cases); ++i)
        EXPECT_EQ(decodeError(cases[i].first), cases[i].second) << "case " << i;
}

TEST(BrmContainer, SniffNeedsAPlausibleDirectory) {
    EXPECT_TRUE(BrmContainer::looksLikeContainer(container(14, 13, 2, 2, {1, 2, 3, 4})));
    for (const Bytes& other :
         {container(0, 13, 2, 2, {1, 2, 3, 4}), container(101, 13, 2, 2, {1, 2, 3, 4}),
          container(14, 13, 2, 2, {1, 2, 3}), container(14, 13, 0, 0, {}), Bytes(2000, 0)})
        EXPECT_FALSE(BrmContainer::looksLikeContainer(other)) << other.size();
}
