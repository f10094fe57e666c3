#include "graphics/core/Crc16.h"
#include "graphics/core/ForkUnwrapper.h"

#include "TestFiles.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

using gfx::ForkUnwrapper;
using gfx::ForkWrapping;

namespace {

const std::filesystem::path kForks = std::filesystem::path(MQ_TEST_DATA_DIR) / "forks";
const std::filesystem::path kGenerated = std::filesystem::path(MQ_SAMPLES_DIR) / "generated";

std::vector<std::uint8_t> bytesOf(const std::string& text) { return {text.begin(), text.end()}; }

} // namespace

TEST(ForkUnwrapper, EveryCarrierGivesTheBareForkBytes)
{
    const std::vector<std::uint8_t> bare = testfiles::readBytes(kForks / "map.rsrc");
    ASSERT_FALSE(bare.empty());
    const struct {
        const char* file;
        ForkWrapping wrapping;
    } cases[] = {
        {"map.rsrc", ForkWrapping::BareFork},
        {"map_macstream.bin", ForkWrapping::MacBinary1},
        {"map_hcopy.bin", ForkWrapping::MacBinary2},
        {"map_mb3.bin", ForkWrapping::MacBinary3},
        {"map_macutils.hqx", ForkWrapping::BinHex4},
        {"map_hcopy.hqx", ForkWrapping::BinHex4},
        {"map.as", ForkWrapping::AppleSingle},
        {"map_appledouble.rsrc", ForkWrapping::AppleDouble},
        {"AppleDouble_of_Map", ForkWrapping::AppleDouble},
    };
    for (const auto& c : cases) {
        const gfx::UnwrappedFork result = ForkUnwrapper::unwrap(testfiles::readBytes(kForks / c.file));
        EXPECT_EQ(result.wrapping, c.wrapping) << c.file << ": " << gfx::forkWrappingName(result.wrapping);
        EXPECT_TRUE(result.problem.empty()) << c.file << ": " << result.problem;
        EXPECT_EQ(result.fork, bare) << c.file;
    }
}

TEST(ForkUnwrapper, SharedGeneratedSamplesAgreeWithTheirBareFork)
{
    if (!std::filesystem::exists(kGenerated / "map.rsrc"))
        GTEST_SKIP() << "shared samples not present";
    const std::vector<std::uint8_t> bare = testfiles::readBytes(kGenerated / "map.rsrc");
    for (const char* file : {"map_hcopy.hqx", "map_macutils_binhex.hqx", "map_hcopy_macbinary2.bin",
                             "map_macstream_macbinary1.bin", "AppleDouble_of_Map2"}) {
        const gfx::UnwrappedFork result = ForkUnwrapper::unwrap(testfiles::readBytes(kGenerated / file));
        EXPECT_TRUE(result.problem.empty()) << file << ": " << result.problem;
        EXPECT_EQ(result.fork, bare) << file;
    }
    // macOS's own "._" file: an AppleDouble whose fork is the 286-byte empty map.
    const auto macos = ForkUnwrapper::unwrap(
        testfiles::readBytes(std::filesystem::path(MQ_SAMPLES_DIR) / "public" / "exiftool_MacOS_appledouble.macos"));
    EXPECT_EQ(macos.wrapping, ForkWrapping::AppleDouble);
    EXPECT_EQ(macos.fork.size(), 286u);
}

TEST(ForkUnwrapper, BinHexSurvivesMailHeadersLineEndsAndAMissingMarkerLine)
{
    const std::vector<std::uint8_t> bare = testfiles::readBytes(kForks / "map.rsrc");
    const std::vector<std::uint8_t> hqx = testfiles::readBytes(kForks / "map_hcopy.hqx");
    const std::string text(hqx.begin(), hqx.end());

    std::string crlf = "From: someone\r\nSubject: UI\r\n\r\n";
    std::string cr;
    for (char c : text) {
        crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
        cr += c == '\n' ? '\r' : c;
    }
    // Without the "(This file must be converted" line only the ':' line and the CRCs say BinHex.
    const std::string bareColon = "\n" + text.substr(text.find("\n:") + 1);
    for (const std::string& variant : {crlf, cr, bareColon}) {
        const auto result = ForkUnwrapper::unwrap(bytesOf(variant));
        EXPECT_EQ(result.wrapping, ForkWrapping::BinHex4);
        EXPECT_TRUE(result.problem.empty()) << result.problem;
        EXPECT_EQ(result.fork, bare);
    }
}

TEST(ForkUnwrapper, DamagedCarriersAreReportedNotMisread)
{
    // BinHex: one changed character in the body breaks a CRC; the marker line makes it BinHex.
    std::vector<std::uint8_t> hqx = testfiles::readBytes(kForks / "map_hcopy.hqx");
    const std::size_t body = std::string(hqx.begin(), hqx.end()).find("\n:") + 200;
    hqx[body] = hqx[body] == 'A' ? 'B' : 'A';
    auto result = ForkUnwrapper::unwrap(hqx);
    EXPECT_EQ(result.wrapping, ForkWrapping::BinHex4);
    EXPECT_FALSE(result.problem.empty());
    EXPECT_TRUE(result.fork.empty());

    // BinHex cut short, and with a character outside the alphabet.
    std::vector<std::uint8_t> cut = testfiles::readBytes(kForks / "map_macutils.hqx");
    cut.resize(cut.size() / 2);
    EXPECT_FALSE(ForkUnwrapper::unwrap(cut).problem.empty());
    std::vector<std::uint8_t> foreign = testfiles::readBytes(kForks / "map_macutils.hqx");
    foreign[std::string(foreign.begin(), foreign.end()).find("\n:") + 100] = 'o';
    EXPECT_FALSE(ForkUnwrapper::unwrap(foreign).problem.empty());

    // MacBinary II with a changed header byte: the CRC no longer holds.
    std::vector<std::uint8_t> mb2 = testfiles::readBytes(kForks / "map_hcopy.bin");
    mb2[70] ^= 0x01;
    result = ForkUnwrapper::unwrap(mb2);
    EXPECT_EQ(result.wrapping, ForkWrapping::MacBinary2);
    EXPECT_NE(result.problem.find("CRC"), std::string::npos);

    // MacBinary II whose resource fork length runs past the file (CRC made to match).
    mb2 = testfiles::readBytes(kForks / "map_hcopy.bin");
    mb2[87] = 0x10;
    const std::uint16_t crc = gfx::crc16Xmodem(std::span<const std::uint8_t>(mb2).first(124));
    mb2[124] = static_cast<std::uint8_t>(crc >> 8);
    mb2[125] = static_cast<std::uint8_t>(crc);
    EXPECT_FALSE(ForkUnwrapper::unwrap(mb2).problem.empty());

    // AppleSingle whose fork entry points past the end.
    std::vector<std::uint8_t> as = testfiles::readBytes(kForks / "map.as");
    as.resize(as.size() - 1);
    result = ForkUnwrapper::unwrap(as);
    EXPECT_EQ(result.wrapping, ForkWrapping::AppleSingle);
    EXPECT_FALSE(result.problem.empty());
    // ...and whose entry table claims more entries than the file holds.
    as = testfiles::readBytes(kForks / "map.as");
    as[24] = 0xFF;
    EXPECT_FALSE(ForkUnwrapper::unwrap(as).problem.empty());
}

TEST(ForkUnwrapper, OrdinaryFilesAreNotCarriers)
{
    for (const std::string& text : {std::string(), std::string("just some text\n:not binhex either\n"),
                                     std::string(200, '\0'), std::string("\x89PNG\r\n\x1a\n") + std::string(300, 'x')}) {
        const auto result = ForkUnwrapper::unwrap(bytesOf(text));
        EXPECT_FALSE(result.recognised()) << gfx::forkWrappingName(result.wrapping);
    }
}

TEST(ForkUnwrapper, CarriersWithoutAForkAreRecognisedButEmpty)
{
    // MacBinary I of a data-only file: header rules hold, no resource fork.
    std::vector<std::uint8_t> mb(128 + 128, 0);
    mb[1] = 3;
    mb[2] = 'D';
    mb[3] = 'a';
    mb[4] = 't';
    mb[86] = 10;   // data fork of 10 bytes
    const auto result = ForkUnwrapper::unwrap(mb);
    EXPECT_EQ(result.wrapping, ForkWrapping::MacBinary1);
    EXPECT_FALSE(result.hasFork());
    EXPECT_TRUE(result.problem.empty());
}

TEST(Crc16, MatchesTheXmodemCheckValue)
{
    const std::string check = "123456789";
    EXPECT_EQ(gfx::crc16Xmodem(bytesOf(check)), 0x31C3);
    EXPECT_EQ(gfx::crc16Xmodem(bytesOf("56789"), gfx::crc16Xmodem(bytesOf("1234"))), 0x31C3);
}
