// The tool's review picture is the editor's canvas: the demo files opened in the editor with
// their maps, every row View-ticked and none selected, give exactly the pixels that
// "mapquill-tool render" writes.
#include "GuiTestSupport.h"
#include "map/OvPictCanvas.h"
#include "platform/ScriptedDialogs.h"
#include "table/OvDataListBox.h"
#include "windows/OvEditorWindow.h"

#include <QDir>
#include <QImage>
#include <QProcess>

namespace {

class RenderMatchesEditor : public GuiTest {
protected:
    // What the canvas shows with every row ticked and none selected or current.
    static QImage editorPicture(OvEditorWindow& w) {
        OvDataListBox& table = *w.thisListBox;
        for (int row = 0; row < table.ListCount(); ++row) {
            table.setSelected(row, false);
            table.setCellCheck(row, OvDataListBox::ColView, true);
        }
        table.setListIndex(-1);
        return w.GetCanvasScreenshot().convertToFormat(QImage::Format_RGB32);
    }

    QImage toolPicture(const QStringList& args) {
        const QString out = QDir(tempDir()).filePath(QStringLiteral("render.png"));
        QProcess tool;
        tool.start(QStringLiteral(MQ_TOOL_PATH),
                   QStringList{QStringLiteral("render")} + args + QStringList{out});
        EXPECT_TRUE(tool.waitForFinished(60000));
        EXPECT_EQ(tool.exitCode(), 0) << tool.readAllStandardError().toStdString();
        return QImage(out).convertToFormat(QImage::Format_RGB32);
    }
};

TEST_F(RenderMatchesEditor, DemoFilesOnTheirIntrfaceMaps) {
    const QString brm = example("maps/Intrface.brm");
    for (int n = 0; n <= 3; ++n) {
        const QString file = example(qPrintable(QStringLiteral("OvData%1").arg(n)));
        app().gUseFileUI = false;
        script().openAnswers = {file, brm};
        app().OvWindowInit(n);
        OvEditorWindow* w = app().OvWindow[static_cast<std::size_t>(n)];
        ASSERT_NE(w, nullptr);
        ASSERT_FALSE(w->PreviewCanvas->MasterBackground.isNull());
        const QImage editor = editorPicture(*w);
        const QImage tool = toolPicture({file, brm});
        ASSERT_EQ(tool.size(), editor.size()) << n;
        EXPECT_TRUE(tool == editor) << "OvData" << n;
        // Not a blank map: the outlines are there.
        EXPECT_NE(editor.pixel(w->thisListBox->Cell(0, OvDataListBox::ColX1).toInt(),
                               w->thisListBox->Cell(0, OvDataListBox::ColY1).toInt()),
                  QImage(w->PreviewCanvas->MasterBackground)
                      .convertToFormat(QImage::Format_RGB32)
                      .pixel(w->thisListBox->Cell(0, OvDataListBox::ColX1).toInt(),
                             w->thisListBox->Cell(0, OvDataListBox::ColY1).toInt()));
    }
}

TEST_F(RenderMatchesEditor, OvData0OnTheMacMapAndOnASmallerMap) {
    const QString file = example("OvData0");
    app().gUseFileUI = true;
    script().openAnswers = {file, example("maps/mac/UI")};
    app().OvWindowInit(0);
    OvEditorWindow* w = app().OvWindow[0];
    ASSERT_NE(w, nullptr);
    EXPECT_TRUE(toolPicture({file, example("maps/mac/UI"), QStringLiteral("1013")}) == editorPicture(*w));

    // A map smaller than the canvas shrinks it; outlines beyond the picture are cut.
    const QImage small(example("maps/SmallMap.png"));
    ASSERT_FALSE(small.isNull());
    w->PreviewCanvas->resize(small.size());
    w->PreviewCanvas->setMap(small);
    const QImage editor = editorPicture(*w);
    EXPECT_EQ(editor.size(), small.size());
    EXPECT_TRUE(toolPicture({file, example("maps/SmallMap.png")}) == editor);
}

} // namespace
