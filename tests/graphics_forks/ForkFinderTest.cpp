#include "graphics/core/ForkFinder.h"
#include "graphics/core/PictureMessages.h"

#include "TestFiles.h"

#include <gtest/gtest.h>

#include <filesystem>

using gfx::ForkFinder;
namespace fs = std::filesystem;

namespace {

const fs::path kForks = fs::path(MQ_TEST_DATA_DIR) / "forks";

std::vector<std::uint8_t> plainData() { return std::vector<std::uint8_t>{'O', 'v', 'D', 'a', 0, 0, 3, 0xF5, 0, 1}; }

} // namespace

TEST(ForkFinder, FindsTheForkBesideAPlainDataFile)
{
    const struct {
        const char* sidecar;   // relative to the folder of "Map"
        const char* source;    // fixture copied there
    } cases[] = {
        {"._Map", "AppleDouble_of_Map"},
        {".AppleDouble/Map", "map_appledouble.rsrc"},
        {"__MACOSX/._Map", "AppleDouble_of_Map"},
        {"Map.rsrc", "map.rsrc"},
        {"Map.rsrc", "map_appledouble.rsrc"},   // unar's "visible" mode: an AppleDouble named .rsrc
    };
    for (const auto& c : cases) {
        testfiles::TempDir dir("mq-forkfinder");
        testfiles::writeBytes(dir.path() / "Map", plainData());
        fs::create_directories((dir.path() / c.sidecar).parent_path());
        fs::copy_file(kForks / c.source, dir.path() / c.sidecar);

        const gfx::FoundFork found = ForkFinder::find(dir.path() / "Map");
        ASSERT_TRUE(found.ok()) << c.sidecar << ": " << found.error << " " << found.detail;
        EXPECT_EQ(found.location, dir.path() / c.sidecar);
        EXPECT_TRUE(found.fork->find(gfx::ResourceFork::kPict, 1013).ok()) << c.sidecar;
    }
}

TEST(ForkFinder, TheFileItselfComesBeforeItsSidecar)
{
    testfiles::TempDir dir("mq-forkfinder-own");
    fs::copy_file(kForks / "map_macstream.bin", dir.path() / "UI");
    // A sidecar with only Finder info and an empty map, as macOS leaves beside copied files.
    fs::copy_file(kForks / "map_appledouble.rsrc", dir.path() / "._UI");
    const gfx::FoundFork found = ForkFinder::find(dir.path() / "UI");
    ASSERT_TRUE(found.ok());
    EXPECT_EQ(found.location, dir.path() / "UI");
    EXPECT_EQ(found.wrapping, gfx::ForkWrapping::MacBinary1);
}

TEST(ForkFinder, MessagesWhenThereIsNoFork)
{
    testfiles::TempDir dir("mq-forkfinder-none");
    testfiles::writeBytes(dir.path() / "data", plainData());
    EXPECT_EQ(ForkFinder::find(dir.path() / "data").error, gfx::PictureMessages::kNoResourceFork);

    testfiles::writeBytes(dir.path() / "empty", {});
    EXPECT_EQ(ForkFinder::find(dir.path() / "empty").error, gfx::PictureMessages::kNoResourceFork);

    EXPECT_EQ(ForkFinder::find(dir.path()).error, gfx::PictureMessages::kSelectSingleFile);
    EXPECT_EQ(ForkFinder::find(dir.path() / "missing").error, gfx::PictureMessages::kFileNotFound);

    // A damaged carrier: still "no fork" for the user, with the reason in the detail.
    std::vector<std::uint8_t> hqx = testfiles::readBytes(kForks / "map_hcopy.hqx");
    hqx.resize(hqx.size() - 40);
    testfiles::writeBytes(dir.path() / "cut.hqx", hqx);
    const gfx::FoundFork cut = ForkFinder::find(dir.path() / "cut.hqx");
    EXPECT_EQ(cut.error, gfx::PictureMessages::kNoResourceFork);
    EXPECT_NE(cut.detail.find("BinHex"), std::string::npos) << cut.detail;

    // A sidecar that is not a fork carrier at all is passed over.
    testfiles::writeBytes(dir.path() / "._data", plainData());
    EXPECT_EQ(ForkFinder::find(dir.path() / "data").error, gfx::PictureMessages::kNoResourceFork);
}
