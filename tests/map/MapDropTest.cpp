// Pictures dropped on the map: image data, image bytes, image files; what is refused.
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

#include <memory>

using namespace MapTest;

namespace {

class MapDropTest : public MapWindowTest {
protected:
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
    std::unique_ptr<QMimeData> fileDrop(const QString& name, const QByteArray& bytes) {
        const QString path = QDir(tempDir()).filePath(name);
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        auto data = std::make_unique<QMimeData>();
        data->setUrls({QUrl::fromLocalFile(path)});
        return data;
    }
    static QByteArray png(const QImage& image) {
        QByteArray bytes;
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        image.save(&buffer, "PNG");
        return bytes;
    }

    Qt::DropAction lastAction = Qt::IgnoreAction;
};

TEST_F(MapDropTest, ImageDataPngBytesOrAnImageFileBecomeTheMapAndTheCanvasKeepsItsSize) {
    const QImage picture = markedPicture(640, 480, qRgb(0, 100, 0));
    QMimeData image;
    image.setImageData(picture);
    QMimeData bytes;
    bytes.setData(QStringLiteral("image/png"), png(picture));
    // The file's name says nothing about the format: the content decides.
    const auto file = fileDrop(QStringLiteral("map-without-extension"), png(picture));
    struct Case {
        const char* name;
        const QMimeData* data;
        Qt::DropActions offered;
    } cases[] = {
        {"image data", &image, Qt::CopyAction | Qt::MoveAction},
        {"PNG bytes, offered only to move", &bytes, Qt::MoveAction},
        {"file", file.get(), Qt::CopyAction | Qt::MoveAction},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        canvas->setMap(QImage());
        EXPECT_TRUE(dropOn(*c.data, c.offered));
        EXPECT_EQ(canvas->MasterBackground.convertToFormat(QImage::Format_RGB32), picture);
        EXPECT_EQ(canvas->size(), QSize(314, 491));
        EXPECT_TRUE(script().messages.isEmpty());
    }
    EXPECT_EQ(lastAction, Qt::CopyAction); // the source keeps its picture
}

TEST_F(MapDropTest, DropsWithoutAPictureAreRefusedAndChangeNothing) {
    const QImage before = markedPicture(314, 491, qRgb(1, 2, 3));
    canvas->setMap(before);
    QMimeData text;
    text.setText(QStringLiteral("not a picture"));
    EXPECT_FALSE(dropOn(text));
    EXPECT_FALSE(dropOn(*fileDrop(QStringLiteral("notes.txt"), "hello")));
    QMimeData folder;
    folder.setUrls({QUrl::fromLocalFile(tempDir())});
    EXPECT_FALSE(dropOn(folder));
    EXPECT_EQ(canvas->MasterBackground, before);
    EXPECT_TRUE(script().messages.isEmpty());

    // A PNG signature and header, then nothing: recognised but not decodable.
    dropOn(*fileDrop(QStringLiteral("broken.png"), png(markedPicture(100, 100, qRgb(9, 9, 9))).left(40)));
    EXPECT_EQ(canvas->MasterBackground, before);
    EXPECT_EQ(script().messages, QStringList{QStringLiteral("sorry, picture not found or memory overflow.")});
}

} // namespace
