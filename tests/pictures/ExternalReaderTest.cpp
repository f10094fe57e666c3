#include "GuiTestSupport.h"
#include "PictureFixtures.h"
#include "map/OvPictCanvas.h"
#include "windows/OvEditorWindow.h"

#include <QCoreApplication>
#include <QDir>
#include <QImage>
#include <QImageWriter>
#include <QTransform>

#include <cstring>

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

class ExternalReaderTest : public GuiTest {
protected:
    OvEditorWindow* window() { return newFromScratch(); }
    QImage qimage(const demo::Rgb& rgb) {
        QImage image(rgb.width, rgb.height, QImage::Format_RGB888);
        for (int y = 0; y < rgb.height; ++y)
            std::memcpy(image.scanLine(y), rgb.at(0, y), static_cast<std::size_t>(rgb.width) * 3u);
        return image;
    }
    QString savePicture(const QString& name, const demo::Rgb& rgb) {
        const QString path = tempDir() + QLatin1Char('/') + name;
        EXPECT_TRUE(qimage(rgb).save(path));
        return path;
    }
};

TEST_F(ExternalReaderTest, AsksEveryTimeStartingInTheApplicationsFolder) {
    const QString png = savePicture(QStringLiteral("map.png"), picture(100, 100));
    OvEditorWindow* w = window();
    script().openAnswers.push_back(png);
    script().openAnswers.push_back(png);
    w->ReadPictureFromGraphicsFile(w->PreviewCanvas, 1013);
    w->ReadPictureFromGraphicsFile(w->PreviewCanvas, 1013);

    ASSERT_EQ(script().openRequests.size(), 2u);
    for (const FileDialogRequest& request : script().openRequests) {
        EXPECT_EQ(request.title, QStringLiteral("Select graphics file for input"));
        EXPECT_EQ(
            request.promptText,
            QStringLiteral("select a file with the new background graphics, size should be 314x491 pixels."));
        EXPECT_EQ(request.initialLocation, QCoreApplication::applicationDirPath());
    }
    EXPECT_TRUE(script().messages.isEmpty());
    EXPECT_EQ(w->PreviewCanvas->size(), QSize(100, 100));
}

// Every format goes through the same door; corners catch flipped rows and swapped channels.
TEST_F(ExternalReaderTest, ReadsPictTgaAndWhatQtReads) {
    const demo::Rgb source = picture(64, 48);
    const QString files[] = {
        writeFile(tempDir() + QStringLiteral("/map.pict"), pictFile(source)),
        writeFile(tempDir() + QStringLiteral("/map-without-suffix"), tgaFile(source)),
        savePicture(QStringLiteral("map.bmp"), source),
        savePicture(QStringLiteral("map.png"), source),
    };
    for (const QString& file : files) {
        SCOPED_TRACE(file.toStdString());
        OvEditorWindow* w = window();
        script().openAnswers.push_back(file);
        w->ReadPictureFromGraphicsFile(w->PreviewCanvas, 0);
        EXPECT_TRUE(script().messages.isEmpty()) << script().messages.join(QLatin1Char('|')).toStdString();
        const QImage& map = w->PreviewCanvas->MasterBackground;
        ASSERT_EQ(map.size(), QSize(64, 48));
        EXPECT_EQ(map.pixelColor(0, 0), kTopLeft);
        EXPECT_EQ(map.pixelColor(63, 47), kBottomRight);
        EXPECT_EQ(map.pixelColor(20, 20), kFill);
        w->setModified(false);
        w->close();
    }
}

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
    OvEditorWindow* w = window();
    script().openAnswers.push_back(path);
    w->ReadPictureFromGraphicsFile(w->PreviewCanvas, 0);
    EXPECT_EQ(w->PreviewCanvas->size(), QSize(40, 20));
}

TEST_F(ExternalReaderTest, FailuresKeepTheCanvas) {
    const QString png = savePicture(QStringLiteral("first.png"), picture(50, 60));
    const QString folder = tempDir() + QStringLiteral("/folder");
    QDir().mkpath(folder);
    struct Case {
        QString chosen;
        QString message;
    } cases[] = {
        {writeFile(tempDir() + QStringLiteral("/notes.txt"), std::string("these are no pixels")),
         QStringLiteral("sorry, picture not found or memory overflow.")},
        {writeFile(tempDir() + QStringLiteral("/empty.png"), demo::Bytes{}),
         QStringLiteral("sorry, picture not found or memory overflow.")},
        {writeFile(tempDir() + QStringLiteral("/cut.pict"),
                   [] {
                       demo::Bytes bytes = pictFile(picture(64, 48));
                       bytes.resize(bytes.size() / 2);
                       return bytes;
                   }()),
         QStringLiteral("sorry, picture not found or memory overflow.")},
        {writeFile(tempDir() + QStringLiteral("/giant.png"), giantPng()),
         QStringLiteral("sorry, picture not found or memory overflow.")},
        {writeFile(tempDir() + QStringLiteral("/giant.tga"),
                   [] {
                       demo::Bytes bytes = tgaFile(picture(2, 2));
                       bytes[12] = bytes[13] = bytes[14] = bytes[15] =
                           0xFF; // 65535 x 65535, four pixels of data
                       return bytes;
                   }()),
         QStringLiteral("sorry, picture not found or memory overflow.")},
        {folder, QStringLiteral("please select a single file.")},
        {QString(), QString()},
    };
    OvEditorWindow* w = window();
    script().openAnswers.push_back(png);
    w->ReadPictureFromGraphicsFile(w->PreviewCanvas, 0);
    const QImage before = w->PreviewCanvas->MasterBackground;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.chosen.toStdString());
        script().messages.clear();
        script().openAnswers.push_back(c.chosen);
        w->ReadPictureFromGraphicsFile(w->PreviewCanvas, 0);
        EXPECT_EQ(script().messages, c.message.isEmpty() ? QStringList() : QStringList{c.message});
        EXPECT_EQ(w->PreviewCanvas->size(), QSize(50, 60));
        EXPECT_EQ(w->PreviewCanvas->MasterBackground, before);
    }
}

} // namespace
