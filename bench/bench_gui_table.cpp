// The entries table's two whole-table passes on the largest model the format holds:
// 11 sectors x 11 ops x 11 battles = 1,463 rows. Both run after every load, add, delete and
// renumbering, and before every save, so they must stay well inside a frame or two.
#include "GuiTestSupport.h"
#include "table/OvDataListBox.h"
#include "windows/OvEditorWindow.h"

#include <QCoreApplication>

#include <benchmark/benchmark.h>

namespace {

OvEditorWindow* g_window = nullptr;

void fillLargest(OvDataListBox& m) {
    m.InitProperties();
    m.OvNumberOfSectors = ov::kCapacity;
    for (int s = 0; s < ov::kCapacity; ++s) {
        m.SectorID[s] = s + 1;
        m.SectorName[s] = std::string("Sector ").append(std::to_string(s));
        m.SectorXY[s] = {s, s + 10, s + 100, s + 200};
        m.SectorNumberOfOps[s] = ov::kCapacity;
        for (int o = 0; o < ov::kCapacity; ++o) {
            m.OpsID[s][o] = m.SectorID[s] * 10 + o;
            m.OpsName[s][o] = std::string("Operation ").append(std::to_string(o));
            m.OpsXY[s][o] = {o, o + 10, o + 100, o + 200};
            m.OpsNumberOfBattles[s][o] = ov::kCapacity;
            for (int b = 0; b < ov::kCapacity; ++b) {
                m.BatID[s][o][b] = m.OpsID[s][o] * 10 + b;
                m.BatName[s][o][b] = std::string("Battle of somewhere ").append(std::to_string(b));
                m.BatXY[s][o][b] = {b, b + 10, b + 100, b + 200};
                m.BatTail[s][o][b] = std::string("\1\0\1", 3);
            }
        }
    }
}

void BM_PutDataToListBox(benchmark::State& state) {
    OvDataListBox& box = *g_window->thisListBox;
    fillLargest(box);
    for (auto _ : state) {
        box.PutDataToListBox();
        QCoreApplication::processEvents(); // the repaint the rebuild asked for
    }
    state.counters["rows"] = box.ListCount();
}
BENCHMARK(BM_PutDataToListBox)->Unit(benchmark::kMillisecond);

void BM_GetDataFromListBox(benchmark::State& state) {
    OvDataListBox& box = *g_window->thisListBox;
    fillLargest(box);
    box.PutDataToListBox();
    for (auto _ : state)
        box.GetDataFromListBox();
    state.counters["rows"] = box.ListCount();
}
BENCHMARK(BM_GetDataFromListBox)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    if (qgetenv("QT_QPA_PLATFORM").isEmpty())
        qputenv("QT_QPA_PLATFORM", QByteArray("offscreen"));
    App app(argc, argv);
    script();
    g_window = new OvEditorWindow;
    g_window->show();
    QCoreApplication::processEvents();

    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    g_window->setModified(false);
    g_window->close();
    return 0;
}
