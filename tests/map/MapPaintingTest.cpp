// The composition of the map: exact outline pixels, colours, points, unset coordinates, clipping,
// row order, the picture under the outlines and the screenshot that the clipboard copy uses.
#include "map/MapPainting.h"

#include "GuiTestSupport.h"
#include "MapTestTables.h"
#include "map/OvPictCanvas.h"
#include "table/OvDataListBox.h"
#include "windows/OvEditorWindow.h"

#include <QPainter>

using namespace MapTest;

namespace {

const QRgb kWhite = qRgb(255, 255, 255);

class MapPaintingTest : public GuiTest {
protected:
    void SetUp() override {
        GuiTest::SetUp();
        window = newFromScratch();
        ASSERT_NE(window, nullptr);
        table = window->thisListBox;
        canvas = window->PreviewCanvas;
        fillModel(*table, 2, 3); // 9 rows, all without a rectangle
        ASSERT_EQ(table->ListCount(), 9);
    }

    QImage shot() {
        const QImage image = window->GetCanvasScreenshot();
        EXPECT_FALSE(image.isNull());
        return image.convertToFormat(QImage::Format_RGB32);
    }

    OvEditorWindow* window = nullptr;
    OvDataListBox* table = nullptr;
    OvPictCanvas* canvas = nullptr;
};

// The outline of the block x1..x2, y1..y2 (both included) in `colour`, white elsewhere.
QImage expectedOutline(QSize size, int x1, int y1, int x2, int y2, QRgb colour) {
    QImage expected(size, QImage::Format_RGB32);
    expected.fill(kWhite);
    for (int y = y1; y <= y2; ++y)
        for (int x = x1; x <= x2; ++x)
            if ((x == x1 || x == x2 || y == y1 || y == y2) && x >= 0 && y >= 0 && x < size.width() &&
                y < size.height())
                expected.setPixel(x, y, in16Bits(colour));
    return expected;
}

TEST_F(MapPaintingTest, SelectedRectangleOutlinesExactlyItsColumnsAndRows) {
    setRect(*table, 2, 10, 20, 30, 25);
    table->setSelected(2, true);
    const QImage image = shot();
    ASSERT_EQ(image.size(), QSize(314, 491));
    EXPECT_EQ(image, expectedOutline(image.size(), 10, 20, 30, 25, MapPainting::kHighlightedColour))
        << pixelsOtherThan(image, kWhite).toStdString();
}

TEST_F(MapPaintingTest, CornersStoredReversedDrawTheRectangleBetweenThem) {
    setRect(*table, 2, 30, 25, 10, 20);
    table->setSelected(2, true);
    const QImage image = shot();
    EXPECT_EQ(image, expectedOutline(image.size(), 10, 20, 30, 25, MapPainting::kHighlightedColour));

    setRect(*table, 2, 30, 20, 10, 25); // only x reversed
    EXPECT_EQ(shot(), expectedOutline(image.size(), 10, 20, 30, 25, MapPainting::kHighlightedColour));
}

TEST_F(MapPaintingTest, OnlyVisibleRowsUseTheVisibleColourAndSeveralSelectedRowsAllRed) {
    setRect(*table, 2, 10, 10, 20, 20);
    setRect(*table, 3, 40, 40, 50, 50);
    setRect(*table, 6, 70, 70, 80, 80);
    table->setSelected(2, true);
    table->setSelected(3, true);
    table->setCellCheck(6, OvDataListBox::ColView, true);
    const QImage image = shot();
    EXPECT_EQ(image.pixel(10, 10), in16Bits(MapPainting::kHighlightedColour));
    EXPECT_EQ(image.pixel(50, 50), in16Bits(MapPainting::kHighlightedColour));
    EXPECT_EQ(image.pixel(70, 75), in16Bits(MapPainting::kVisibleColour));
    EXPECT_NE(in16Bits(MapPainting::kHighlightedColour), in16Bits(MapPainting::kVisibleColour));

    // A row that is neither selected nor ticked is not drawn.
    setRect(*table, 7, 100, 100, 110, 110);
    EXPECT_EQ(shot().pixel(100, 100), kWhite);
}

TEST_F(MapPaintingTest, OneColumnWideRectangleIsALineNotAPoint) {
    setRect(*table, 1, 50, 10, 50, 20);
    table->setSelected(1, true);
    const QImage image = shot();
    EXPECT_EQ(image, expectedOutline(image.size(), 50, 10, 50, 20, MapPainting::kHighlightedColour));
}

TEST_F(MapPaintingTest, PointGetsTheRedMarkAndAHaloOnlyWhenHighlighted) {
    setRect(*table, 4, 100, 100, 100, 100);
    table->setCellCheck(4, OvDataListBox::ColView, true);
    QImage image = shot();
    QImage expected = expectedOutline(image.size(), 99, 99, 100, 100, MapPainting::kPointColour);
    EXPECT_EQ(image, expected) << pixelsOtherThan(image, kWhite).toStdString();

    table->setSelected(4, true);
    image = shot();
    expected = expectedOutline(image.size(), 97, 97, 102, 102, MapPainting::kHaloColour);
    for (int y = 99; y <= 100; ++y)
        for (int x = 99; x <= 100; ++x)
            expected.setPixel(x, y, in16Bits(MapPainting::kPointColour));
    EXPECT_EQ(image, expected) << pixelsOtherThan(image, kWhite).toStdString();
}

TEST_F(MapPaintingTest, AnyUnsetOrUnreadableCoordinateDrawsNothing) {
    table->setSelected(3, true);
    for (const auto& rect : {std::array<const char*, 4>{"0", "20", "30", "25"},
                             {"10", "0", "30", "25"},
                             {"10", "20", "0", "25"},
                             {"10", "20", "30", "0"},
                             {"abc", "20", "30", "25"},
                             {"", "20", "30", "25"}}) {
        table->setCell(3, OvDataListBox::ColX1, QString::fromLatin1(rect[0]));
        table->setCell(3, OvDataListBox::ColY1, QString::fromLatin1(rect[1]));
        table->setCell(3, OvDataListBox::ColX2, QString::fromLatin1(rect[2]));
        table->setCell(3, OvDataListBox::ColY2, QString::fromLatin1(rect[3]));
        EXPECT_TRUE(pixelsOtherThan(shot(), kWhite).isEmpty()) << rect[0] << " " << rect[1];
    }
    // Text after the digits is ignored, as everywhere in the table.
    setRect(*table, 3, 10, 20, 30, 25);
    table->setCell(3, OvDataListBox::ColX1, QStringLiteral("10abc"));
    EXPECT_EQ(shot(), expectedOutline(QSize(314, 491), 10, 20, 30, 25, MapPainting::kHighlightedColour));
}

TEST_F(MapPaintingTest, OutlinesReachingPastTheCanvasAreCutAtItsEdge) {
    setRect(*table, 2, 300, 480, 400, 600);
    setRect(*table, 3, -5, -5, 10, 10);
    setRect(*table, 4, 1, 1, 2147483647, 2147483647);
    table->setSelected(2, true);
    table->setSelected(3, true);
    QImage image = shot();
    QImage expected = expectedOutline(image.size(), 300, 480, 400, 600, MapPainting::kHighlightedColour);
    const QImage second = expectedOutline(image.size(), -5, -5, 10, 10, MapPainting::kHighlightedColour);
    for (int y = 0; y <= 10; ++y)
        for (int x = 0; x <= 10; ++x)
            if (second.pixel(x, y) != kWhite)
                expected.setPixel(x, y, second.pixel(x, y));
    EXPECT_EQ(image, expected) << pixelsOtherThan(image, kWhite).toStdString();

    // Far-away corners: only the top and left edges are on the canvas.
    table->setSelected(4, true);
    image = shot();
    EXPECT_EQ(image.pixel(313, 1), in16Bits(MapPainting::kHighlightedColour));
    EXPECT_EQ(image.pixel(1, 490), in16Bits(MapPainting::kHighlightedColour));
    EXPECT_EQ(image.pixel(313, 490), kWhite);
}

TEST_F(MapPaintingTest, LaterRowsLieOverEarlierRowsWhereOutlinesCross) {
    // Row 2's right edge (x 50) crosses row 3's top edge (y 30) at (50, 30).
    setRect(*table, 2, 10, 10, 50, 50);
    setRect(*table, 3, 30, 30, 70, 70);
    table->setCellCheck(2, OvDataListBox::ColView, true);
    table->setSelected(3, true);
    EXPECT_EQ(shot().pixel(50, 30), in16Bits(MapPainting::kHighlightedColour));

    table->setSelected(3, false);
    table->setCellCheck(3, OvDataListBox::ColView, true);
    table->setSelected(2, true);
    EXPECT_EQ(shot().pixel(50, 30), in16Bits(MapPainting::kVisibleColour));
}

TEST_F(MapPaintingTest, MapShowsUnderTheOutlinesAndPaintingLeavesTheMapUntouched) {
    const QImage map = markedPicture(314, 491, qRgb(0, 0, 255));
    canvas->setMap(map);
    setRect(*table, 2, 10, 20, 30, 25);
    table->setSelected(2, true);
    const QImage image = shot();
    EXPECT_EQ(image.pixel(0, 0), qRgb(255, 0, 0));
    EXPECT_EQ(image.pixel(313, 490), in16Bits(qRgb(0, 0, 255)));
    EXPECT_EQ(image.pixel(200, 200), in16Bits(qRgb(0, 0, 255)));
    EXPECT_EQ(image.pixel(10, 20), in16Bits(MapPainting::kHighlightedColour));
    EXPECT_EQ(canvas->MasterBackground, map);
    EXPECT_EQ(canvas->MasterBackground.pixel(10, 20), qRgb(0, 0, 255));
}

TEST_F(MapPaintingTest, ScreenshotHasTheCanvasSizeAlsoWhenASmallMapShrankIt) {
    canvas->resize(200, 300);
    canvas->setMap(markedPicture(200, 300, qRgb(0, 128, 0)));
    const QImage small = shot();
    EXPECT_EQ(small.size(), QSize(200, 300));
    EXPECT_EQ(small.pixel(199, 299), qRgb(0, 0, 255));

    // A map larger than the canvas is cut to the canvas; a smaller one leaves the rest white.
    canvas->resize(314, 491);
    canvas->setMap(markedPicture(640, 480, qRgb(0, 128, 0)));
    QImage image = shot();
    EXPECT_EQ(image.size(), QSize(314, 491));
    EXPECT_EQ(image.pixel(313, 479), in16Bits(qRgb(0, 128, 0)));
    EXPECT_EQ(image.pixel(313, 480), kWhite);
    EXPECT_EQ(image.pixel(0, 0), qRgb(255, 0, 0));
}

TEST_F(MapPaintingTest, ScreenshotThatCannotBeMadeSaysSoAndGivesNoPicture) {
    canvas->resize(0, 0);
    EXPECT_TRUE(window->GetCanvasScreenshot().isNull());
    EXPECT_EQ(script().messages,
              QStringList{QStringLiteral("Not enough memory to create picture for export.")});
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
    const QRgb red = in16Bits(MapPainting::kHighlightedColour);
    const QRgb blue = in16Bits(qRgb(0, 0, 255));
    for (int dy = 0; dy < 2; ++dy)
        for (int dx = 0; dx < 2; ++dx) {
            EXPECT_EQ(screen.pixel(20 + dx, 40 + dy), red);  // map pixel (10, 20)
            EXPECT_EQ(screen.pixel(18 + dx, 40 + dy), blue); // map pixel (9, 20)
            EXPECT_EQ(screen.pixel(22 + dx, 42 + dy), blue); // map pixel (11, 21), inside
            EXPECT_EQ(screen.pixel(0 + dx, 0 + dy), qRgb(255, 0, 0));
        }
}

TEST_F(MapPaintingTest, RedrawAndUnselectButtons) {
    setRect(*table, 2, 10, 20, 30, 25);
    setRect(*table, 5, 40, 40, 60, 60);
    table->setSelected(2, true);
    table->setSelected(5, true);
    table->setCellCheck(5, OvDataListBox::ColView, true);
    window->PushButtonUnselect_Action();
    for (int row = 0; row < table->ListCount(); ++row)
        EXPECT_FALSE(table->Selected(row)) << row;
    EXPECT_EQ(table->ListIndex(), -1);
    // What stays is the ticked row in its visible colour.
    const QImage image = shot();
    EXPECT_EQ(image.pixel(10, 20), kWhite);
    EXPECT_EQ(image.pixel(40, 40), in16Bits(MapPainting::kVisibleColour));
    window->PushButtonRedraw_Action(); // a repaint of what there is; nothing to check but no harm
    EXPECT_EQ(shot(), image);
}

} // namespace
