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
#include <QItemSelectionModel>
#include <QMimeData>

using namespace MapTest;
using namespace Qt::StringLiterals;

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

QImage rgb32(const QImage& image) {
    return image.convertToFormat(QImage::Format_RGB32);
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
        setRect(*table, 2, 5, 6, 7, 8);
        clipboard().setText(u"before"_s);
    }

    // Selects exactly `rows` (in the given order) and copies the table.
    QString copyRows(std::initializer_list<int> rows, bool header) {
        table->clearSelection();
        for (const int row : rows)
            table->setSelected(row, true);
        app().gSelectAllIncludesHeader = header;
        app()._EditCopyListbox_Action();
        return clipboard().text();
    }

    int selectedRows() const { return static_cast<int>(table->selectionModel()->selectedRows().size()); }

    OvEditorWindow* window = nullptr;
    OvDataListBox* table = nullptr;
    OvPictCanvas* canvas = nullptr;
};

const QString kSectorLine = u"1\tS\t0\t0\t0\t0\t2 Ops\t\t\t\r"_s;
const QString kBattleLine = u"100\tBat 0.0\t5\t6\t7\t8\t1-0-0\tY\tN\tN\r"_s;
const QString kOpsLine = u"11\tOps 1\t0\t0\t0\t0\t3 Battles\t\t\t\r"_s;
const QString kHeaderLine = u"Number\tName\tx1\ty1\tx2\ty2\tNoOfSubs\tLZ\tBridge\tRoad\r"_s;

TEST_F(ClipboardTest, CopyListboxGivesCrEndedLinesWithYesNoFlagsOrOneRowsPlainTexts) {
    EXPECT_EQ(copyRows({}, false), u"before"_s) << "no selected row: the clipboard stays";
    EXPECT_EQ(copyRows({0, 2, 5}, false), kSectorLine + kBattleLine + kOpsLine);
    EXPECT_EQ(copyRows({0, 2, 5}, true), kHeaderLine + kSectorLine + kBattleLine + kOpsLine);
    for (bool header : {false, true}) // one row: its texts, no header, no line end, no Y/N
        EXPECT_EQ(copyRows({2}, header), u"100\tBat 0.0\t5\t6\t7\t8\t1-0-0\t\t\t"_s) << header;
    // Rows in table order whatever the order of selecting.
    table->setCellCheck(2, OvDataListBox::ColBridge, true);
    EXPECT_EQ(copyRows({7, 3}, false), u"101\tBat 0.1\t0\t0\t0\t0\t0-1-0\tN\tY\tN\r"
                                       u"111\tBat 1.1\t0\t0\t0\t0\t0-1-0\tN\tY\tN\r"_s);
}

TEST_F(ClipboardTest, SelectAllCommandsToggleAllRowsAndTheHeaderFlag) {
    const auto all = &App::_EditSelectAllListbox_Action;
    const auto withHeader = &App::_EditSelectallincludesheader_Action;
    const struct {
        bool (App::*command)();
        int selected;
        bool header;
    } full[] = {{withHeader, 9, true},  // partial -> all, flag on
                {withHeader, 0, true},  // full -> none, flag stays on
                {withHeader, 9, true},  // none -> all
                {all, 9, false},        // full, other command: only the flag switches
                {all, 0, false},        // same command again: deselects
                {withHeader, 9, true}}, // and the copy that follows sees every row
        empty[] = {{withHeader, 0, true}, {all, 0, false}, {all, 0, false}};
    table->setSelected(3, true);
    int step = 0;
    for (const auto& s : full) {
        (app().*s.command)();
        EXPECT_EQ(selectedRows(), s.selected) << "step " << step;
        EXPECT_EQ(app().gSelectAllIncludesHeader, s.header) << "step " << step++;
    }
    app()._EditCopyListbox_Action();
    EXPECT_EQ(clipboard().text().count(QChar(13)), 10);
    EXPECT_TRUE(clipboard().text().startsWith(kHeaderLine));
    EXPECT_FALSE(clipboard().text().contains(QChar(10)));

    window->document().reset(ov::OvDataModel{}); // on an empty table the commands only set the flag
    table->PutDataToListBox();
    for (const auto& s : empty) {
        (app().*s.command)();
        EXPECT_EQ(table->ListCount(), 0) << "step " << step;
        EXPECT_EQ(app().gSelectAllIncludesHeader, s.header) << "step " << step++;
    }
}

TEST_F(ClipboardTest, CopyPictureGivesTheBareMapAndWithRectanglesWhatTheCanvasShows) {
    app()._EditCopy_Action();
    EXPECT_TRUE(clipboardImage().isNull()) << "never loaded: no picture";

    const QImage map = markedPicture(314, 491, qRgb(0, 0, 255));
    canvas->setMap(map);
    setRect(*table, 2, 10, 20, 30, 25);
    table->setSelected(2, true);
    app()._EditCopy_Action();
    EXPECT_EQ(clipboardImage(), map);
    app()._EditCopyPictWithRects_Action();
    const QImage copied = clipboardImage();
    ASSERT_EQ(copied.size(), QSize(314, 491));
    EXPECT_EQ(copied.pixel(10, 20), in16Bits(MapPainting::kHighlightedColour));
    EXPECT_EQ(copied.pixel(11, 21), in16Bits(qRgb(0, 0, 255)));

    // A picture that cannot be made: the message, and the clipboard keeps what it had.
    clipboard().setText(u"kept"_s);
    canvas->resize(0, 0);
    app()._EditCopyPictWithRects_Action();
    EXPECT_EQ(script().messages, QStringList{u"Not enough memory to create picture for export."_s});
    EXPECT_EQ(clipboard().text(), u"kept"_s);
}

TEST_F(ClipboardTest, PastedPicturesOfAnySizeBecomeTheMapAndTheCanvasKeepsItsSize) {
    const QImage large = markedPicture(640, 480, qRgb(0, 100, 0));
    clipboard().setImage(large);
    app()._EditPaste_Action();
    EXPECT_EQ(rgb32(canvas->MasterBackground), large);
    EXPECT_EQ(canvas->size(), QSize(314, 491));

    const QImage small = markedPicture(100, 80, qRgb(100, 0, 0));
    clipboard().setImage(small);
    app()._EditPaste_Action();
    EXPECT_EQ(rgb32(canvas->MasterBackground), small);
    EXPECT_EQ(canvas->size(), QSize(314, 491));

    clipboard().setText(u"text only"_s); // nothing to paste: nothing happens
    app()._EditPaste_Action();
    EXPECT_EQ(rgb32(canvas->MasterBackground), small);
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
    clipboard().setText(u"untouched"_s);
    for (bool (App::*command)() :
         {&App::_EditCopyListbox_Action, &App::_EditCopy_Action, &App::_EditCopyPictWithRects_Action,
          &App::_EditSelectallincludesheader_Action, &App::_EditSelectAllListbox_Action})
        (app().*command)();
    EXPECT_EQ(clipboard().text(), u"untouched"_s);
    EXPECT_TRUE(clipboardImage().isNull());
    EXPECT_EQ(selectedRows(), 1);
    EXPECT_TRUE(table->Selected(2));
    EXPECT_FALSE(app().gSelectAllIncludesHeader);

    app().OvWindowInit(window->myWindowIndex); // back in front, the same commands act again
    app()._EditSelectAllListbox_Action();
    EXPECT_EQ(selectedRows(), 9);
}

} // namespace
