// Pictures dropped on the map: image data, image bytes, image files; what is refused.
#include "GuiTestSupport.h"
#include "MapTestTables.h"
#include "map/OvPictCanvas.h"
#include "windows/OvEditorWindow.h"

#include <QBuffer>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QMimeData>
#include <QUrl>

using namespace MapTest;

namespace {

class MapDropTest : public GuiTest {
protected:
    void SetUp() override {
        GuiTest::SetUp();
        window = newFromScratch();
        ASSERT_NE(window, nullptr);
        canvas = window->PreviewCanvas;
    }

    // Offers `data` to the canvas as the platform would; true when the canvas took the drop.
    bool dropOn(const QMimeData& data, Qt::DropActions offered = Qt::CopyAction | Qt::MoveAction) {
        QDragEnterEvent enter(QPoint(10, 10), offered, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(canvas, &enter);
        if (!enter.isAccepted())
            return false;
        QDropEvent drop(QPointF(10, 10), offered, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(canvas, &drop);
        QCoreApplication::processEvents();
        lastAction = drop.dropAction();
        return drop.isAccepted();
    }

    QString writeFile(const QString& name, const QByteArray& bytes) {
        const QString path = QDir(tempDir()).filePath(name);
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        return path;
    }

    static QByteArray png(const QImage& image) {
        QByteArray bytes;
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        image.save(&buffer, "PNG");
        return bytes;
    }

    OvEditorWindow* window = nullptr;
    OvPictCanvas* canvas = nullptr;
    Qt::DropAction lastAction = Qt::IgnoreAction;
};

TEST_F(MapDropTest, DroppedImageDataBecomesTheMapAndTheCanvasKeepsItsSize) {
    const QImage picture = markedPicture(640, 480, qRgb(0, 100, 0));
    QMimeData data;
    data.setImageData(picture);
    EXPECT_TRUE(dropOn(data));
    EXPECT_EQ(lastAction, Qt::CopyAction); // the source keeps its picture
    EXPECT_EQ(canvas->MasterBackground.convertToFormat(QImage::Format_RGB32), picture);
    EXPECT_EQ(canvas->size(), QSize(314, 491));
    const QImage shown = window->GetCanvasScreenshot().convertToFormat(QImage::Format_RGB32);
    EXPECT_EQ(shown.size(), QSize(314, 491));
    EXPECT_EQ(shown.pixel(0, 0), qRgb(255, 0, 0));
    EXPECT_EQ(shown.pixel(313, 479), in16Bits(qRgb(0, 100, 0)));
}

TEST_F(MapDropTest, PngBytesAloneAreEnough) {
    const QImage picture = markedPicture(50, 40, qRgb(0, 0, 200));
    QMimeData data;
    data.setData(QStringLiteral("image/png"), png(picture));
    EXPECT_TRUE(dropOn(data, Qt::MoveAction)); // a source that offers only to move is taken too
    EXPECT_EQ(canvas->MasterBackground.convertToFormat(QImage::Format_RGB32), picture);
}

TEST_F(MapDropTest, AnImageFileFromTheFileManagerIsReadByItsContent) {
    const QImage picture = markedPicture(120, 90, qRgb(200, 200, 0));
    // The name says nothing about the format: the content decides.
    const QString path = writeFile(QStringLiteral("map-without-extension"), png(picture));
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(path)});
    EXPECT_TRUE(dropOn(data));
    EXPECT_EQ(canvas->MasterBackground.convertToFormat(QImage::Format_RGB32), picture);
    EXPECT_TRUE(script().messages.isEmpty());
}

TEST_F(MapDropTest, DropsWithoutAPictureAreRefusedAndChangeNothing) {
    const QImage before = markedPicture(314, 491, qRgb(1, 2, 3));
    canvas->setMap(before);

    QMimeData text;
    text.setText(QStringLiteral("not a picture"));
    EXPECT_FALSE(dropOn(text));

    QMimeData textFile;
    textFile.setUrls({QUrl::fromLocalFile(writeFile(QStringLiteral("notes.txt"), "hello"))});
    EXPECT_FALSE(dropOn(textFile));

    QMimeData folder;
    folder.setUrls({QUrl::fromLocalFile(tempDir())});
    EXPECT_FALSE(dropOn(folder));

    EXPECT_EQ(canvas->MasterBackground, before);
    EXPECT_TRUE(script().messages.isEmpty());
}

TEST_F(MapDropTest, ABrokenImageFileIsReportedAndTheMapStays) {
    const QImage before = markedPicture(314, 491, qRgb(1, 2, 3));
    canvas->setMap(before);
    // A PNG signature and header, then nothing: readers recognise it but cannot decode it.
    const QByteArray truncated = png(markedPicture(100, 100, qRgb(9, 9, 9))).left(40);
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(writeFile(QStringLiteral("broken.png"), truncated))});
    dropOn(data);
    EXPECT_EQ(canvas->MasterBackground, before);
    EXPECT_EQ(script().messages, QStringList{QStringLiteral("sorry, picture not found or memory overflow.")});
}

} // namespace
