// Marking a rectangle with real mouse events, and dragging the bare map out.
#include "GuiTestSupport.h"
#include "MapTestTables.h"
#include "map/MapPainting.h"
#include "map/OvPictCanvas.h"
#include "table/OvDataListBox.h"
#include "windows/OvEditorWindow.h"

#include <QDrag>
#include <QMimeData>
#include <QMouseEvent>
#include <QSignalSpy>

#include <array>

using namespace MapTest;

namespace {

class MapMarkingTest : public GuiTest {
protected:
    void SetUp() override {
        GuiTest::SetUp();
        window = newFromScratch();
        ASSERT_NE(window, nullptr);
        table = window->thisListBox;
        canvas = window->PreviewCanvas;
        fillModel(*table, 2, 3);
        window->setModified(false);
        canvas->setDragRunner([this](QDrag& drag) {
            ++drags;
            dragged = qvariant_cast<QImage>(drag.mimeData()->imageData());
            draggedPng = drag.mimeData()->data(QStringLiteral("image/png"));
            ghostSize = drag.pixmap().size();
        });
    }

    std::array<QString, 4> rect(int row) const {
        return {table->Cell(row, OvDataListBox::ColX1), table->Cell(row, OvDataListBox::ColY1),
                table->Cell(row, OvDataListBox::ColX2), table->Cell(row, OvDataListBox::ColY2)};
    }
    static std::array<QString, 4> texts(int x1, int y1, int x2, int y2) {
        return {QString::number(x1), QString::number(y1), QString::number(x2), QString::number(y2)};
    }

    OvEditorWindow* window = nullptr;
    OvDataListBox* table = nullptr;
    OvPictCanvas* canvas = nullptr;
    int drags = 0;
    QImage dragged;
    QByteArray draggedPng;
    QSize ghostSize;
};

TEST_F(MapMarkingTest, PressSetsAPointAndDraggingMovesOnlyTheSecondCorner) {
    QSignalSpy cellActions(table, &OvDataListBox::CellAction);
    table->setSelected(5, true);

    press(canvas, {120, 200});
    EXPECT_EQ(rect(5), texts(120, 200, 120, 200));
    QImage image = window->GetCanvasScreenshot().convertToFormat(QImage::Format_RGB32);
    EXPECT_EQ(image.pixel(117, 197), in16Bits(MapPainting::kHaloColour)); // a selected point
    EXPECT_EQ(image.pixel(119, 199), in16Bits(MapPainting::kPointColour));

    drag(canvas, {150, 230});
    drag(canvas, {180, 260});
    EXPECT_EQ(rect(5), texts(120, 200, 180, 260));
    release(canvas, {180, 260});
    image = window->GetCanvasScreenshot().convertToFormat(QImage::Format_RGB32);
    EXPECT_EQ(image.pixel(120, 200), in16Bits(MapPainting::kHighlightedColour));
    EXPECT_EQ(image.pixel(180, 260), in16Bits(MapPainting::kHighlightedColour));
    EXPECT_EQ(image.pixel(150, 230), qRgb(255, 255, 255));

    // Written by the program, not typed: no cell event, but the file's data did change.
    EXPECT_EQ(cellActions.count(), 0);
    EXPECT_TRUE(window->isModified());
    EXPECT_EQ(drags, 0);
    // Other rows are untouched.
    EXPECT_EQ(rect(4), texts(0, 0, 0, 0));
}

TEST_F(MapMarkingTest, DraggingUpAndLeftStoresTheCornersAsTheMouseGaveThem) {
    table->setSelected(2, true);
    press(canvas, {100, 100});
    drag(canvas, {40, 30});
    EXPECT_EQ(rect(2), texts(100, 100, 40, 30));
    const QImage image = window->GetCanvasScreenshot().convertToFormat(QImage::Format_RGB32);
    EXPECT_EQ(image.pixel(40, 30), in16Bits(MapPainting::kHighlightedColour));
    EXPECT_EQ(image.pixel(100, 100), in16Bits(MapPainting::kHighlightedColour));
}

TEST_F(MapMarkingTest, PressInColumnZeroStoresAZeroAndTheEntryIsNotDrawn) {
    table->setSelected(1, true);
    press(canvas, {0, 50});
    EXPECT_EQ(rect(1), texts(0, 50, 0, 50));
    EXPECT_TRUE(pixelsOtherThan(window->GetCanvasScreenshot().convertToFormat(QImage::Format_RGB32),
                                qRgb(255, 255, 255))
                    .isEmpty());
}

TEST_F(MapMarkingTest, PressOnTheSameSpotChangesNothingAndIsNoEdit) {
    table->setSelected(3, true);
    setRect(*table, 3, 120, 200, 120, 200);
    window->setModified(false);
    press(canvas, {120, 200});
    EXPECT_FALSE(window->isModified());
}

TEST_F(MapMarkingTest, WithoutACurrentRowAPressChangesNothingAndADragTakesThePictureOut) {
    const QImage map = markedPicture(314, 491, qRgb(10, 20, 30));
    canvas->setMap(map);
    table->setSelected(5, true);
    window->PushButtonUnselect_Action();
    ASSERT_EQ(table->ListIndex(), -1);

    press(canvas, {120, 200});
    for (int row = 0; row < table->ListCount(); ++row)
        EXPECT_EQ(rect(row), texts(0, 0, 0, 0)) << row;
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

TEST_F(MapMarkingTest, WithoutAMapADragDoesNothing) {
    press(canvas, {120, 200});
    drag(canvas, {125, 205});
    drag(canvas, {400, 205});
    EXPECT_EQ(drags, 0);
}

TEST_F(MapMarkingTest, LeavingTheCanvasWhileMarkingDragsThePictureOut) {
    canvas->setMap(markedPicture(314, 491, qRgb(10, 20, 30)));
    table->setSelected(5, true);
    press(canvas, {100, 100});
    drag(canvas, {200, 150});
    EXPECT_EQ(drags, 0);
    drag(canvas, {400, 150});
    EXPECT_EQ(drags, 1);
    EXPECT_EQ(rect(5), texts(100, 100, 200, 150)); // the last point inside stays
}

TEST_F(MapMarkingTest, AShrunkCanvasLimitsMarksToItsSize) {
    canvas->resize(200, 300);
    canvas->setMap(markedPicture(200, 300, qRgb(10, 20, 30)));
    table->setSelected(5, true);
    press(canvas, {199, 299});
    EXPECT_EQ(rect(5), texts(199, 299, 199, 299));
    press(canvas, {200, 10}); // outside the canvas now: no mark
    EXPECT_EQ(rect(5), texts(199, 299, 199, 299));
    release(canvas, {200, 10});

    press(canvas, {150, 100});
    drag(canvas, {250, 100});
    EXPECT_EQ(drags, 1);
    EXPECT_EQ(rect(5), texts(150, 100, 150, 100));
}

TEST_F(MapMarkingTest, ADisabledTableTakesNoMarks) {
    canvas->setMap(markedPicture(314, 491, qRgb(10, 20, 30)));
    table->setSelected(5, true);
    table->setEnabled(false);
    press(canvas, {100, 100});
    EXPECT_EQ(rect(5), texts(0, 0, 0, 0));
    drag(canvas, {110, 110});
    EXPECT_EQ(drags, 1);
}

TEST_F(MapMarkingTest, OtherButtonsAndMovesWithoutAPressDoNothing) {
    canvas->setMap(markedPicture(314, 491, qRgb(10, 20, 30)));
    table->setSelected(5, true);
    QMouseEvent right(QEvent::MouseButtonPress, QPointF(50, 50), QPointF(50, 50),
                      canvas->mapToGlobal(QPointF(50, 50)), Qt::RightButton, Qt::RightButton, Qt::NoModifier);
    QCoreApplication::sendEvent(canvas, &right);
    EXPECT_EQ(rect(5), texts(0, 0, 0, 0));
    QMouseEvent hover(QEvent::MouseMove, QPointF(60, 60), QPointF(60, 60),
                      canvas->mapToGlobal(QPointF(60, 60)), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(canvas, &hover);
    EXPECT_EQ(drags, 0);
    EXPECT_EQ(rect(5), texts(0, 0, 0, 0));
}

TEST_F(MapMarkingTest, InsideTestsInCanvasAndWindowCoordinates) {
    ASSERT_EQ(canvas->geometry(), QRect(550, 14, 314, 491));
    EXPECT_TRUE(canvas->CoordinatesInsideLocal(0, 0));
    EXPECT_TRUE(canvas->CoordinatesInsideLocal(313, 490));
    EXPECT_FALSE(canvas->CoordinatesInsideLocal(314, 0));
    EXPECT_FALSE(canvas->CoordinatesInsideLocal(0, 491));
    EXPECT_FALSE(canvas->CoordinatesInsideLocal(-1, 10));
    EXPECT_TRUE(canvas->CoordinatesInsideGlobal(550, 14));
    EXPECT_TRUE(canvas->CoordinatesInsideGlobal(863, 504));
    EXPECT_FALSE(canvas->CoordinatesInsideGlobal(549, 14));
    EXPECT_FALSE(canvas->CoordinatesInsideGlobal(864, 504));
    EXPECT_FALSE(canvas->CoordinatesInsideGlobal(600, 505));
}

class MapDemoFileTest : public GuiTest {};

TEST_F(MapDemoFileTest, AMarkOnTheDemoFileReachesTheModelAtTheNextReadBack) {
    script().openAnswers = {example("OvData0"), QString()}; // the file, then no map picture
    app().OvWindowInit(0);
    OvEditorWindow* window = app().OvWindow[0];
    ASSERT_NE(window, nullptr);
    OvDataListBox& table = *window->thisListBox;
    ASSERT_GT(table.ListCount(), 3);
    ASSERT_TRUE(table.CellBold(0, OvDataListBox::ColNumber));
    ASSERT_TRUE(table.CellItalic(1, OvDataListBox::ColNumber));
    ASSERT_FALSE(window->isModified());

    table.setSelected(2, true); // the first battle of the first ops of the first sector
    press(window->PreviewCanvas, {200, 100});
    drag(window->PreviewCanvas, {150, 140});
    release(window->PreviewCanvas, {150, 140});
    EXPECT_TRUE(window->isModified());
    table.GetDataFromListBox();
    EXPECT_EQ(table.BatXY[0][0][0], (ov::Rect{200, 100, 150, 140}));
}

} // namespace
