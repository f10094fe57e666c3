#include "GuiTestSupport.h"
#include "PictureFixtures.h"
#include "map/OvPictCanvas.h"
#include "platform/ColonPath.h"
#include "windows/OvEditorWindow.h"

#include <QDir>

using namespace fixtures;

namespace {

class UiReaderTest : public GuiTest {};

// Every failure forgets the file and leaves the canvas's picture and size as they were. The file
// each case starts from has gone, so the read asks, except where the remembered file is still there.
TEST_F(UiReaderTest, EveryFailureForgetsTheFileAndKeepsTheCanvas) {
    const QString good = writeSource(tempDir(), Source::UI, {picture(200, 300)});
    const QString folder = tempDir() + QStringLiteral("/a folder");
    QDir().mkpath(folder);
    struct Case {
        QString chosen;
        int id;
        bool remembered;
        QString message;
    } cases[] = {
        {writeFile(tempDir() + QStringLiteral("/plain/UI"), std::string("just data, no fork here")), 1013,
         false, QStringLiteral("sorry, file has no resource fork.")},
        {folder, 1013, false, QStringLiteral("please select a single file.")},
        {hugeFile(tempDir() + QStringLiteral("/UI.huge")), 1013, false,
         QStringLiteral("sorry, file is larger than 64 MB.")},
        {writeFile(tempDir() + QStringLiteral("/bad/UI.rsrc"),
                   demo::buildResourceFork({{0x50494354u, 1013, {}, demo::Bytes{0, 0, 0, 1, 2}}})),
         1013, false, QStringLiteral("sorry, PICT resource 1013 not found or memory overflow.")},
        {good, 1020, true, QStringLiteral("sorry, PICT resource 1020 not found or memory overflow.")},
        {QString(), 1013, false, QString()}, // cancelled: no message
    };
    OvEditorWindow* w = newFromScratch();
    readMap(*w, Source::UI, 1013, good);
    const QImage before = w->PreviewCanvas->MasterBackground;
    ASSERT_EQ(before.size(), QSize(200, 300));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.chosen.toStdString());
        script().messages.clear();
        app().OvUIfileAbsolutePath = c.remembered ? c.chosen : tempDir() + QStringLiteral("/gone/UI");
        readMap(*w, Source::UI, c.id, c.remembered ? std::nullopt : std::optional(c.chosen));
        EXPECT_EQ(script().messages, c.message.isEmpty() ? QStringList() : QStringList{c.message});
        EXPECT_TRUE(app().OvUIfileAbsolutePath.isEmpty());
        EXPECT_EQ(w->PreviewCanvas->MasterBackground, before);
        EXPECT_EQ(w->PreviewCanvas->size(), QSize(200, 300));
    }
    EXPECT_EQ(script().openRequests.size(), std::size(cases)); // the first read, and all but one case
}

// The dialogs start at the game's own files when the game's volume is mounted, else at the
// dialog's default place.
TEST_F(UiReaderTest, DialogsStartOnTheGamesVolumeOrTheDefaultPlace) {
    OvEditorWindow* w = newFromScratch();
    ColonPath::setVolumeRootsForTesting({tempDir() + QStringLiteral("/volumes")});
    script().openAnswers = {QString(), QString(), QString(), QString()};
    w->ReadPICTFromUIfile(w->PreviewCanvas, 1013);
    w->ReadPictureFromIntrface(w->PreviewCanvas, 1013);

    const QString graphics = tempDir() + QStringLiteral("/volumes/Brenmoor/Data/Graphics");
    writeFile(graphics + QStringLiteral("/UI"), demo::Bytes{});
    w->ReadPICTFromUIfile(w->PreviewCanvas, 1013);
    w->ReadPictureFromIntrface(w->PreviewCanvas, 1013);
    ColonPath::setVolumeRootsForTesting({});

    ASSERT_EQ(script().openRequests.size(), 4u);
    EXPECT_EQ(script().openRequests[0].initialLocation, QString());
    EXPECT_EQ(script().openRequests[1].initialLocation, QString());
    EXPECT_EQ(script().openRequests[2].initialLocation, graphics + QStringLiteral("/UI"));
    // No 'Intrface.brm' there: its folder.
    EXPECT_EQ(script().openRequests[3].initialLocation, graphics);
}

} // namespace
