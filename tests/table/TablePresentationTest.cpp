#include "TableFixture.h"
#include "table/TablePictures.h"

#include <QHeaderView>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <QUndoStack>

// --- rows from the model and back ---------------------------------------------------------------

TEST_F(TableTest, RowsStandInTreeOrderWithTheirKindsTextsAndCheckBoxes) {
    build({{2, 0}, {1}, {}});
    EXPECT_EQ(kinds(), u"SOBBOSOBS"_s);
    EXPECT_EQ(column(Col::ColNumber), u"1 10 100 101 11 2 20 200 3"_s);
    EXPECT_EQ(column(Col::ColName), u"S0 O0.0 B0.0.0 B0.0.1 O0.1 S1 O1.0 B1.0.0 S2"_s);
    EXPECT_EQ(column(Col::ColSubs), u"2 Ops 2 Battles 0-0-0 0-0-0 0 Battles 1 Ops 1 Battles 0-0-0 0 Ops"_s);
    EXPECT_TRUE(box->CellBold(0, Col::ColName));
    EXPECT_TRUE(box->CellItalic(1, Col::ColName));
    EXPECT_FALSE(box->CellItalic(2, Col::ColName));
    EXPECT_EQ(box->Cell(2, Col::ColX1), QString::number(rectBase(0, 0, 0)));
    EXPECT_EQ(box->Cell(2, Col::ColY2), QString::number(rectBase(0, 0, 0) + 3));
    for (int c = Col::ColLZ; c <= Col::ColRoad; ++c) { // flag check boxes on battle rows only
        EXPECT_TRUE(box->CellIsCheckBox(2, c)) << c;
        for (int row : {0, 1}) {
            EXPECT_FALSE(box->CellIsCheckBox(row, c)) << row << "," << c;
            EXPECT_TRUE(box->Cell(row, c).isEmpty()) << row << "," << c;
        }
    }
    EXPECT_TRUE(box->CellIsCheckBox(0, Col::ColView));
    EXPECT_EQ(column(Col::ColView).trimmed(), QString()) << "check-box cells carry no text";

    change([](ov::OvDataModel& m) { // stored values are shown exactly
        m.SectorXY[0] = {-5, 0, 7, -32768};
        m.BatName[0][0][0] = "Caf\xe9";
    });
    EXPECT_EQ(box->Cell(0, Col::ColX1), u"-5"_s);
    EXPECT_EQ(box->Cell(0, Col::ColY2), u"-32768"_s);
    EXPECT_EQ(box->Cell(2, Col::ColName), u"Caf\u00e9"_s);
}

// --- battle flags and what counts as an edit ------------------------------------------------------

TEST_F(TableTest, FlagTextShowsStoredBytesAndAUserToggleStoresTheTailAsShown) {
    build({{2}});
    change([](ov::OvDataModel& m) {
        m.BatTail[0][0][0] = std::string("\0\2\0", 3);
        m.BatTail[0][0][1] = std::string("\1\0\2", 3);
    });
    EXPECT_EQ(box->Cell(2, Col::ColSubs), u"0-2-0"_s);
    EXPECT_EQ(box->Cell(3, Col::ColSubs), u"1-0-2"_s);
    EXPECT_FALSE(box->CellCheck(2, Col::ColLZ));
    EXPECT_TRUE(box->CellCheck(2, Col::ColBridge));
    EXPECT_FALSE(box->CellCheck(2, Col::ColRoad));

    QSignalSpy actions(box, &OvDataListBox::CellAction);
    clickCheckBox(3, Col::ColBridge);
    EXPECT_TRUE(box->CellCheck(3, Col::ColBridge));
    EXPECT_EQ(box->Cell(3, Col::ColSubs), u"1-1-1"_s);
    ASSERT_EQ(actions.count(), 1);
    EXPECT_EQ(actions[0][0].toInt(), 3);
    EXPECT_EQ(actions[0][1].toInt(), static_cast<int>(Col::ColBridge));
    EXPECT_EQ(window->undoStack()->count(), 1);
    EXPECT_EQ(window->undoStack()->undoText(), u"Tick Bridge of Battle 101"_s);
    EXPECT_TRUE(window->isModified());
    clickCheckBox(2, Col::ColBridge);
    EXPECT_EQ(box->Cell(2, Col::ColSubs), u"0-0-0"_s);
    EXPECT_EQ(model().BatTail[0][0][0], std::string("\0\0\0", 3));
    EXPECT_EQ(model().BatTail[0][0][1], std::string("\1\1\1", 3));
}

TEST_F(TableTest, CodeChangesOnlyShowAndViewTicksAreNoEdits) {
    build({{1}});
    window->setModified(false);
    QSignalSpy actions(box, &OvDataListBox::CellAction);
    box->setCellCheck(2, Col::ColLZ, true);
    box->setCellCheck(0, Col::ColView, true);
    box->setCell(2, Col::ColX1, u"77"_s);
    EXPECT_EQ(actions.count(), 0);
    box->PutDataToListBox(); // the rows show the document again
    EXPECT_EQ(box->Cell(2, Col::ColX1), QString::number(rectBase(0, 0, 0)));
    EXPECT_FALSE(box->CellCheck(2, Col::ColLZ));
    EXPECT_TRUE(box->CellCheck(0, Col::ColView));
    EXPECT_EQ(window->undoStack()->count(), 0);
    clickCheckBox(1, Col::ColView); // the user's tick: shown on the map, not file data
    EXPECT_TRUE(box->CellCheck(1, Col::ColView));
    EXPECT_FALSE(window->isModified());
}

// --- View column and headers ----------------------------------------------------------------------

TEST_F(TableTest, ViewHeaderTogglesEveryRowFromRowZeroOtherHeadersNeverReorder) {
    EXPECT_FALSE(window->thisListBox_HeaderPressed(Col::ColView)); // empty table
    build({{1}, {}});
    box->setCellCheck(1, Col::ColView, true);
    EXPECT_TRUE(window->thisListBox_HeaderPressed(Col::ColView));
    EXPECT_EQ(ticks(), u"1111"_s);
    box->setCellCheck(1, Col::ColView, false);
    EXPECT_TRUE(window->thisListBox_HeaderPressed(Col::ColView));
    EXPECT_EQ(ticks(), u"0000"_s);

    for (int c = 1; c < OvDataListBox::kColumnCount; ++c)
        EXPECT_FALSE(window->thisListBox_HeaderPressed(c)) << c;
    QHeaderView* header = box->horizontalHeader(); // a real click on the Name header must not sort
    const QPoint at(header->sectionViewportPosition(Col::ColName) + 5, header->height() / 2);
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, at);
    EXPECT_EQ(column(Col::ColName), u"S0 O0.0 B0.0.0 S1"_s);
}

TEST_F(TableTest, ViewTicksStayWithRowPositionsAcrossAddsAndDeletes) {
    build({{0, 0}, {}}); // rows: S0 O0.0 O0.1 S1
    box->setCellCheck(2, Col::ColView, true);
    box->setCellCheck(3, Col::ColView, true);
    box->setListIndex(1); // add an ops to sector 0: it lands in row 3
    window->PushButtonAddOps_Action();
    EXPECT_EQ(column(Col::ColName), u"S0 O0.0 O0.1 <enter new ops name S1"_s);
    // Row 3 keeps its old tick (and the new entry's); sector 1 moved down, its tick stayed behind.
    EXPECT_EQ(ticks(), u"00110"_s);
    box->setListIndex(1);
    window->PushButtonDelOps_Action();
    EXPECT_EQ(column(Col::ColName), u"S0 O0.1 <enter new ops name S1"_s);
    EXPECT_EQ(ticks(), u"0011"_s);
}

// --- selection --------------------------------------------------------------------------------------

TEST_F(TableTest, ListIndexFollowsTheSelectionAndARebuildDropsItButKeepsTheScroll) {
    build({{3}});
    EXPECT_EQ(box->ListIndex(), -1);
    box->setSelected(3, true);
    box->setSelected(1, true);
    EXPECT_EQ(box->ListIndex(), 1);
    box->setSelected(1, false);
    EXPECT_EQ(box->ListIndex(), 3);
    box->setCurrentCell(2, Col::ColName, QItemSelectionModel::NoUpdate);
    box->clearSelection();
    EXPECT_EQ(box->ListIndex(), -1) << "the current cell is not the selection";

    QSignalSpy changes(box, &OvDataListBox::Change);
    box->setListIndex(4);
    const int before = changes.count();
    EXPECT_GE(before, 1);
    box->PutDataToListBox();
    EXPECT_EQ(box->ListIndex(), -1);
    EXPECT_EQ(changes.count(), before + 1) << "the dropped selection is reported, so the map follows";

    build(std::vector<std::vector<int>>(6, std::vector<int>{5, 5}));
    QScrollBar* bar = box->verticalScrollBar();
    ASSERT_GT(bar->maximum(), 40);
    bar->setValue(40);
    box->PutDataToListBox();
    EXPECT_EQ(bar->value(), 40);
}

// --- painting ---------------------------------------------------------------------------------------

TEST_F(TableTest, RowsArePaintedGreyAndWhiteAndSelectedRowsShowTheBar) {
    build({{1}}); // three rows
    const int x = box->columnViewportPosition(Col::ColSubs) + 2;
    const auto pixel = [&](int px, int row) {
        return box->viewport()->grab().toImage().pixel(px, row * OvDataListBox::kDefaultRowHeight + 3) &
               0xFFFFFF;
    };
    const QRgb stripes[] = {0xF0F0F0u, 0xFFFFFFu, 0xF0F0F0u, 0xFFFFFFu, 0xF0F0F0u, 0xFFFFFFu};
    for (int row = 0; row < 6; ++row) // the stripes continue below the last row
        EXPECT_EQ(pixel(x, row), stripes[row]) << row;

    box->setListIndex(1);
    const QRgb bar = TablePictures::instance().selectionBar(1.0).pixel(0, 3) & 0xFFFFFF;
    EXPECT_NE(bar, 0xFFFFFFu);
    EXPECT_EQ(pixel(x, 1), bar);
    // The bar covers the whole width, also of the wide Name column.
    EXPECT_EQ(pixel(box->columnViewportPosition(Col::ColName) + box->columnWidth(Col::ColName) - 2, 1), bar);
}

TEST_F(TableTest, ViewColumnShowsTheEyeOfItsTick) {
    build({{}, {}});
    box->setCellCheck(1, Col::ColView, true);
    const QImage open = TablePictures::instance().eyeOpen(1.0);
    const QImage shown = box->viewport()->grab().toImage();
    // The iris centre of the open eye is blue; the missing eye shows the row's background there.
    const QPoint iris(21 + open.width() / 2,
                      (OvDataListBox::kDefaultRowHeight - open.height()) / 2 + open.height() / 2);
    const QRgb blue = open.pixel(open.width() / 2, open.height() / 2) & 0xFFFFFF;
    EXPECT_EQ(shown.pixel(iris + QPoint(0, OvDataListBox::kDefaultRowHeight)) & 0xFFFFFF, blue);
    EXPECT_NE(shown.pixel(iris) & 0xFFFFFF, blue);
}
