#include "GuiTestSupport.h"
#include "PictureFixtures.h"
#include "map/OvPictCanvas.h"
#include "platform/ColonPath.h"
#include "windows/OvEditorWindow.h"

#include <QDir>
#include <QFile>

using namespace fixtures;

namespace {

class UiReaderTest : public GuiTest {
protected:
    // A 'UI' with PICT 1013 (314 x 491) and PICT 1014 (200 x 300), as a sidecar pair.
    QString writeUi() {
        return writeUiFile(
            tempDir() + QStringLiteral("/disk"), ForkForm::AppleDoubleSidecar,
            forkWith({{1013, picture(314, 491)}, {1014, picture(200, 300, QColor(200, 48, 8))}}));
    }
    OvEditorWindow* window() {
        OvEditorWindow* w = newFromScratch();
        EXPECT_NE(w, nullptr);
        return w;
    }
};

TEST_F(UiReaderTest, AsksWithTheGameTextsThenShowsThePicture) {
    const QString ui = writeUi();
    OvEditorWindow* w = window();
    script().openAnswers.push_back(ui);
    w->ReadPICTFromUIfile(w->PreviewCanvas, 1013);

    ASSERT_EQ(script().openRequests.size(), 1u);
    EXPECT_EQ(script().openRequests[0].title, QStringLiteral("Select file UI"));
    EXPECT_EQ(
        script().openRequests[0].promptText,
        QStringLiteral("select the BRM resource-fork-file 'UI' which contains the BRM background graphics."));
    EXPECT_TRUE(script().messages.isEmpty());
    EXPECT_EQ(app().OvUIfileAbsolutePath, QFileInfo(ui).absoluteFilePath());
    const QImage& map = w->PreviewCanvas->MasterBackground;
    ASSERT_EQ(map.size(), QSize(314, 491));
    EXPECT_EQ(map.pixelColor(0, 0), kTopLeft);
    EXPECT_EQ(map.pixelColor(313, 490), kBottomRight);
    EXPECT_EQ(map.pixelColor(150, 200), kFill);
    EXPECT_EQ(w->PreviewCanvas->size(), QSize(314, 491));
}

TEST_F(UiReaderTest, TheRememberedFileServesEveryWindowWithoutAsking) {
    const QString ui = writeUi();
    OvEditorWindow* first = window();
    script().openAnswers.push_back(ui);
    first->ReadPICTFromUIfile(first->PreviewCanvas, 1013);
    OvEditorWindow* second = window();
    second->ReadPICTFromUIfile(second->PreviewCanvas, 1014);
    first->ReadPICTFromUIfile(first->PreviewCanvas, 1014);

    EXPECT_EQ(script().openRequests.size(), 1u);
    EXPECT_EQ(second->PreviewCanvas->MasterBackground.pixelColor(100, 100), QColor(200, 48, 8));
    EXPECT_EQ(first->PreviewCanvas->size(), QSize(200, 300));
    EXPECT_TRUE(script().messages.isEmpty());
}

TEST_F(UiReaderTest, AMissingPictureForgetsTheFileAndKeepsTheCanvas) {
    const QString ui = writeUi();
    OvEditorWindow* w = window();
    script().openAnswers.push_back(ui);
    w->ReadPICTFromUIfile(w->PreviewCanvas, 1014);
    const QImage before = w->PreviewCanvas->MasterBackground;

    w->ReadPICTFromUIfile(w->PreviewCanvas, 1020);
    EXPECT_EQ(script().messages,
              QStringList{QStringLiteral("sorry, PICT resource 1020 not found or memory overflow.")});
    EXPECT_TRUE(app().OvUIfileAbsolutePath.isEmpty());
    EXPECT_EQ(w->PreviewCanvas->size(), QSize(200, 300));
    EXPECT_EQ(w->PreviewCanvas->MasterBackground, before);

    // Forgotten: the next read asks again.
    script().openAnswers.push_back(QString());
    w->ReadPICTFromUIfile(w->PreviewCanvas, 1013);
    EXPECT_EQ(script().openRequests.size(), 2u);
}

TEST_F(UiReaderTest, EveryFailureForgetsTheFile) {
    const QString plain =
        writeFile(tempDir() + QStringLiteral("/plain/UI"), std::string("just data, no fork here"));
    const QString folder = tempDir() + QStringLiteral("/a folder");
    QDir().mkpath(folder);
    const QString badPict =
        writeFile(tempDir() + QStringLiteral("/bad/UI.rsrc"),
                  demo::buildResourceFork({{0x50494354u, 1013, {}, demo::Bytes{0, 0, 0, 1, 2}}}));
    struct Case {
        QString chosen;
        QString message;
    } cases[] = {
        {plain, QStringLiteral("sorry, file has no resource fork.")},
        {folder, QStringLiteral("please select a single file.")},
        {badPict, QStringLiteral("sorry, PICT resource 1013 not found or memory overflow.")},
        {QString(), QString()}, // cancelled: no message
    };
    OvEditorWindow* w = window();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.chosen.toStdString());
        script().messages.clear();
        app().OvUIfileAbsolutePath = QStringLiteral("/somewhere/else"); // gone: asked again
        script().openAnswers.push_back(c.chosen);
        w->ReadPICTFromUIfile(w->PreviewCanvas, 1013);
        EXPECT_EQ(script().messages, c.message.isEmpty() ? QStringList() : QStringList{c.message});
        EXPECT_TRUE(app().OvUIfileAbsolutePath.isEmpty());
        EXPECT_TRUE(w->PreviewCanvas->MasterBackground.isNull());
        EXPECT_EQ(w->PreviewCanvas->size(), QSize(314, 491));
    }
    EXPECT_EQ(script().openRequests.size(), std::size(cases));
}

TEST_F(UiReaderTest, FindsTheForkInEveryCarrier) {
    const demo::Bytes fork = forkWith({{1015, picture(120, 80)}});
    for (ForkForm form : {ForkForm::AppleDoubleSidecar, ForkForm::AppleDoubleFile, ForkForm::AppleSingle,
                          ForkForm::MacBinary, ForkForm::BinHex, ForkForm::BareFork}) {
        SCOPED_TRACE(formName(form));
        app().OvUIfileAbsolutePath.clear();
        OvEditorWindow* w = window();
        script().openAnswers.push_back(
            writeUiFile(tempDir() + QLatin1Char('/') + QString::fromLatin1(formName(form)), form, fork));
        w->ReadPICTFromUIfile(w->PreviewCanvas, 1015);
        EXPECT_TRUE(script().messages.isEmpty()) << script().messages.join(QLatin1Char('|')).toStdString();
        EXPECT_EQ(w->PreviewCanvas->size(), QSize(120, 80));
        EXPECT_EQ(w->PreviewCanvas->MasterBackground.pixelColor(119, 79), kBottomRight);
        w->setModified(false);
        w->close();
    }
}

TEST_F(UiReaderTest, ARememberedFileThatHasGoneIsAskedForAgain) {
    const QString ui = writeUi();
    OvEditorWindow* w = window();
    script().openAnswers.push_back(ui);
    w->ReadPICTFromUIfile(w->PreviewCanvas, 1013);
    QFile::remove(ui);

    script().openAnswers.push_back(QString());
    w->ReadPICTFromUIfile(w->PreviewCanvas, 1013);
    EXPECT_EQ(script().openRequests.size(), 2u);
    EXPECT_TRUE(script().messages.isEmpty());
    EXPECT_TRUE(app().OvUIfileAbsolutePath.isEmpty());
    EXPECT_EQ(w->PreviewCanvas->size(), QSize(314, 491));
}

} // namespace

namespace {

// The dialogs start at the game's own files when the game's volume is mounted, else at the
// dialog's default place.
class GameFileDialogStart : public GuiTest {
protected:
    void TearDown() override {
        ColonPath::setVolumeRootsForTesting({});
        GuiTest::TearDown();
    }
};

TEST_F(GameFileDialogStart, OnTheGamesVolumeOrTheDefaultPlace) {
    OvEditorWindow* w = newFromScratch();
    ColonPath::setVolumeRootsForTesting({tempDir() + QStringLiteral("/volumes")});
    script().openAnswers = {QString(), QString(), QString(), QString()};
    w->ReadPICTFromUIfile(w->PreviewCanvas, 1013);
    w->ReadPictureFromIntrface(w->PreviewCanvas, 1013);

    const QString graphics = tempDir() + QStringLiteral("/volumes/Brenmoor/Data/Graphics");
    QDir().mkpath(graphics);
    writeFile(graphics + QStringLiteral("/UI"), demo::Bytes{});
    w->ReadPICTFromUIfile(w->PreviewCanvas, 1013);
    w->ReadPictureFromIntrface(w->PreviewCanvas, 1013);

    ASSERT_EQ(script().openRequests.size(), 4u);
    EXPECT_EQ(script().openRequests[0].initialLocation, QString());
    EXPECT_EQ(script().openRequests[1].initialLocation, QString());
    EXPECT_EQ(script().openRequests[2].initialLocation, graphics + QStringLiteral("/UI"));
    // No 'Intrface.brm' there: its folder.
    EXPECT_EQ(script().openRequests[3].initialLocation, graphics);
}

} // namespace
