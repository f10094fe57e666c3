#include "graphics/core/ResourceFork.h"

#include "TestFiles.h"

#include <gtest/gtest.h>

#include <filesystem>

using gfx::ResourceFork;

namespace {

const std::filesystem::path kForks = std::filesystem::path(MQ_TEST_DATA_DIR) / "forks";
constexpr ResourceFork::FourCC kStr = 0x53545220u;   // 'STR '

std::vector<std::uint8_t> mapFork() { return testfiles::readBytes(kForks / "map.rsrc"); }

std::uint32_t be32(const std::vector<std::uint8_t>& b, std::size_t at)
{
    return (std::uint32_t{b[at]} << 24) | (std::uint32_t{b[at + 1]} << 16) | (std::uint32_t{b[at + 2]} << 8) | b[at + 3];
}
void put16(std::vector<std::uint8_t>& b, std::size_t at, std::uint16_t v)
{
    b[at] = static_cast<std::uint8_t>(v >> 8);
    b[at + 1] = static_cast<std::uint8_t>(v);
}
void put32(std::vector<std::uint8_t>& b, std::size_t at, std::uint32_t v)
{
    put16(b, at, static_cast<std::uint16_t>(v >> 16));
    put16(b, at + 2, static_cast<std::uint16_t>(v));
}

// Positions inside the generated fork: its map starts at the header's map offset, the type list at
// map + 28 and the first type is 'PICT', whose reference list follows the two type entries.
struct MapPositions {
    std::size_t map;
    std::size_t typeList;
    std::size_t firstRef;   // PICT 1013
};
MapPositions positions(const std::vector<std::uint8_t>& fork)
{
    const std::size_t map = be32(fork, 4);
    const std::size_t typeList = map + 28;
    const std::size_t refOffset = static_cast<std::size_t>((fork[typeList + 8] << 8) | fork[typeList + 9]);
    return {map, typeList, typeList + refOffset};
}

} // namespace

TEST(ResourceFork, ListsAndFindsPictResourcesOfTheGeneratedFork)
{
    const gfx::ResourceForkResult parsed = ResourceFork::parse(mapFork());
    ASSERT_TRUE(parsed.ok()) << parsed.error;
    const auto picts = parsed.fork->resources(ResourceFork::kPict);
    ASSERT_EQ(picts.size(), 3u);
    EXPECT_EQ(picts[0].id, 1013);
    EXPECT_EQ(picts[0].name, "over");
    EXPECT_EQ(picts[1].id, 1014);
    EXPECT_EQ(picts[1].name, "");
    EXPECT_EQ(picts[2].id, 128);
    EXPECT_EQ(picts[2].name, "Map");

    const auto found = parsed.fork->find(ResourceFork::kPict, 1014);
    ASSERT_TRUE(found.ok());
    EXPECT_EQ(found.data.size(), picts[1].length);
    const auto title = parsed.fork->find(kStr, 128);
    ASSERT_TRUE(title.ok());
    EXPECT_EQ(std::string(title.data.begin(), title.data.end()), "\x08Test map");

    EXPECT_FALSE(parsed.fork->find(ResourceFork::kPict, 1020).ok());
    EXPECT_FALSE(parsed.fork->find(kStr, 1013).ok()) << "an ID of another type must not match";
}

TEST(ResourceFork, PublicSamplesEmptyMapAndNamedStrings)
{
    const std::filesystem::path samples = std::filesystem::path(MQ_SAMPLES_DIR) / "public";
    if (!std::filesystem::exists(samples / "rsrcfork_empty.rsrc"))
        GTEST_SKIP() << "shared samples not present";

    const auto empty = ResourceFork::parse(testfiles::readBytes(samples / "rsrcfork_empty.rsrc"));
    ASSERT_TRUE(empty.ok()) << empty.error;
    EXPECT_EQ(empty.fork->typeCount(), 0u);
    EXPECT_FALSE(empty.fork->find(ResourceFork::kPict, 1013).ok());

    const auto strings = ResourceFork::parse(testfiles::readBytes(samples / "rsrcfork_testfile.rsrc"));
    ASSERT_TRUE(strings.ok()) << strings.error;
    const auto list = strings.fork->resources(kStr);
    EXPECT_EQ(list.size(), 4u);
    for (const auto& info : list)
        EXPECT_TRUE(info.dataInRange);

    // A macOS "._" file handed in as if it were the fork itself.
    EXPECT_FALSE(ResourceFork::parse(testfiles::readBytes(samples / "exiftool_MacOS_appledouble.macos")).ok());
}

TEST(ResourceFork, HostileHeadersAndMapsAreRefused)
{
    const std::vector<std::uint8_t> good = mapFork();
    const MapPositions at = positions(good);
    struct Case {
        const char* name;
        void (*damage)(std::vector<std::uint8_t>&, const MapPositions&);
    };
    const Case cases[] = {
        {"map_offset_past_end", [](auto& b, const auto&) { put32(b, 4, 0xFFFFFFF0u); }},
        {"map_length_past_end", [](auto& b, const auto&) { put32(b, 12, 0x7FFFFFFFu); }},
        {"data_length_past_end", [](auto& b, const auto&) { put32(b, 8, 0xFFFFFFFFu); }},
        {"map_too_short", [](auto& b, const auto&) { put32(b, 12, 20); }},
        {"type_list_offset_past_map", [](auto& b, const auto& p) { put16(b, p.map + 24, 0xFFF0); }},
        {"type_count_too_big", [](auto& b, const auto& p) { put16(b, p.typeList, 0x7FFF); }},
        {"reference_count_too_big", [](auto& b, const auto& p) { put16(b, p.typeList + 6, 0xFFFE); }},
        {"reference_list_offset_past_map", [](auto& b, const auto& p) { put16(b, p.typeList + 8, 0xFF00); }},
        {"data_overlaps_map", [](auto& b, const auto& p) { put32(b, 8, static_cast<std::uint32_t>(p.map)); }},
    };
    for (const Case& c : cases) {
        std::vector<std::uint8_t> bad = good;
        c.damage(bad, at);
        EXPECT_FALSE(ResourceFork::parse(bad).ok()) << c.name;
    }
    EXPECT_FALSE(ResourceFork::parse({}).ok()) << "empty fork";
    EXPECT_FALSE(ResourceFork::parse(std::vector<std::uint8_t>(good.begin(), good.begin() + 15)).ok());
}

TEST(ResourceFork, ADamagedResourceFailsAloneAndTheOthersStillWork)
{
    std::vector<std::uint8_t> fork = mapFork();
    const MapPositions at = positions(fork);
    // PICT 1013: data offset far past the data area; PICT 1014: a length word past the end;
    // PICT 128: a name offset past the map and the compressed attribute.
    fork[at.firstRef + 5] = 0x7F;
    const std::size_t secondRef = at.firstRef + 12;
    const std::size_t lengthPos = 256 + ((fork[secondRef + 5] << 16) | (fork[secondRef + 6] << 8) | fork[secondRef + 7]);
    put32(fork, lengthPos, 0xFFFFFFF0u);
    const std::size_t thirdRef = at.firstRef + 24;
    put16(fork, thirdRef + 2, 0x7000);
    fork[thirdRef + 4] |= 0x01;

    const auto parsed = ResourceFork::parse(fork);
    ASSERT_TRUE(parsed.ok()) << parsed.error;
    EXPECT_FALSE(parsed.fork->find(ResourceFork::kPict, 1013).ok());
    EXPECT_FALSE(parsed.fork->find(ResourceFork::kPict, 1014).ok());
    const auto compressed = parsed.fork->find(ResourceFork::kPict, 128);
    EXPECT_FALSE(compressed.ok());
    EXPECT_NE(compressed.error.find("compressed"), std::string::npos);
    const auto list = parsed.fork->resources(ResourceFork::kPict);
    ASSERT_EQ(list.size(), 3u);
    EXPECT_FALSE(list[0].dataInRange);
    EXPECT_EQ(list[2].name, "") << "a name outside the map is dropped, not read";
    EXPECT_TRUE(parsed.fork->find(kStr, 128).ok());
}

TEST(ResourceFork, EveryTruncationFailsCleanly)
{
    const std::vector<std::uint8_t> good = mapFork();
    for (std::size_t n = 0; n < good.size(); ++n) {
        const auto parsed = ResourceFork::parse(std::vector<std::uint8_t>(good.begin(), good.begin() + static_cast<std::ptrdiff_t>(n)));
        if (!parsed.ok())
            continue;
        // Only a cut inside the unused part could still parse; lookups must then stay in bounds.
        for (const auto& info : parsed.fork->resources(ResourceFork::kPict)) {
            if (info.dataInRange) {
                EXPECT_LE(info.payloadOffset + info.length, n);
            }
        }
    }
}
