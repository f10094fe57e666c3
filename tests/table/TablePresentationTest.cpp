#include "TableFixture.h"
#include "table/OvDataListBox.h"
#include "table/TablePictures.h"
#include "windows/OvEditorWindow.h"

#include <QHeaderView>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>

using Col = OvDataListBox;

// --- rows from the model ----------------------------------------------------------------------

TEST_F(TableTest, OneSectorWithoutOpsIsOneBoldRowWithEmptyFlagCells) {
    build({{}});
    ASSERT_EQ(box->ListCount(), 1);
    EXPECT_TRUE(box->CellBold(0, Col::ColNumber));
    EXPECT_TRUE(box->CellBold(0, Col::ColName));
    EXPECT_EQ(box->Cell(0, Col::ColSubs), QStringLiteral("0 Ops"));
    for (int c = Col::ColLZ; c <= Col::ColRoad; ++c) {
        EXPECT_FALSE(box->CellIsCheckBox(0, c));
        EXPECT_TRUE(box->Cell(0, c).isEmpty());
    }
    EXPECT_TRUE(box->CellIsCheckBox(0, Col::ColView));
}

TEST_F(TableTest, RowsStandInTreeOrderWithTheirKindsAndTexts) {
    build({{2, 0}, {1}});
    EXPECT_EQ(kinds(), QStringLiteral("SOBBOSOB"));
    EXPECT_EQ(column(Col::ColNumber), QStringLiteral("1 10 100 101 11 2 20 200"));
    EXPECT_EQ(column(Col::ColName), QStringLiteral("S0 O0.0 B0.0.0 B0.0.1 O0.1 S1 O1.0 B1.0.0"));
    EXPECT_EQ(column(Col::ColSubs),
              QStringLiteral("2 Ops 2 Battles 0-0-0 0-0-0 0 Battles 1 Ops 1 Battles 0-0-0"));
    EXPECT_TRUE(box->CellItalic(1, Col::ColName));
    EXPECT_FALSE(box->CellItalic(2, Col::ColName));
    EXPECT_EQ(box->Cell(2, Col::ColX1), QString::number(rectBase(0, 0, 0)));
    EXPECT_EQ(box->Cell(2, Col::ColY2), QString::number(rectBase(0, 0, 0) + 3));
    EXPECT_TRUE(box->CellIsCheckBox(2, Col::ColBridge));
    EXPECT_FALSE(box->CellIsCheckBox(1, Col::ColBridge));
}

TEST_F(TableTest, NegativeNumbersAndLatin1NamesAreShownAsStored) {
    build({{1}});
    box->SectorXY[0] = {-5, 0, 7, -32768};
    box->BatName[0][0][0] = "Caf\xe9";
    box->PutDataToListBox();
    EXPECT_EQ(box->Cell(0, Col::ColX1), QStringLiteral("-5"));
    EXPECT_EQ(box->Cell(0, Col::ColY2), QStringLiteral("-32768"));
    EXPECT_EQ(box->Cell(2, Col::ColName), QStringLiteral("Caf\u00e9"));
    box->GetDataFromListBox();
    EXPECT_EQ(box->BatName[0][0][0], "Caf\xe9");
}

// --- battle flags -----------------------------------------------------------------------------

TEST_F(TableTest, FlagTextShowsStoredBytesAndReadBackMakesThemZeroOrOne) {
    build({{2}});
    box->BatTail[0][0][0] = std::string("\0\2\0", 3);
    box->BatTail[0][0][1] = std::string("\1\0\2", 3);
    box->PutDataToListBox();
    EXPECT_EQ(box->Cell(2, Col::ColSubs), QStringLiteral("0-2-0"));
    EXPECT_FALSE(box->CellCheck(2, Col::ColLZ));
    EXPECT_TRUE(box->CellCheck(2, Col::ColBridge));
    EXPECT_FALSE(box->CellCheck(2, Col::ColRoad));
    EXPECT_EQ(box->Cell(3, Col::ColSubs), QStringLiteral("1-0-2"));

    box->GetDataFromListBox();
    EXPECT_EQ(box->BatTail[0][0][0], std::string("\0\1\0", 3));
    EXPECT_EQ(box->BatTail[0][0][1], std::string("\1\0\1", 3));
}

TEST_F(TableTest, UserToggleRewritesFlagTextAndReportsTheCell) {
    build({{1}});
    box->BatTail[0][0][0] = std::string("\1\0\2", 3);
    box->PutDataToListBox();
    QSignalSpy actions(box, &OvDataListBox::CellAction);
    QSignalSpy edits(box, &OvDataListBox::edited);

    clickCheckBox(2, Col::ColBridge);
    EXPECT_TRUE(box->CellCheck(2, Col::ColBridge));
    EXPECT_EQ(box->Cell(2, Col::ColSubs), QStringLiteral("1-1-1"));
    ASSERT_EQ(actions.count(), 1);
    EXPECT_EQ(actions[0][0].toInt(), 2);
    EXPECT_EQ(actions[0][1].toInt(), static_cast<int>(Col::ColBridge));
    EXPECT_EQ(edits.count(), 1);
    EXPECT_TRUE(window->isModified());

    box->GetDataFromListBox();
    EXPECT_EQ(box->BatTail[0][0][0], std::string("\1\1\1", 3));

    clickCheckBox(2, Col::ColLZ);
    EXPECT_EQ(box->Cell(2, Col::ColSubs), QStringLiteral("0-1-1"));
}

TEST_F(TableTest, ChangesMadeByCodeRaiseNoCellAction) {
    build({{1}});
    QSignalSpy actions(box, &OvDataListBox::CellAction);
    box->setCellCheck(2, Col::ColLZ, true);
    box->setCellCheck(0, Col::ColView, true);
    box->setCell(2, Col::ColX1, QStringLiteral("77"));
    box->PutDataToListBox();
    EXPECT_EQ(actions.count(), 0);
}

TEST_F(TableTest, ViewTicksAreNotFileData) {
    build({{1}});
    window->setModified(false);
    clickCheckBox(1, Col::ColView);
    EXPECT_TRUE(box->CellCheck(1, Col::ColView));
    EXPECT_FALSE(window->isModified());
}

TEST_F(TableTest, RebuildIsNotAnEdit) {
    build({{1}});
    QSignalSpy edits(box, &OvDataListBox::edited);
    box->PutDataToListBox();
    box->GetDataFromListBox();
    EXPECT_EQ(edits.count(), 0);
}

// --- read-back --------------------------------------------------------------------------------

TEST_F(TableTest, TypedNumbersReadBackByTheirLeadingNumber) {
    build({{}});
    const struct {
        const char16_t* text;
        int value;
    } cases[] = {{u"12abc", 12}, {u"abc", 0}, {u"-5", -5}, {u"12.7", 12}};
    for (const auto& c : cases) {
        box->setCell(0, Col::ColX1, QString::fromUtf16(c.text));
        box->GetDataFromListBox();
        EXPECT_EQ(box->SectorXY[0][0], c.value) << QString::fromUtf16(c.text).toStdString();
    }
}

TEST_F(TableTest, ReadBackLeavesEntriesWithoutRowsAlone) {
    build({{1}, {1}});
    box->setRowCount(3); // the second sector's rows are gone
    box->setCell(2, Col::ColName, QStringLiteral("kept"));
    box->GetDataFromListBox();
    EXPECT_EQ(box->BatName[0][0][0], "kept");
    EXPECT_EQ(box->SectorName[1], "S1");
    EXPECT_EQ(box->SectorID[1], 2);
}

// --- View column ------------------------------------------------------------------------------

TEST_F(TableTest, ViewHeaderTogglesEveryRowFromRowZero) {
    build({{1}});
    box->setCellCheck(1, Col::ColView, true);
    EXPECT_TRUE(window->thisListBox_HeaderPressed(Col::ColView));
    EXPECT_EQ(column(Col::ColView).size(), 2); // check-box cells carry no text
    for (int row = 0; row < box->ListCount(); ++row)
        EXPECT_TRUE(box->CellCheck(row, Col::ColView)) << row;

    box->setCellCheck(1, Col::ColView, false);
    EXPECT_TRUE(window->thisListBox_HeaderPressed(Col::ColView));
    for (int row = 0; row < box->ListCount(); ++row)
        EXPECT_FALSE(box->CellCheck(row, Col::ColView)) << row;
}

TEST_F(TableTest, OtherHeadersAndEmptyTablesAreNotHandledAndNeverReorder) {
    EXPECT_FALSE(window->thisListBox_HeaderPressed(Col::ColView)); // empty table
    build({{1}, {}});
    for (int c = 1; c < OvDataListBox::kColumnCount; ++c)
        EXPECT_FALSE(window->thisListBox_HeaderPressed(c));
    // A real click on the Name header must not sort.
    QHeaderView* header = box->horizontalHeader();
    const QPoint at(header->sectionViewportPosition(Col::ColName) + 5, header->height() / 2);
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, at);
    EXPECT_EQ(column(Col::ColName), QStringLiteral("S0 O0.0 B0.0.0 S1"));
}

TEST_F(TableTest, ViewTicksStayWithRowPositionsAcrossARebuild) {
    build({{0, 0}, {}}); // rows: S0 O0.0 O0.1 S1
    box->setCellCheck(2, Col::ColView, true);
    box->setCellCheck(3, Col::ColView, true);
    box->setListIndex(1); // add an ops to sector 0: it lands in row 3
    window->PushButtonAddOps_Action();
    EXPECT_EQ(column(Col::ColName), QStringLiteral("S0 O0.0 O0.1 <enter new ops name S1"));
    EXPECT_FALSE(box->CellCheck(0, Col::ColView));
    EXPECT_FALSE(box->CellCheck(1, Col::ColView));
    EXPECT_TRUE(box->CellCheck(2, Col::ColView));
    EXPECT_TRUE(box->CellCheck(3, Col::ColView));  // the old tick of row 3, and the new entry's tick
    EXPECT_FALSE(box->CellCheck(4, Col::ColView)); // sector 1 moved down, its tick stayed behind
}

// --- selection --------------------------------------------------------------------------------

TEST_F(TableTest, ListIndexFollowsTheSelectionNotTheCurrentCell) {
    build({{3}});
    EXPECT_EQ(box->ListIndex(), -1);
    box->setSelected(3, true);
    box->setSelected(1, true);
    EXPECT_EQ(box->ListIndex(), 1);
    box->setSelected(1, false);
    EXPECT_EQ(box->ListIndex(), 3);
    box->setCurrentCell(2, Col::ColName, QItemSelectionModel::NoUpdate);
    box->clearSelection();
    EXPECT_EQ(box->ListIndex(), -1);
    box->setListIndex(4);
    box->PutDataToListBox();
    EXPECT_EQ(box->ListIndex(), -1); // a rebuild clears the selection
}

TEST_F(TableTest, ARebuildKeepsTheScrollPosition) {
    build(std::vector<std::vector<int>>(6, std::vector<int>{5, 5}));
    QScrollBar* bar = box->verticalScrollBar();
    ASSERT_GT(bar->maximum(), 40);
    bar->setValue(40);
    box->PutDataToListBox();
    EXPECT_EQ(bar->value(), 40);
}

TEST_F(TableTest, ARebuildThatDropsTheSelectionReportsTheChange) {
    build({{1}});
    QSignalSpy changes(box, &OvDataListBox::Change);
    box->setListIndex(2);
    EXPECT_GE(changes.count(), 1);
    const int before = changes.count();
    box->PutDataToListBox(); // the rebuild drops the selection: the map must follow
    EXPECT_EQ(changes.count(), before + 1);
}

// --- row mapping ------------------------------------------------------------------------------

TEST_F(TableTest, RowMappingWithoutSelectionWorksFromTheLastRow) {
    EXPECT_EQ(box->GetSectorIndex(), 0); // empty table
    EXPECT_EQ(box->GetOpsIndex(), 0);
    EXPECT_EQ(box->GetBattleIndex(), -1);
    build({{1}, {2, 3}});
    EXPECT_EQ(box->GetSectorIndex(), 1);
    EXPECT_EQ(box->GetOpsIndex(), 1);
    EXPECT_EQ(box->GetBattleIndex(), -1);
}

TEST_F(TableTest, RowMappingFromASelectedRow) {
    build({{1}, {2, 3}}); // S0 O B | S1 O B B O B B B
    box->setListIndex(8); // battle 0 of ops 1 of sector 1
    EXPECT_EQ(box->GetSectorIndex(), 1);
    EXPECT_EQ(box->GetOpsIndex(), 1);
    EXPECT_EQ(box->GetBattleIndex(), 0);
    box->setListIndex(3); // sector 1's own row: the ops walk reaches sector 0's last ops
    EXPECT_EQ(box->GetSectorIndex(), 1);
    EXPECT_EQ(box->GetOpsIndex(), 0);
    EXPECT_EQ(box->GetBattleIndex(), -1);
}

TEST_F(TableTest, LineFromIndicesCountsInTreeOrder) {
    build({{3}, {3}, {1}});
    EXPECT_EQ(box->GetLineFromIndices(2, -1, -1), 10);
    EXPECT_EQ(box->GetLineFromIndices(0, -1, -1), 0);
    EXPECT_EQ(box->GetLineFromIndices(1, 0, 2), 9);
    EXPECT_EQ(box->GetLineFromIndices(2, 0, 0), 12);
    EXPECT_EQ(box->GetLineFromIndices(-1, -1, -1), -1);
}

TEST_F(TableTest, DuplicateIDsStillMapToTheChosenRow) {
    // A file may carry any IDs: here every sector, ops and battle has ID 0.
    build({{2}, {2}});
    for (int s = 0; s < 2; ++s) {
        box->SectorID[s] = 0;
        box->OpsID[s][0] = 0;
        box->BatID[s][0][0] = box->BatID[s][0][1] = 0;
    }
    box->PutDataToListBox();
    box->setListIndex(7); // battle 1 of sector 1
    EXPECT_EQ(box->GetSectorIndex(), 1);
    EXPECT_EQ(box->GetOpsIndex(), 0);
    EXPECT_EQ(box->GetBattleIndex(), 1);
}

// --- painting ---------------------------------------------------------------------------------

namespace {
QRgb pixelAt(OvDataListBox* box, QPoint p) {
    const QImage image = box->viewport()->grab().toImage();
    return image.pixel(p) & 0xFFFFFF;
}
} // namespace

TEST_F(TableTest, RowsArePaintedGreyAndWhiteAndSelectedRowsShowTheBar) {
    build({{1}}); // three rows
    const int x = box->columnViewportPosition(Col::ColSubs) + 2;
    auto rowMiddle = [&](int row) { return QPoint(x, row * OvDataListBox::kDefaultRowHeight + 3); };
    EXPECT_EQ(pixelAt(box, rowMiddle(0)), 0xF0F0F0u);
    EXPECT_EQ(pixelAt(box, rowMiddle(1)), 0xFFFFFFu);
    EXPECT_EQ(pixelAt(box, rowMiddle(2)), 0xF0F0F0u);
    EXPECT_EQ(pixelAt(box, rowMiddle(4)), 0xF0F0F0u) << "stripes continue below the last row";
    EXPECT_EQ(pixelAt(box, rowMiddle(5)), 0xFFFFFFu);

    box->setListIndex(1);
    const QImage bar = TablePictures::instance().selectionBar(1.0);
    EXPECT_EQ(pixelAt(box, rowMiddle(1)), bar.pixel(0, 3) & 0xFFFFFF);
    EXPECT_NE(bar.pixel(0, 3) & 0xFFFFFF, 0xFFFFFFu);
    // The bar covers the whole width, also of the wide Name column.
    const QPoint farRight(box->columnViewportPosition(Col::ColName) + box->columnWidth(Col::ColName) - 2,
                          rowMiddle(1).y());
    EXPECT_EQ(pixelAt(box, farRight), bar.pixel(0, 3) & 0xFFFFFF);
}

TEST_F(TableTest, ViewColumnShowsTheEyeOfItsTick) {
    build({{}, {}});
    box->setCellCheck(1, Col::ColView, true);
    const QImage open = TablePictures::instance().eyeOpen(1.0);
    const QImage shown = box->viewport()->grab().toImage();
    const int top = (OvDataListBox::kDefaultRowHeight - open.height()) / 2;
    // The iris centre of the open eye is blue; the missing eye shows the row's background there.
    const QPoint iris(open.width() / 2, open.height() / 2);
    const QPoint inRow0 = QPoint(21, top) + iris;
    const QPoint inRow1 = QPoint(21, OvDataListBox::kDefaultRowHeight + top) + iris;
    EXPECT_EQ(shown.pixel(inRow1) & 0xFFFFFF, open.pixel(iris) & 0xFFFFFF);
    EXPECT_NE(shown.pixel(inRow0) & 0xFFFFFF, open.pixel(iris) & 0xFFFFFF);
}
