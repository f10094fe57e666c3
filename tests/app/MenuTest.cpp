// The shared menu bar: its tree, shortcuts, radio pairs, start settings and enabled items.
#include "AppTestHelpers.h"
#include "windows/mainWindow.h"

#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>

using Menus = GuiTest;

namespace {

// The captions of one window's menu in display order, joined by "|" ("-" for a separator).
QString captionsOf(QMainWindow* window, const char* menuName) {
    QStringList captions;
    if (const auto* menu = window->menuBar()->findChild<QMenu*>(QLatin1String(menuName)))
        for (const QAction* action : menu->actions())
            captions << (action->isSeparator() ? u"-"_s : action->text());
    return captions.join(u'|');
}

} // namespace

TEST_F(Menus, TheTreeHasEveryItemInOrder) {
    OvEditorWindow* window = newFromScratch();
    QString open;
    for (int slot = 0; slot <= 9; ++slot)
        open += u"Open OvData%1...|"_s.arg(slot);
    EXPECT_EQ(
        captionsOf(window, "FileMenu"),
        u"New OvData from scratch...|"_s + open +
            u"Open Recent|Save|Close|-|Use PC-file 'Intrface.brm'|Use resource-fork-file 'UI'|-|Quit"_s);
    EXPECT_EQ(captionsOf(window, "EditMenu"),
              u"Undo|Redo|-|Cut|Copy picture|Copy picture with visible rectangles|"
              u"Paste picture|Clear|-|Copy listbox|Select all of listbox|"
              u"Select all (including header)"_s);
    EXPECT_EQ(captionsOf(window, "ViewMenu"),
              u"Zoom In|Zoom Out|Actual Size|-|100%|200%|300%|400%|600%|800%"_s);
    EXPECT_EQ(captionsOf(window, "HelpMenu"),
              u"Known Limits...|-|Use color cursors|Use b/w cursors|About Mapquill..."_s);
    QStringList titles;
    for (const QAction* action : window->menuBar()->actions())
        titles << action->text();
    EXPECT_EQ(titles.join(u'|'), u"&File|&Edit|&View|Informations"_s);
}

TEST_F(Menus, Shortcuts) {
    const std::pair<const char*, const char*> expected[] = {
        {"FileClose", "Ctrl+W"},     {"FileQuit", "Ctrl+Q"},        {"EditUndo", "Ctrl+Z"},
        {"EditCut", "Ctrl+X"},       {"FileSave", "Ctrl+S"},        {"EditCopy", "Ctrl+C"},
        {"EditPaste", "Ctrl+V"},     {"EditCopyListbox", "Ctrl+T"}, {"EditSelectAllListbox", "Ctrl+A"},
        {"OvNewMenuItem", ""},       {"EditCopyPictWithRects", ""}, {"ViewZoomOut", "Ctrl+-"},
        {"ViewActualSize", "Ctrl+0"}};
    for (const auto& [name, keys] : expected)
        EXPECT_EQ(item(name)->shortcut(), QKeySequence(QLatin1String(keys))) << name;
    EXPECT_EQ(item("EditRedo")->shortcuts(), QKeySequence::keyBindings(QKeySequence::Redo));
    EXPECT_EQ(item("ViewZoomIn")->shortcuts(),
              (QList<QKeySequence>{QKeySequence(u"Ctrl+="_s), QKeySequence(u"Ctrl++"_s)}));
    EXPECT_EQ(item("FileQuit")->menuRole(), QAction::QuitRole);
    EXPECT_EQ(item("myAboutMenuItem")->menuRole(), QAction::AboutRole);
}

TEST_F(Menus, RadioPairsStartRightKeepExactlyOneCheckAndTheFlagInStepInEveryWindow) {
    OvEditorWindow* editor = newFromScratch();
    mainWindow* about = app().aboutWindow();
    EXPECT_FALSE(app().gSelectAllIncludesHeader);
    EXPECT_TRUE(app().OvUIfileAbsolutePath.isEmpty());
    EXPECT_TRUE(app().OvIntrfaceFileAbsolutePath.isEmpty());
    const struct {
        QAction *on, *off; // "on" sets the flag
        bool App::*flag;
    } pairs[] = {{FileUseUI(), FileUseIntrfaceBRM(), &App::gUseFileUI},
                 {SettingsCursorColor(), SettingsCursorBW(), &App::gUseColorCursors}};
    for (const auto& p : pairs) {
        const auto expect = [&](bool flag, const char* step) {
            EXPECT_EQ(app().*p.flag, flag) << p.on->text().toStdString() << ": " << step;
            EXPECT_EQ(p.on->isChecked(), flag) << p.on->text().toStdString() << ": " << step;
            EXPECT_EQ(p.off->isChecked(), !flag) << p.on->text().toStdString() << ": " << step;
        };
        expect(true, "start");
        p.off->trigger();
        expect(false, "other item");
        p.off->trigger();
        expect(false, "the checked item again");
        p.on->trigger();
        expect(true, "back");
        for (QMainWindow* window : {static_cast<QMainWindow*>(editor), static_cast<QMainWindow*>(about)}) {
            int shown = 0; // every window's menus show the same action objects
            for (const QMenu* menu : window->menuBar()->findChildren<QMenu*>())
                shown += menu->actions().count(p.on) + menu->actions().count(p.off);
            EXPECT_EQ(shown, 2) << window->windowTitle().toStdString();
        }
    }
}

TEST_F(Menus, WithNoWindowOpenItemsAreEnabledEditCommandsDoNothingAndOpenItemsOpenTheirSlot) {
    // Everything but Undo and Redo, which have nothing to act on.
    for (QAction* action : MenuBar1::instance().allItems()) {
        const bool history = action == item("EditUndo") || action == item("EditRedo");
        EXPECT_EQ(action->isSeparator() || action->isEnabled(), !history)
            << action->objectName().toStdString();
    }
    QGuiApplication::clipboard()->setText(u"alone"_s);
    for (const char* name : {"EditCopy", "EditPaste", "EditCopyListbox", "EditSelectAllListbox",
                             "EditSelectallincludesheader", "EditCopyPictWithRects"})
        item(name)->trigger();
    EXPECT_TRUE(script().messages.isEmpty());
    EXPECT_EQ(script().beeps, 0);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), u"alone"_s);

    script().openAnswers.push_back(QString());
    item("Ov7MenuItem")->trigger();
    EXPECT_FALSE(app().OvWindow[7].isNull());
    item("OvNewMenuItem")->trigger();
    EXPECT_FALSE(app().OvWindow[4].isNull());
}

TEST_F(Menus, UndoCutAndClearServeTheFocusedTextField) {
    OvEditorWindow* window = newFromScratch();
    auto* field = new QLineEdit(window->content());
    field->show();
    QApplication::setActiveWindow(window);
    field->setFocus();
    ASSERT_EQ(QApplication::focusWidget(), field);

    field->setText(u"Ashgrove"_s);
    field->setSelection(0, 3);
    item("EditCut")->trigger();
    EXPECT_EQ(field->text(), u"grove"_s);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), u"Ash"_s);
    item("EditUndo")->trigger();
    EXPECT_EQ(field->text(), u"Ashgrove"_s);
    field->setSelection(3, 5);
    item("EditClear")->trigger();
    EXPECT_EQ(field->text(), u"Ash"_s);
    item("EditClear")->trigger(); // nothing selected: nothing cleared
    EXPECT_EQ(field->text(), u"Ash"_s);
}
