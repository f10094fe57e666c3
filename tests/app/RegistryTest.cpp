// The ten file slots, the front window, new files from scratch, closing, About and Known Limits.
#include "AppTestHelpers.h"
#include "platform/WindowList.h"
#include "table/OvDataListBox.h"
#include "windows/LimitsWindow.h"
#include "windows/mainWindow.h"

#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QWindow>

using Registry = GuiTest;

TEST_F(Registry, AnOpenSlotComesForwardWithoutADialogAndAClosedOneReopensWithOne) {
    OvEditorWindow* first = openSlot(3, QString());
    ASSERT_NE(first, nullptr);
    // The title as shown: "OvData3", with Qt's marker while there are unsaved edits.
    EXPECT_EQ(first->windowHandle()->title(), u"OvData3"_s);
    app()._myAboutMenuItem_Action();
    ASSERT_NE(app().Window(0), first);
    app()._Ov3MenuItem_Action();
    EXPECT_EQ(app().OvWindow[3], first);
    EXPECT_EQ(script().openRequests.size(), 1u) << "no second dialog";
    EXPECT_EQ(app().Window(0), first) << "the window comes to the front";

    closeAndFlush(first);
    EXPECT_FALSE(app().OvWindowVisible[3]);
    EXPECT_TRUE(app().OvWindow[3].isNull());
    ASSERT_NE(openSlot(3, QString()), nullptr);
    EXPECT_EQ(script().openRequests.size(), 2u);
    EXPECT_TRUE(app().OvWindowVisible[3]);

    app().OvWindowInit(10); // only slots 0 to 9 exist
    app().OvWindowInit(-1);
    EXPECT_EQ(script().openRequests.size(), 2u);
    EXPECT_FALSE(app().OvWindowVisible[10]);
}

TEST_F(Registry, NewFromScratchFillsSlotsFourToNineWithOneSectorThenRefuses) {
    OvEditorWindow* window = newFromScratch();
    ASSERT_EQ(app().OvWindow[4], window);
    EXPECT_EQ(window->windowHandle()->title(), u"OvData4*"_s) << "a new file is unsaved";
    OvDataListBox* box = window->thisListBox;
    EXPECT_EQ(box->document().model().OvResourceID, 1018);
    EXPECT_EQ(box->document().model().SectorID[0], 4);
    ASSERT_EQ(box->ListCount(), 1);
    EXPECT_EQ(box->Cell(0, OvDataListBox::ColName), u"<new sector 4>"_s);
    EXPECT_TRUE(window->isModified()) << "a new file exists only in memory";

    app()._Ov4MenuItem_Action(); // the new file holds slot 4: no dialog, it comes forward
    EXPECT_EQ(app().OvWindow[4], window);
    EXPECT_EQ(app().Window(0), window);

    for (int slot = 5; slot <= 9; ++slot) {
        app()._OvNewMenuItem_Action();
        ASSERT_FALSE(app().OvWindow[static_cast<std::size_t>(slot)].isNull()) << slot;
    }
    EXPECT_TRUE(script().messages.isEmpty());
    app()._OvNewMenuItem_Action();
    EXPECT_EQ(script().messages, QStringList{u"sorry, only up to 9 OvData-files are possible."_s});
    for (int slot = 0; slot < 4; ++slot)
        EXPECT_TRUE(app().OvWindow[static_cast<std::size_t>(slot)].isNull()) << "slot " << slot << " used";
    EXPECT_TRUE(script().openRequests.empty()) << "no dialog for a new file";
}

TEST_F(Registry, ButtonsFollowTheSlot) {
    const struct {
        OvEditorWindow* window;
        bool sectors, batnames;
    } cases[] = {{openSlot(0, QString()), true, true},
                 {openSlot(2, QString()), false, false},
                 {newFromScratch(), false, true}};
    for (const auto& c : cases) {
        const std::string slot = c.window->windowTitle().toStdString();
        EXPECT_EQ(c.window->PushButtonAddSector->isEnabled(), c.sectors) << slot;
        EXPECT_EQ(c.window->PushButtonDelSector->isEnabled(), c.sectors) << slot;
        EXPECT_EQ(c.window->PushButtonBatnames->isEnabled(), c.batnames) << slot;
    }
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
    ASSERT_EQ(app().WindowCount(), 1);
    EXPECT_EQ(app().Window(0), about);
    app()._FileClose_Action(); // with one window left "Close" quits, which closes that window too
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(app().WindowCount(), 0);
}

TEST_F(Registry, AboutAndKnownLimitsExistOnceWithTheirTexts) {
    app()._myAboutMenuItem_Action();
    mainWindow* about = app().aboutWindow();
    app()._myAboutMenuItem_Action();
    EXPECT_EQ(app().aboutWindow(), about);
    EXPECT_EQ(app().Window(0), about);
    EXPECT_EQ(about->windowTitle(), u"About Mapquill"_s);
    EXPECT_FALSE(app().gVersion.isEmpty());
    EXPECT_EQ(about->StaticTextVersion->text(), app().gVersion);
    EXPECT_FALSE(about->StaticTextCopyright->text().isEmpty());
    const QStringList help = about->EditFieldMainHelp->toPlainText().split(QLatin1Char('\n'));
    ASSERT_EQ(help.size(), 21);
    for (const QString& line : help)
        EXPECT_TRUE(line.startsWith(u"- "_s)) << line.toStdString();
    EXPECT_TRUE(help[15].contains(
        u"\"Mouse dragging will only work if you have unselected all entries (press button 'Unselect').\""_s));

    app()._InfoLimitsMenuItem_Action();
    auto* limits = qobject_cast<LimitsWindow*>(app().Window(0));
    ASSERT_NE(limits, nullptr);
    EXPECT_EQ(limits->windowTitle(), u"Known Limits"_s);
    EXPECT_EQ(LimitsWindow::limitsText().split(u"\n\n"_s).size(), 12);
    EXPECT_TRUE(
        LimitsWindow::limitsText().contains(u"This map ID must not be identical with the battle number."_s));
    app()._InfoLimitsMenuItem_Action();
    EXPECT_EQ(app().Window(0), limits);
    EXPECT_EQ(app().WindowCount(), 2);
    limits->content()->resize(700, 600);
    EXPECT_EQ(limits->StaticText1->geometry(), QRect(7, 9, 686, 582));

    closeAndFlush(about); // a closed About window is gone; the command makes a new one
    app()._myAboutMenuItem_Action();
    EXPECT_EQ(app().WindowCount(), 2);
    EXPECT_EQ(app().Window(0)->windowTitle(), u"About Mapquill"_s);
}
