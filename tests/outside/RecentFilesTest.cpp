// File > Open Recent: the list kept in the settings, its menu, and the editor's use of it.
#include "app/RecentFiles.h"

#include "GuiTestSupport.h"
#include "app/MenuBar1.h"
#include "app/OpenFiles.h"
#include "table/OvDataListBox.h"
#include "windows/OvEditorWindow.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QSettings>

using namespace Qt::StringLiterals;

namespace {

class RecentFilesTest : public GuiTest {
protected:
    void SetUp() override {
        GuiTest::SetUp();
        ini = QDir(tempDir()).filePath(u"settings.ini"_s);
        app().recentFiles().setStorage(ini);
    }
    void TearDown() override {
        app().recentFiles().setStorage(QDir(tempDir()).filePath(u"after.ini"_s));
        GuiTest::TearDown();
    }
    QString file(int i) const { return u"/data/f%1/OvData1"_s.arg(i); }
    static QStringList menuTexts(QMenu* menu) {
        QStringList texts;
        for (const QAction* action : menu->actions())
            texts << (action->isSeparator() ? u"-"_s : action->text());
        return texts;
    }
    QString ini;
};

} // namespace

TEST_F(RecentFilesTest, NewestFirstTenAtMostOnceEachAndKeptAcrossRuns) {
    RecentFiles recent;
    recent.setStorage(ini);
    for (int i = 0; i < 12; ++i)
        recent.add(file(i));
    recent.add(u"/data/f5/../f5/OvData1"_s); // the same file again, spelt otherwise
    QStringList expected = {file(5), file(11), file(10), file(9), file(8),
                            file(7), file(6),  file(4),  file(3), file(2)};
    EXPECT_EQ(recent.files(), expected);

    // A later run reads the same list.
    RecentFiles nextRun;
    nextRun.setStorage(ini);
    EXPECT_EQ(nextRun.files(), expected);
    EXPECT_EQ(menuTexts(nextRun.menu()), QStringList(expected) << u"-"_s << u"Clear Menu"_s);

    nextRun.remove(file(11));
    expected.removeAll(file(11));
    EXPECT_EQ(recent.files(), expected);

    // "Clear Menu" empties the list for every run; the item is then disabled.
    QAction* clear = nextRun.menu()->findChild<QAction*>(u"FileClearRecent"_s);
    ASSERT_NE(clear, nullptr);
    clear->trigger();
    EXPECT_TRUE(recent.files().isEmpty());
    EXPECT_EQ(menuTexts(nextRun.menu()), (QStringList{u"-"_s, u"Clear Menu"_s}));
    EXPECT_FALSE(nextRun.menu()->actions().last()->isEnabled());
}

TEST_F(RecentFilesTest, AHandEditedListIsCleanedUp) {
    {
        QSettings settings(ini, QSettings::IniFormat);
        QStringList stored = {QString(), file(1), file(1), u"relative/OvData2"_s};
        for (int i = 2; i < 20; ++i)
            stored << file(i);
        settings.setValue(u"RecentFiles/files"_s, stored);
    }
    RecentFiles recent;
    recent.setStorage(ini);
    const QStringList files = recent.files();
    ASSERT_EQ(files.size(), RecentFiles::kMaxFiles);
    EXPECT_EQ(files[0], file(1));
    EXPECT_TRUE(QDir::isAbsolutePath(files[1]));
    EXPECT_TRUE(files[1].endsWith(u"/relative/OvData2"_s));
}

TEST_F(RecentFilesTest, OpenedAndSavedFilesAreRememberedAndAMissingOneLeavesTheList) {
    const QString source = QDir(tempDir()).filePath(u"in/OvData2"_s);
    QDir().mkpath(QFileInfo(source).absolutePath());
    ASSERT_TRUE(QFile::copy(example("OvData2"), source));
    script().openAnswers.push_back(QString()); // the map's 'UI' file: cancelled
    OpenFiles::open({source});
    OvEditorWindow* window = app().OvWindow[2];
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(app().recentFiles().files(), QStringList{source});

    const QString saved = QDir(tempDir()).filePath(u"out/OvData2"_s);
    QDir().mkpath(QFileInfo(saved).absolutePath());
    script().saveAnswers.push_back(saved);
    window->PushButtonSave->click();
    EXPECT_EQ(app().recentFiles().files(), (QStringList{saved, source}));

    // The File menu's item carries the list in every window.
    QAction* item = MenuBar1::instance().item(u"FileOpenRecent"_s);
    ASSERT_NE(item, nullptr);
    ASSERT_NE(item->menu(), nullptr);
    EXPECT_EQ(item->text(), u"Open Recent"_s);

    // Choosing the open file brings its window forward; choosing a missing one reports it and
    // drops it from the list, and opens nothing.
    window->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    ASSERT_TRUE(QFile::remove(source));
    script().clear();
    item->menu()->actions().at(1)->trigger();
    EXPECT_EQ(script().messages, QStringList{u"sorry, file failed to open"_s});
    EXPECT_EQ(app().recentFiles().files(), QStringList{saved});
    EXPECT_EQ(app().OvWindow[2], nullptr);

    script().openAnswers.push_back(QString());
    item->menu()->actions().at(0)->trigger();
    ASSERT_NE(app().OvWindow[2], nullptr);
    EXPECT_EQ(app().OvWindow[2]->document().model().OvResourceID, 1015);
    EXPECT_EQ(script().messages.size(), 1);
}
