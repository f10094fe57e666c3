// The fixed-coordinate layouts and their resize rules.
#include "GuiTestSupport.h"

#include "map/OvPictCanvas.h"
#include "table/OvDataListBox.h"
#include "windows/LimitsWindow.h"
#include "windows/OvEditorWindow.h"
#include "windows/mainWindow.h"

#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>

using Layout = GuiTest;

namespace {

QRect geometryOf(OvEditorWindow* window, const char* name) {
    auto* control = window->content()->findChild<QWidget*>(QString::fromLatin1(name));
    return control ? control->geometry() : QRect();
}

void resizeContent(QWidget* content, int w, int h) { content->resize(w, h); }

} // namespace

TEST_F(Layout, ControlsStartAtTheirDesignedPlaces) {
    OvEditorWindow* window = newFromScratch();
    EXPECT_EQ(window->Control(0), window->thisListBox) << "the table is control 0";
    EXPECT_EQ(window->ControlCount(), 20);
    const std::pair<const char*, QRect> expected[] = {
        {"thisListBox", {0, 27, 542, 441}},         {"PreviewCanvas", {550, 14, 314, 491}},
        {"PushButtonLoad", {20, 475, 150, 20}},     {"StaticText1", {550, 505, 314, 20}},
        {"PushButtonSave", {20, 533, 150, 20}},     {"PushButtonAddSector", {190, 475, 100, 20}},
        {"PushButtonAddBattle", {410, 475, 100, 20}}, {"PushButtonUnselect", {550, 531, 100, 16}},
        {"PushButtonRedraw", {661, 531, 100, 16}},  {"PushButtonDelSector", {190, 504, 100, 20}},
        {"PushButtonReloadGraphics", {20, 504, 150, 20}}, {"PopupMenuID", {185, 2, 47, 18}},
        {"StaticText4", {249, 3, 145, 18}},         {"PopupMenuPICT", {393, 3, 149, 18}},
        {"PushButtonBatnames", {190, 533, 150, 20}}};
    for (const auto& [name, rect] : expected)
        EXPECT_EQ(geometryOf(window, name), rect) << name;
    EXPECT_EQ(window->content()->size(), QSize(868, 560));
    EXPECT_EQ(window->PopupMenuPICT->count(), 12);
    EXPECT_EQ(window->PopupMenuPICT->itemText(5), QStringLiteral("1018 ppat/ext."));
    EXPECT_EQ(window->PopupMenuID->count(), 9);
    EXPECT_TRUE(window->thisListBox->toolTip().contains(QStringLiteral("\"View\"")));
}

TEST_F(Layout, GrowingTheWindowMovesTheMapAndTheButtonRows) {
    OvEditorWindow* window = newFromScratch();
    resizeContent(window->content(), 1000, 700);
    EXPECT_EQ(window->PreviewCanvas->x(), 682);
    EXPECT_EQ(window->PreviewCanvas->y(), 14);
    EXPECT_EQ(window->thisListBox->size(), QSize(674, 581));
    EXPECT_EQ(window->PushButtonLoad->y(), 615);
    EXPECT_EQ(window->PushButtonAddBattle->y(), 615);
    EXPECT_EQ(window->PushButtonReloadGraphics->y(), 644);
    EXPECT_EQ(window->PushButtonDelOps->y(), 644);
    EXPECT_EQ(window->PushButtonSave->y(), 673);
    EXPECT_EQ(window->PushButtonBatnames->y(), 673);
    EXPECT_EQ(window->PushButtonUnselect->pos(), QPoint(682, 531));
    EXPECT_EQ(window->PushButtonRedraw->x(), 793);
    EXPECT_EQ(window->StaticText1->geometry(), QRect(682, 505, 314, 20));
    EXPECT_EQ(window->thisListBox->horizontalHeader()->sectionSize(0), 50);
    EXPECT_EQ(window->thisListBox->horizontalHeader()->sectionSize(1), 70);
}

TEST_F(Layout, TheWideColumnsStartAtATableOf580) {
    OvEditorWindow* window = newFromScratch();
    resizeContent(window->content(), 906, 560);
    EXPECT_EQ(window->thisListBox->width(), 580);
    EXPECT_EQ(window->thisListBox->horizontalHeader()->sectionSize(0), 50);
    resizeContent(window->content(), 905, 560);
    EXPECT_EQ(window->thisListBox->horizontalHeader()->sectionSize(0), 40);
    EXPECT_EQ(window->thisListBox->horizontalHeader()->sectionSize(1), 50);
}

TEST_F(Layout, GrowingOnlyTheHeightLeavesTheMapWhereItIs) {
    OvEditorWindow* window = newFromScratch();
    resizeContent(window->content(), 868, 660);
    EXPECT_EQ(window->PreviewCanvas->geometry(), QRect(550, 14, 314, 491));
    EXPECT_EQ(window->thisListBox->height(), 541);
    EXPECT_EQ(window->PushButtonSave->y(), 633);
}

TEST_F(Layout, TheEditingWindowHasAMinimumSize) {
    OvEditorWindow* window = newFromScratch();
    window->show();
    window->resize(200, 200);
    EXPECT_GE(window->content()->width(), 868);
    EXPECT_GE(window->content()->height(), 560);
}

TEST_F(Layout, AboutWindowKeepsItsBottomGroupAtTheBottom) {
    app()._myAboutMenuItem_Action();
    mainWindow* about = app().aboutWindow();
    resizeContent(about->content(), 480, 445);
    EXPECT_EQ(about->StaticTextWarning->y(), 340);
    EXPECT_EQ(about->StaticTextCopyright->y(), 385);
    EXPECT_EQ(about->StaticTextVersion->y(), 400);
    EXPECT_EQ(about->CanvasIcon->y(), 370);
    EXPECT_EQ(about->EditFieldMainHelp->size(), QSize(458, 274));

    resizeContent(about->content(), 600, 600);
    EXPECT_EQ(about->StaticTextWarning->geometry(), QRect(4, 495, 592, 40));
    EXPECT_EQ(about->CanvasIcon->y(), 525);
    EXPECT_EQ(about->StaticTextCopyright->y(), 540);
    EXPECT_EQ(about->StaticTextVersion->y(), 555);
    EXPECT_EQ(about->EditFieldMainHelp->size(), QSize(578, 429));
    EXPECT_EQ(about->StaticText1->width(), 592);
}

TEST_F(Layout, AboutTextsAndVersion) {
    mainWindow* about = app().aboutWindow();
    EXPECT_EQ(about->windowTitle(), QStringLiteral("About Mapquill"));
    EXPECT_EQ(about->StaticTextVersion->text(), app().gVersion);
    const QStringList help = about->EditFieldMainHelp->toPlainText().split(QLatin1Char('\n'));
    EXPECT_EQ(help.size(), 21);
    for (const QString& line : help)
        EXPECT_TRUE(line.startsWith(QStringLiteral("- "))) << line.toStdString();
    EXPECT_TRUE(help[15].contains(QStringLiteral(
        "\"Mouse dragging will only work if you have unselected all entries (press button 'Unselect').\"")));
    EXPECT_FALSE(about->StaticTextCopyright->text().isEmpty());
}

TEST_F(Layout, KnownLimitsTextFollowsTheWindow) {
    app()._InfoLimitsMenuItem_Action();
    auto* limits = qobject_cast<LimitsWindow*>(app().Window(0));
    ASSERT_NE(limits, nullptr);
    EXPECT_EQ(LimitsWindow::limitsText().split(QStringLiteral("\n\n")).size(), 12);
    EXPECT_TRUE(LimitsWindow::limitsText().contains(QStringLiteral("This map ID must not be identical with the battle number.")));
    resizeContent(limits->content(), 700, 600);
    EXPECT_EQ(limits->StaticText1->geometry(), QRect(7, 9, 686, 582));
}
