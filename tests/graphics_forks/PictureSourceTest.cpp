#include "graphics/core/PictureMessages.h"
#include "graphics/core/PictureSource.h"

#include "TestFiles.h"

#include <gtest/gtest.h>

#include <filesystem>

#include <sys/stat.h>

using gfx::PictureSource;
using gfx::PictureSourceKind;
namespace fs = std::filesystem;
namespace msg = gfx::PictureMessages;

namespace {

const fs::path kData = fs::path(MQ_TEST_DATA_DIR);

// Exact comparison with a readable failure: the first differing pixel.
::testing::AssertionResult samePixels(const gfx::RgbImage& got, const gfx::RgbImage& want)
{
    if (want.isNull())
        return ::testing::AssertionFailure() << "expected image missing";
    if (got.width != want.width || got.height != want.height)
        return ::testing::AssertionFailure() << got.width << "x" << got.height << " instead of " << want.width << "x"
                                             << want.height;
    for (std::size_t i = 0; i < got.pixels.size(); ++i)
        if (got.pixels[i] != want.pixels[i])
            return ::testing::AssertionFailure()
                   << "pixel (" << (i / 3) % static_cast<std::size_t>(want.width) << ", "
                   << (i / 3) / static_cast<std::size_t>(want.width) << ") channel " << i % 3 << ": "
                   << int(got.pixels[i]) << " instead of " << int(want.pixels[i]);
    return ::testing::AssertionSuccess();
}

} // namespace

TEST(PictureSource, UiFileInEveryCarrierGivesTheSamePictures)
{
    const gfx::RgbImage want1013 = testfiles::readPpm(kData / "forks" / "pict1013.ppm");
    const gfx::RgbImage want1014 = testfiles::readPpm(kData / "forks" / "pict1014.ppm");
    for (const char* file : {"map.rsrc", "map_macstream.bin", "map_hcopy.bin", "map_mb3.bin", "map_macutils.hqx",
                             "map_hcopy.hqx", "map.as", "map_appledouble.rsrc"}) {
        SCOPED_TRACE(file);
        const gfx::PictureSourceResult opened = PictureSource::open(kData / "forks" / file);
        ASSERT_TRUE(opened.ok()) << opened.error << " " << opened.detail;
        EXPECT_EQ(opened.source->kind(), PictureSourceKind::ResourceFork);

        const gfx::PictureListResult listed = opened.source->list();
        ASSERT_EQ(listed.pictures.size(), 3u);
        EXPECT_EQ(*listed.pictures[0].id, 1013);
        EXPECT_EQ(listed.pictures[0].width, 32);
        EXPECT_EQ(listed.pictures[0].height, 48);
        EXPECT_EQ(listed.pictures[0].name, "over");
        EXPECT_EQ(*listed.pictures[2].id, 128);
        EXPECT_EQ(listed.pictures[2].width, 12);

        const gfx::PictureResult p1013 = opened.source->picture(1013);
        ASSERT_TRUE(p1013.ok()) << p1013.error << " " << p1013.detail;
        EXPECT_TRUE(samePixels(p1013.image, want1013));
        EXPECT_TRUE(samePixels(opened.source->picture(1014).image, want1014));

        const gfx::PictureResult missing = opened.source->picture(1020);
        EXPECT_EQ(missing.error, "sorry, PICT resource 1020 not found or memory overflow.");
        EXPECT_TRUE(missing.image.isNull());
        EXPECT_EQ(opened.source->picture(70000).error, msg::pictResourceNotFound(70000));
    }
}

TEST(PictureSource, ForkThatExistsWithoutThePictureSaysPictNotFound)
{
    testfiles::TempDir dir("mq-source-emptymap");
    testfiles::writeBytes(dir.path() / "UI", {});
    // A sidecar carrying a valid map that holds no PICT at all.
    std::vector<std::uint8_t> fork = testfiles::readBytes(kData / "forks" / "map.rsrc");
    fork[(fork[4] << 24 | fork[5] << 16 | fork[6] << 8 | fork[7]) + 28 + 2] = 'X';   // 'PICT' -> 'XICT'
    testfiles::writeBytes(dir.path() / "._UI", fork);
    const auto opened = PictureSource::open(dir.path() / "UI");
    ASSERT_TRUE(opened.ok()) << opened.error;
    EXPECT_EQ(opened.source->kind(), PictureSourceKind::ResourceFork);
    EXPECT_TRUE(opened.source->list().pictures.empty());
    EXPECT_EQ(opened.source->picture(1013).error, "sorry, PICT resource 1013 not found or memory overflow.");
}

TEST(PictureSource, ContainerAndPictureFilesAreToldApartByTheirBytes)
{
    const auto brm = PictureSource::open(kData / "brm" / "Intrface_test.brm");
    ASSERT_TRUE(brm.ok());
    EXPECT_EQ(brm.source->kind(), PictureSourceKind::Container);
    const auto listed = brm.source->list();
    ASSERT_EQ(listed.pictures.size(), 19u);
    EXPECT_EQ(*listed.pictures[13].id, 1013);
    EXPECT_EQ(listed.pictures[13].width, 31);
    EXPECT_TRUE(samePixels(brm.source->picture(1013).image, testfiles::readPpm(kData / "brm" / "slot13.ppm")));
    EXPECT_EQ(brm.source->picture(1019).error, msg::kPictureNotInFile);

    const auto tga = PictureSource::open(kData / "tga" / "im_rgb24_rle.tga");
    ASSERT_TRUE(tga.ok());
    EXPECT_EQ(tga.source->kind(), PictureSourceKind::PictureFile);
    EXPECT_EQ(tga.source->fileFormat(), gfx::PictureFileFormat::Tga);
    EXPECT_TRUE(samePixels(tga.source->picture(0).image, testfiles::readPpm(kData / "tga" / "im_rgb24_rle.ppm")));

    // A PICT file: the 512-byte header and then a resource of the fork.
    testfiles::TempDir dir("mq-source-kinds");
    std::vector<std::uint8_t> pictFile(512, 0);
    {
        const gfx::ResourceForkResult fork = gfx::ResourceFork::parse(testfiles::readBytes(kData / "forks" / "map.rsrc"));
        const auto data = fork.fork->find(gfx::ResourceFork::kPict, 1013).data;
        pictFile.insert(pictFile.end(), data.begin(), data.end());
    }
    testfiles::writeBytes(dir.path() / "map.pict", pictFile);
    const auto pict = PictureSource::open(dir.path() / "map.pict");
    ASSERT_TRUE(pict.ok());
    EXPECT_EQ(pict.source->fileFormat(), gfx::PictureFileFormat::Pict);
    const auto pictListing = pict.source->list();
    ASSERT_EQ(pictListing.pictures.size(), 1u);
    EXPECT_FALSE(pictListing.pictures[0].id.has_value());
    EXPECT_EQ(pictListing.pictures[0].width, 32);
    EXPECT_TRUE(samePixels(pict.source->picture(0).image, testfiles::readPpm(kData / "forks" / "pict1013.ppm")));

    // Anything else goes to the caller's decoder, and without one it is the external-file message.
    std::vector<std::uint8_t> png = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n', 1, 2, 3};
    testfiles::writeBytes(dir.path() / "x.png", png);
    const auto foreign = PictureSource::open(dir.path() / "x.png");
    ASSERT_TRUE(foreign.ok());
    EXPECT_EQ(foreign.source->fileFormat(), gfx::PictureFileFormat::Foreign);
    EXPECT_EQ(foreign.source->picture(0).error, msg::kPictureNotFound);
    gfx::PictureDecoders decoders;
    std::size_t seen = 0;
    decoders.foreignDecoder = [&](std::span<const std::uint8_t> bytes) {
        seen = bytes.size();
        gfx::ImageResult r;
        r.image = gfx::RgbImage(2, 3);
        return r;
    };
    EXPECT_TRUE(foreign.source->picture(0, decoders).ok());
    EXPECT_EQ(seen, png.size());
}

TEST(PictureSource, HeaderlessPictFileIsAPictureNotAFork)
{
    const fs::path headerless = fs::path(MQ_SAMPLES_DIR) / "public" / "exiftool_PICT_headerless.pict";
    if (!fs::exists(headerless))
        GTEST_SKIP() << "shared samples not present";
    const auto opened = PictureSource::open(headerless);
    ASSERT_TRUE(opened.ok()) << opened.error;
    EXPECT_EQ(opened.source->kind(), PictureSourceKind::PictureFile);
    EXPECT_EQ(opened.source->fileFormat(), gfx::PictureFileFormat::Pict);
    const auto picture = opened.source->picture(0);
    ASSERT_TRUE(picture.ok()) << picture.detail;
    EXPECT_EQ(picture.image.width, 8);
    EXPECT_EQ(picture.image.height, 8);
}

TEST(PictureSource, ForcedKindsAndFailures)
{
    const fs::path tga = kData / "tga" / "im_rgb24.tga";
    // A TGA read as 'UI' has no fork; read as 'Intrface.brm' its count cannot admit ID 1013.
    EXPECT_EQ(PictureSource::open(tga, PictureSourceKind::ResourceFork).error, msg::kNoResourceFork);
    const auto asBrm = PictureSource::open(tga, PictureSourceKind::Container);
    ASSERT_TRUE(asBrm.ok());
    EXPECT_EQ(asBrm.source->picture(1013).error, msg::kPictureNotInFile);
    // The container forced to be a single picture is not one.
    const auto asPicture = PictureSource::open(kData / "brm" / "Intrface_test.brm", PictureSourceKind::PictureFile);
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
    // A pipe nobody writes to must not block the reader.
    ASSERT_EQ(::mkfifo((dir.path() / "pipe").c_str(), 0600), 0);
    EXPECT_EQ(PictureSource::open(dir.path() / "pipe", PictureSourceKind::Container).error, msg::kFileEmpty);

    EXPECT_EQ(PictureSource::kindFromName("intrface"), PictureSourceKind::Container);
    EXPECT_FALSE(PictureSource::kindFromName("UI").has_value());
}
