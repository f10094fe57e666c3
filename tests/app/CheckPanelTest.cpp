// The Check panel through the real windows: live counts that follow edits and undo, a click that
// selects the entry, set checks against files in a folder and a sync that is one undoable step.
#include "windows/CheckPanel.h"

#include "AppTestHelpers.h"
#include "table/OvDataListBox.h"
#include "windows/OvEditCommands.h"

#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <QToolButton>
#include <QUndoStack>

namespace {

QString header(OvEditorWindow* w) {
    return w->checkPanel()->header()->text();
}

// The first finding of rule `code`, or -1.
int findingOf(OvEditorWindow* w, std::string_view code) {
    const auto& findings = w->checkPanel()->findings();
    for (std::size_t i = 0; i < findings.size(); ++i)
        if (findings[i].code == code)
            return static_cast<int>(i);
    return -1;
}

QString lines(OvEditorWindow* w) {
    QStringList all;
    for (const ov::Finding& f : w->checkPanel()->findings())
        all << QString::fromStdString(f.message) + u" "_s + QString::number(f.where.file) + u" "_s +
                   QString::fromStdString(ov::idPathText(f.where));
    return all.join(u'\n');
}

void clickFinding(OvEditorWindow* w, int index) {
    QListWidget* list = w->checkPanel()->list();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(index)).center());
}

} // namespace

class CheckPanelTest : public AppTest {
protected:
    // Demo files copied into a folder of the test; OvData<slot> is loaded into its slot.
    OvEditorWindow* openFromFolder(int slot, std::initializer_list<const char*> files) {
        for (const char* name : files)
            EXPECT_TRUE(QFile::copy(example(name), tempDir() + u"/"_s + QString::fromLatin1(name)));
        return load(slot, tempDir() + u"/OvData"_s + QString::number(slot));
    }
};

TEST_F(CheckPanelTest, SixBattlesInAnOpShowTheErrorAtOnceAndAClickSelectsTheOp) {
    OvEditorWindow* w = newFromScratch();
    ASSERT_NE(w, nullptr);
    w->PushButtonAddOps->click();
    for (int i = 0; i < 5; ++i)
        w->PushButtonAddBattle->click();
    EXPECT_EQ(findingOf(w, "battles-per-op"), -1) << "five battles are what the game takes";
    EXPECT_FALSE(header(w).contains(u"error"_s)) << header(w).toStdString();
    const QString clean = header(w);

    w->PushButtonAddBattle->click(); // the sixth is still made: the editor's limit is 10
    EXPECT_EQ(w->document().model().OpsNumberOfBattles[0][0], 6);
    const int finding = findingOf(w, "battles-per-op");
    ASSERT_GE(finding, 0);
    EXPECT_TRUE(header(w).startsWith(u"Check: 1 error"_s)) << header(w).toStdString();

    w->checkPanel()->header()->click(); // open the list
    ASSERT_TRUE(w->checkPanel()->list()->isVisible());
    w->thisListBox->setListIndex(-1);
    clickFinding(w, finding);
    EXPECT_EQ(w->thisListBox->ListIndex(), w->document().rowOf({0, 0, -1}));

    w->undoStack()->undo(); // header and open list follow the history too
    EXPECT_EQ(header(w), clean);
    EXPECT_EQ(findingOf(w, "battles-per-op"), -1);
    EXPECT_EQ(w->checkPanel()->list()->count(), static_cast<int>(w->checkPanel()->findings().size()));
}

TEST_F(CheckPanelTest, SetChecksReadTheFolderAndASyncOpensTheClosedFileAndIsOneUndoableStep) {
    // OvData1 is open, OvData0 only lies in the folder.
    OvEditorWindow* w1 = openFromFolder(1, {"OvData0", "OvData1"});
    ASSERT_NE(w1, nullptr);
    const QByteArray overviewOnDisk = readAll(tempDir() + u"/OvData0"_s);
    ASSERT_EQ(findingOf(w1, "name-differs"), -1) << header(w1).toStdString();

    const ov::EntryRef battle{0, 0, 0};
    ASSERT_TRUE(w1->pushStep(new SetFieldCommand(*w1, battle, OvDataListBox::ColName, u"Renamed here"_s)));
    const int finding = findingOf(w1, "name-differs");
    ASSERT_GE(finding, 0) << "the folder's OvData0 is compared";

    const QList<QAction*> actions = w1->checkPanel()->syncActions(finding);
    QStringList captions;
    for (QAction* action : actions)
        captions << action->text();
    EXPECT_EQ(captions, (QStringList{u"Copy to OvData0"_s, u"Take from OvData0"_s}));

    script().openAnswers = {QString()}; // OvData0 opens into its slot: no map picture
    actions.front()->trigger();
    qDeleteAll(actions);
    OvEditorWindow* w0 = app().OvWindow[0];
    ASSERT_NE(w0, nullptr);
    EXPECT_TRUE(w0->isModified());
    EXPECT_EQ(w0->document().name(battle), "Renamed here");
    EXPECT_TRUE(w0->undoStack()->undoText().startsWith(u"Copy Battle "_s))
        << w0->undoStack()->undoText().toStdString();
    EXPECT_TRUE(w0->undoStack()->undoText().endsWith(u" to OvData0"_s));
    EXPECT_EQ(findingOf(w1, "name-differs"), -1);
    EXPECT_EQ(readAll(tempDir() + u"/OvData0"_s), overviewOnDisk) << "the folder's files are never written";

    w0->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(w0));
    QTest::keySequence(w0, QKeySequence(QKeySequence::Undo));
    QCoreApplication::processEvents(); // the other window's checks follow at the next turn
    EXPECT_FALSE(w0->isModified());
    const int again = findingOf(w1, "name-differs");
    ASSERT_GE(again, 0);

    // "Take from OvData0" is a step of OvData1's own history.
    const std::string overviewName = w0->document().name(battle);
    ASSERT_TRUE(w1->checkPanel()->applySync(again, ov::SyncDirection::FromOverview));
    EXPECT_EQ(w1->document().name(battle), overviewName);
    EXPECT_EQ(w1->undoStack()->count(), 2);
    EXPECT_EQ(findingOf(w1, "name-differs"), -1);
    EXPECT_FALSE(w0->isModified());
}

TEST_F(CheckPanelTest, OpeningTheListTakesTheBottomOfTheTableAndLeavesTheButtonsInPlace) {
    OvEditorWindow* w = newFromScratch();
    ASSERT_NE(w, nullptr);
    const QRect table = w->thisListBox->geometry();
    const QRect save = w->PushButtonSave->geometry();
    const QRect header = w->checkPanel()->header()->geometry();
    // Collapsed, the header sits in the free end of the third button row.
    EXPECT_EQ(header.y(), save.y());
    EXPECT_GT(header.left(), w->PushButtonBatnames->geometry().right());
    EXPECT_LE(header.right(), table.right());

    w->checkPanel()->setExpanded(true);
    const QRect list = w->checkPanel()->list()->geometry();
    EXPECT_EQ(w->thisListBox->y(), table.y());
    EXPECT_EQ(w->thisListBox->height(), table.height() - CheckPanel::kListHeight - 4);
    EXPECT_EQ(list.bottom(), table.bottom());
    EXPECT_EQ(w->PushButtonSave->geometry(), save);

    w->checkPanel()->setExpanded(false);
    EXPECT_EQ(w->thisListBox->geometry(), table);
    EXPECT_FALSE(w->checkPanel()->list()->isVisible());
}

TEST_F(CheckPanelTest, DemoFilesAreFindingFreeAndAnEditInOneWindowReachesTheOthersChecks) {
    OvEditorWindow* w1 = openFromFolder(1, {"OvData0", "OvData1"});
    ASSERT_NE(w1, nullptr);
    OvEditorWindow* w0 = load(0, tempDir() + u"/OvData0"_s);
    ASSERT_NE(w0, nullptr);
    EXPECT_EQ(header(w0), u"Check: no findings"_s) << lines(w0).toStdString();
    EXPECT_EQ(header(w1), u"Check: no findings"_s) << lines(w1).toStdString();

    // The overview loses the last battle of OvData1's first op (a later one would move up and
    // take its ID): OvData1's panel reports it, from the open window.
    const int last = w0->document().model().OpsNumberOfBattles[0][0] - 1;
    ASSERT_GE(last, 0);
    ASSERT_TRUE(w0->pushStep(new DeleteCommand(*w0, {0, 0, last})));
    QCoreApplication::processEvents();
    const int finding = findingOf(w1, "missing-in-overview");
    ASSERT_GE(finding, 0) << header(w1).toStdString();
    EXPECT_TRUE(header(w1).startsWith(u"Check: 1 error"_s)) << header(w1).toStdString();

    // "Take from OvData0" is refused for an entry OvData0 lacks; "Copy to OvData0" puts it back.
    const QList<QAction*> actions = w1->checkPanel()->syncActions(finding);
    ASSERT_EQ(actions.size(), 1);
    EXPECT_EQ(actions.front()->text(), u"Copy to OvData0"_s);
    qDeleteAll(actions);
    ASSERT_TRUE(w1->checkPanel()->applySync(finding, ov::SyncDirection::ToOverview));
    QCoreApplication::processEvents();
    EXPECT_EQ(header(w0), u"Check: no findings"_s) << lines(w0).toStdString();
    EXPECT_EQ(header(w1), u"Check: no findings"_s) << lines(w1).toStdString();
    EXPECT_EQ(w0->undoStack()->count(), 2) << "the sync is one step after the delete";
    EXPECT_FALSE(w1->isModified());
}
