// Marking a rectangle with real mouse events, and dragging the bare map out.
#include "MapTestTables.h"
#include "map/OvPictCanvas.h"
#include "table/OvDataListBox.h"
#include "windows/OvEditorWindow.h"

#include <QDrag>
#include <QMimeData>
#include <QSignalSpy>

using namespace MapTest;

namespace {

class MapMarkingTest : public MapWindowTest {
protected:
    void SetUp() override {
        MapWindowTest::SetUp();
        canvas->setDragRunner([this](QDrag& drag) {
            ++drags;
            dragged = qvariant_cast<QImage>(drag.mimeData()->imageData());
            draggedPng = drag.mimeData()->data(QStringLiteral("image/png"));
            ghostSize = drag.pixmap().size();
        });
    }

    int drags = 0;
    QImage dragged;
    QByteArray draggedPng;
    QSize ghostSize;
};

// Written by the program, not typed: no cell event, but the file's data did change. Column 0 is
// stored; pressing the same spot again is no edit.
TEST_F(MapMarkingTest, AMarkChangesTheFileWithoutACellEventAndTheSameSpotAgainIsNoEdit) {
    QSignalSpy cellActions(table, &OvDataListBox::CellAction);
    table->setSelected(1, true);
    press(canvas, {0, 50});
    release(canvas, {0, 50});
    EXPECT_EQ(rect(1), QStringLiteral("0 50 0 50"));
    EXPECT_EQ(rect(0), QStringLiteral("0 0 0 0"));
    EXPECT_EQ(cellActions.count(), 0);
    EXPECT_TRUE(window->isModified());
    window->setModified(false);
    press(canvas, {0, 50});
    EXPECT_FALSE(window->isModified());
    EXPECT_EQ(drags, 0);
}

// Mouse gestures and what they leave in row 5's cells, and whether the map was dragged out. The
// set-up words: "row" makes row 5 current, "map" gives a map, "small" shrinks the canvas to
// 200 x 300, "off" disables the table. Gestures: p press, d drag, r release, R right-button press,
// h move without a button, each at x,y.
TEST_F(MapMarkingTest, GesturesMarkOnlyInsideTheCanvasForAnEnabledCurrentRow) {
    struct Case {
        const char* setUp;
        const char* gestures;
        const char* cells;
        int drags;
    } cases[] = {
        {"row", "p100,100 d40,30", "100 100 40 30", 0}, // up and left: as the mouse gave them
        {"row map", "p100,100 d200,150 d400,150", "100 100 200 150", 1}, // the last point inside stays
        {"row map small", "p199,299", "199 299 199 299", 0},
        {"row map small", "p199,299 r199,299 p200,10", "199 299 199 299", 0},
        {"row map small", "p150,100 d250,100", "150 100 150 100", 1},
        {"row map off", "p100,100 d110,110", "0 0 0 0", 1},
        {"row map", "R50,50 h60,60", "0 0 0 0", 0},
        {"", "p120,200 d125,205 d400,205", "0 0 0 0", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.setUp) + ": " + c.gestures);
        SetUp(); // a fresh window
        drags = 0;
        const QString setUp = QString::fromLatin1(c.setUp);
        if (setUp.contains(QLatin1String("small")))
            canvas->resize(200, 300);
        if (setUp.contains(QLatin1String("map")))
            canvas->setMap(markedPicture(canvas->width(), canvas->height(), qRgb(10, 20, 30)));
        table->setSelected(5, setUp.contains(QLatin1String("row")));
        table->setEnabled(!setUp.contains(QLatin1String("off")));
        for (const QString& gesture : QString::fromLatin1(c.gestures).split(QLatin1Char(' '))) {
            const QStringList xy = gesture.mid(1).split(QLatin1Char(','));
            const QPoint at(xy[0].toInt(), xy[1].toInt());
            switch (gesture[0].toLatin1()) {
            case 'p':
                press(canvas, at);
                break;
            case 'd':
                drag(canvas, at);
                break;
            case 'r':
                release(canvas, at);
                break;
            case 'R':
                mouse(canvas, QEvent::MouseButtonPress, at, Qt::RightButton, Qt::RightButton);
                break;
            default:
                mouse(canvas, QEvent::MouseMove, at, Qt::NoButton, Qt::NoButton);
            }
        }
        EXPECT_EQ(rect(5), QString::fromLatin1(c.cells));
        EXPECT_EQ(drags, c.drags);
    }
}

TEST_F(MapMarkingTest, WithoutACurrentRowAPressChangesNothingAndADragTakesThePictureOut) {
    const QImage map = markedPicture(314, 491, qRgb(10, 20, 30));
    canvas->setMap(map);
    table->setSelected(5, true);
    window->PushButtonUnselect_Action();
    ASSERT_EQ(table->ListIndex(), -1);

    press(canvas, {120, 200});
    for (int row = 0; row < table->ListCount(); ++row)
        EXPECT_EQ(rect(row), QStringLiteral("0 0 0 0")) << row;
    EXPECT_EQ(drags, 0);
    drag(canvas, {125, 205});
    EXPECT_EQ(drags, 1);
    // The bare map, as image data and as PNG bytes.
    EXPECT_EQ(dragged.convertToFormat(QImage::Format_RGB32), map);
    EXPECT_EQ(QImage::fromData(draggedPng).convertToFormat(QImage::Format_RGB32), map);
    EXPECT_EQ(ghostSize, QSize(105, 164)); // the canvas's rectangle, shown small
    EXPECT_FALSE(window->isModified());

    // The platform drag took the mouse: further moves do not start another one.
    drag(canvas, {130, 210});
    EXPECT_EQ(drags, 1);
}

TEST_F(MapMarkingTest, InsideTestsInCanvasAndWindowCoordinates) {
    ASSERT_EQ(canvas->geometry(), QRect(550, 14, 314, 491));
    struct Case {
        int x, y;
        bool local, global;
    } cases[] = {
        {0, 0, true, false},      {313, 490, true, false},  {314, 0, false, false},  {0, 491, false, false},
        {-1, 10, false, false},   {550, 14, false, true},   {863, 504, false, true}, {549, 14, false, false},
        {864, 504, false, false}, {600, 505, false, false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(canvas->CoordinatesInsideLocal(c.x, c.y), c.local) << c.x << "," << c.y;
        EXPECT_EQ(canvas->CoordinatesInsideGlobal(c.x, c.y), c.global) << c.x << "," << c.y;
    }
}

class MapDemoFileTest : public GuiTest {};

TEST_F(MapDemoFileTest, AMarkOnTheDemoFileReachesTheDocument) {
    script().openAnswers = {example("OvData0"), QString()}; // the file, then no map picture
    app().OvWindowInit(0);
    OvEditorWindow* window = app().OvWindow[0];
    ASSERT_NE(window, nullptr);
    OvDataListBox& table = *window->thisListBox;
    ASSERT_GT(table.ListCount(), 3);
    ASSERT_FALSE(window->isModified());

    table.setSelected(2, true); // the first battle of the first ops of the first sector
    press(window->PreviewCanvas, {200, 100});
    drag(window->PreviewCanvas, {150, 140});
    release(window->PreviewCanvas, {150, 140});
    EXPECT_TRUE(window->isModified());
    EXPECT_EQ(window->document().model().BatXY[0][0][0], (ov::Rect{200, 100, 150, 140}));
}

} // namespace
