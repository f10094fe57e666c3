// The map's two hot paths with the largest model a file can hold (11 sectors x 11 ops x 11
// battles = 1,463 rows): one full paint with every row View-ticked, and one marking step (the
// current row's cells written from a mouse drag, then the repaint).
#include "GuiTestSupport.h"
#include "map/OvPictCanvas.h"
#include "table/OvDataListBox.h"
#include "windows/OvEditorWindow.h"

#include <QCoreApplication>
#include <QMouseEvent>
#include <QPainter>

#include <benchmark/benchmark.h>
#include <memory>

namespace {

OvEditorWindow* g_window = nullptr;

void fillLargestModel(OvDataListBox& view) {
    auto model = std::make_unique<ov::OvDataModel>();
    ov::OvDataModel& table = *model;
    table.InitProperties();
    table.OvResourceID = 1013;
    table.OvNumberOfSectors = ov::kCapacity;
    for (std::size_t s = 0; s < ov::kCapacity; ++s) {
        table.SectorID[s] = static_cast<int>(s) + 1;
        table.SectorName[s] = "Sector";
        table.SectorXY[s] = {static_cast<int>(s) * 20 + 5, 5, static_cast<int>(s) * 20 + 150, 480};
        table.SectorNumberOfOps[s] = ov::kCapacity;
        for (std::size_t o = 0; o < ov::kCapacity; ++o) {
            table.OpsID[s][o] = static_cast<int>(s * 10 + o);
            table.OpsName[s][o] = "Ops";
            table.OpsXY[s][o] = {static_cast<int>(o) * 25 + 3, static_cast<int>(s) * 40 + 3,
                                 static_cast<int>(o) * 25 + 40, static_cast<int>(s) * 40 + 60};
            table.OpsNumberOfBattles[s][o] = ov::kCapacity;
            for (std::size_t b = 0; b < ov::kCapacity; ++b) {
                table.BatID[s][o][b] = static_cast<int>((s * 10 + o) * 10 + b);
                table.BatName[s][o][b] = "Battle";
                const int x = static_cast<int>(o * 25 + b * 2) + 4;
                const int y = static_cast<int>(s * 40 + b * 3) + 4;
                // Every third battle is a point, the rest small rectangles.
                table.BatXY[s][o][b] = b % 3 == 0 ? ov::Rect{x, y, x, y} : ov::Rect{x, y, x + 12, y + 9};
                table.BatTail[s][o][b] = std::string(3, '\0');
            }
        }
    }
    g_window->document().reset(table);
    view.PutDataToListBox();
}

void setUpWindow() {
    // One window from scratch, its table at the largest size and every row ticked.
    theApp()->_OvNewMenuItem_Action();
    g_window = theApp()->OvWindow[4];
    OvDataListBox& table = *g_window->thisListBox;
    fillLargestModel(table);
    for (int row = 0; row < table.ListCount(); ++row)
        table.setCellCheck(row, OvDataListBox::ColView, true);
    QImage map(314, 491, QImage::Format_RGB32);
    map.fill(qRgb(90, 140, 70));
    g_window->PreviewCanvas->setMap(map);
}

// Composes the whole map into an off-screen picture of the canvas's size, once per iteration.
void paintLoop(benchmark::State& state) {
    QImage target(314, 491, QImage::Format_RGB16);
    for (auto _ : state) {
        QPainter painter(&target);
        g_window->CanvasPaintAction(painter);
        painter.end();
        benchmark::DoNotOptimize(target.constBits());
    }
}

void BM_FullPaintAllRowsVisible(benchmark::State& state) {
    paintLoop(state);
    state.counters["rows"] = g_window->thisListBox->ListCount();
}
BENCHMARK(BM_FullPaintAllRowsVisible)->Unit(benchmark::kMillisecond);

// Marking steps as the mouse gives them: one press on `canvas`, then in each iteration a move
// inside `range` view pixels and the paint that follows it. The steps must have marked: the
// current row then holds `expectedX1`, the press's map pixel.
void markingSteps(benchmark::State& state, OvPictCanvas* canvas, QSize target, int range,
                  const QString& expectedX1) {
    OvDataListBox& table = *g_window->thisListBox;
    table.setListIndex(700);
    canvas->setDragRunner([](QDrag&) {});
    const QPointF start(40, 40);
    QMouseEvent press(QEvent::MouseButtonPress, start, start, canvas->mapToGlobal(start), Qt::LeftButton,
                      Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(canvas, &press);
    QImage image(target, QImage::Format_RGB16);
    int step = 0;
    for (auto _ : state) {
        // Clear of the view's edges, which would scroll a zoomed map.
        const QPointF at(60 + step % range, 80 + step % range);
        ++step;
        QMouseEvent move(QEvent::MouseMove, at, at, canvas->mapToGlobal(at), Qt::NoButton, Qt::LeftButton,
                         Qt::NoModifier);
        QCoreApplication::sendEvent(canvas, &move);
        QPainter painter(&image);
        g_window->CanvasPaintAction(painter);
        painter.end();
        benchmark::DoNotOptimize(image.constBits());
    }
    if (table.Cell(700, OvDataListBox::ColX1) != expectedX1)
        state.SkipWithError("the drag steps did not mark the current row");
    QMouseEvent release(QEvent::MouseButtonRelease, start, start, canvas->mapToGlobal(start), Qt::LeftButton,
                        Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(canvas, &release);
}

void BM_MarkingStep(benchmark::State& state) {
    markingSteps(state, g_window->PreviewCanvas, QSize(314, 491), 200, QStringLiteral("40"));
}
BENCHMARK(BM_MarkingStep)->Unit(benchmark::kMillisecond);

// "Select all of listbox": every row highlighted, each asked for its selection while painting.
void BM_FullPaintAllRowsSelected(benchmark::State& state) {
    OvDataListBox& table = *g_window->thisListBox;
    table.selectAll();
    paintLoop(state);
    table.clearSelection();
}
BENCHMARK(BM_FullPaintAllRowsSelected)->Unit(benchmark::kMillisecond);

// Zoom 8 on a map area of 1000 x 1000 view pixels (a window large enough for it), scrolled into
// the middle of the rows: the visible part of the composition, then its zoomed pixels.
struct Zoomed {
    Zoomed() {
        g_window->content()->resize(OvEditorWindow::kInitialWidth + 2 * (1000 - OvPictCanvas::kMapWidth),
                                    OvEditorWindow::kInitialHeight + 1000 - OvPictCanvas::kMapHeight);
        canvas->setZoomKeepingTopLeft(8);
        canvas->setScroll({8 * 40, 8 * 100});
    }
    ~Zoomed() {
        canvas->setZoomKeepingTopLeft(1);
        g_window->content()->resize(OvEditorWindow::kInitialWidth, OvEditorWindow::kInitialHeight);
    }
    bool ready() const { return canvas->size() == QSize(1000, 1000); }
    OvPictCanvas* canvas = g_window->PreviewCanvas;
};

void BM_FullPaintAllRowsVisibleZoom8(benchmark::State& state) {
    Zoomed zoomed;
    if (!zoomed.ready())
        state.SkipWithError("the map area is not 1000 x 1000");
    QImage target(1000, 1000, QImage::Format_RGB16);
    for (auto _ : state) {
        QPainter painter(&target);
        g_window->CanvasPaintAction(painter);
        painter.end();
        benchmark::DoNotOptimize(target.constBits());
    }
    state.counters["rows"] = g_window->thisListBox->ListCount();
}
BENCHMARK(BM_FullPaintAllRowsVisibleZoom8)->Unit(benchmark::kMillisecond);

void BM_MarkingStepZoom8(benchmark::State& state) {
    Zoomed zoomed;
    if (!zoomed.ready())
        state.SkipWithError("the map area is not 1000 x 1000");
    // (40 + 320) / 8: the press's map pixel, through the zoomed and scrolled view.
    markingSteps(state, zoomed.canvas, QSize(1000, 1000), 800, QStringLiteral("45"));
}
BENCHMARK(BM_MarkingStepZoom8)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    App app(argc, argv);
    script(); // scripted dialogs: nothing may wait for a user
    setUpWindow();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    closeAllProgramWindows();
    return 0;
}
