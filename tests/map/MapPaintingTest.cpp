// The composition of the map: exact outline pixels, colours, points, unset coordinates, clipping,
// row order, the picture under the outlines and the screenshot that the clipboard copy uses.
#include "map/MapPainting.h"

#include "MapTestTables.h"
#include "map/OvPictCanvas.h"
#include "table/OvDataListBox.h"
#include "windows/OvEditorWindow.h"

using namespace MapTest;

namespace {

const QRgb kWhite = qRgb(255, 255, 255);
const QRgb kRed = in16Bits(MapPainting::kHighlightedColour);
const QRgb kVisible = in16Bits(MapPainting::kVisibleColour);

class MapPaintingTest : public MapWindowTest {};

// The outline of the block x1..x2, y1..y2 (both included) in `colour`, white elsewhere.
QImage expectedOutline(int x1, int y1, int x2, int y2, QRgb colour, QSize size = {314, 491}) {
    QImage expected(size, QImage::Format_RGB32);
    expected.fill(kWhite);
    for (int y = std::max(y1, 0); y <= std::min(y2, size.height() - 1); ++y)
        for (int x = std::max(x1, 0); x <= std::min(x2, size.width() - 1); ++x)
            if (x == x1 || x == x2 || y == y1 || y == y2)
                expected.setPixel(x, y, in16Bits(colour));
    return expected;
}

// The cells as typed ("x1|y1|x2|y2") and the block outlined, both corners included; none when
// a coordinate is unset or unreadable. Text after the digits is ignored, as everywhere in the table;
// a block one column wide is a line, not a point.
TEST_F(MapPaintingTest, ASelectedRowOutlinesExactlyTheBlockBetweenItsCornersWhenAllAreSet) {
    const char* cases[] = {"10|20|30|25 -> 10 20 30 25",
                           "30|25|10|20 -> 10 20 30 25",
                           "30|20|10|25 -> 10 20 30 25",
                           "50|10|50|20 -> 50 10 50 20",
                           "10abc|20|30|25 -> 10 20 30 25",
                           "0|20|30|25 -> ",
                           "10|0|30|25 -> ",
                           "10|20|0|25 -> ",
                           "10|20|30|0 -> ",
                           "abc|20|30|25 -> ",
                           "|20|30|25 -> "};
    table->setSelected(2, true);
    for (const char* c : cases) {
        SCOPED_TRACE(c);
        const QStringList parts = QString::fromLatin1(c).split(QStringLiteral(" -> "));
        int column = OvDataListBox::ColX1;
        for (const QString& cell : parts[0].split(u'|'))
            table->userFinishedEdit(2, column++, cell);
        const QImage image = shot();
        const QStringList b = parts[1].split(u' ', Qt::SkipEmptyParts);
        const QImage expected = b.isEmpty() ? expectedOutline(-1, -1, -1, -1, 0) // all white
                                            : expectedOutline(b[0].toInt(), b[1].toInt(), b[2].toInt(),
                                                              b[3].toInt(), MapPainting::kHighlightedColour);
        EXPECT_EQ(image, expected) << pixelsOtherThan(image, kWhite).toStdString();
    }
}

// A point's mark and halo are the composition's; the canvas decides the colours and the halo.
TEST_F(MapPaintingTest, SelectedRowsRedTickedRowsVisibleColourOthersNotAndLaterRowsOnTop) {
    setRect(*table, 2, 10, 10, 50, 50);
    setRect(*table, 3, 30, 30, 70, 70); // its top edge crosses row 2's right edge at (50, 30)
    setRect(*table, 6, 100, 100, 110, 110);
    setRect(*table, 7, 120, 120, 130, 130); // neither selected nor ticked: not drawn
    setRect(*table, 8, 200, 200, 200, 200); // a point
    table->setCellCheck(2, OvDataListBox::ColView, true);
    table->setCellCheck(8, OvDataListBox::ColView, true);
    table->setSelected(3, true);
    table->setSelected(6, true);
    QImage image = shot();
    EXPECT_NE(kRed, kVisible);
    EXPECT_EQ(image.pixel(10, 10), kVisible);
    EXPECT_EQ(image.pixel(70, 70), kRed);
    EXPECT_EQ(image.pixel(110, 105), kRed);
    EXPECT_EQ(image.pixel(120, 120), kWhite);
    EXPECT_EQ(image.pixel(50, 30), kRed);
    const QRgb point = in16Bits(MapPainting::kPointColour);
    EXPECT_EQ(image.pixel(199, 199), point);
    EXPECT_EQ(image.pixel(200, 200), point);
    EXPECT_EQ(image.pixel(197, 197), kWhite);

    table->setSelected(3, false);
    table->setCellCheck(3, OvDataListBox::ColView, true);
    table->setSelected(2, true);
    table->setSelected(8, true);
    image = shot();
    EXPECT_EQ(image.pixel(50, 30), kVisible);
    EXPECT_EQ(image.pixel(199, 199), point);
    EXPECT_EQ(image.pixel(197, 197), in16Bits(MapPainting::kHaloColour));
}

TEST_F(MapPaintingTest, OutlinesReachingPastTheCanvasAreCutAtItsEdge) {
    setRect(*table, 2, 300, 480, 400, 600);
    setRect(*table, 3, -5, -5, 10, 10);
    setRect(*table, 4, 1, 1, 2147483647, 2147483647);
    table->setSelected(2, true);
    table->setSelected(3, true);
    QImage image = shot();
    QImage expected = expectedOutline(300, 480, 400, 600, MapPainting::kHighlightedColour);
    for (int i = 0; i <= 10; ++i) { // the right and bottom edges of the second one
        expected.setPixel(10, i, kRed);
        expected.setPixel(i, 10, kRed);
    }
    EXPECT_EQ(image, expected) << pixelsOtherThan(image, kWhite).toStdString();

    // Far-away corners: only the top and left edges are on the canvas.
    table->setSelected(4, true);
    image = shot();
    EXPECT_EQ(image.pixel(313, 1), kRed);
    EXPECT_EQ(image.pixel(1, 490), kRed);
    EXPECT_EQ(image.pixel(313, 490), kWhite);
}

// Larger than the canvas: cut to it; not as high: white below. Drawing leaves the map untouched.
TEST_F(MapPaintingTest, TheMapShowsUnderTheOutlinesCutToTheCanvasAndStaysUntouched) {
    const QImage map = markedPicture(640, 480, qRgb(0, 128, 0));
    canvas->setMap(map);
    setRect(*table, 2, 10, 20, 30, 25);
    table->setSelected(2, true);
    const QImage image = shot();
    EXPECT_EQ(image.size(), QSize(314, 491));
    EXPECT_EQ(image.pixel(0, 0), qRgb(255, 0, 0));
    EXPECT_EQ(image.pixel(313, 479), in16Bits(qRgb(0, 128, 0)));
    EXPECT_EQ(image.pixel(313, 480), kWhite);
    EXPECT_EQ(image.pixel(10, 20), kRed);
    EXPECT_EQ(canvas->MasterBackground, map);
}

TEST_F(MapPaintingTest, OnScreenOneMapPixelIsOneLogicalPixelDrawnWithoutSmoothing) {
    canvas->setMap(markedPicture(314, 491, qRgb(0, 0, 255)));
    setRect(*table, 2, 10, 20, 30, 25);
    table->setSelected(2, true);
    // A screen at twice the density: every map pixel becomes a sharp 2 x 2 block.
    QImage screen(628, 982, QImage::Format_RGB32);
    screen.setDevicePixelRatio(2.0);
    screen.fill(Qt::black);
    canvas->render(&screen);
    screen.setDevicePixelRatio(1.0);
    const QRgb blue = in16Bits(qRgb(0, 0, 255));
    for (const QPoint d : {QPoint(0, 0), QPoint(1, 1), QPoint(1, 0)}) {
        EXPECT_EQ(screen.pixel(QPoint(20, 40) + d), kRed); // map pixel (10, 20)
        EXPECT_EQ(screen.pixel(QPoint(18, 40) + d), blue); // map pixel (9, 20)
        EXPECT_EQ(screen.pixel(QPoint(22, 42) + d), blue); // map pixel (11, 21), inside
        EXPECT_EQ(screen.pixel(d), qRgb(255, 0, 0));
    }
}

TEST_F(MapPaintingTest, UnselectLeavesOnlyTickedRowsInTheVisibleColour) {
    setRect(*table, 2, 10, 20, 30, 25);
    setRect(*table, 5, 40, 40, 60, 60);
    table->setSelected(2, true);
    table->setSelected(5, true);
    table->setCellCheck(5, OvDataListBox::ColView, true);
    window->PushButtonUnselect_Action();
    for (int row = 0; row < table->ListCount(); ++row)
        EXPECT_FALSE(table->Selected(row)) << row;
    EXPECT_EQ(table->ListIndex(), -1);
    const QImage image = shot();
    EXPECT_EQ(image.pixel(10, 20), kWhite);
    EXPECT_EQ(image.pixel(40, 40), kVisible);
    window->PushButtonRedraw_Action();
    EXPECT_EQ(shot(), image);
}

} // namespace
