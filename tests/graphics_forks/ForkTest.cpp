// Reading resource forks: the fork itself, and every carrier it reaches a PC in.
#include "TestFiles.h"
#include "graphics/core/Crc16.h"
#include "graphics/core/ForkUnwrapper.h"
#include "graphics/core/ResourceFork.h"

#include <algorithm>
#include <string>

using gfx::ForkUnwrapper;
using gfx::ForkWrapping;
using gfx::ResourceFork;
using testfiles::readBytes;

namespace {

const std::filesystem::path kForks = testfiles::kData / "forks";
constexpr ResourceFork::FourCC kStr = 0x53545220u; // 'STR '
constexpr ResourceFork::FourCC kPict = ResourceFork::kPict;

std::vector<std::uint8_t> mapFork() {
    return readBytes(kForks / "map.rsrc");
}
std::vector<std::uint8_t> bytesOf(const std::string& text) {
    return {text.begin(), text.end()};
}
std::size_t bodyOf(const std::vector<std::uint8_t>& hqx) {
    return std::string(hqx.begin(), hqx.end()).find("\n:");
}

void putBe(std::vector<std::uint8_t>& b, std::size_t at, std::uint32_t v, int size) {
    for (int i = 0; i < size; ++i)
        b[at + std::size_t(i)] = static_cast<std::uint8_t>(v >> (8 * (size - 1 - i)));
}

// Positions inside the generated fork: its map starts at the header's map offset, the type list at
// map + 28 and the first type is 'PICT', whose reference list follows the two type entries.
struct MapPositions {
    std::size_t map, typeList, firstRef; // firstRef: PICT 1013
};
MapPositions positions(const std::vector<std::uint8_t>& f) {
    const std::size_t map = std::size_t(f[4]) << 24 | std::size_t(f[5]) << 16 | std::size_t(f[6]) << 8 | f[7];
    return {map, map + 28, map + 28 + (std::size_t(f[map + 36]) << 8 | f[map + 37])};
}

} // namespace

TEST(ResourceFork, ListsAndFindsPictResourcesOfTheGeneratedFork) {
    const gfx::ResourceForkResult parsed = ResourceFork::parse(mapFork());
    ASSERT_TRUE(parsed.ok()) << parsed.error;
    const auto picts = parsed.fork->resources(kPict);
    ASSERT_EQ(picts.size(), 3u);
    EXPECT_TRUE(picts[0].id == 1013 && picts[0].name == "over");
    EXPECT_TRUE(picts[1].id == 1014 && picts[1].name.empty());
    EXPECT_TRUE(picts[2].id == 128 && picts[2].name == "Map");
    EXPECT_EQ(parsed.fork->find(kPict, 1014).data.size(), picts[1].length);
    const auto title = parsed.fork->find(kStr, 128);
    EXPECT_EQ(std::string(title.data.begin(), title.data.end()), "\x08Test map");
    EXPECT_FALSE(parsed.fork->find(kPict, 1020).ok());
    EXPECT_FALSE(parsed.fork->find(kStr, 1013).ok()) << "an ID of another type must not match";
}

TEST(ResourceFork, PublicSamplesEmptyMapAndNamedStrings) {
    const std::filesystem::path samples = testfiles::kSamples / "public";
    const auto empty = ResourceFork::parse(readBytes(samples / "rsrcfork_empty.rsrc"));
    ASSERT_TRUE(empty.ok()) << empty.error;
    EXPECT_EQ(empty.fork->typeCount(), 0u);
    EXPECT_FALSE(empty.fork->find(kPict, 1013).ok());

    const auto strings = ResourceFork::parse(readBytes(samples / "rsrcfork_testfile.rsrc"));
    ASSERT_TRUE(strings.ok()) << strings.error;
    const auto list = strings.fork->resources(kStr);
    EXPECT_EQ(list.size(), 4u);
    for (const auto& info : list)
        EXPECT_TRUE(info.dataInRange);
    // A macOS "._" file handed in as if it were the fork itself.
    EXPECT_FALSE(ResourceFork::parse(readBytes(samples / "exiftool_MacOS_appledouble.macos")).ok());
}

TEST(ResourceFork, HostileHeadersAndMapsAreRefused) {
    const std::vector<std::uint8_t> good = mapFork();
    const MapPositions at = positions(good);
    const struct {
        const char* name;
        std::size_t offset;
        std::uint32_t value;
        int size;
    } cases[] = {
        {"map_offset_past_end", 4, 0xFFFFFFF0u, 4},
        {"map_length_past_end", 12, 0x7FFFFFFFu, 4},
        {"data_length_past_end", 8, 0xFFFFFFFFu, 4},
        {"map_too_short", 12, 20, 4},
        {"type_list_offset_past_map", at.map + 24, 0xFFF0, 2},
        {"type_count_too_big", at.typeList, 0x7FFF, 2},
        {"reference_count_too_big", at.typeList + 6, 0xFFFE, 2},
        {"reference_list_offset_past_map", at.typeList + 8, 0xFF00, 2},
        {"data_overlaps_map_by_one_byte", 8, std::uint32_t(at.map - 256 + 1), 4},
    };
    for (const auto& c : cases) {
        std::vector<std::uint8_t> bad = good;
        putBe(bad, c.offset, c.value, c.size);
        EXPECT_FALSE(ResourceFork::parse(bad).ok()) << c.name;
    }
    EXPECT_FALSE(ResourceFork::parse({}).ok()) << "empty fork";
    EXPECT_FALSE(ResourceFork::parse(std::vector<std::uint8_t>(good.begin(), good.begin() + 15)).ok());
}

TEST(ResourceFork, ADamagedResourceFailsAloneAndTheOthersStillWork) {
    std::vector<std::uint8_t> fork = mapFork();
    const MapPositions at = positions(fork);
    // PICT 1013: data offset far past the data area; PICT 1014: a length word past the end;
    // PICT 128: a name offset past the map and the compressed attribute.
    fork[at.firstRef + 5] = 0x7F;
    const std::size_t second = at.firstRef + 12, third = at.firstRef + 24;
    putBe(fork,
          256 + (std::size_t(fork[second + 5]) << 16 | std::size_t(fork[second + 6]) << 8 | fork[second + 7]),
          0xFFFFFFF0u, 4);
    putBe(fork, third + 2, 0x7000, 2);
    fork[third + 4] |= 0x01;

    const auto parsed = ResourceFork::parse(fork);
    ASSERT_TRUE(parsed.ok()) << parsed.error;
    EXPECT_FALSE(parsed.fork->find(kPict, 1013).ok());
    EXPECT_FALSE(parsed.fork->find(kPict, 1014).ok());
    EXPECT_NE(parsed.fork->find(kPict, 128).error.find("compressed"), std::string::npos);
    const auto list = parsed.fork->resources(kPict);
    ASSERT_EQ(list.size(), 3u);
    EXPECT_FALSE(list[0].dataInRange);
    EXPECT_EQ(list[2].name, "") << "a name outside the map is dropped, not read";
    EXPECT_TRUE(parsed.fork->find(kStr, 128).ok());
}

TEST(ResourceFork, EveryTruncationFailsCleanly) {
    const std::vector<std::uint8_t> good = mapFork();
    for (std::size_t n = 0; n < good.size(); ++n) {
        const auto parsed =
            ResourceFork::parse(std::vector<std::uint8_t>(good.begin(), good.begin() + std::ptrdiff_t(n)));
        if (!parsed.ok())
            continue;
        // Only a cut inside the unused part could still parse; lookups must then stay in bounds.
        for (const auto& info : parsed.fork->resources(kPict))
            EXPECT_TRUE(!info.dataInRange || info.payloadOffset + info.length <= n) << "cut at " << n;
    }
}

TEST(ForkUnwrapper, BinHexSurvivesMailHeadersLineEndsAndAMissingMarkerLine) {
    const std::vector<std::uint8_t> hqx = readBytes(kForks / "map_hcopy.hqx");
    const std::string text(hqx.begin(), hqx.end());
    std::string crlf = "From: someone\r\nSubject: UI\r\n\r\n", cr;
    for (char c : text) {
        crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
        cr += c == '\n' ? '\r' : c;
    }
    // Without the "(This file must be converted" line only the ':' line and the CRCs say BinHex.
    for (const std::string& variant : {crlf, cr, "\n" + text.substr(bodyOf(hqx) + 1)}) {
        const auto result = ForkUnwrapper::unwrap(bytesOf(variant));
        EXPECT_EQ(result.wrapping, ForkWrapping::BinHex4);
        EXPECT_TRUE(result.problem.empty()) << result.problem;
        EXPECT_EQ(result.fork, readBytes(kForks / "map.rsrc"));
    }
}

TEST(ForkUnwrapper, DamagedCarriersAreReportedNotMisread) {
    struct Case {
        const char* what;
        const char* file;
        ForkWrapping wrapping;
        void (*damage)(std::vector<std::uint8_t>&);
        const char* problemPart = "";
    };
    const Case cases[] = {
        // One changed character in the body breaks a CRC; the marker line makes it BinHex.
        {"BinHex CRC", "map_hcopy.hqx", ForkWrapping::BinHex4,
         [](auto& b) { b[bodyOf(b) + 200] = b[bodyOf(b) + 200] == 'A' ? 'B' : 'A'; }},
        {"BinHex cut short", "map_macutils.hqx", ForkWrapping::BinHex4,
         [](auto& b) { b.resize(b.size() / 2); }},
        {"BinHex foreign character", "map_macutils.hqx", ForkWrapping::BinHex4,
         [](auto& b) { b[bodyOf(b) + 100] = 'o'; }},
        {"MacBinary II header CRC", "map_hcopy.bin", ForkWrapping::MacBinary2, [](auto& b) { b[70] ^= 0x01; },
         "CRC"},
        // The resource fork length runs past the file, with the header CRC made to match.
        {"MacBinary II fork past end", "map_hcopy.bin", ForkWrapping::MacBinary2,
         [](auto& b) {
             b[87] = 0x10;
             const std::uint16_t crc = gfx::crc16Xmodem(std::span<const std::uint8_t>(b).first(124));
             b[124] = static_cast<std::uint8_t>(crc >> 8);
             b[125] = static_cast<std::uint8_t>(crc);
         }},
        {"AppleSingle fork past end", "map.as", ForkWrapping::AppleSingle, [](auto& b) { b.pop_back(); }},
        {"AppleSingle entry count", "map.as", ForkWrapping::AppleSingle, [](auto& b) { b[24] = 0xFF; }},
    };
    for (const Case& c : cases) {
        std::vector<std::uint8_t> bytes = readBytes(kForks / c.file);
        c.damage(bytes);
        const auto result = ForkUnwrapper::unwrap(bytes);
        EXPECT_EQ(result.wrapping, c.wrapping) << c.what;
        EXPECT_FALSE(result.problem.empty()) << c.what;
        EXPECT_TRUE(result.fork.empty()) << c.what;
        EXPECT_NE(result.problem.find(c.problemPart), std::string::npos) << result.problem;
    }
}

TEST(ForkUnwrapper, OrdinaryFilesAreNotCarriersAndDataOnlyCarriersHaveNoFork) {
    for (const std::string& text :
         {std::string(), std::string("just some text\n:not binhex either\n"), std::string(200, '\0'),
          std::string("\x89PNG\r\n\x1a\n") + std::string(300, 'x')})
        EXPECT_FALSE(ForkUnwrapper::unwrap(bytesOf(text)).recognised()) << text.size();

    // MacBinary I of a data-only file "Dat" with a data fork of 10 bytes: header rules hold, no fork.
    std::vector<std::uint8_t> mb(256, 0);
    std::copy_n("\3Dat", 4, mb.begin() + 1);
    mb[86] = 10;
    const auto result = ForkUnwrapper::unwrap(mb);
    EXPECT_EQ(result.wrapping, ForkWrapping::MacBinary1);
    EXPECT_FALSE(result.hasFork());
    EXPECT_TRUE(result.problem.empty());

    // macOS's own "._" file: an AppleDouble whose fork is the 286-byte empty map.
    const auto macos =
        ForkUnwrapper::unwrap(readBytes(testfiles::kSamples / "public" / "exiftool_MacOS_appledouble.macos"));
    EXPECT_EQ(macos.wrapping, ForkWrapping::AppleDouble);
    EXPECT_EQ(macos.fork.size(), 286u);
}
