#include "graphics/core/PictureSource.h"

#include "TestFiles.h"
#include "graphics/core/ForkFinder.h"
#include "graphics/core/ForkUnwrapper.h"
#include "graphics/core/PictureMessages.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

using gfx::PictureSource;
using gfx::PictureSourceKind;
using testfiles::kData;
using testfiles::readBytes;
using testfiles::readPpm;
using testfiles::samePixels;
namespace fs = std::filesystem;
namespace msg = gfx::PictureMessages;

namespace {

const fs::path kForks = kData / "forks";
const std::vector<std::uint8_t> kPlainData{'O', 'v', 'D', 'a', 0, 0, 3, 0xF5, 0, 1};

} // namespace

// Each carrier unwraps to the bare fork's bytes, and opened as a 'UI' file gives its pictures.
TEST(PictureSource, UiFileInEveryCarrierGivesTheSamePictures) {
    const std::vector<std::uint8_t> bare = readBytes(kForks / "map.rsrc");
    const gfx::RgbImage want1013 = readPpm(kForks / "pict1013.ppm");
    const gfx::RgbImage want1014 = readPpm(kForks / "pict1014.ppm");
    using gfx::ForkWrapping;
    const std::pair<const char*, ForkWrapping> cases[] = {
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
    for (const auto& [file, wrapping] : cases) {
        SCOPED_TRACE(file);
        const gfx::UnwrappedFork unwrapped = gfx::ForkUnwrapper::unwrap(readBytes(kForks / file));
        EXPECT_EQ(unwrapped.wrapping, wrapping) << gfx::forkWrappingName(unwrapped.wrapping);
        EXPECT_TRUE(unwrapped.problem.empty()) << unwrapped.problem;
        EXPECT_EQ(unwrapped.fork, bare);

        const gfx::PictureSourceResult opened = PictureSource::open(kForks / file);
        ASSERT_TRUE(opened.ok()) << opened.error << " " << opened.detail;
        EXPECT_EQ(opened.source->kind(), PictureSourceKind::ResourceFork);
        const auto listed = opened.source->list().pictures;
        ASSERT_EQ(listed.size(), 3u);
        EXPECT_TRUE(*listed[0].id == 1013 && listed[0].width == 32 && listed[0].height == 48 &&
                    listed[0].name == "over");
        EXPECT_TRUE(*listed[2].id == 128 && listed[2].width == 12);
        EXPECT_TRUE(samePixels(opened.source->picture(1013).image, want1013));
        EXPECT_TRUE(samePixels(opened.source->picture(1014).image, want1014));
        const gfx::PictureResult missing = opened.source->picture(1020);
        EXPECT_EQ(missing.error, "sorry, PICT resource 1020 not found or memory overflow.");
        EXPECT_TRUE(missing.image.isNull());
        EXPECT_EQ(opened.source->picture(70000).error, msg::pictResourceNotFound(70000));
    }
}

TEST(PictureSource, ForkThatExistsWithoutThePictureSaysPictNotFound) {
    testfiles::TempDir dir("mq-source-emptymap");
    testfiles::writeBytes(dir.path() / "UI", {});
    // A sidecar carrying a valid map that holds no PICT at all.
    std::vector<std::uint8_t> fork = readBytes(kForks / "map.rsrc");
    fork[(fork[4] << 24 | fork[5] << 16 | fork[6] << 8 | fork[7]) + 28 + 2] = 'X'; // 'PICT' -> 'XICT'
    testfiles::writeBytes(dir.path() / "._UI", fork);
    const auto opened = PictureSource::open(dir.path() / "UI");
    ASSERT_TRUE(opened.ok()) << opened.error;
    EXPECT_EQ(opened.source->kind(), PictureSourceKind::ResourceFork);
    EXPECT_TRUE(opened.source->list().pictures.empty());
    EXPECT_EQ(opened.source->picture(1013).error, "sorry, PICT resource 1013 not found or memory overflow.");
}

// The tool's own tests check the pixels of each kind; here, which kind the bytes make.
TEST(PictureSource, ContainerAndPictureFilesAreToldApartByTheirBytes) {
    testfiles::TempDir dir("mq-source-kinds");
    // A PICT file: the 512-byte header and then a resource of the fork.
    std::vector<std::uint8_t> pictFile(512, 0);
    const auto fork = gfx::ResourceFork::parse(readBytes(kForks / "map.rsrc"));
    const auto data = fork.fork->find(gfx::ResourceFork::kPict, 1013).data;
    pictFile.insert(pictFile.end(), data.begin(), data.end());
    testfiles::writeBytes(dir.path() / "map.pict", pictFile);
    testfiles::writeBytes(dir.path() / "x.png", {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n', 1, 2, 3});
    const struct {
        fs::path path;
        PictureSourceKind kind;
        gfx::PictureFileFormat format;
    } cases[] = {
        {kData / "brm" / "Intrface_test.brm", PictureSourceKind::Container, {}},
        {kData / "tga" / "im_rgb24_rle.tga", PictureSourceKind::PictureFile, gfx::PictureFileFormat::Tga},
        {dir.path() / "map.pict", PictureSourceKind::PictureFile, gfx::PictureFileFormat::Pict},
        // A PICT without the 512-byte header is a picture, not a bare fork.
        {testfiles::kData / "pict" / "public" / "exiftool_PICT_headerless.pict",
         PictureSourceKind::PictureFile, gfx::PictureFileFormat::Pict},
        {dir.path() / "x.png", PictureSourceKind::PictureFile, gfx::PictureFileFormat::Foreign},
    };
    for (const auto& c : cases) {
        const auto opened = PictureSource::open(c.path);
        ASSERT_TRUE(opened.ok()) << c.path << ": " << opened.error;
        EXPECT_EQ(opened.source->kind(), c.kind) << c.path;
        if (c.kind == PictureSourceKind::PictureFile) {
            EXPECT_EQ(opened.source->fileFormat(), c.format) << c.path;
        }
        // The same bytes from a stream (the tool's standard input) are told apart the same way.
        const auto streamed = PictureSource::fromBytes(readBytes(c.path));
        ASSERT_TRUE(streamed.ok()) << c.path << ": " << streamed.error;
        EXPECT_EQ(streamed.source->kind(), c.kind) << c.path;
        EXPECT_EQ(streamed.source->fileFormat(), opened.source->fileFormat()) << c.path;
    }
    const auto streamedFork = PictureSource::fromBytes(readBytes(kForks / "map_hcopy.hqx"));
    ASSERT_TRUE(streamedFork.ok()) << streamedFork.error;
    EXPECT_TRUE(samePixels(streamedFork.source->picture(1013).image, readPpm(kForks / "pict1013.ppm")));
    EXPECT_EQ(PictureSource::fromBytes({}).error, msg::kFileEmpty);
    EXPECT_EQ(PictureSource::fromBytes(kPlainData, PictureSourceKind::ResourceFork).error,
              msg::kNoResourceFork);
    const auto pict = PictureSource::open(dir.path() / "map.pict");
    const auto pictListing = pict.source->list().pictures;
    ASSERT_EQ(pictListing.size(), 1u);
    EXPECT_TRUE(!pictListing[0].id.has_value() && pictListing[0].width == 32);
    EXPECT_TRUE(samePixels(pict.source->picture(0).image, readPpm(kForks / "pict1013.ppm")));
    EXPECT_EQ(PictureSource::open(cases[0].path).source->picture(1019).error, msg::kPictureNotInFile);

    // Anything else goes to the caller's decoder (the tool's tests use Qt's); without one it is the
    // external-file message.
    EXPECT_EQ(PictureSource::open(dir.path() / "x.png").source->picture(0).error, msg::kPictureNotFound);
}

TEST(PictureSource, ForcedKindsAndFailures) {
    const fs::path tga = kData / "tga" / "im_rgb24.tga";
    // A TGA read as 'UI' has no fork; read as 'Intrface.brm' its count cannot admit ID 1013.
    EXPECT_EQ(PictureSource::open(tga, PictureSourceKind::ResourceFork).error, msg::kNoResourceFork);
    const auto asBrm = PictureSource::open(tga, PictureSourceKind::Container);
    ASSERT_TRUE(asBrm.ok());
    EXPECT_EQ(asBrm.source->picture(1013).error, msg::kPictureNotInFile);
    // The container forced to be a single picture is not one.
    const auto asPicture =
        PictureSource::open(kData / "brm" / "Intrface_test.brm", PictureSourceKind::PictureFile);
    ASSERT_TRUE(asPicture.ok());
    EXPECT_EQ(asPicture.source->picture(0).error, msg::kPictureNotFound);

    testfiles::TempDir dir("mq-source-fail");
    testfiles::writeBytes(dir.path() / "empty", {});
    EXPECT_EQ(PictureSource::open(dir.path() / "empty").error, msg::kFileEmpty);
    const auto emptyBrm = PictureSource::open(dir.path() / "empty", PictureSourceKind::Container);
    ASSERT_TRUE(emptyBrm.ok());
    EXPECT_EQ(emptyBrm.source->picture(1013).error, msg::kFileEmpty);
    EXPECT_EQ(PictureSource::open(dir.path()).error, msg::kSelectSingleFile);
    EXPECT_EQ(PictureSource::open(dir.path() / "nothing").error, msg::kFileNotFound);
#ifndef _WIN32
    // A pipe nobody writes to must not block the reader.
    ASSERT_EQ(::mkfifo((dir.path() / "pipe").c_str(), 0600), 0);
    EXPECT_EQ(PictureSource::open(dir.path() / "pipe", PictureSourceKind::Container).error, msg::kFileEmpty);
#endif

    EXPECT_EQ(PictureSource::kindFromName("intrface"), PictureSourceKind::Container);
    EXPECT_FALSE(PictureSource::kindFromName("UI").has_value());
}

// "Map" is a plain data file with its fork beside it, or a carrier itself, which comes first.
TEST(ForkFinder, FindsTheForkInTheFileOrBesideIt) {
    const struct {
        const char* map;     // fixture copied to "Map", or null for plain data
        const char* sidecar; // relative to the folder of "Map"
        const char* source;  // fixture copied there
        bool foundInSidecar;
    } cases[] = {
        {nullptr, "._Map", "AppleDouble_of_Map", true},
        {nullptr, ".AppleDouble/Map", "map_appledouble.rsrc", true},
        {nullptr, "__MACOSX/._Map", "AppleDouble_of_Map", true},
        {nullptr, "Map.rsrc", "map.rsrc", true},
        {nullptr, "Map.rsrc", "map_appledouble.rsrc",
         true}, // unar's "visible" mode: an AppleDouble named .rsrc
        {"map_macstream.bin", "._Map", "map_appledouble.rsrc", false},
    };
    for (const auto& c : cases) {
        testfiles::TempDir dir("mq-forkfinder");
        if (c.map)
            fs::copy_file(kForks / c.map, dir.path() / "Map");
        else
            testfiles::writeBytes(dir.path() / "Map", kPlainData);
        fs::create_directories((dir.path() / c.sidecar).parent_path());
        fs::copy_file(kForks / c.source, dir.path() / c.sidecar);
        const gfx::FoundFork found = gfx::ForkFinder::find(dir.path() / "Map");
        ASSERT_TRUE(found.ok()) << c.sidecar << ": " << found.error << " " << found.detail;
        EXPECT_EQ(found.location, dir.path() / (c.foundInSidecar ? c.sidecar : "Map"));
        EXPECT_TRUE(found.fork->find(gfx::ResourceFork::kPict, 1013).ok()) << c.sidecar;
    }
}

TEST(ForkFinder, MessagesWhenThereIsNoFork) {
    testfiles::TempDir dir("mq-forkfinder-none");
    testfiles::writeBytes(dir.path() / "data", kPlainData);
    testfiles::writeBytes(dir.path() / "empty", {});
    // A damaged carrier: still "no fork" for the user, with the reason in the detail.
    std::vector<std::uint8_t> hqx = testfiles::readBytes(kForks / "map_hcopy.hqx");
    hqx.resize(hqx.size() - 40);
    testfiles::writeBytes(dir.path() / "cut.hqx", hqx);
    const std::pair<fs::path, std::string_view> cases[] = {
        {dir.path() / "data", msg::kNoResourceFork},    {dir.path() / "empty", msg::kNoResourceFork},
        {dir.path() / "cut.hqx", msg::kNoResourceFork}, {dir.path(), msg::kSelectSingleFile},
        {dir.path() / "missing", msg::kFileNotFound},
    };
    for (const auto& [path, message] : cases)
        EXPECT_EQ(gfx::ForkFinder::find(path).error, message) << path;
    EXPECT_NE(gfx::ForkFinder::find(dir.path() / "cut.hqx").detail.find("BinHex"), std::string::npos);

    // A sidecar that is not a fork carrier at all is passed over.
    testfiles::writeBytes(dir.path() / "._data", kPlainData);
    EXPECT_EQ(gfx::ForkFinder::find(dir.path() / "data").error, msg::kNoResourceFork);
}
