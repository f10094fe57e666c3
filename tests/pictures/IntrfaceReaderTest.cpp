#include "GuiTestSupport.h"
#include "PictureFixtures.h"
#include "map/OvPictCanvas.h"
#include "windows/OvEditorWindow.h"

#include <QDir>
#include <QFile>

#include <limits>

using namespace fixtures;

namespace {

class IntrfaceReaderTest : public GuiTest {};

TEST_F(IntrfaceReaderTest, PixelWordsBecomeColoursWithTheLowestGreenBitUnused) {
    const std::vector<std::pair<std::uint16_t, QColor>> cases = {
        {0xFFFF, {248, 248, 248}}, {0xF800, {248, 0, 0}}, {0x07E0, {0, 248, 0}},
        {0x0020, {0, 0, 0}},       {0x001F, {0, 0, 248}}, {0x8410, {128, 128, 128}}};
    std::vector<std::uint16_t> words;
    for (const auto& c : cases)
        words.push_back(c.first);
    OvEditorWindow* w = newFromScratch();
    readMap(*w, Source::Intrface, 1013,
            writeFile(tempDir() + QStringLiteral("/words.brm"), containerOfWords(14, 13, words)));
    const QImage& map = w->PreviewCanvas->MasterBackground;
    ASSERT_EQ(map.size(), QSize(6, 1));
    for (int x = 0; x < 6; ++x)
        EXPECT_EQ(map.pixelColor(x, 0), cases[static_cast<std::size_t>(x)].second) << x;
}

namespace {
// A sparse file just over the 64 MiB a picture source may have: costs nothing on the disk.
QString hugeFile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || !file.resize(qint64{65} << 20))
        ADD_FAILURE() << "cannot make " << path.toStdString();
    return path;
}
} // namespace

// Each read asks, because the one before forgot the file.
TEST_F(IntrfaceReaderTest, FailuresThatForgetTheFile) {
    const QString folder = tempDir() + QStringLiteral("/a folder");
    QDir().mkpath(folder);
    struct Case {
        QString chosen;
        QString message;
    } cases[] = {
        {writeFile(tempDir() + QStringLiteral("/empty.brm"), demo::Bytes{}),
         QStringLiteral("sorry, file is empty.")},
        {writeFile(tempDir() + QStringLiteral("/count-only.brm"), demo::Bytes{20, 0, 0, 0}),
         QStringLiteral("sorry, file is empty.")},
        {writeFile(tempDir() + QStringLiteral("/three.brm"), demo::Bytes{20, 0, 0}),
         QStringLiteral("sorry, file is empty.")},
        {hugeFile(tempDir() + QStringLiteral("/huge.brm")),
         QStringLiteral("sorry, file is larger than 64 MB.")},
        {folder, QStringLiteral("please select a single file.")},
        {QString(), QString()},
    };
    OvEditorWindow* w = newFromScratch();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.chosen.toStdString());
        script().messages.clear();
        readMap(*w, Source::Intrface, 1013, c.chosen);
        EXPECT_EQ(script().messages, c.message.isEmpty() ? QStringList() : QStringList{c.message});
        EXPECT_TRUE(app().OvIntrfaceFileAbsolutePath.isEmpty());
        EXPECT_EQ(w->PreviewCanvas->size(), QSize(314, 491));
    }
    EXPECT_EQ(script().openRequests.size(), std::size(cases));
}

// Failures inside a file that was read keep it: the next read goes to it without a dialog.
TEST_F(IntrfaceReaderTest, ShortCountsAndHostileDirectoriesFailCleanlyAndKeepTheFile) {
    auto withEntry = [](std::int32_t offset, std::int32_t width, std::int32_t height) {
        demo::Bytes bytes = containerOfWords(14, 13, {0x1234, 0x1234});
        const std::int32_t values[] = {offset, width, height}; // picture 13's entry in each table
        for (std::size_t v = 0; v < 3; ++v)
            for (std::size_t i = 0; i < 4; ++i)
                bytes[4 + 4 * 13 + 400 * v + i] =
                    static_cast<std::uint8_t>(static_cast<std::uint32_t>(values[v]) >> (8 * i));
        return bytes;
    };
    const QString overflow = QStringLiteral("memory overflow when creating picture.");
    const QString notInFile = QStringLiteral("sorry, picture not in file.");
    struct Case {
        const char* name;
        demo::Bytes bytes;
        int id;
        QString message;
    } cases[] = {
        {"a count short of the picture", container(std::vector<demo::Rgb>(13)), 1013, notInFile},
        {"a counted picture without pixels", container(std::vector<demo::Rgb>(13)), 1012, overflow},
        {"huge", withEntry(1204, 2000000000, 2000000000), 1013, overflow},
        {"negative size", withEntry(1204, -5, 3), 1013, overflow},
        {"block past end", withEntry(1204, 300, 300), 1013, notInFile},
        {"negative offset", withEntry(-1000, 2, 1), 1013, notInFile},
        {"id below 1000", withEntry(1204, 2, 1), 999, notInFile},
        {"index past the directory", containerOfWords(2000, 13, {1}), 1150, notInFile},
        {"lowest Int32 id", withEntry(1204, 2, 1), std::numeric_limits<int>::min(), notInFile},
        {"highest Int32 id", containerOfWords(2000, 13, {1}), std::numeric_limits<int>::max(), notInFile},
    };
    OvEditorWindow* w = newFromScratch();
    for (Case& c : cases) {
        SCOPED_TRACE(c.name);
        const QString path = writeFile(tempDir() + QLatin1Char('/') + QString::fromLatin1(c.name), c.bytes);
        app().OvIntrfaceFileAbsolutePath = path;
        script().messages.clear();
        w->ReadPictureFromIntrface(w->PreviewCanvas, c.id);
        EXPECT_EQ(script().messages, QStringList{c.message});
        EXPECT_EQ(app().OvIntrfaceFileAbsolutePath, path);
        EXPECT_TRUE(w->PreviewCanvas->MasterBackground.isNull());
    }
    EXPECT_TRUE(script().openRequests.empty());
}

} // namespace
