// Which cursor shows when, in colour or black and white as the setting says at that moment.
#include "GuiTestSupport.h"
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

class MapCursorTest : public GuiTest {
protected:
    void SetUp() override {
        GuiTest::SetUp();
        window = newFromScratch();
        ASSERT_NE(window, nullptr);
        canvas = window->PreviewCanvas;
        fillModel(*window->thisListBox, 1, 1);
        window->thisListBox->setSelected(1, true);
    }

    void enter() {
        QEnterEvent event(QPointF(5, 5), QPointF(5, 5), canvas->mapToGlobal(QPointF(5, 5)));
        QCoreApplication::sendEvent(canvas, &event);
    }
    void leave() {
        QEvent event(QEvent::Leave);
        QCoreApplication::sendEvent(canvas, &event);
    }

    OvEditorWindow* window = nullptr;
    OvPictCanvas* canvas = nullptr;
};

TEST(MapCursorResources, SixOwnDrawingsWithColourAndBlackAndWhiteApart) {
    for (int number : {128, 129, 130, 168, 169, 170}) {
        const QCursor cursor = MapCursors::fromResource(number);
        EXPECT_EQ(cursor.shape(), Qt::BitmapCursor) << number;
        EXPECT_FALSE(cursor.pixmap().isNull()) << number;
    }
    for (int number : {128, 129, 130})
        EXPECT_NE(look(MapCursors::fromResource(number)), look(MapCursors::fromResource(number + 40)))
            << number;
    EXPECT_EQ(MapCursors::resourceNumber(MapCursors::MarkDrag, true), 129);
    EXPECT_EQ(MapCursors::resourceNumber(MapCursors::MarkDrag, false), 169);
    EXPECT_EQ(MapCursors::fromResource(999).shape(), Qt::ArrowCursor);
}

TEST_F(MapCursorTest, EnteringPressingDraggingAndLeavingInColour) {
    enter();
    EXPECT_TRUE(sameCursor(window->cursor(), 130));
    press(canvas, {20, 20});
    EXPECT_TRUE(sameCursor(window->cursor(), 130));
    drag(canvas, {30, 30});
    EXPECT_TRUE(sameCursor(window->cursor(), 129));
    release(canvas, {30, 30});
    EXPECT_TRUE(sameCursor(window->cursor(), 129)); // stays until the mouse leaves or enters
    leave();
    EXPECT_EQ(window->cursor().shape(), Qt::ArrowCursor);
}

TEST_F(MapCursorTest, TheSettingIsReadAtEveryCursorChange) {
    enter();
    EXPECT_TRUE(sameCursor(window->cursor(), 130));
    app()._SettingsCursorBW_Action();
    EXPECT_TRUE(sameCursor(window->cursor(), 130)); // nothing changes until the next cursor change
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

    press(canvas, {20, 20});
    drag(canvas, {30, 30});
    EXPECT_EQ(carried.convertToFormat(QImage::Format_ARGB32), look(MapCursors::fromResource(128)));

    app()._SettingsCursorBW_Action();
    press(canvas, {20, 20});
    drag(canvas, {30, 30});
    EXPECT_EQ(carried.convertToFormat(QImage::Format_ARGB32), look(MapCursors::fromResource(168)));
}

} // namespace
