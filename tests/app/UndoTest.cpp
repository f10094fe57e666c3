// Undo and redo through the real widgets and keys, Save to the window's file, the title marker.
#include "AppTestHelpers.h"
#include "map/OvPictCanvas.h"
#include "table/OvDataListBox.h"
#include "windows/OvEditCommands.h"

#include <QComboBox>
#include <QFileInfo>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QTest>
#include <QUndoStack>
#include <QWindow>

#include <memory>

using Col = OvDataListBox;

namespace {

void mouse(QWidget* widget, QEvent::Type type, QPoint at, Qt::MouseButtons held) {
    const QPointF p(at);
    QMouseEvent event(type, p, p, widget->mapToGlobal(p), Qt::LeftButton, held, Qt::NoModifier);
    QCoreApplication::sendEvent(widget, &event);
}

} // namespace

class Undo : public AppTest {
protected:
    // The demo OvData0, copied to a folder of the test, loaded into slot 0 and in front.
    void loadDemo() {
        path = tempDir() + u"/OvData0"_s;
        ASSERT_TRUE(QFile::copy(example("OvData0"), path));
        w = load(0, path);
        ASSERT_NE(w, nullptr);
        box = w->thisListBox;
        w->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(w));
        QImage map(314, 491, QImage::Format_RGB32);
        map.fill(qRgb(90, 140, 70));
        w->PreviewCanvas->setMap(map);
        w->thisListBox_HeaderPressed(Col::ColView); // every rectangle on the map
    }
    // Every cell of every row, and the ticks.
    QString rows() const {
        QStringList lines;
        for (int row = 0; row < box->ListCount(); ++row) {
            QStringList cells;
            for (int c = 0; c < Col::kColumnCount; ++c)
                cells << (box->CellIsCheckBox(row, c) ? QString::number(box->CellCheck(row, c))
                                                      : box->Cell(row, c));
            lines << cells.join(u'|');
        }
        return lines.join(u'\n');
    }
    // Triggers the menu item until it is disabled; after every step the table must show what a
    // fresh build from the document shows.
    void throughHistory(const char* name) {
        while (item(name)->isEnabled()) {
            item(name)->trigger();
            const QString shown = rows();
            box->PutDataToListBox();
            EXPECT_EQ(shown.toStdString(), rows().toStdString()) << name << " to " << w->undoStack()->index();
        }
    }
    QString shownTitle() const { return w->windowHandle()->title(); }
    void keys(QKeySequence::StandardKey key) {
        QTest::keySequence(w, QKeySequence(key));
        QCoreApplication::processEvents();
    }

    QString path;
    OvEditorWindow* w = nullptr;
    OvDataListBox* box = nullptr;
};

TEST_F(Undo, DeleteSectorThenCtrlZShowsTableMapAndSelectionAsBefore) {
    loadDemo();
    const int sectorRow = w->document().rowOf({1, -1, -1});
    ASSERT_GT(sectorRow, 0);
    box->setListIndex(sectorRow);
    const QString before = rows();
    const QImage mapBefore = w->GetCanvasScreenshot();
    const QString name = u"Delete "_s + entryLabel(w->document(), {1, -1, -1});
    EXPECT_FALSE(item("EditUndo")->isEnabled());

    QTest::mouseClick(w->PushButtonDelSector, Qt::LeftButton);
    EXPECT_NE(rows(), before);
    EXPECT_EQ(item("EditUndo")->text(), u"Undo "_s + name);
    EXPECT_TRUE(item("EditUndo")->isEnabled());
    EXPECT_FALSE(item("EditRedo")->isEnabled());
    EXPECT_EQ(shownTitle(), u"OvData0*"_s);
    const QString deleted = rows();

    keys(QKeySequence::Undo);
    EXPECT_EQ(rows(), before);
    EXPECT_EQ(w->GetCanvasScreenshot(), mapBefore);
    EXPECT_EQ(box->ListIndex(), sectorRow) << "the restored entry is selected";
    EXPECT_FALSE(w->isModified()) << "back at the loaded state";
    EXPECT_EQ(shownTitle(), u"OvData0"_s);
    EXPECT_EQ(item("EditRedo")->text(), u"Redo "_s + name);
    EXPECT_FALSE(item("EditUndo")->isEnabled());

    keys(QKeySequence::Redo);
    EXPECT_EQ(rows(), deleted);
    EXPECT_TRUE(w->isModified());
}

TEST_F(Undo, AWholeMarkIsOneStepThatCtrlZAndCtrlShiftZMove) {
    loadDemo();
    const int row = w->document().rowOf({0, 0, 0});
    const ov::Rect before = w->document().rect({0, 0, 0});
    box->setListIndex(row);
    OvPictCanvas* canvas = w->PreviewCanvas;
    canvas->setDragRunner([](QDrag&) { ADD_FAILURE() << "a mark never drags the picture"; });
    mouse(canvas, QEvent::MouseButtonPress, {120, 200}, Qt::LeftButton);
    mouse(canvas, QEvent::MouseMove, {150, 230}, Qt::LeftButton);
    mouse(canvas, QEvent::MouseMove, {180, 260}, Qt::LeftButton);
    mouse(canvas, QEvent::MouseButtonRelease, {180, 260}, Qt::NoButton);
    EXPECT_EQ(w->undoStack()->count(), 1);
    EXPECT_EQ(item("EditUndo")->text(), u"Undo Mark "_s + entryLabel(w->document(), {0, 0, 0}));
    EXPECT_EQ(w->document().rect({0, 0, 0}), (ov::Rect{120, 200, 180, 260}));

    box->clearSelection();
    keys(QKeySequence::Undo);
    EXPECT_EQ(w->document().rect({0, 0, 0}), before);
    EXPECT_EQ(box->Cell(row, Col::ColX2), QString::number(before[2]));
    EXPECT_EQ(box->ListIndex(), row);
    keys(QKeySequence::Redo);
    EXPECT_EQ(box->Cell(row, Col::ColX2), u"180"_s);
    EXPECT_EQ(item("EditUndo")->text(), u"Undo Mark "_s + entryLabel(w->document(), {0, 0, 0}));

    // The next press is the next step.
    mouse(canvas, QEvent::MouseButtonPress, {20, 30}, Qt::LeftButton);
    mouse(canvas, QEvent::MouseButtonRelease, {20, 30}, Qt::NoButton);
    EXPECT_EQ(w->undoStack()->count(), 2);
}

// Each kind of step, made as its widget makes it (marks and sector deletes: the tests above); random
// sequences of steps are the document's own tests.
TEST_F(Undo, EveryKindOfStepThroughTheWidgetsUndoesToTheLoadedFileAndRedoesToTheEnd) {
    loadDemo();
    const auto loaded = readModel(path);
    const QByteArray loadedBytes = readAll(path);
    const QString loadedRows = rows();
    QStringList names;

    const int battle = w->document().rowOf({0, 0, 0});
    ASSERT_GT(battle, 0);
    // Typing and a click on the Road box, as the table's delegate reports them.
    box->userFinishedEdit(battle, Col::ColName, u"Fallen Bridge"_s);
    box->userFinishedEdit(battle, Col::ColY1, u"77"_s);
    box->setListIndex(battle);
    box->setCellCheck(battle, Col::ColRoad, !box->CellCheck(battle, Col::ColRoad));
    box->userToggledCheck(battle, Col::ColRoad);
    QTest::mouseClick(w->PushButtonAddBattle, Qt::LeftButton);
    box->setListIndex(w->document().rowOf({0, 0, 1}));
    QTest::mouseClick(w->PushButtonDelBattle, Qt::LeftButton);
    box->setListIndex(1);
    QTest::mouseClick(w->PushButtonAddOps, Qt::LeftButton);
    box->setListIndex(w->document().rowOf({0, 1, -1}));
    QTest::mouseClick(w->PushButtonDelOps, Qt::LeftButton);
    QTest::mouseClick(w->PushButtonAddSector, Qt::LeftButton);
    w->PopupMenuID->setCurrentIndex(4);
    Q_EMIT w->PopupMenuID->activated(4);
    script().openAnswers.push_back(QString()); // the picture's file is not searched for
    w->PopupMenuPICT->setCurrentIndex(3);
    Q_EMIT w->PopupMenuPICT->activated(3);
    for (int i = 0; i < w->undoStack()->count(); ++i)
        names << w->undoStack()->text(i);
    EXPECT_EQ(names.size(), 10) << names.join(u", "_s).toStdString();
    EXPECT_TRUE(names.contains(u"Renumber from 5"_s));
    EXPECT_TRUE(names.contains(u"Change Map Picture to 1016"_s));
    const auto end = std::make_unique<ov::OvDataModel>(w->document().model());
    const QString endRows = rows();

    throughHistory("EditUndo");
    EXPECT_TRUE(w->document().model() == *loaded);
    EXPECT_EQ(rows(), loadedRows);
    EXPECT_FALSE(w->isModified());
    EXPECT_EQ(w->PopupMenuID->currentIndex(), loaded->SectorID[0] - 1);
    EXPECT_EQ(w->PopupMenuPICT->currentIndex(), loaded->OvResourceID - 1013);
    keys(QKeySequence::Save);
    EXPECT_EQ(readAll(path), loadedBytes) << "undone to the start, the file is written byte for byte";

    throughHistory("EditRedo");
    EXPECT_TRUE(w->document().model() == *end);
    EXPECT_EQ(rows(), endRows);
    EXPECT_TRUE(w->isModified());
    EXPECT_TRUE(script().messages.isEmpty());
}

TEST_F(Undo, AFieldBeingEditedTakesUndoBeforeTheWindowsHistory) {
    loadDemo();
    box->userFinishedEdit(0, Col::ColName, u"First step"_s);
    ASSERT_EQ(w->undoStack()->count(), 1);
    box->setCurrentCell(2, Col::ColName);
    box->editItem(box->item(2, Col::ColName));
    auto* editor = box->viewport()->findChild<QLineEdit*>();
    ASSERT_NE(editor, nullptr);
    editor->setFocus();
    const QString original = editor->text();
    QTest::keyClicks(editor, u"xyz"_s);
    EXPECT_EQ(item("EditUndo")->text(), u"Undo"_s) << "the field's own undo, not a step";
    item("EditUndo")->trigger();
    EXPECT_EQ(editor->text(), original);
    EXPECT_EQ(w->undoStack()->index(), 1) << "the history is untouched";
    QTest::keyClick(editor, Qt::Key_Escape);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    keys(QKeySequence::Undo);
    EXPECT_EQ(w->undoStack()->index(), 0);
    EXPECT_EQ(box->Cell(0, Col::ColName), QString::fromLatin1(readModel(path)->SectorName[0]));
}

TEST_F(Undo, SaveWritesBackWithoutADialogAndSaveAsStartsAtTheWindowsFile) {
    loadDemo();
    box->userFinishedEdit(0, Col::ColName, u"Saved Name"_s);
    EXPECT_EQ(shownTitle(), u"OvData0*"_s);
    EXPECT_EQ(w->windowFilePath(), QFileInfo(path).absoluteFilePath());
    keys(QKeySequence::Save);
    EXPECT_TRUE(script().saveRequests.empty());
    EXPECT_EQ(readModel(path)->SectorName[0], "Saved Name");
    EXPECT_FALSE(w->isModified());
    EXPECT_EQ(shownTitle(), u"OvData0"_s);

    // Undo back past the save is modified again; redo to the saved state is not.
    keys(QKeySequence::Undo);
    EXPECT_TRUE(w->isModified());
    keys(QKeySequence::Redo);
    EXPECT_FALSE(w->isModified());

    script().saveAnswers.push_back(QString());
    QTest::mouseClick(w->PushButtonSave, Qt::LeftButton);
    ASSERT_EQ(script().saveRequests.size(), 1u);
    EXPECT_EQ(script().saveRequests[0].initialLocation, QFileInfo(path).absolutePath());
    EXPECT_EQ(script().saveRequests[0].suggestedFileName, u"OvData0"_s);

    // The unsaved-edits question's "Save" saves to the file as well.
    box->userFinishedEdit(0, Col::ColName, u"Saved On Close"_s);
    script().unsavedAnswers.push_back(UnsavedChoice::Save);
    closeAndFlush(w);
    EXPECT_TRUE(app().OvWindow[0].isNull());
    EXPECT_EQ(script().saveRequests.size(), 1u);
    EXPECT_EQ(readModel(path)->SectorName[0], "Saved On Close");

    // A window without a file asks where, as "Save Datas As..." does.
    OvEditorWindow* fresh = newFromScratch();
    script().saveAnswers.push_back(QString());
    EXPECT_FALSE(fresh->Save());
    ASSERT_EQ(script().saveRequests.size(), 2u);
    EXPECT_TRUE(script().saveRequests[1].initialLocation.isEmpty());
    EXPECT_TRUE(script().saveRequests[1].suggestedFileName.isEmpty());
}
