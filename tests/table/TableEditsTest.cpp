#include "TableFixture.h"
#include "table/OvDataListBox.h"
#include "windows/OvEditorWindow.h"

#include <QComboBox>

using Col = OvDataListBox;

namespace {
QStringList selectedRows(OvDataListBox* box) {
    QStringList rows;
    for (int row = 0; row < box->ListCount(); ++row)
        if (box->Selected(row))
            rows << QString::number(row);
    return rows;
}
} // namespace

// --- adding -----------------------------------------------------------------------------------

TEST_F(TableTest, AddsStopSilentlyAtTenPerLevel) {
    build(std::vector<std::vector<int>>(10, std::vector<int>{}));
    window->setModified(false);
    window->PushButtonAddSector_Action();
    EXPECT_EQ(box->OvNumberOfSectors, 10);
    EXPECT_EQ(box->ListCount(), 10);

    build({std::vector<int>(10, 10)});
    box->setListIndex(1);
    window->PushButtonAddOps_Action();
    EXPECT_EQ(box->SectorNumberOfOps[0], 10);
    window->PushButtonAddBattle_Action();
    EXPECT_EQ(box->OpsNumberOfBattles[0][0], 10);
    EXPECT_EQ(script().beeps, 0);
    EXPECT_FALSE(window->isModified());
}

TEST_F(TableTest, AddOpsAndBattleGetPositionalIDsAndDefaultNames) {
    build({{}, {0, 0, 0}}); // sector ID 2 holds three ops
    box->setListIndex(2);
    window->setModified(false);
    window->PushButtonAddOps_Action();
    const int opsRow = 5;
    EXPECT_EQ(box->Cell(opsRow, Col::ColNumber), QStringLiteral("23"));
    EXPECT_EQ(box->Cell(opsRow, Col::ColName), QStringLiteral("<enter new ops name"));
    EXPECT_TRUE(box->CellItalic(opsRow, Col::ColNumber));
    EXPECT_EQ(selectedRows(box), QStringList{QStringLiteral("5")});
    EXPECT_TRUE(box->CellCheck(opsRow, Col::ColView));
    EXPECT_TRUE(window->isModified());

    window->PushButtonAddBattle_Action(); // the new ops row is selected and holds no battles
    EXPECT_EQ(box->Cell(6, Col::ColNumber), QStringLiteral("230"));
    EXPECT_EQ(box->Cell(6, Col::ColName), QStringLiteral("<enter new battle name"));
    EXPECT_EQ(box->Cell(6, Col::ColSubs), QStringLiteral("0-0-0"));
    EXPECT_EQ(box->Cell(opsRow, Col::ColSubs), QStringLiteral("1 Battles"));
    EXPECT_EQ(selectedRows(box), QStringList{QStringLiteral("6")});
    EXPECT_EQ(script().beeps, 0);
}

TEST_F(TableTest, AddWithoutSelectionUsesTheLastRow) {
    build({{1}, {2, 0}}); // last row: ops 1 of sector 1, no battles
    window->PushButtonAddOps_Action();
    EXPECT_EQ(box->SectorNumberOfOps[1], 3);
    EXPECT_EQ(box->SectorNumberOfOps[0], 1);

    box->clearSelection();
    window->PushButtonAddBattle_Action(); // the last row is now the new ops 2 of sector 1
    EXPECT_EQ(box->OpsNumberOfBattles[1][2], 1);
    EXPECT_EQ(box->BatID[1][2][0], 220);
}

TEST_F(TableTest, AddSectorNumbersByPositionAndKeepsUnsavedEdits) {
    build({{}, {}, {}}, 5); // IDs 5, 6, 7
    box->setCell(1, Col::ColName, QStringLiteral("typed, not saved"));
    window->PushButtonAddSector_Action();
    EXPECT_EQ(column(Col::ColNumber), QStringLiteral("5 6 7 4"));
    EXPECT_EQ(box->Cell(3, Col::ColName), QStringLiteral("<enter new sector name>"));
    EXPECT_EQ(box->Cell(1, Col::ColName), QStringLiteral("typed, not saved"));
    EXPECT_EQ(selectedRows(box), QStringList{QStringLiteral("3")});
}

TEST_F(TableTest, AddsThatCannotWorkBeep) {
    window->PushButtonAddOps_Action(); // no sector at all
    EXPECT_EQ(script().beeps, 1);
    window->PushButtonAddBattle_Action();
    EXPECT_EQ(script().beeps, 2);
    EXPECT_EQ(box->ListCount(), 0);

    // A sector row: the nearest ops row above belongs to another sector.
    build({{0}, {0}});
    box->setListIndex(2);
    window->PushButtonAddBattle_Action();
    EXPECT_EQ(script().beeps, 3);
    EXPECT_EQ(box->OpsNumberOfBattles[1][0], 0);
    EXPECT_EQ(box->OpsNumberOfBattles[0][0], 0);
}

// --- renumbering and the popups -----------------------------------------------------------------

TEST_F(TableTest, ChoosingTheFirstIDRenumbersEveryEntry) {
    build({{2, 2}, {2}});
    box->setCell(2, Col::ColName, QStringLiteral("edited"));
    window->setModified(false);
    window->PopupMenuID->setCurrentIndex(2);
    Q_EMIT window->PopupMenuID->activated(2); // the user picks "3"
    EXPECT_EQ(column(Col::ColNumber), QStringLiteral("3 30 300 301 31 310 311 4 40 400 401"));
    EXPECT_EQ(box->Cell(2, Col::ColName), QStringLiteral("edited"));
    EXPECT_EQ(box->ListIndex(), -1);
    EXPECT_TRUE(window->isModified());
}

TEST_F(TableTest, PopupsSetFromCodeRunNoHandler) {
    build({{1}}, 7);
    OvEditorWindow::setPopupIndex(window->PopupMenuID, 0);
    OvEditorWindow::setPopupIndex(window->PopupMenuPICT, 4);
    EXPECT_EQ(column(Col::ColNumber), QStringLiteral("7 70 700"));
    EXPECT_EQ(box->OvResourceID, 0);
    EXPECT_TRUE(script().openRequests.empty());
}

TEST_F(TableTest, ChoosingAMapPictureSetsTheIDAndReadsFromTheChosenSource) {
    build({{}});
    script().openAnswers.push_back(QString()); // the user cancels the search for 'UI'
    window->PopupMenuPICT->setCurrentIndex(3);
    Q_EMIT window->PopupMenuPICT->activated(3);
    EXPECT_EQ(box->OvResourceID, 1016);
    ASSERT_EQ(script().openRequests.size(), 1u);
    EXPECT_TRUE(script().openRequests[0].title.endsWith(QStringLiteral("UI")));

    app().gUseFileUI = false;
    script().openAnswers.push_back(QString());
    window->PopupMenuPICT->setCurrentIndex(0);
    Q_EMIT window->PopupMenuPICT->activated(0);
    EXPECT_EQ(box->OvResourceID, 1013);
    ASSERT_EQ(script().openRequests.size(), 2u);
    EXPECT_TRUE(script().openRequests[1].title.contains(QStringLiteral("Intrface")));
}

// --- deleting ---------------------------------------------------------------------------------

TEST_F(TableTest, DeleteButtonsWithoutSelectionDoNothing) {
    build({{1}});
    window->setModified(false);
    window->PushButtonDelBattle_Action();
    window->PushButtonDelOps_Action();
    window->PushButtonDelSector_Action();
    EXPECT_EQ(box->ListCount(), 3);
    EXPECT_EQ(script().beeps, 0);
    EXPECT_FALSE(window->isModified());
}

TEST_F(TableTest, DeleteButtonsBeepOnTheWrongRowKind) {
    build({{1}});
    const struct {
        int row;
        void (OvEditorWindow::*button)();
    } wrong[] = {
        {0, &OvEditorWindow::PushButtonDelBattle_Action}, {1, &OvEditorWindow::PushButtonDelBattle_Action},
        {0, &OvEditorWindow::PushButtonDelOps_Action},    {2, &OvEditorWindow::PushButtonDelOps_Action},
        {1, &OvEditorWindow::PushButtonDelSector_Action}, {2, &OvEditorWindow::PushButtonDelSector_Action}};
    int beeps = 0;
    for (const auto& w : wrong) {
        box->setListIndex(w.row);
        (window->*w.button)();
        EXPECT_EQ(script().beeps, ++beeps) << "row " << w.row;
        EXPECT_EQ(box->ListCount(), 3);
        EXPECT_EQ(box->ListIndex(), w.row) << "no rebuild after a beep";
    }
}

TEST_F(TableTest, DeleteBattleMovesLaterBattlesUpButIDsStay) {
    build({{3}}); // ops 10 with battles 100, 101, 102
    box->BatTail[0][0][2] = std::string("\1\0\1", 3);
    box->PutDataToListBox();
    box->setListIndex(3);
    window->PushButtonDelBattle_Action();
    EXPECT_EQ(column(Col::ColNumber), QStringLiteral("1 10 100 101"));
    EXPECT_EQ(box->Cell(3, Col::ColName), QStringLiteral("B0.0.2"));
    EXPECT_EQ(box->Cell(3, Col::ColX1), QString::number(rectBase(0, 0, 2)));
    EXPECT_EQ(box->Cell(3, Col::ColSubs), QStringLiteral("1-0-1"));
    EXPECT_EQ(box->Cell(1, Col::ColSubs), QStringLiteral("2 Battles"));
    EXPECT_EQ(box->ListIndex(), -1);
    EXPECT_TRUE(window->isModified());
}

TEST_F(TableTest, DeleteOpsRenumbersTheBattlesOfMovedOps) {
    build({{0, 0, 2}}); // ops 10, 11, 12; ops 12 holds 120, 121
    box->setListIndex(2);
    window->PushButtonDelOps_Action();
    EXPECT_EQ(column(Col::ColNumber), QStringLiteral("1 10 11 110 111"));
    EXPECT_EQ(box->Cell(2, Col::ColName), QStringLiteral("O0.2"));
    EXPECT_EQ(box->Cell(4, Col::ColName), QStringLiteral("B0.2.1"));
    EXPECT_EQ(box->Cell(0, Col::ColSubs), QStringLiteral("2 Ops"));
}

TEST_F(TableTest, DeleteSectorRenumbersOpsAndBattlesByPosition) {
    build({{1}, {2}, {1}}); // sectors 1, 2, 3
    box->setListIndex(0);
    window->PushButtonDelSector_Action();
    EXPECT_EQ(column(Col::ColNumber), QStringLiteral("1 10 100 101 2 20 200"));
    EXPECT_EQ(column(Col::ColName), QStringLiteral("S1 O1.0 B1.0.0 B1.0.1 S2 O2.0 B2.0.0"));
}

TEST_F(TableTest, DeletingTheOnlySectorThenAddingMakesSectorOneAgain) {
    build({{1}});
    box->setListIndex(0);
    window->PushButtonDelSector_Action();
    EXPECT_EQ(box->ListCount(), 0);
    window->PushButtonAddSector_Action();
    EXPECT_EQ(column(Col::ColNumber), QStringLiteral("1"));
    EXPECT_EQ(box->Cell(0, Col::ColSubs), QStringLiteral("0 Ops"));
}

TEST_F(TableTest, ABattleAddedAfterDeletingTheLastOneReusesItsSlot) {
    build({{2}});
    box->setListIndex(3);
    window->PushButtonDelBattle_Action();
    box->setListIndex(1);
    window->PushButtonAddBattle_Action();
    EXPECT_EQ(box->Cell(3, Col::ColX1), QString::number(rectBase(0, 0, 1)));
    EXPECT_EQ(box->Cell(3, Col::ColName), QStringLiteral("<enter new battle name"));
}

TEST_F(TableTest, ViewTicksBelowADeletionAreThoseOfThePositions) {
    build({{1}, {}, {}}); // S0 O B S1 S2
    box->setCellCheck(3, Col::ColView, true);
    box->setListIndex(1);
    window->PushButtonDelOps_Action(); // rows now: S0 S1 S2
    EXPECT_EQ(column(Col::ColName), QStringLiteral("S0 S1 S2"));
    EXPECT_FALSE(box->CellCheck(1, Col::ColView));
    EXPECT_FALSE(box->CellCheck(2, Col::ColView));
    EXPECT_EQ(box->ListIndex(), -1);
}

TEST_F(TableTest, DeleteWithDuplicateIDsRemovesTheChosenSector) {
    // Regression: looking rows up by ID deleted the first sector whatever sector was chosen.
    build({{}, {}, {}});
    for (int s = 0; s < 3; ++s)
        box->SectorID[s] = 0;
    box->PutDataToListBox();
    box->setListIndex(2);
    window->PushButtonDelSector_Action();
    EXPECT_EQ(column(Col::ColName), QStringLiteral("S0 S1"));
}
