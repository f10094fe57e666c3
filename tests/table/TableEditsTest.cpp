#include "TableFixture.h"
#include "table/TableText.h"

#include <QComboBox>
#include <QSignalSpy>
#include <QUndoStack>

using Button = void (OvEditorWindow::*)();

// --- typing ---------------------------------------------------------------------------------

// What the user types is checked when the edit finishes: text the file cannot hold is refused
// with a message and the cell keeps what it had, so nothing is silently changed at save time.

TEST_F(TableTest, AcceptedEditsReachTheCellAndAreReportedOnce) {
    build({{1}});
    window->setModified(false);
    type(0, Col::ColName, u"S0"_s); // finishing an edit without a change is no edit
    EXPECT_FALSE(window->isModified());
    QSignalSpy actions(box, &OvDataListBox::CellAction);
    type(2, Col::ColX1, u"-32768"_s);
    type(2, Col::ColX2, u"32767"_s);
    const QString name = u"Caf\u00e9 \u00ff"_s + QString(43, QLatin1Char('a')); // Latin-1, 49 characters
    type(2, Col::ColName, name);
    type(2, Col::ColY1, u"12.7"_s); // whole pixels: truncated on read-back
    EXPECT_EQ(box->Cell(2, Col::ColX1), u"-32768"_s);
    EXPECT_EQ(box->Cell(2, Col::ColName), name);
    EXPECT_TRUE(script().messages.isEmpty());
    ASSERT_EQ(actions.count(), 4);
    EXPECT_EQ(actions[0][1].toInt(), static_cast<int>(Col::ColX1));
    EXPECT_TRUE(window->isModified());

    EXPECT_EQ(model().BatXY[0][0][0][0], -32768);
    EXPECT_EQ(model().BatXY[0][0][0][1], 12);
    EXPECT_EQ(model().BatXY[0][0][0][2], 32767);
    EXPECT_EQ(model().BatName[0][0][0], "Caf\xe9 \xff" + std::string(43, 'a'));
}

TEST_F(TableTest, ValuesTheFileCannotHoldAreRefusedWhereTyped) {
    build({{1}});
    window->setModified(false);
    QSignalSpy actions(box, &OvDataListBox::CellAction);
    const QString range = u"sorry, a coordinate must be a whole number from -32768 to 32767."_s;
    const struct {
        int column;
        QString typed, message;
    } cases[] = {
        {Col::ColX2, u"32768"_s, range},
        {Col::ColX2, u"-32769"_s, range},
        {Col::ColX2, u"99999999999999999999"_s, range},
        {Col::ColX2, u"40000px"_s, range},
        {Col::ColName, u"\u20acuro"_s,
         u"sorry, a name can hold only characters of the ISO-8859-1 (Latin-1) character set."_s},
        {Col::ColName, QString(50, QLatin1Char('x')), u"sorry, a name can hold at most 49 characters."_s}};
    for (const auto& c : cases) {
        const QString before = box->Cell(2, c.column);
        script().messages.clear();
        type(2, c.column, c.typed);
        EXPECT_EQ(box->Cell(2, c.column), before) << c.typed.toStdString();
        EXPECT_EQ(script().messages, QStringList{c.message}) << c.typed.toStdString();
    }
    EXPECT_EQ(actions.count(), 0);
    EXPECT_FALSE(window->isModified());
    EXPECT_EQ(model().BatName[0][0][0], "B0.0.0");
    EXPECT_EQ(model().BatXY[0][0][0][2], rectBase(0, 0, 0) + 2);
}

// --- adding -----------------------------------------------------------------------------------

TEST_F(TableTest, AddsGetPositionalIDsAndDefaultNamesAndAreSelectedAndShown) {
    build({{}, {0, 0, 0}}, 5); // sector ID 6 holds three ops
    type(1, Col::ColName, u"typed, not saved"_s);
    box->setListIndex(2);
    window->setModified(false);
    window->PushButtonAddOps_Action();
    EXPECT_EQ(column(Col::ColNumber), u"5 6 60 61 62 63"_s);
    EXPECT_EQ(box->Cell(5, Col::ColName), u"<enter new ops name"_s);
    EXPECT_EQ(kinds(), u"SSOOOO"_s);
    EXPECT_EQ(selectedRows(), u"5"_s);
    EXPECT_EQ(ticks(), u"000001"_s);
    EXPECT_TRUE(window->isModified());

    window->PushButtonAddBattle_Action(); // the new ops row is selected and holds no battles
    EXPECT_EQ(column(Col::ColNumber), u"5 6 60 61 62 63 630"_s);
    EXPECT_EQ(box->Cell(6, Col::ColName), u"<enter new battle name"_s);
    EXPECT_EQ(column(Col::ColSubs), u"0 Ops 4 Ops 0 Battles 0 Battles 0 Battles 1 Battles 0-0-0"_s);
    EXPECT_EQ(selectedRows(), u"6"_s);

    window->PushButtonAddSector_Action(); // numbered by its position, not from the first ID
    EXPECT_EQ(column(Col::ColNumber), u"5 6 60 61 62 63 630 3"_s);
    EXPECT_EQ(box->Cell(7, Col::ColName), u"<enter new sector name>"_s);
    EXPECT_EQ(box->Cell(1, Col::ColName), u"typed, not saved"_s);
    EXPECT_EQ(selectedRows(), u"7"_s);
    EXPECT_EQ(script().beeps, 0);
}

TEST_F(TableTest, AddWithoutSelectionUsesTheLastRow) {
    build({{1}, {2, 0}}); // last row: ops 1 of sector 1, no battles
    window->PushButtonAddOps_Action();
    EXPECT_EQ(model().SectorNumberOfOps[1], 3);
    EXPECT_EQ(model().SectorNumberOfOps[0], 1);
    box->clearSelection();
    window->PushButtonAddBattle_Action(); // the last row is now the new ops 2 of sector 1
    EXPECT_EQ(model().OpsNumberOfBattles[1][2], 1);
    EXPECT_EQ(model().BatID[1][2][0], 220);
}

TEST_F(TableTest, AddsBeepWhenTheModelRefusesButStopSilentlyAtTenPerLevel) {
    window->PushButtonAddOps_Action(); // no sector at all
    window->PushButtonAddBattle_Action();
    EXPECT_EQ(script().beeps, 2);
    EXPECT_EQ(box->ListCount(), 0);
    build({{0}, {0}}); // on a sector row the nearest ops row above belongs to another sector
    box->setListIndex(2);
    window->PushButtonAddBattle_Action();
    EXPECT_EQ(script().beeps, 3);
    EXPECT_EQ(model().OpsNumberOfBattles[1][0] + model().OpsNumberOfBattles[0][0], 0);

    build(std::vector<std::vector<int>>(10, std::vector<int>{}));
    window->setModified(false);
    window->PushButtonAddSector_Action();
    EXPECT_EQ(box->ListCount(), 10);
    build({std::vector<int>(10, 10)});
    box->setListIndex(1);
    window->PushButtonAddOps_Action();
    window->PushButtonAddBattle_Action();
    EXPECT_EQ(model().OvNumberOfSectors, 1);
    EXPECT_EQ(model().SectorNumberOfOps[0], 10);
    EXPECT_EQ(model().OpsNumberOfBattles[0][0], 10);
    EXPECT_EQ(script().beeps, 3);
    EXPECT_FALSE(window->isModified());
}

// --- renumbering and the popups -----------------------------------------------------------------

TEST_F(TableTest, ChoosingTheFirstIDRenumbersEveryEntry) {
    build({{2, 2}, {2}});
    type(2, Col::ColName, u"edited"_s);
    window->setModified(false);
    window->PopupMenuID->setCurrentIndex(2);
    Q_EMIT window->PopupMenuID->activated(2); // the user picks "3"
    EXPECT_EQ(column(Col::ColNumber), u"3 30 300 301 31 310 311 4 40 400 401"_s);
    EXPECT_EQ(box->Cell(2, Col::ColName), u"edited"_s);
    EXPECT_EQ(box->ListIndex(), -1);
    EXPECT_TRUE(window->isModified());
}

TEST_F(TableTest, PopupsSetFromCodeRunNoHandler) {
    build({{1}}, 7);
    OvEditorWindow::setPopupIndex(window->PopupMenuID, 0);
    OvEditorWindow::setPopupIndex(window->PopupMenuPICT, 4);
    EXPECT_EQ(column(Col::ColNumber), u"7 70 700"_s);
    EXPECT_EQ(model().OvResourceID, 0);
    EXPECT_TRUE(script().openRequests.empty());
}

TEST_F(TableTest, ChoosingAMapPictureSetsTheIDAndReadsFromTheChosenSource) {
    build({{}});
    const struct {
        bool useUI;
        int index, id;
        QString fileName;
    } cases[] = {{true, 3, 1016, u"UI"_s}, {false, 0, 1013, u"Intrface"_s}};
    for (const auto& c : cases) {
        app().gUseFileUI = c.useUI;
        script().openRequests.clear();
        script().openAnswers.push_back(QString()); // the user cancels the search for the file
        window->PopupMenuPICT->setCurrentIndex(c.index);
        Q_EMIT window->PopupMenuPICT->activated(c.index);
        EXPECT_EQ(model().OvResourceID, c.id);
        ASSERT_EQ(script().openRequests.size(), 1u);
        EXPECT_TRUE(script().openRequests[0].title.contains(c.fileName)) << c.fileName.toStdString();
    }
}

// --- deleting ---------------------------------------------------------------------------------

TEST_F(TableTest, DeleteButtonsBeepOnTheWrongRowKindAndDoNothingWithoutSelection) {
    build({{1}});
    window->setModified(false);
    const struct {
        int row;
        Button button;
        int beeps;
    } cases[] = {{-1, &OvEditorWindow::PushButtonDelBattle_Action, 0},
                 {-1, &OvEditorWindow::PushButtonDelOps_Action, 0},
                 {-1, &OvEditorWindow::PushButtonDelSector_Action, 0},
                 {0, &OvEditorWindow::PushButtonDelBattle_Action, 1},
                 {1, &OvEditorWindow::PushButtonDelBattle_Action, 2},
                 {0, &OvEditorWindow::PushButtonDelOps_Action, 3},
                 {2, &OvEditorWindow::PushButtonDelOps_Action, 4},
                 {1, &OvEditorWindow::PushButtonDelSector_Action, 5},
                 {2, &OvEditorWindow::PushButtonDelSector_Action, 6}};
    for (const auto& c : cases) {
        box->setListIndex(c.row);
        (window->*c.button)();
        EXPECT_EQ(script().beeps, c.beeps) << "row " << c.row;
        EXPECT_EQ(box->ListCount(), 3);
        EXPECT_EQ(box->ListIndex(), c.row) << "no rebuild after a beep";
    }
    EXPECT_FALSE(window->isModified());
}

// Battle IDs stay with their places; ops and sectors are renumbered by position.
TEST_F(TableTest, DeletesMoveLaterEntriesUpWithTheirValues) {
    // Deletes the entry of `row`; then the Number, Name and Subs columns.
    const auto remove = [this](int row, Button button) {
        box->setListIndex(row);
        (window->*button)();
        return column(Col::ColNumber) + u" | "_s + column(Col::ColName) + u" | "_s + column(Col::ColSubs);
    };
    build({{3}});
    change([](ov::OvDataModel& m) { m.BatTail[0][0][2] = std::string("\1\0\1", 3); });
    window->setModified(false);
    EXPECT_EQ(remove(3, &OvEditorWindow::PushButtonDelBattle_Action),
              u"1 10 100 101 | S0 O0.0 B0.0.0 B0.0.2 | 1 Ops 2 Battles 0-0-0 1-0-1"_s);
    EXPECT_EQ(box->Cell(3, Col::ColX1), QString::number(rectBase(0, 0, 2)));
    EXPECT_EQ(box->ListIndex(), -1);
    EXPECT_TRUE(window->isModified());

    build({{0, 0, 2}});
    EXPECT_EQ(remove(2, &OvEditorWindow::PushButtonDelOps_Action),
              u"1 10 11 110 111 | S0 O0.0 O0.2 B0.2.0 B0.2.1 | 2 Ops 0 Battles 2 Battles 0-0-0 0-0-0"_s);
    // Regression: looking rows up by ID deleted the first sector whatever sector was chosen.
    build({{}, {}, {}});
    change([](ov::OvDataModel& m) { m.SectorID.fill(0); });
    EXPECT_EQ(remove(2, &OvEditorWindow::PushButtonDelSector_Action), u"0 0 | S0 S1 | 0 Ops 0 Ops"_s);
    build({{1}});
    EXPECT_EQ(remove(0, &OvEditorWindow::PushButtonDelSector_Action), u" |  | "_s);
    window->PushButtonAddSector_Action(); // after deleting the only sector: sector 1 again
    EXPECT_EQ(column(Col::ColNumber), u"1"_s);
    EXPECT_EQ(box->Cell(0, Col::ColSubs), u"0 Ops"_s);
}
