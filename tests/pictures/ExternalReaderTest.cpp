#include "GuiTestSupport.h"
#include "PictureFixtures.h"
#include "map/OvPictCanvas.h"
#include "windows/OvEditorWindow.h"

#include <QDir>
#include <QImage>
#include <QImageWriter>
#include <QTransform>

using namespace fixtures;

namespace {

// A PNG whose header claims 60000 x 60000 pixels, followed by no image data at all.
demo::Bytes giantPng() {
    auto crc32 = [](const std::uint8_t* data, std::size_t size) {
        std::uint32_t crc = 0xFFFFFFFFu;
        for (std::size_t i = 0; i < size; ++i) {
            crc ^= data[i];
            for (int bit = 0; bit < 8; ++bit)
                crc = (crc & 1u) ? (crc >> 1) ^ 0xEDB88320u : crc >> 1;
        }
        return crc ^ 0xFFFFFFFFu;
    };
    demo::Bytes png = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
    demo::Bytes chunk = {'I', 'H', 'D', 'R'};
    demo::put32(chunk, 60000);
    demo::put32(chunk, 60000);
    chunk.insert(chunk.end(), {8, 2, 0, 0, 0});
    demo::put32(png, 13);
    png.insert(png.end(), chunk.begin(), chunk.end());
    demo::put32(png, crc32(chunk.data(), chunk.size()));
    const demo::Bytes end = {'I', 'E', 'N', 'D'};
    demo::put32(png, 0);
    png.insert(png.end(), end.begin(), end.end());
    demo::put32(png, crc32(end.data(), end.size()));
    return png;
}

class ExternalReaderTest : public GuiTest {};

TEST_F(ExternalReaderTest, AJpegIsTurnedUprightByItsOrientation) {
    // A 40 x 20 picture stored rotated, with an EXIF orientation that turns it back.
    QImage upright(40, 20, QImage::Format_RGB32);
    upright.fill(Qt::white);
    const QImage stored = upright.transformed(QTransform().rotate(90));
    const QString path = tempDir() + QStringLiteral("/rotated.jpg");
    QImageWriter writer(path);
    writer.setTransformation(QImageIOHandler::TransformationRotate270);
    if (!writer.write(stored))
        GTEST_SKIP() << "this Qt cannot write JPEG orientation";
    OvEditorWindow* w = newFromScratch();
    readMap(*w, Source::External, 0, path);
    EXPECT_EQ(w->PreviewCanvas->size(), QSize(40, 20));
}

// A vector map with text: the shapes and the place names (drawn with the installed free fonts)
// reach the canvas's picture at full size.
TEST_F(ExternalReaderTest, AVectorPictWithTextBecomesTheMap) {
    const QString path = QStringLiteral(MQ_TEST_DATA_DIR "/pict/public/tm_carte.pict");
    OvEditorWindow* w = newFromScratch();
    readMap(*w, Source::External, 0, path);
    const QImage map = w->PreviewCanvas->MasterBackground;
    ASSERT_EQ(map.size(), QSize(782, 598));
    EXPECT_EQ(map.pixelColor(400, 250), QColor(51, 204, 255)); // the lake
    // "Ringstadt" in black on the light green at the bottom left.
    int black = 0;
    for (int y = 505; y < 540; ++y)
        for (int x = 15; x < 160; ++x)
            black += map.pixelColor(x, y) == QColor(Qt::black) ? 1 : 0;
    EXPECT_GT(black, 200);
}

TEST_F(ExternalReaderTest, FailuresKeepTheCanvas) {
    const QString png = tempDir() + QStringLiteral("/first.png");
    QImage first(50, 60, QImage::Format_RGB32);
    first.fill(Qt::darkGreen);
    ASSERT_TRUE(first.save(png));
    const QString folder = tempDir() + QStringLiteral("/folder");
    QDir().mkpath(folder);
    demo::Bytes cutPict = pictFile(picture(64, 48));
    cutPict.resize(cutPict.size() / 2);
    const QString notFound = QStringLiteral("sorry, picture not found or memory overflow.");
    struct Case {
        QString chosen;
        QString message;
    } cases[] = {
        {writeFile(tempDir() + QStringLiteral("/notes.txt"), std::string("these are no pixels")), notFound},
        {writeFile(tempDir() + QStringLiteral("/empty.png"), demo::Bytes{}), notFound},
        {writeFile(tempDir() + QStringLiteral("/cut.pict"), cutPict), notFound},
        {writeFile(tempDir() + QStringLiteral("/giant.png"), giantPng()), notFound},
        {hugeFile(tempDir() + QStringLiteral("/huge.pict")),
         QStringLiteral("sorry, file is larger than 64 MB.")},
        {folder, QStringLiteral("please select a single file.")},
        {QString(), QString()},
    };
    OvEditorWindow* w = newFromScratch();
    readMap(*w, Source::External, 0, png);
    const QImage before = w->PreviewCanvas->MasterBackground;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.chosen.toStdString());
        script().messages.clear();
        readMap(*w, Source::External, 0, c.chosen);
        EXPECT_EQ(script().messages, c.message.isEmpty() ? QStringList() : QStringList{c.message});
        EXPECT_EQ(w->PreviewCanvas->size(), QSize(50, 60));
        EXPECT_EQ(w->PreviewCanvas->MasterBackground, before);
    }
}

} // namespace
