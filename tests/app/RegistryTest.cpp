// The ten file slots: opening, bringing forward, new files from scratch, closing.
#include "GuiTestSupport.h"

#include "platform/WindowList.h"
#include "table/OvDataListBox.h"
#include "windows/OvEditorWindow.h"
#include "windows/mainWindow.h"

#include <QCoreApplication>
#include <QPushButton>

namespace {

void closeAndFlush(QWidget* window) {
    window->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

} // namespace

using Registry = GuiTest;

TEST_F(Registry, OpeningAnOpenSlotBringsItsWindowForwardWithoutADialog) {
    OvEditorWindow* first = openSlot(3, QString());
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(script().openRequests.size(), 1u);
    EXPECT_EQ(first->windowTitle(), QStringLiteral("OvData3"));
    EXPECT_EQ(first->myWindowIndex, 3);

    app()._myAboutMenuItem_Action();
    ASSERT_NE(app().Window(0), first);
    app()._Ov3MenuItem_Action();
    EXPECT_EQ(app().OvWindow[3], first);
    EXPECT_EQ(script().openRequests.size(), 1u) << "no second dialog";
    EXPECT_EQ(app().Window(0), first) << "the window comes to the front";
}

TEST_F(Registry, AClosedSlotIsEmptyAgainAndReopensWithADialog) {
    OvEditorWindow* first = openSlot(3, QString());
    closeAndFlush(first);
    EXPECT_FALSE(app().OvWindowVisible[3]);
    EXPECT_TRUE(app().OvWindow[3].isNull());

    OvEditorWindow* second = openSlot(3, QString());
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(script().openRequests.size(), 2u);
    EXPECT_TRUE(app().OvWindowVisible[3]);
}

TEST_F(Registry, OnlySlotsZeroToNineOpen) {
    app().OvWindowInit(10);
    app().OvWindowInit(-1);
    EXPECT_TRUE(script().openRequests.empty());
    EXPECT_FALSE(app().OvWindowVisible[10]);
}

TEST_F(Registry, NewFromScratchUsesSlotFourWithAOneSectorModel) {
    OvEditorWindow* window = newFromScratch();
    ASSERT_EQ(app().OvWindow[4], window);
    EXPECT_EQ(window->windowTitle(), QStringLiteral("OvData4"));
    EXPECT_TRUE(script().openRequests.empty()) << "no dialog for a new file";
    OvDataListBox* box = window->thisListBox;
    EXPECT_EQ(box->OvResourceID, 1018);
    EXPECT_EQ(box->OvNumberOfSectors, 1);
    EXPECT_EQ(box->SectorID[0], 4);
    EXPECT_EQ(box->SectorName[0], "<new sector 4>");
    ASSERT_EQ(box->ListCount(), 1);
    EXPECT_EQ(box->Cell(0, OvDataListBox::ColName), QStringLiteral("<new sector 4>"));
    EXPECT_FALSE(window->PushButtonAddSector->isEnabled());
    EXPECT_FALSE(window->PushButtonDelSector->isEnabled());
    EXPECT_TRUE(window->PushButtonBatnames->isEnabled());
    EXPECT_TRUE(window->isModified()) << "a new file exists only in memory";
}

TEST_F(Registry, NewFromScratchFillsSlotsFourToNineThenRefuses) {
    for (int slot = 4; slot <= 9; ++slot) {
        app()._OvNewMenuItem_Action();
        ASSERT_FALSE(app().OvWindow[static_cast<std::size_t>(slot)].isNull()) << slot;
    }
    EXPECT_TRUE(script().messages.isEmpty());
    app()._OvNewMenuItem_Action();
    EXPECT_EQ(script().messages, QStringList{QStringLiteral("sorry, only up to 9 OvData-files are possible.")});
    for (int slot = 0; slot < 4; ++slot)
        EXPECT_TRUE(app().OvWindow[static_cast<std::size_t>(slot)].isNull()) << "slots 0 to 3 are never used";
}

TEST_F(Registry, ANewFileInSlotFourBlocksOpeningOvDataFour) {
    OvEditorWindow* made = newFromScratch();
    app()._Ov4MenuItem_Action();
    EXPECT_TRUE(script().openRequests.empty());
    EXPECT_EQ(app().OvWindow[4], made);
    EXPECT_EQ(app().Window(0), made);
}

TEST_F(Registry, ButtonsFollowTheSlot) {
    OvEditorWindow* overview = openSlot(0, QString());
    OvEditorWindow* sector = openSlot(2, QString());
    for (QPushButton* b : {overview->PushButtonAddSector, overview->PushButtonDelSector, overview->PushButtonBatnames})
        EXPECT_TRUE(b->isEnabled()) << b->objectName().toStdString();
    for (QPushButton* b : {sector->PushButtonAddSector, sector->PushButtonDelSector, sector->PushButtonBatnames})
        EXPECT_FALSE(b->isEnabled()) << b->objectName().toStdString();
}

TEST_F(Registry, CloseClosesTheFrontWindowAndTheLastOneQuits) {
    mainWindow* about = app().aboutWindow();
    WindowList::instance().bringToFront(about);
    OvEditorWindow* editor = openSlot(1, QString());
    ASSERT_EQ(app().WindowCount(), 2);
    ASSERT_EQ(app().Window(0), editor);

    app()._FileClose_Action();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(app().OvWindow[1].isNull());
    EXPECT_EQ(app().WindowCount(), 1);
    EXPECT_EQ(app().Window(0), about);

    // With one window left "Close" quits, which closes that window too.
    app()._FileClose_Action();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(app().WindowCount(), 0);
}

TEST_F(Registry, AboutAndKnownLimitsExistOnce) {
    app()._myAboutMenuItem_Action();
    mainWindow* about = app().aboutWindow();
    app()._myAboutMenuItem_Action();
    EXPECT_EQ(app().aboutWindow(), about);
    EXPECT_EQ(app().Window(0), about);

    app()._InfoLimitsMenuItem_Action();
    QWidget* limits = app().Window(0);
    EXPECT_EQ(limits->windowTitle(), QStringLiteral("Known Limits"));
    app()._InfoLimitsMenuItem_Action();
    EXPECT_EQ(app().Window(0), limits);
    EXPECT_EQ(app().WindowCount(), 2);

    // A closed About window is gone; the command makes a new one.
    closeAndFlush(about);
    app()._myAboutMenuItem_Action();
    EXPECT_EQ(app().WindowCount(), 2);
    EXPECT_EQ(app().Window(0)->windowTitle(), QStringLiteral("About Mapquill"));
}

TEST_F(Registry, StartStateOfTheSettings) {
    EXPECT_FALSE(app().gVersion.isEmpty());
    EXPECT_EQ(app().gVersion, QCoreApplication::applicationVersion());
    EXPECT_TRUE(app().gUseFileUI);
    EXPECT_TRUE(app().gUseColorCursors);
    EXPECT_FALSE(app().gSelectAllIncludesHeader);
    EXPECT_TRUE(app().OvUIfileAbsolutePath.isEmpty());
    EXPECT_TRUE(app().OvIntrfaceFileAbsolutePath.isEmpty());
}
