// The Edit menu's table and picture commands: exact clipboard texts, the select-all state
// machine, picture copy and paste, and silence when no editing window is in front.
#include "GuiTestSupport.h"
#include "MapTestTables.h"
#include "map/MapPainting.h"
#include "map/OvPictCanvas.h"
#include "table/OvDataListBox.h"
#include "windows/OvEditorWindow.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

using namespace MapTest;

namespace {

QClipboard& clipboard() {
    return *QGuiApplication::clipboard();
}

QImage clipboardImage() {
    const QMimeData* data = clipboard().mimeData();
    if (!data || !data->hasImage())
        return {};
    return qvariant_cast<QImage>(data->imageData()).convertToFormat(QImage::Format_RGB32);
}

class ClipboardTest : public GuiTest {
protected:
    void SetUp() override {
        GuiTest::SetUp();
        window = newFromScratch();
        ASSERT_NE(window, nullptr);
        table = window->thisListBox;
        canvas = window->PreviewCanvas;
        fillModel(*table, 2, 3); // rows: sector, ops 0, battles 0.0-0.2, ops 1, battles 1.0-1.2
        ASSERT_EQ(table->ListCount(), 9);
        clipboard().setText(QStringLiteral("before"));
    }

    int selectedRows() const {
        int count = 0;
        for (int row = 0; row < table->ListCount(); ++row)
            count += table->Selected(row) ? 1 : 0;
        return count;
    }

    OvEditorWindow* window = nullptr;
    OvDataListBox* table = nullptr;
    OvPictCanvas* canvas = nullptr;
};

const QString kSectorLine = QStringLiteral("1\tS\t0\t0\t0\t0\t2 Ops\t\t\t\r");
const QString kBattleLine = QStringLiteral("100\tBat 0.0\t5\t6\t7\t8\t1-0-0\tY\tN\tN\r");
const QString kOpsLine = QStringLiteral("11\tOps 1\t0\t0\t0\t0\t3 Battles\t\t\t\r");
const QString kHeaderLine = QStringLiteral("Number\tName\tx1\ty1\tx2\ty2\tNoOfSubs\tLZ\tBridge\tRoad\r");

TEST_F(ClipboardTest, SeveralRowsGiveOneCrEndedLinePerRowWithFlagsAsYesNo) {
    setRect(*table, 2, 5, 6, 7, 8);
    table->setSelected(0, true);
    table->setSelected(2, true);
    table->setSelected(5, true);

    app()._EditCopyListbox_Action();
    EXPECT_EQ(clipboard().text(), kSectorLine + kBattleLine + kOpsLine);

    app().gSelectAllIncludesHeader = true;
    app()._EditCopyListbox_Action();
    EXPECT_EQ(clipboard().text(), kHeaderLine + kSectorLine + kBattleLine + kOpsLine);

    // Flags as they stand now, not as loaded; rows in table order whatever the order of selecting.
    table->setCellCheck(2, OvDataListBox::ColBridge, true);
    table->clearSelection();
    table->setSelected(7, true);
    table->setSelected(3, true);
    app().gSelectAllIncludesHeader = false;
    app()._EditCopyListbox_Action();
    EXPECT_EQ(clipboard().text(), QStringLiteral("101\tBat 0.1\t0\t0\t0\t0\t0-1-0\tN\tY\tN\r"
                                                 "111\tBat 1.1\t0\t0\t0\t0\t0-1-0\tN\tY\tN\r"));
}

TEST_F(ClipboardTest, OneRowGivesItsPlainTextsWithoutHeaderOrLineEnd) {
    setRect(*table, 2, 5, 6, 7, 8);
    table->setSelected(2, true);
    for (bool header : {false, true}) {
        app().gSelectAllIncludesHeader = header;
        app()._EditCopyListbox_Action();
        EXPECT_EQ(clipboard().text(), QStringLiteral("100\tBat 0.0\t5\t6\t7\t8\t1-0-0\t\t\t")) << header;
    }
}

TEST_F(ClipboardTest, NoSelectedRowLeavesTheClipboardAlone) {
    app()._EditCopyListbox_Action();
    EXPECT_EQ(clipboard().text(), QStringLiteral("before"));
}

TEST_F(ClipboardTest, SelectAllCommandsToggleAllRowsAndTheHeaderFlag) {
    table->setSelected(3, true);
    app()._EditSelectallincludesheader_Action(); // partial -> all, flag on
    EXPECT_EQ(selectedRows(), 9);
    EXPECT_TRUE(app().gSelectAllIncludesHeader);

    app()._EditSelectallincludesheader_Action(); // full -> none, flag stays on
    EXPECT_EQ(selectedRows(), 0);
    EXPECT_TRUE(app().gSelectAllIncludesHeader);

    app()._EditSelectallincludesheader_Action(); // none -> all
    EXPECT_EQ(selectedRows(), 9);
    app()._EditSelectAllListbox_Action(); // full, other command: only the flag switches
    EXPECT_EQ(selectedRows(), 9);
    EXPECT_FALSE(app().gSelectAllIncludesHeader);
    app()._EditSelectAllListbox_Action(); // same command again: deselects
    EXPECT_EQ(selectedRows(), 0);
    EXPECT_FALSE(app().gSelectAllIncludesHeader);
    EXPECT_EQ(table->ListIndex(), -1);

    // And the copy that follows sees every row.
    app()._EditSelectallincludesheader_Action();
    app()._EditCopyListbox_Action();
    EXPECT_EQ(clipboard().text().count(QChar(13)), 10);
    EXPECT_TRUE(clipboard().text().startsWith(kHeaderLine));
    EXPECT_FALSE(clipboard().text().contains(QChar(10)));
}

TEST_F(ClipboardTest, OnAnEmptyTableTheSelectCommandsOnlySetTheFlag) {
    table->OvNumberOfSectors = 0;
    table->PutDataToListBox();
    ASSERT_EQ(table->ListCount(), 0);
    app()._EditSelectallincludesheader_Action();
    EXPECT_TRUE(app().gSelectAllIncludesHeader);
    app()._EditSelectAllListbox_Action();
    EXPECT_FALSE(app().gSelectAllIncludesHeader);
    app()._EditSelectAllListbox_Action();
    EXPECT_FALSE(app().gSelectAllIncludesHeader);
    EXPECT_EQ(table->ListCount(), 0);
}

TEST_F(ClipboardTest, CopyPictureGivesTheBareMapOrNoPicture) {
    app()._EditCopy_Action();
    EXPECT_TRUE(clipboardImage().isNull()); // never loaded: no picture

    const QImage map = markedPicture(314, 491, qRgb(0, 0, 255));
    canvas->setMap(map);
    setRect(*table, 2, 10, 20, 30, 25);
    table->setSelected(2, true);
    app()._EditCopy_Action();
    EXPECT_EQ(clipboardImage(), map);
}

TEST_F(ClipboardTest, CopyPictureWithRectanglesGivesWhatTheCanvasShows) {
    canvas->setMap(markedPicture(314, 491, qRgb(0, 0, 255)));
    setRect(*table, 2, 10, 20, 30, 25);
    table->setSelected(2, true);
    app()._EditCopyPictWithRects_Action();
    QImage copied = clipboardImage();
    ASSERT_EQ(copied.size(), QSize(314, 491));
    EXPECT_EQ(copied.pixel(10, 20), in16Bits(MapPainting::kHighlightedColour));
    EXPECT_EQ(copied.pixel(11, 21), in16Bits(qRgb(0, 0, 255)));

    canvas->resize(200, 300);
    canvas->setMap(markedPicture(200, 300, qRgb(0, 0, 255)));
    app()._EditCopyPictWithRects_Action();
    EXPECT_EQ(clipboardImage().size(), QSize(200, 300));

    // A picture that cannot be made: the message, and the clipboard keeps what it had.
    clipboard().setText(QStringLiteral("kept"));
    canvas->resize(0, 0);
    app()._EditCopyPictWithRects_Action();
    EXPECT_EQ(script().messages,
              QStringList{QStringLiteral("Not enough memory to create picture for export.")});
    EXPECT_EQ(clipboard().text(), QStringLiteral("kept"));
}

TEST_F(ClipboardTest, PastedPicturesOfAnySizeBecomeTheMapAndTheCanvasKeepsItsSize) {
    const QImage large = markedPicture(640, 480, qRgb(0, 100, 0));
    clipboard().setImage(large);
    app()._EditPaste_Action();
    EXPECT_EQ(canvas->MasterBackground.convertToFormat(QImage::Format_RGB32), large);
    EXPECT_EQ(canvas->size(), QSize(314, 491));
    const QImage shown = window->GetCanvasScreenshot().convertToFormat(QImage::Format_RGB32);
    EXPECT_EQ(shown.pixel(313, 479), in16Bits(qRgb(0, 100, 0)));
    EXPECT_EQ(shown.pixel(313, 480), qRgb(255, 255, 255));

    const QImage small = markedPicture(100, 80, qRgb(100, 0, 0));
    clipboard().setImage(small);
    app()._EditPaste_Action();
    EXPECT_EQ(canvas->MasterBackground.convertToFormat(QImage::Format_RGB32), small);
    EXPECT_EQ(canvas->size(), QSize(314, 491));

    // Nothing to paste: nothing happens.
    clipboard().setText(QStringLiteral("text only"));
    app()._EditPaste_Action();
    EXPECT_EQ(canvas->MasterBackground.convertToFormat(QImage::Format_RGB32), small);
}

TEST_F(ClipboardTest, WithTheAboutWindowInFrontNothingChanges) {
    const QImage map = markedPicture(314, 491, qRgb(0, 0, 255));
    canvas->setMap(map);
    table->setSelected(2, true);
    app()._myAboutMenuItem_Action();
    ASSERT_EQ(app().frontEditingWindow(), nullptr);

    clipboard().setImage(markedPicture(50, 50, qRgb(1, 1, 1)));
    app()._EditPaste_Action();
    EXPECT_EQ(canvas->MasterBackground, map);

    clipboard().setText(QStringLiteral("untouched"));
    app()._EditCopyListbox_Action();
    app()._EditCopy_Action();
    app()._EditCopyPictWithRects_Action();
    app()._EditSelectallincludesheader_Action();
    app()._EditSelectAllListbox_Action();
    EXPECT_EQ(clipboard().text(), QStringLiteral("untouched"));
    EXPECT_TRUE(clipboardImage().isNull());
    EXPECT_EQ(selectedRows(), 1);
    EXPECT_TRUE(table->Selected(2));
    EXPECT_FALSE(app().gSelectAllIncludesHeader);

    // Back in front, the same commands act again.
    app().OvWindowInit(window->myWindowIndex);
    app()._EditSelectAllListbox_Action();
    EXPECT_EQ(selectedRows(), 9);
}

TEST(ClipboardNoWindow, CommandsWithNoWindowOpenDoNothing) {
    closeAllProgramWindows();
    QGuiApplication::clipboard()->setText(QStringLiteral("alone"));
    App& app = *theApp();
    for (bool (App::*command)() :
         {&App::_EditCopyListbox_Action, &App::_EditCopy_Action, &App::_EditCopyPictWithRects_Action,
          &App::_EditPaste_Action, &App::_EditSelectAllListbox_Action,
          &App::_EditSelectallincludesheader_Action})
        EXPECT_TRUE((app.*command)());
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("alone"));
}

} // namespace
