// The platform layer: colon paths and the frontmost-window list.
#include "GuiTestSupport.h"

#include "platform/ColonPath.h"
#include "platform/WindowList.h"

#include <QDir>
#include <QFile>
#include <QMainWindow>

class Platform : public GuiTest {
protected:
    void TearDown() override {
        ColonPath::setVolumeRootsForTesting({});
        GuiTest::TearDown();
    }
};

TEST_F(Platform, ColonPathsResolveThroughTheNamedVolume) {
    const QString root = tempDir();
    ASSERT_TRUE(QDir(root).mkpath(QStringLiteral("Brenmoor/Data/Graphics")));
    ColonPath::setVolumeRootsForTesting({root + QStringLiteral("/elsewhere"), root});

    EXPECT_EQ(ColonPath::resolve(QStringLiteral("Brenmoor:Data:Graphics:UI")),
              root + QStringLiteral("/Brenmoor/Data/Graphics/UI"));
    // The item need not exist; a dialog then starts at its nearest folder.
    EXPECT_EQ(ColonPath::dialogStart(QStringLiteral("Brenmoor:Data:Graphics:UI")),
              root + QStringLiteral("/Brenmoor/Data/Graphics"));
    EXPECT_EQ(ColonPath::dialogStart(QStringLiteral("Brenmoor:Data:Missing:Deeper:UI")),
              root + QStringLiteral("/Brenmoor/Data"));

    EXPECT_TRUE(ColonPath::resolve(QStringLiteral("Elsewhere:Data:UI")).isEmpty()) << "unknown volume";
    EXPECT_TRUE(ColonPath::resolve(QStringLiteral(":Data:UI")).isEmpty()) << "relative colon path";
    EXPECT_TRUE(ColonPath::resolve(QString()).isEmpty());
    EXPECT_TRUE(ColonPath::dialogStart(QStringLiteral("Elsewhere:Data:UI")).isEmpty());
}

TEST_F(Platform, TheFrontWindowIsTheOneActivatedLast) {
    auto* a = new QMainWindow;
    auto* b = new QMainWindow;
    a->setAttribute(Qt::WA_DeleteOnClose);
    b->setAttribute(Qt::WA_DeleteOnClose);
    WindowList& list = WindowList::instance();
    list.bringToFront(a);
    list.bringToFront(b);
    EXPECT_EQ(list.window(0), b);
    EXPECT_EQ(list.window(1), a);
    EXPECT_EQ(list.count(), 2);
    list.bringToFront(a);
    EXPECT_EQ(list.window(0), a);
    EXPECT_EQ(list.window(2), nullptr);

    delete a;
    EXPECT_EQ(list.count(), 1);
    EXPECT_EQ(list.window(0), b);
    list.untrack(b);
    EXPECT_EQ(list.count(), 0);
    delete b;
}
