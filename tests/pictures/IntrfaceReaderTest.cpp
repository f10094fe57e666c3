#include "GuiTestSupport.h"
#include "PictureFixtures.h"
#include "map/OvPictCanvas.h"
#include "windows/OvEditorWindow.h"

#include <QDir>

#include <limits>

using namespace fixtures;

namespace {

class IntrfaceReaderTest : public GuiTest {
protected:
    OvEditorWindow* window() { return newFromScratch(); }
    // `count` pictures; picture 13 (ID 1013) is a 314 x 491 map when the count admits it.
    QString writeContainer(int count, const QString& name = QStringLiteral("Intrface.brm")) {
        std::vector<demo::Rgb> pictures(static_cast<std::size_t>(count));
        if (count > 13)
            pictures[13] = picture(314, 491);
        if (count > 14)
            pictures[14] = picture(60, 40, QColor(8, 16, 24));
        return writeFile(tempDir() + QLatin1Char('/') + name, container(pictures));
    }
    QStringList messages() const { return script().messages; }
};

TEST_F(IntrfaceReaderTest, AsksWithTheGameTextsAndReadsPicture13For1013) {
    const QString brm = writeContainer(14);
    OvEditorWindow* w = window();
    script().openAnswers.push_back(brm);
    w->ReadPictureFromIntrface(w->PreviewCanvas, 1013);

    ASSERT_EQ(script().openRequests.size(), 1u);
    EXPECT_EQ(script().openRequests[0].title, QStringLiteral("Select file Intrface.brm"));
    EXPECT_EQ(
        script().openRequests[0].promptText,
        QStringLiteral("select the BRM file 'Intrface.brm' which contains the BRM background graphics."));
    EXPECT_TRUE(messages().isEmpty());
    const QImage& map = w->PreviewCanvas->MasterBackground;
    ASSERT_EQ(map.size(), QSize(314, 491));
    EXPECT_EQ(map.pixelColor(0, 0), kTopLeft);
    EXPECT_EQ(map.pixelColor(313, 490), kBottomRight);
    EXPECT_EQ(map.pixelColor(1, 0), kFill);
}

TEST_F(IntrfaceReaderTest, ACountThatDoesNotReachThePictureKeepsTheFile) {
    const QString brm = writeContainer(13);
    OvEditorWindow* w = window();
    script().openAnswers.push_back(brm);
    w->ReadPictureFromIntrface(w->PreviewCanvas, 1013);
    EXPECT_EQ(messages(), QStringList{QStringLiteral("sorry, picture not in file.")});
    EXPECT_EQ(app().OvIntrfaceFileAbsolutePath, QFileInfo(brm).absoluteFilePath());
    EXPECT_TRUE(w->PreviewCanvas->MasterBackground.isNull());

    // Kept: the next read, in another window, goes straight to the file.
    OvEditorWindow* other = window();
    other->ReadPictureFromIntrface(other->PreviewCanvas, 1012);
    EXPECT_EQ(script().openRequests.size(), 1u);
    // Picture 12 is counted but has no size: no picture can be made of it.
    EXPECT_EQ(messages(), (QStringList{QStringLiteral("sorry, picture not in file."),
                                       QStringLiteral("memory overflow when creating picture.")}));
}

TEST_F(IntrfaceReaderTest, TheRememberedFileServesEveryWindowWithoutAsking) {
    const QString brm = writeContainer(15);
    OvEditorWindow* first = window();
    script().openAnswers.push_back(brm);
    first->ReadPictureFromIntrface(first->PreviewCanvas, 1013);
    OvEditorWindow* second = window();
    second->ReadPictureFromIntrface(second->PreviewCanvas, 1014);
    EXPECT_EQ(script().openRequests.size(), 1u);
    EXPECT_TRUE(messages().isEmpty());
    EXPECT_EQ(second->PreviewCanvas->size(), QSize(60, 40));
    EXPECT_EQ(second->PreviewCanvas->MasterBackground.pixelColor(30, 20), QColor(8, 16, 24));
}

TEST_F(IntrfaceReaderTest, PixelWordsBecomeColoursWithTheLowestGreenBitUnused) {
    const QString brm = writeFile(tempDir() + QStringLiteral("/words.brm"),
                                  containerOfWords(14, 13, {0xFFFF, 0xF800, 0x07E0, 0x0020, 0x001F, 0x8410}));
    OvEditorWindow* w = window();
    script().openAnswers.push_back(brm);
    w->ReadPictureFromIntrface(w->PreviewCanvas, 1013);
    const QImage& map = w->PreviewCanvas->MasterBackground;
    ASSERT_EQ(map.size(), QSize(6, 1));
    EXPECT_EQ(map.pixelColor(0, 0), QColor(248, 248, 248));
    EXPECT_EQ(map.pixelColor(1, 0), QColor(248, 0, 0));
    EXPECT_EQ(map.pixelColor(2, 0), QColor(0, 248, 0));
    EXPECT_EQ(map.pixelColor(3, 0), QColor(0, 0, 0));
    EXPECT_EQ(map.pixelColor(4, 0), QColor(0, 0, 248));
    EXPECT_EQ(map.pixelColor(5, 0), QColor(128, 128, 128));
}

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
        {folder, QStringLiteral("please select a single file.")},
        {QString(), QString()},
    };
    OvEditorWindow* w = window();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.chosen.toStdString());
        script().messages.clear();
        script().openAnswers.push_back(c.chosen);
        w->ReadPictureFromIntrface(w->PreviewCanvas, 1013);
        EXPECT_EQ(messages(), c.message.isEmpty() ? QStringList() : QStringList{c.message});
        EXPECT_TRUE(app().OvIntrfaceFileAbsolutePath.isEmpty());
        EXPECT_EQ(w->PreviewCanvas->size(), QSize(314, 491));
    }
    // Each read asked, because the one before forgot the file.
    EXPECT_EQ(script().openRequests.size(), std::size(cases));
}

TEST_F(IntrfaceReaderTest, HostileDirectoriesFailCleanlyAndKeepTheFile) {
    auto withEntry = [](std::int32_t offset, std::int32_t width, std::int32_t height) {
        demo::Bytes bytes = containerOfWords(14, 13, {0x1234, 0x1234});
        auto setLe = [&bytes](std::size_t at, std::int32_t v) {
            for (int i = 0; i < 4; ++i)
                bytes[at + static_cast<std::size_t>(i)] =
                    static_cast<std::uint8_t>(static_cast<std::uint32_t>(v) >> (8 * i));
        };
        setLe(4 + 4 * 13, offset);
        setLe(404 + 4 * 13, width);
        setLe(804 + 4 * 13, height);
        return bytes;
    };
    struct Case {
        const char* name;
        demo::Bytes bytes;
        int id;
        QString message;
    } cases[] = {
        {"huge", withEntry(1204, 2000000000, 2000000000), 1013,
         QStringLiteral("memory overflow when creating picture.")},
        {"negative size", withEntry(1204, -5, 3), 1013,
         QStringLiteral("memory overflow when creating picture.")},
        {"block past end", withEntry(1204, 300, 300), 1013, QStringLiteral("sorry, picture not in file.")},
        {"negative offset", withEntry(-1000, 2, 1), 1013, QStringLiteral("sorry, picture not in file.")},
        {"id below 1000", withEntry(1204, 2, 1), 999, QStringLiteral("sorry, picture not in file.")},
        {"index past the directory", containerOfWords(2000, 13, {1}), 1150,
         QStringLiteral("sorry, picture not in file.")},
        {"lowest Int32 id", withEntry(1204, 2, 1), std::numeric_limits<int>::min(),
         QStringLiteral("sorry, picture not in file.")},
        {"highest Int32 id", containerOfWords(2000, 13, {1}), std::numeric_limits<int>::max(),
         QStringLiteral("sorry, picture not in file.")},
    };
    OvEditorWindow* w = window();
    for (Case& c : cases) {
        SCOPED_TRACE(c.name);
        const QString path = writeFile(tempDir() + QLatin1Char('/') + QString::fromLatin1(c.name), c.bytes);
        app().OvIntrfaceFileAbsolutePath = path;
        script().messages.clear();
        w->ReadPictureFromIntrface(w->PreviewCanvas, c.id);
        EXPECT_EQ(messages(), QStringList{c.message});
        EXPECT_EQ(app().OvIntrfaceFileAbsolutePath, path);
        EXPECT_TRUE(w->PreviewCanvas->MasterBackground.isNull());
    }
    EXPECT_TRUE(script().openRequests.empty());
}

} // namespace
