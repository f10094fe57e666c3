// The fixed-coordinate layouts and their resize rules.
#include "AppTestHelpers.h"
#include "map/OvPictCanvas.h"
#include "table/OvDataListBox.h"
#include "windows/mainWindow.h"

#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>

using Layout = GuiTest;

TEST_F(Layout, ControlsStartAtTheirDesignedPlaces) {
    OvEditorWindow* window = newFromScratch();
    EXPECT_EQ(window->Control(0), window->thisListBox) << "the table is control 0";
    EXPECT_EQ(window->ControlCount(), 20);
    const std::pair<const char*, QRect> expected[] = {{"thisListBox", {0, 27, 542, 441}},
                                                      {"PreviewCanvas", {550, 14, 314, 491}},
                                                      {"PushButtonLoad", {20, 475, 150, 20}},
                                                      {"StaticText1", {550, 505, 314, 20}},
                                                      {"PushButtonSave", {20, 533, 150, 20}},
                                                      {"PushButtonAddSector", {190, 475, 100, 20}},
                                                      {"PushButtonAddBattle", {410, 475, 100, 20}},
                                                      {"PushButtonUnselect", {550, 531, 100, 16}},
                                                      {"PushButtonRedraw", {661, 531, 100, 16}},
                                                      {"PushButtonDelSector", {190, 504, 100, 20}},
                                                      {"PushButtonReloadGraphics", {20, 504, 150, 20}},
                                                      {"PopupMenuID", {185, 2, 47, 18}},
                                                      {"StaticText4", {249, 3, 145, 18}},
                                                      {"PopupMenuPICT", {393, 3, 149, 18}},
                                                      {"PushButtonBatnames", {190, 533, 150, 20}}};
    for (const auto& [name, rect] : expected) {
        auto* control = window->content()->findChild<QWidget*>(QLatin1String(name));
        EXPECT_EQ(control ? control->geometry() : QRect(), rect) << name;
    }
    EXPECT_EQ(window->content()->size(), QSize(868, 560));
    EXPECT_EQ(window->PopupMenuPICT->count(), 12);
    EXPECT_EQ(window->PopupMenuPICT->itemText(5), u"1018 ppat/ext."_s);
    EXPECT_EQ(window->PopupMenuID->count(), 9);
    EXPECT_TRUE(window->thisListBox->toolTip().contains(u"\"View\""_s));

    window->show();
    window->resize(200, 200);
    EXPECT_GE(window->content()->width(), 868) << "the minimum size";
    EXPECT_GE(window->content()->height(), 560);
}

TEST_F(Layout, ResizingGrowsTheMapAreaMovesTheButtonRowsAndWidensColumnsFromATableOf580) {
    OvEditorWindow* window = newFromScratch();
    // Beyond 868 x 560 the map area takes half the extra width and all the extra height, keeping
    // 4 px to the right edge; the table fills the rest, the button rows follow its bottom. At
    // zoom 1 the canvas is the map's size at the area's top right (zoomed: the map tests).
    const struct {
        int w, h, areaX, areaW, areaH, mapX, tableW, tableH, column0, column1;
    } cases[] = {{1000, 700, 616, 380, 631, 682, 608, 581, 50, 70},
                 {960, 560, 596, 360, 491, 642, 588, 441, 50, 70},
                 {940, 560, 586, 350, 491, 622, 578, 441, 40, 50},
                 {868, 660, 550, 314, 591, 550, 542, 541, 40, 50},
                 {868, 560, 550, 314, 491, 550, 542, 441, 40, 50}};
    for (const auto& c : cases) {
        window->content()->resize(c.w, c.h);
        const std::string size = std::to_string(c.w) + "x" + std::to_string(c.h);
        EXPECT_EQ(window->mapArea(), QRect(c.areaX, 14, c.areaW, c.areaH)) << size;
        EXPECT_EQ(window->PreviewCanvas->geometry(), QRect(c.mapX, 14, 314, 491)) << size;
        const int under = 14 + c.areaH;
        EXPECT_EQ(window->StaticText1->geometry(), QRect(c.areaX, under, c.areaW, 20)) << size;
        EXPECT_EQ(window->PushButtonUnselect->pos(), QPoint(c.areaX, under + 26)) << size;
        EXPECT_EQ(window->PushButtonRedraw->pos(), QPoint(c.areaX + 111, under + 26)) << size;
        EXPECT_EQ(window->MapReadout->geometry(), QRect(c.areaX, under + 42, c.areaW, 13)) << size;
        EXPECT_EQ(window->thisListBox->geometry(), QRect(0, 27, c.tableW, c.tableH)) << size;
        const std::initializer_list<QPushButton*> rows[] = {
            {window->PushButtonLoad, window->PushButtonAddSector, window->PushButtonAddOps,
             window->PushButtonAddBattle},
            {window->PushButtonReloadGraphics, window->PushButtonDelSector, window->PushButtonDelOps,
             window->PushButtonDelBattle},
            {window->PushButtonSave, window->PushButtonBatnames}};
        for (int row = 0; row < 3; ++row)
            for (const QPushButton* button : rows[row])
                EXPECT_EQ(button->y(), c.h - 85 + 29 * row)
                    << size << " " << button->objectName().toStdString();
        EXPECT_EQ(window->thisListBox->horizontalHeader()->sectionSize(0), c.column0) << size;
        EXPECT_EQ(window->thisListBox->horizontalHeader()->sectionSize(1), c.column1) << size;
    }
}

TEST_F(Layout, AboutWindowKeepsItsBottomGroupAtTheBottom) {
    app()._myAboutMenuItem_Action();
    mainWindow* about = app().aboutWindow();
    for (const QSize size : {QSize(480, 445), QSize(600, 600)}) {
        about->content()->resize(size);
        const int w = size.width(), h = size.height();
        EXPECT_EQ(about->StaticTextWarning->geometry(), QRect(4, h - 105, w - 8, 40)) << w;
        EXPECT_EQ(about->CanvasIcon->y(), h - 75) << w;
        EXPECT_EQ(about->StaticTextCopyright->y(), h - 60) << w;
        EXPECT_EQ(about->StaticTextVersion->y(), h - 45) << w;
        EXPECT_EQ(about->EditFieldMainHelp->size(), QSize(w - 22, h - 171)) << w;
        EXPECT_EQ(about->StaticText1->width(), w - 8) << w;
    }
}
