// Which cursor shows when, in colour or black and white as the setting says at that moment.
#include "MapTestTables.h"
#include "map/MapCursors.h"
#include "map/OvPictCanvas.h"
#include "table/OvDataListBox.h"
#include "windows/OvEditorWindow.h"

#include <QDrag>
#include <QEnterEvent>

using namespace MapTest;

namespace {

QImage look(const QCursor& cursor) {
    return cursor.pixmap().toImage().convertToFormat(QImage::Format_ARGB32);
}

bool sameCursor(const QCursor& actual, int resource) {
    const QCursor expected = MapCursors::fromResource(resource);
    return actual.shape() == Qt::BitmapCursor && look(actual) == look(expected) &&
           actual.hotSpot() == expected.hotSpot();
}

class MapCursorTest : public MapWindowTest {
protected:
    void SetUp() override {
        MapWindowTest::SetUp();
        table->setSelected(1, true);
    }
    void enter() {
        QEnterEvent event(QPointF(5, 5), QPointF(5, 5), canvas->mapToGlobal(QPointF(5, 5)));
        QCoreApplication::sendEvent(canvas, &event);
    }
};

// Each colour cursor has its own drawing, apart from its black-and-white twin (ID + 40).
TEST(MapCursorResources, SixOwnDrawingsWithColourAndBlackAndWhiteApart) {
    for (int number : {128, 129, 130}) {
        EXPECT_EQ(MapCursors::fromResource(number + 40).shape(), Qt::BitmapCursor) << number;
        EXPECT_NE(look(MapCursors::fromResource(number)), look(MapCursors::fromResource(number + 40)))
            << number;
    }
    EXPECT_EQ(MapCursors::fromResource(999).shape(), Qt::ArrowCursor);
}

// The cursor changes on entering, pressing and dragging, and stays after a release until the mouse
// leaves or enters; each change reads the setting, a change of the setting alone changes nothing.
TEST_F(MapCursorTest, EachCursorChangeReadsTheSettingAtThatMoment) {
    enter();
    EXPECT_TRUE(sameCursor(window->cursor(), 130));
    press(canvas, {20, 20});
    EXPECT_TRUE(sameCursor(window->cursor(), 130));
    drag(canvas, {30, 30});
    EXPECT_TRUE(sameCursor(window->cursor(), 129));
    release(canvas, {30, 30});
    EXPECT_TRUE(sameCursor(window->cursor(), 129));
    QEvent leave(QEvent::Leave);
    QCoreApplication::sendEvent(canvas, &leave);
    EXPECT_EQ(window->cursor().shape(), Qt::ArrowCursor);

    enter();
    app()._SettingsCursorBW_Action();
    EXPECT_TRUE(sameCursor(window->cursor(), 130));
    press(canvas, {20, 20});
    EXPECT_TRUE(sameCursor(window->cursor(), 170));
    drag(canvas, {30, 30});
    EXPECT_TRUE(sameCursor(window->cursor(), 169));
    app()._SettingsCursorColor_Action();
    drag(canvas, {31, 31});
    EXPECT_TRUE(sameCursor(window->cursor(), 129));
}

TEST_F(MapCursorTest, ThePictureDragCarriesCursor128InTheChosenVariant) {
    canvas->setMap(markedPicture(314, 491, qRgb(10, 20, 30)));
    QImage carried;
    canvas->setDragRunner([&carried](QDrag& drag) { carried = drag.dragCursor(Qt::CopyAction).toImage(); });
    window->PushButtonUnselect_Action();
    for (int expected : {128, 168}) {
        press(canvas, {20, 20});
        drag(canvas, {30, 30});
        EXPECT_EQ(carried.convertToFormat(QImage::Format_ARGB32), look(MapCursors::fromResource(expected)));
        app()._SettingsCursorBW_Action();
    }
}

} // namespace
