// The fixed-coordinate layouts and their resize rules.
#include "AppTestHelpers.h"
#include "map/OvPictCanvas.h"
#include "table/OvDataListBox.h"
#include "windows/OvEditorWindow.h"
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

TEST_F(Layout, ResizingMovesTheMapAndButtonRowsAndWidensColumnsFromATableOf580) {
    OvEditorWindow* window = newFromScratch();
    // The map keeps 4 px to the right edge, the table fills the rest, the button rows follow its bottom.
    const struct {
        int w, h, mapX, tableW, tableH, column0, column1;
    } cases[] = {{1000, 700, 682, 674, 581, 50, 70},
                 {906, 560, 588, 580, 441, 50, 70},
                 {905, 560, 587, 579, 441, 40, 50},
                 {868, 660, 550, 542, 541, 40, 50}};
    for (const auto& c : cases) {
        window->content()->resize(c.w, c.h);
        const std::string size = std::to_string(c.w) + "x" + std::to_string(c.h);
        EXPECT_EQ(window->PreviewCanvas->geometry(), QRect(c.mapX, 14, 314, 491)) << size;
        EXPECT_EQ(window->StaticText1->geometry(), QRect(c.mapX, 505, 314, 20)) << size;
        EXPECT_EQ(window->PushButtonUnselect->pos(), QPoint(c.mapX, 531)) << size;
        EXPECT_EQ(window->PushButtonRedraw->pos(), QPoint(c.mapX + 111, 531)) << size;
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
