// The read-out under the map and moving a rectangle with the arrow keys, through real events.
#include "MapTestTables.h"
#include "map/OvPictCanvas.h"
#include "table/OvDataListBox.h"
#include "windows/OvEditorWindow.h"

#include <QLabel>
#include <QTest>
#include <QUndoStack>

using namespace MapTest;

namespace {

class MapKeysTest : public MapWindowTest {
protected:
    void hover(QPoint at) { mouse(canvas, QEvent::MouseMove, at, Qt::NoButton, Qt::NoButton); }
    // "R" right, "L" left, "U" up, "D" down; a leading "s" adds Shift, "a" Alt.
    void keys(const char* sequence) {
        Qt::KeyboardModifiers modifiers;
        for (const char* c = sequence; *c; ++c) {
            if (*c == 's' || *c == 'a') {
                modifiers |= *c == 's' ? Qt::ShiftModifier : Qt::AltModifier;
                continue;
            }
            const Qt::Key key = *c == 'R'   ? Qt::Key_Right
                                : *c == 'L' ? Qt::Key_Left
                                : *c == 'U' ? Qt::Key_Up
                                            : Qt::Key_Down;
            QTest::keyClick(canvas, key, modifiers);
            modifiers = {};
        }
    }
};

TEST_F(MapKeysTest, ArrowsMoveShiftMovesTenAltResizesWithinTheCoordinateRange) {
    const struct {
        const char* start;
        const char* keys;
        const char* after;
    } cases[] = {
        {"10 20 30 40", "R", "11 20 31 40"},
        {"10 20 30 40", "sD", "10 30 30 50"},
        {"10 20 30 40", "LLU", "8 19 28 39"},
        {"10 20 30 40", "aL", "10 20 29 40"},    // only the second corner
        {"10 20 30 40", "asUaR", "10 20 31 30"}, // resize by 10 up, 1 right
        {"30 40 10 20", "sL", "21 40 1 20"},     // stored right-to-left, stopped at 1 ...
        {"5 5 8 8", "sL", "1 5 4 8"},            // ... and stops at 1, keeping its shape
        {"1 5 3 8", "LsU", "1 1 3 4"},
        {"32760 10 32765 12", "sR", "32762 10 32767 12"}, // the file's largest coordinate
        {"7 7 7 7", "aRaD", "7 7 8 8"},                   // a point grows into a rectangle
    };
    for (const auto& c : cases) {
        const QStringList v = QString::fromLatin1(c.start).split(u' ');
        setRect(*table, 4, v[0].toInt(), v[1].toInt(), v[2].toInt(), v[3].toInt());
        table->setListIndex(4);
        keys(c.keys);
        EXPECT_EQ(rect(4), QLatin1String(c.after)) << c.start << " " << c.keys;
        QTest::qWait(0);
    }
}

TEST_F(MapKeysTest, ABurstOnOneRowIsOneStepThatUndoesAndMarksTheFileModified) {
    setRect(*table, 2, 10, 20, 30, 40);
    setRect(*table, 5, 50, 60, 70, 80);
    window->setModified(false);
    QUndoStack* history = window->undoStack();
    const int before = history->count();
    table->setListIndex(2);
    keys("RRsDaR");
    EXPECT_EQ(rect(2), QStringLiteral("12 30 33 50")); // the cells follow every key
    EXPECT_EQ(window->MapReadout->text(), QStringLiteral("x1 12, y1 30 - x2 33, y2 50 (22 x 21)"));
    EXPECT_EQ(history->count(), before + 1);
    EXPECT_EQ(history->undoText(), QStringLiteral("Move Battle 100"));
    EXPECT_TRUE(window->isModified());

    table->setListIndex(5); // another row: another step
    keys("U");
    EXPECT_EQ(history->count(), before + 2);
    QTest::qWait(OvEditorWindow::kNudgeBurstMs + 200); // a pause ends the burst
    keys("U");
    EXPECT_EQ(history->count(), before + 3);
    EXPECT_EQ(rect(5), QStringLiteral("50 58 70 78"));

    history->undo();
    history->undo();
    EXPECT_EQ(rect(5), QStringLiteral("50 60 70 80"));
    history->undo();
    EXPECT_EQ(rect(2), QStringLiteral("10 20 30 40"));
    EXPECT_FALSE(window->isModified());
    history->redo();
    EXPECT_EQ(rect(2), QStringLiteral("12 30 33 50"));
}

TEST_F(MapKeysTest, NothingMovesWithoutACurrentRowOrASetRectangle) {
    setRect(*table, 2, 10, 20, 30, 40);
    window->setModified(false);
    const int before = window->undoStack()->count();
    table->setListIndex(-1);
    keys("RsDaL");
    table->setListIndex(3); // unset: 0 0 0 0
    keys("R");
    EXPECT_EQ(rect(2), QStringLiteral("10 20 30 40"));
    EXPECT_EQ(rect(3), QStringLiteral("0 0 0 0"));
    EXPECT_EQ(window->undoStack()->count(), before);
    EXPECT_FALSE(window->isModified());
    EXPECT_EQ(script().beeps, 1);
}

TEST_F(MapKeysTest, TheReadOutShowsThePixelUnderThePointerAndTheRectangleBeingMarked) {
    hover({12, 16});
    EXPECT_EQ(window->MapReadout->text(), QStringLiteral("x 12, y 16"));
    table->setListIndex(1);
    press(canvas, {12, 16});
    drag(canvas, {152, 236});
    EXPECT_EQ(window->MapReadout->text(), QStringLiteral("x1 12, y1 16 - x2 152, y2 236 (141 x 221)"));
    release(canvas, {152, 236});
    canvas->setZoomKeepingTopLeft(2);
    hover({21, 41});
    EXPECT_EQ(window->MapReadout->text(), QStringLiteral("x 10, y 20"));
    canvas->setZoomKeepingTopLeft(4);
    canvas->setScroll({40, 80});
    hover({21, 41});
    EXPECT_EQ(window->MapReadout->text(), QStringLiteral("x 15, y 30"));
}

} // namespace
