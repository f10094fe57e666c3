// What the three picture sources share: their dialogs, the remembered file, the canvas fitted to
// the picture.
#include "GuiTestSupport.h"
#include "PictureFixtures.h"
#include "map/OvPictCanvas.h"
#include "windows/OvEditorWindow.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QImage>

using namespace fixtures;

namespace {

class PictureSourcesTest : public GuiTest {};

// 'UI' and 'Intrface.brm' are remembered for every window; an external file is asked for every time.
TEST_F(PictureSourcesTest, AskWithTheGameTextsAndOnlyTheExternalFileIsAskedForAgain) {
    const QColor kOther(200, 48, 8);
    const std::vector<demo::Rgb> pictures = {picture(314, 491), picture(200, 300, kOther)};
    struct Case {
        Source source;
        QString title, prompt;
        QString* remembered;
    } cases[] = {
        {Source::UI, QStringLiteral("Select file UI"),
         QStringLiteral("select the BRM resource-fork-file 'UI' which contains the BRM background graphics."),
         &app().OvUIfileAbsolutePath},
        {Source::Intrface, QStringLiteral("Select file Intrface.brm"),
         QStringLiteral("select the BRM file 'Intrface.brm' which contains the BRM background graphics."),
         &app().OvIntrfaceFileAbsolutePath},
        {Source::External, QStringLiteral("Select graphics file for input"),
         QStringLiteral("select a file with the new background graphics, size should be 314x491 pixels."),
         nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.title.toStdString());
        closeAllProgramWindows();
        script().clear();
        const QString folder = tempDir() + QLatin1Char('/') + QString::number(static_cast<int>(c.source));
        const QString path = writeSource(folder, c.source, pictures);
        OvEditorWindow* first = newFromScratch();
        readMap(*first, c.source, 1013, path);

        ASSERT_EQ(script().openRequests.size(), 1u);
        EXPECT_EQ(script().openRequests[0].title, c.title);
        EXPECT_EQ(script().openRequests[0].promptText, c.prompt);
        EXPECT_TRUE(script().messages.isEmpty()) << script().messages.join(QLatin1Char('|')).toStdString();
        if (c.remembered) {
            EXPECT_EQ(*c.remembered, QFileInfo(path).absoluteFilePath());
        }
        // The corners catch flipped rows and swapped channels.
        auto expectPicture = [](const QImage& map, QSize size, QColor fill) {
            ASSERT_EQ(map.size(), size);
            EXPECT_EQ(map.pixelColor(0, 0), kTopLeft);
            EXPECT_EQ(map.pixelColor(size.width() - 1, size.height() - 1), kBottomRight);
            EXPECT_EQ(map.pixelColor(100, 100), fill);
        };
        expectPicture(first->PreviewCanvas->MasterBackground, {314, 491}, kFill);

        OvEditorWindow* second = newFromScratch();
        if (!c.remembered) { // a TGA, known by its content alone
            script().openAnswers.push_back(
                writeFile(folder + QStringLiteral("/other"), tgaFile(pictures[1])));
        }
        readMap(*second, c.source, 1014);
        EXPECT_EQ(script().openRequests.size(), c.remembered ? 1u : 2u);
        EXPECT_EQ(second->PreviewCanvas->size(), QSize(200, 300));
        expectPicture(second->PreviewCanvas->MasterBackground, {200, 300}, kOther);
        if (!c.remembered) {
            for (const FileDialogRequest& request : script().openRequests)
                EXPECT_EQ(request.initialLocation, QCoreApplication::applicationDirPath());
        }
    }
}

// Each source fits the canvas to the picture, never beyond the game's 314 x 491; the canvas keeps
// its place: the window's layout moves it only at the next resize.
TEST_F(PictureSourcesTest, FitTheCanvasToThePictureWithinTheGamesSize) {
    const std::pair<QSize, QSize> fits[] = {{{200, 300}, {200, 300}},
                                            {{640, 480}, {314, 480}},
                                            {{315, 492}, {314, 491}},
                                            {{800, 600}, {314, 491}}};
    for (Source source : {Source::UI, Source::Intrface, Source::External})
        for (const auto& [size, canvasSize] : fits) {
            SCOPED_TRACE(testing::Message() << static_cast<int>(source) << " " << size.width());
            closeAllProgramWindows();
            app().OvUIfileAbsolutePath.clear();
            app().OvIntrfaceFileAbsolutePath.clear();
            OvEditorWindow* w = newFromScratch();
            const QPoint place = w->PreviewCanvas->pos();
            readMap(*w, source, 1013, writeSource(tempDir(), source, {picture(size.width(), size.height())}));
            EXPECT_TRUE(script().messages.isEmpty())
                << script().messages.join(QLatin1Char('|')).toStdString();
            EXPECT_EQ(w->PreviewCanvas->size(), canvasSize);
            EXPECT_EQ(w->PreviewCanvas->pos(), place);
            EXPECT_EQ(w->PreviewCanvas->MasterBackground.size(), size);
            EXPECT_EQ(w->PreviewCanvas->MasterBackground.pixelColor(0, 0), kTopLeft);
        }
}

} // namespace
