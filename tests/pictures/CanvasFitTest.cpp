#include "GuiTestSupport.h"
#include "PictureFixtures.h"
#include "map/OvPictCanvas.h"
#include "windows/OvEditorWindow.h"

#include <QImage>

using namespace fixtures;

namespace {

enum class Source { UI, Intrface, External };

struct FitCase {
    Source source;
    QSize picture;
    QSize canvas;
};

void PrintTo(const FitCase& c, std::ostream* out) {
    const char* names[] = {"UI", "Intrface", "External"};
    *out << names[static_cast<int>(c.source)] << ' ' << c.picture.width() << 'x' << c.picture.height();
}

class CanvasFitTest : public GuiTest, public ::testing::WithParamInterface<FitCase> {};

// Each source fits the canvas to the picture, never beyond the game's 314 x 491; the canvas keeps
// its place: the window's layout moves it only at the next resize.
TEST_P(CanvasFitTest, FitsTheCanvasToThePicture) {
    const FitCase& c = GetParam();
    const demo::Rgb image = picture(c.picture.width(), c.picture.height());
    QString path;
    switch (c.source) {
    case Source::UI:
        path = writeUiFile(tempDir(), ForkForm::MacBinary, forkWith({{1013, image}}));
        break;
    case Source::Intrface: {
        std::vector<demo::Rgb> pictures(14);
        pictures[13] = image;
        path = writeFile(tempDir() + QStringLiteral("/Intrface.brm"), container(pictures));
        break;
    }
    case Source::External:
        path = writeFile(tempDir() + QStringLiteral("/map.pict"), pictFile(image));
        break;
    }
    OvEditorWindow* w = newFromScratch();
    const QPoint place = w->PreviewCanvas->pos();
    script().openAnswers.push_back(path);
    switch (c.source) {
    case Source::UI:
        w->ReadPICTFromUIfile(w->PreviewCanvas, 1013);
        break;
    case Source::Intrface:
        w->ReadPictureFromIntrface(w->PreviewCanvas, 1013);
        break;
    case Source::External:
        w->ReadPictureFromGraphicsFile(w->PreviewCanvas, 1013);
        break;
    }
    EXPECT_TRUE(script().messages.isEmpty()) << script().messages.join(QLatin1Char('|')).toStdString();
    EXPECT_EQ(w->PreviewCanvas->size(), c.canvas);
    EXPECT_EQ(w->PreviewCanvas->pos(), place);
    EXPECT_EQ(w->PreviewCanvas->MasterBackground.size(), c.picture);

    EXPECT_EQ(w->PreviewCanvas->MasterBackground.pixelColor(0, 0), kTopLeft);
}

std::vector<FitCase> cases() {
    std::vector<FitCase> list;
    for (Source s : {Source::UI, Source::Intrface, Source::External}) {
        list.push_back({s, {314, 491}, {314, 491}});
        list.push_back({s, {200, 300}, {200, 300}});
        list.push_back({s, {640, 480}, {314, 480}});
        list.push_back({s, {315, 492}, {314, 491}});
    }
    list.push_back({Source::External, {800, 600}, {314, 491}});
    list.push_back({Source::External, {100, 100}, {100, 100}});
    return list;
}

INSTANTIATE_TEST_SUITE_P(AllSources, CanvasFitTest, ::testing::ValuesIn(cases()));

} // namespace
