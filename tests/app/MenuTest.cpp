// The shared menu bar: its tree, shortcuts, radio pairs and enabled items.
#include "GuiTestSupport.h"

#include "app/MenuBar1.h"
#include "windows/OvEditorWindow.h"
#include "windows/mainWindow.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>

using Menus = GuiTest;

namespace {

// The captions of one window's menu, in display order ("-" for a separator).
QStringList captionsOf(QMainWindow* window, const char* menuName) {
    QStringList captions;
    const auto* menu = window->menuBar()->findChild<QMenu*>(QString::fromLatin1(menuName));
    if (!menu)
        return captions;
    for (const QAction* action : menu->actions())
        captions << (action->isSeparator() ? QStringLiteral("-") : action->text());
    return captions;
}

} // namespace

TEST_F(Menus, TheTreeHasEveryItemInOrder) {
    OvEditorWindow* window = newFromScratch();
    const QStringList file = captionsOf(window, "FileMenu");
    ASSERT_EQ(file.size(), 17);
    EXPECT_EQ(file.front(), QStringLiteral("New OvData from scratch..."));
    EXPECT_EQ(file[1], QStringLiteral("Open OvData0..."));
    EXPECT_EQ(file[10], QStringLiteral("Open OvData9..."));
    EXPECT_EQ(file.mid(11), (QStringList{QStringLiteral("Close"), QStringLiteral("-"),
                                         QStringLiteral("Use PC-file 'Intrface.brm'"),
                                         QStringLiteral("Use resource-fork-file 'UI'"), QStringLiteral("-"),
                                         QStringLiteral("Quit")}));
    EXPECT_EQ(captionsOf(window, "EditMenu"),
              (QStringList{QStringLiteral("Undo"), QStringLiteral("-"), QStringLiteral("Cut"),
                           QStringLiteral("Copy picture"), QStringLiteral("Copy picture with visible rectangles"),
                           QStringLiteral("Paste picture"), QStringLiteral("Clear"), QStringLiteral("-"),
                           QStringLiteral("Copy listbox"), QStringLiteral("Select all of listbox"),
                           QStringLiteral("Select all (including header)")}));
    EXPECT_EQ(captionsOf(window, "HelpMenu"),
              (QStringList{QStringLiteral("Known Limits..."), QStringLiteral("-"), QStringLiteral("Use color cursors"),
                           QStringLiteral("Use b/w cursors"), QStringLiteral("About Mapquill...")}));
    QStringList titles;
    for (const QAction* action : window->menuBar()->actions())
        titles << action->text();
    EXPECT_EQ(titles, (QStringList{QStringLiteral("&File"), QStringLiteral("&Edit"), QStringLiteral("Informations")}));
}

TEST_F(Menus, Shortcuts) {
    const MenuBar1& bar = MenuBar1::instance();
    const std::pair<const char*, const char*> expected[] = {
        {"FileClose", "Ctrl+W"}, {"FileQuit", "Ctrl+Q"},     {"EditUndo", "Ctrl+Z"},
        {"EditCut", "Ctrl+X"},   {"EditCopy", "Ctrl+C"},     {"EditPaste", "Ctrl+V"},
        {"EditCopyListbox", "Ctrl+T"}, {"EditSelectAllListbox", "Ctrl+A"}, {"OvNewMenuItem", ""},
        {"EditCopyPictWithRects", ""}};
    for (const auto& [name, keys] : expected)
        EXPECT_EQ(bar.item(QString::fromLatin1(name))->shortcut(), QKeySequence(QString::fromLatin1(keys))) << name;
    EXPECT_EQ(bar.item(QStringLiteral("FileQuit"))->menuRole(), QAction::QuitRole);
    EXPECT_EQ(bar.item(QStringLiteral("myAboutMenuItem"))->menuRole(), QAction::AboutRole);
}

TEST_F(Menus, RadioPairsKeepExactlyOneCheckAndTheFlagInStep) {
    QAction* ui = FileUseUI();
    QAction* brm = FileUseIntrfaceBRM();
    EXPECT_TRUE(ui->isChecked());
    EXPECT_FALSE(brm->isChecked());

    brm->trigger();
    EXPECT_FALSE(app().gUseFileUI);
    EXPECT_TRUE(brm->isChecked());
    EXPECT_FALSE(ui->isChecked());
    brm->trigger(); // choosing the checked item again keeps it checked
    EXPECT_TRUE(brm->isChecked());
    EXPECT_FALSE(ui->isChecked());
    EXPECT_FALSE(app().gUseFileUI);
    ui->trigger();
    EXPECT_TRUE(app().gUseFileUI);
    EXPECT_TRUE(ui->isChecked());
    EXPECT_FALSE(brm->isChecked());

    SettingsCursorBW()->trigger();
    EXPECT_FALSE(app().gUseColorCursors);
    EXPECT_TRUE(SettingsCursorBW()->isChecked());
    EXPECT_FALSE(SettingsCursorColor()->isChecked());
    SettingsCursorBW()->trigger();
    EXPECT_TRUE(SettingsCursorBW()->isChecked());
    SettingsCursorColor()->trigger();
    EXPECT_TRUE(app().gUseColorCursors);
    EXPECT_FALSE(SettingsCursorBW()->isChecked());
}

TEST_F(Menus, EveryWindowShowsTheSameActions) {
    OvEditorWindow* editor = newFromScratch();
    mainWindow* about = app().aboutWindow();
    FileUseIntrfaceBRM()->trigger();
    for (QMainWindow* window : {static_cast<QMainWindow*>(editor), static_cast<QMainWindow*>(about)}) {
        auto* file = window->menuBar()->findChild<QMenu*>(QStringLiteral("FileMenu"));
        ASSERT_NE(file, nullptr);
        EXPECT_TRUE(file->actions().contains(FileUseIntrfaceBRM()));
        EXPECT_TRUE(FileUseIntrfaceBRM()->isChecked());
    }
}

TEST_F(Menus, ItemsWithCommandsAreEnabledWithNoWindowOpen) {
    for (QAction* action : MenuBar1::instance().allItems()) {
        if (!action->isSeparator()) {
            EXPECT_TRUE(action->isEnabled()) << action->objectName().toStdString();
        }
    }
    // The edit commands find no editing window and do nothing.
    for (const char* name : {"EditCopy", "EditPaste", "EditCopyListbox", "EditSelectAllListbox",
                             "EditSelectallincludesheader", "EditCopyPictWithRects"})
        MenuBar1::instance().item(QString::fromLatin1(name))->trigger();
    EXPECT_TRUE(script().messages.isEmpty());
    EXPECT_EQ(script().beeps, 0);
}

TEST_F(Menus, OpenItemsOpenTheirSlot) {
    script().openAnswers.push_back(QString());
    MenuBar1::instance().item(QStringLiteral("Ov7MenuItem"))->trigger();
    EXPECT_FALSE(app().OvWindow[7].isNull());
    MenuBar1::instance().item(QStringLiteral("OvNewMenuItem"))->trigger();
    EXPECT_FALSE(app().OvWindow[4].isNull());
}

TEST_F(Menus, UndoCutAndClearServeTheFocusedTextField) {
    OvEditorWindow* window = newFromScratch();
    auto* field = new QLineEdit(window->content());
    field->show();
    QApplication::setActiveWindow(window);
    field->setFocus();
    ASSERT_EQ(QApplication::focusWidget(), field);

    field->setText(QStringLiteral("Ashgrove"));
    field->setSelection(0, 3);
    MenuBar1::instance().item(QStringLiteral("EditCut"))->trigger();
    EXPECT_EQ(field->text(), QStringLiteral("grove"));
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("Ash"));
    MenuBar1::instance().item(QStringLiteral("EditUndo"))->trigger();
    EXPECT_EQ(field->text(), QStringLiteral("Ashgrove"));
    field->setSelection(3, 5);
    MenuBar1::instance().item(QStringLiteral("EditClear"))->trigger();
    EXPECT_EQ(field->text(), QStringLiteral("Ash"));
    MenuBar1::instance().item(QStringLiteral("EditClear"))->trigger(); // nothing selected: nothing cleared
    EXPECT_EQ(field->text(), QStringLiteral("Ash"));
}
