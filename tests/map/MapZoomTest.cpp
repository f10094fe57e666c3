// Zoom and scroll: the view transform on its own, then through real events on an editing window.
#include "MapTestTables.h"
#include "app/App.h"
#include "app/MenuBar1.h"
#include "map/MapPainting.h"
#include "map/MapView.h"
#include "map/OvPictCanvas.h"
#include "table/OvDataListBox.h"
#include "windows/OvEditorWindow.h"

#include <QAction>
#include <QApplication>
#include <QPainter>
#include <QTest>
#include <QWheelEvent>

using namespace MapTest;

namespace {

MapView viewOf(int zoom, QPoint scroll) {
    MapView view;
    view.setExtent(QSize(314, 491));
    view.setViewport(QSize(300, 476));
    view.zoomKeepingTopLeft(zoom);
    view.setScroll(scroll);
    return view;
}

TEST(MapViewTransform, ViewPointsToMapPixelsAndBack) {
    const struct {
        int zoom;
        QPoint scroll;
        QPointF view;
        QPoint map;
    } cases[] = {
        {1, {0, 0}, {21, 41}, {21, 41}},
        {2, {0, 0}, {21, 41}, {10, 20}},     // the example
        {2, {0, 0}, {21.9, 41.5}, {10, 20}}, // fractional positions on scaled screens
        {2, {100, 60}, {21, 41}, {60, 50}},
        {3, {7, 0}, {0, 0}, {2, 0}},
        {4, {0, 0}, {-1, -5}, {-1, -2}}, // left of and above the view: below zero, not rounded to it
        {8, {800, 1600}, {799, 7}, {199, 200}},
        {8, {5000, 5000}, {0, 0}, {276, 431}}, // clamped: the map's last pixels fill the view
    };
    for (const auto& c : cases) {
        const MapView view = viewOf(c.zoom, c.scroll);
        const QPoint map = view.mapPixelAt(c.view);
        EXPECT_EQ(map, c.map) << c.zoom << " " << c.view.x() << "," << c.view.y();
        EXPECT_TRUE(view.viewRectOf(map).contains(QPoint(qFloor(c.view.x()), qFloor(c.view.y()))));
        EXPECT_EQ(view.viewRectOf(map).size(), QSize(c.zoom, c.zoom));
    }
    EXPECT_EQ(viewOf(8, {}).maxScroll(), QPoint(314 * 8 - 300, 491 * 8 - 476));
    MapView canvasSized; // the canvas at zoom 1: its extent is its viewport, nothing scrolls
    canvasSized.setExtent(QSize(314, 491));
    canvasSized.setViewport(QSize(314, 491));
    canvasSized.setScroll({9, 9});
    EXPECT_EQ(canvasSized.scroll(), QPoint(0, 0));
}

TEST(MapViewTransform, ZoomingKeepsThePixelUnderTheAnchorOrTheTopLeft) {
    // Around the map's middle, where the scroll range allows any level above 1 to keep the pixel.
    const QPointF anchor(133.5, 217.25);
    for (const int from : MapView::kLevels)
        for (const int to : {2, 3, 4, 6, 8}) {
            MapView view = viewOf(from, {157 * from - 133, 245 * from - 217});
            const QPoint under = view.mapPixelAt(anchor);
            const QPoint topLeft = view.mapPixelAt({0, 0});
            MapView anchored = view;
            anchored.zoomAt(to, anchor);
            EXPECT_EQ(anchored.zoom(), to);
            EXPECT_EQ(anchored.mapPixelAt(anchor), under) << from << " -> " << to;
            view.zoomKeepingTopLeft(to);
            EXPECT_EQ(view.mapPixelAt({0, 0}), topLeft) << from << " -> " << to;
        }
    MapView view = viewOf(2, {});
    view.zoomAt(5, {10, 10}); // not a level
    EXPECT_EQ(view.zoom(), 2);
    EXPECT_EQ(MapView::levelAbove(4), 6);
    EXPECT_EQ(MapView::levelAbove(8), 8);
    EXPECT_EQ(MapView::levelBelow(6), 4);
    EXPECT_EQ(MapView::levelBelow(1), 1);
}

class MapZoomTest : public MapWindowTest {
protected:
    void SetUp() override {
        MapWindowTest::SetUp();
        canvas->setDragRunner([this](QDrag&) { ++drags; });
        QImage map(314, 491, QImage::Format_RGB32);
        for (int y = 0; y < map.height(); ++y)
            for (int x = 0; x < map.width(); ++x)
                map.setPixel(x, y, qRgb(x % 256, y % 256, 90));
        canvas->setMap(map);
    }
    void wheel(QPointF at, int delta, Qt::KeyboardModifiers modifiers) {
        QWheelEvent event(at, canvas->mapToGlobal(at), QPoint(), QPoint(0, delta), Qt::NoButton, modifiers,
                          Qt::NoScrollPhase, false);
        QApplication::sendEvent(canvas, &event);
    }
    // What the canvas paints, as 32-bit pixels.
    QImage painted() {
        QImage target(canvas->size(), QImage::Format_RGB16);
        QPainter painter(&target);
        window->CanvasPaintAction(painter);
        painter.end();
        return target.convertToFormat(QImage::Format_RGB32);
    }
    int drags = 0;
};

// The canvas composes only the part it shows: the same pixels as zooming the whole composition,
// with marks crossing the part's edges and a point whose halo is cut by them.
TEST_F(MapZoomTest, AZoomedPaintIsTheWholeCompositionScaled) {
    setRect(*table, 0, 5, 5, 300, 480);
    setRect(*table, 1, 100, 150, 100, 150);
    setRect(*table, 2, 120, 140, 90, 160);
    for (int row = 0; row < 3; ++row)
        table->setCellCheck(row, OvDataListBox::ColView, true);
    table->setSelected(1, true);
    QImage whole = window->composedMap();
    for (const int zoom : {2, 3, 8}) {
        canvas->setZoomKeepingTopLeft(zoom);
        for (const QPoint scroll :
             {QPoint(0, 0), QPoint(99 * zoom + 1, 148 * zoom - 1), QPoint(99999, 99999)}) {
            canvas->setScroll(scroll);
            QImage expected(canvas->size(), QImage::Format_RGB16);
            gfx::zoomInto(MapPainting::rgb16View(whole), zoom, canvas->view().scroll().x(),
                          canvas->view().scroll().y(), MapPainting::rgb16View(expected));
            EXPECT_EQ(painted(), expected.convertToFormat(QImage::Format_RGB32)) << zoom;
        }
    }
}

TEST_F(MapZoomTest, CtrlWheelZoomsKeepingThePixelUnderThePointer) {
    const QPointF at(157.5, 233.0);
    const QPoint under = canvas->view().mapPixelAt(at);
    for (const int expected : {2, 3, 4, 6, 8, 8}) {
        wheel(at, 120, Qt::ControlModifier);
        EXPECT_EQ(canvas->zoom(), expected);
        EXPECT_EQ(canvas->view().mapPixelAt(at), under) << expected;
    }
    wheel(at, -120, Qt::ControlModifier);
    EXPECT_EQ(canvas->zoom(), 6);
    EXPECT_EQ(canvas->view().mapPixelAt(at), under);
    // The painted pixel under the pointer is the map's.
    EXPECT_EQ(painted().pixel(at.toPoint()), in16Bits(qRgb(under.x() % 256, under.y() % 256, 90)));

    // Plain wheel scrolls down, Shift+wheel sideways; at zoom 1 there is nothing to scroll.
    const QPoint scroll = canvas->view().scroll();
    wheel(at, -120, Qt::NoModifier);
    EXPECT_EQ(canvas->view().scroll(), scroll + QPoint(0, 48));
    wheel(at, -120, Qt::ShiftModifier);
    EXPECT_EQ(canvas->view().scroll(), scroll + QPoint(48, 48));
    for (int i = 0; i < 4; ++i)
        wheel(at, -120, Qt::ControlModifier);
    EXPECT_EQ(canvas->zoom(), 1);
    EXPECT_EQ(canvas->view().scroll(), QPoint(0, 0));
}

TEST_F(MapZoomTest, ViewMenuKeysActOnTheFrontWindowKeepTheTopLeftAndCheckTheLevel) {
    window->show();
    QApplication::setActiveWindow(window);
    ASSERT_TRUE(QTest::qWaitForWindowActive(window));
    ASSERT_EQ(app().frontEditingWindow(), window);
    const auto checked = [] {
        QString levels;
        for (const int level : MapView::kLevels)
            if (MenuBar1::instance().item(QStringLiteral("ViewZoom%1").arg(level))->isChecked())
                levels += QString::number(level);
        return levels;
    };
    EXPECT_EQ(checked(), QStringLiteral("1"));
    QTest::keyClick(window, Qt::Key_Equal, Qt::ControlModifier);
    EXPECT_EQ(canvas->zoom(), 2);
    EXPECT_EQ(checked(), QStringLiteral("2"));
    canvas->setScroll({101, 77}); // top-left pixel (50, 38)
    const QPoint topLeft = canvas->view().mapPixelAt({0, 0});
    QTest::keyClick(window, Qt::Key_Equal, Qt::ControlModifier);
    EXPECT_EQ(canvas->zoom(), 3);
    EXPECT_EQ(canvas->view().mapPixelAt({0, 0}), topLeft);
    MenuBar1::instance().item(QStringLiteral("ViewZoom8"))->trigger();
    EXPECT_EQ(canvas->zoom(), 8);
    EXPECT_EQ(canvas->view().mapPixelAt({0, 0}), topLeft);
    EXPECT_EQ(checked(), QStringLiteral("8"));
    QTest::keyClick(window, Qt::Key_Minus, Qt::ControlModifier);
    EXPECT_EQ(canvas->zoom(), 6);
    EXPECT_EQ(canvas->view().mapPixelAt({0, 0}), topLeft);
    QTest::keyClick(window, Qt::Key_0, Qt::ControlModifier);
    EXPECT_EQ(canvas->zoom(), 1);
    EXPECT_EQ(checked(), QStringLiteral("1"));

    // Zoom is per window: a second window starts at 1 and zooming it leaves the first alone.
    OvEditorWindow* other = newFromScratch();
    other->show();
    QApplication::setActiveWindow(other);
    ASSERT_TRUE(QTest::qWaitForWindowActive(other));
    QTest::keyClick(other, Qt::Key_Plus, Qt::ControlModifier);
    EXPECT_EQ(other->PreviewCanvas->zoom(), 2);
    EXPECT_EQ(canvas->zoom(), 1);
}

TEST_F(MapZoomTest, MarkingAtZoomStoresMapPixels) {
    const struct {
        int zoom;
        QPoint scroll;
        QPoint press, to;
        const char* stored;
    } cases[] = {
        {2, {0, 0}, {21, 41}, {61, 81}, "10 20 30 40"},
        {2, {100, 200}, {21, 41}, {61, 81}, "60 120 80 140"},
        {4, {0, 0}, {21, 41}, {61, 81}, "5 10 15 20"},
        {4, {400, 800}, {3, 3}, {203, 403}, "100 200 150 300"},
    };
    for (const auto& c : cases) {
        canvas->setZoomKeepingTopLeft(1);
        canvas->setZoomKeepingTopLeft(c.zoom);
        canvas->setScroll(c.scroll);
        table->setListIndex(3);
        press(canvas, c.press);
        drag(canvas, c.to);
        release(canvas, c.to);
        EXPECT_EQ(rect(3), QLatin1String(c.stored)) << c.zoom;
        // The outline lies on the squares of its corners' map pixels.
        const QImage image = painted();
        EXPECT_EQ(image.pixel(c.press), in16Bits(MapPainting::kHighlightedColour));
        EXPECT_EQ(image.pixel(c.to), in16Bits(MapPainting::kHighlightedColour));
    }
    EXPECT_EQ(drags, 0);
}

TEST_F(MapZoomTest, AMarkDraggedToTheEdgeScrollsAndLeavingTheCanvasStillDragsThePictureOut) {
    canvas->setZoomKeepingTopLeft(4);
    table->setListIndex(2);
    press(canvas, {40, 40});
    const QRect area = canvas->viewport();
    const QPoint edge(area.right() - 2, 100);
    drag(canvas, edge);
    EXPECT_GT(canvas->view().scroll().x(), 0);
    // The second corner is the map pixel under the mouse after the scroll.
    const QPoint under = canvas->view().mapPixelAt(edge);
    EXPECT_EQ(rect(2), QStringLiteral("10 10 %1 %2").arg(under.x()).arg(under.y()));
    // Held there, it keeps scrolling.
    const int scrolled = canvas->view().scroll().x();
    QTest::qWait(150);
    EXPECT_GT(canvas->view().scroll().x(), scrolled);
    EXPECT_EQ(drags, 0);
    drag(canvas, {canvas->width() + 5, 100});
    EXPECT_EQ(drags, 1);
    release(canvas, {canvas->width() + 5, 100});
}

TEST_F(MapZoomTest, OnALargerWindowTheZoomedMapFillsTheAreaAndAPictureSetsOnlyTheExtent) {
    window->content()->resize(1100, 800);
    canvas->setZoomKeepingTopLeft(4);
    EXPECT_EQ(canvas->geometry(), window->mapArea());
    EXPECT_GT(canvas->viewport().width(), 400); // more of the zoomed map than the designed 314
    table->setListIndex(3);
    press(canvas, {21, 41});
    drag(canvas, {401, 601});
    release(canvas, {401, 601});
    EXPECT_EQ(rect(3), QStringLiteral("5 10 100 150"));

    // A smaller picture while zoomed: the map's extent shrinks, the canvas still fills the area.
    canvas->setExtentSize(QSize(200, 300));
    EXPECT_EQ(canvas->geometry(), window->mapArea());
    EXPECT_EQ(canvas->view().contentSize(), QSize(800, 1200));
    // Zoom 2 shows it whole with white beyond: a mark dragged there stops at the map's edge.
    canvas->setZoomKeepingTopLeft(2);
    press(canvas, {21, 41});
    drag(canvas, {200, 700}); // map pixel (100, 350): below the map's last row, 299
    release(canvas, {200, 700});
    EXPECT_EQ(rect(3), QStringLiteral("10 20 100 299"));
    EXPECT_EQ(drags, 0);
    canvas->setZoomKeepingTopLeft(1);
    EXPECT_EQ(canvas->size(), QSize(200, 300));
    EXPECT_EQ(shot().size(), QSize(200, 300));
}

TEST_F(MapZoomTest, MiddleButtonDragScrollsAndScreenshotsStayAtZoomOne) {
    canvas->setZoomKeepingTopLeft(3);
    mouse(canvas, QEvent::MouseButtonPress, {200, 300}, Qt::MiddleButton, Qt::MiddleButton);
    mouse(canvas, QEvent::MouseMove, {150, 220}, Qt::NoButton, Qt::MiddleButton);
    mouse(canvas, QEvent::MouseButtonRelease, {150, 220}, Qt::MiddleButton, Qt::NoButton);
    EXPECT_EQ(canvas->view().scroll(), QPoint(50, 80));
    EXPECT_EQ(rect(0), QStringLiteral("0 0 0 0"));
    EXPECT_EQ(shot().size(), QSize(314, 491));
    EXPECT_EQ(shot().pixel(100, 100), in16Bits(qRgb(100, 100, 90)));
}

} // namespace
