// The entries table and the undo history on the largest model the format holds: 11 sectors x
// 11 ops x 11 battles = 1,463 rows. The rebuild runs after every load, add, delete and
// renumbering and after their undo and redo, so it must stay well inside a frame or two; undo
// and redo of deleting a full sector (goal: 30 ms each, the same as a rebuild) include it.
// The history's memory for 1,000 steps of every kind is reported as "history_MB" (goal: 20 MB).
#include "GuiTestSupport.h"
#include "table/OvDataListBox.h"
#include "windows/OvEditCommands.h"
#include "windows/OvEditorWindow.h"

#include <QCoreApplication>
#include <QUndoStack>

#include <benchmark/benchmark.h>
#include <memory>
#include <random>

namespace {

OvEditorWindow* g_window = nullptr;

void fillLargest(OvDataListBox& view) {
    auto model = std::make_unique<ov::OvDataModel>();
    ov::OvDataModel& m = *model;
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
    g_window->document().reset(m);
    g_window->undoStack()->clear();
    view.PutDataToListBox();
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

// "Delete Sector 1" on the full model, then Ctrl+Z and Ctrl+Shift+Z: each includes the table's
// rebuild and the repaint it asks for.
void BM_UndoDeleteFullSector(benchmark::State& state) {
    OvDataListBox& box = *g_window->thisListBox;
    fillLargest(box);
    QUndoStack& stack = *g_window->undoStack();
    g_window->pushStep(new DeleteCommand(*g_window, {0, -1, -1}));
    for (auto _ : state) {
        stack.undo();
        QCoreApplication::processEvents();
        state.PauseTiming();
        stack.redo();
        QCoreApplication::processEvents();
        state.ResumeTiming();
    }
    if (box.ListCount() != 1463 - 133)
        state.SkipWithError("the delete did not stay done");
}
BENCHMARK(BM_UndoDeleteFullSector)->Unit(benchmark::kMillisecond);

void BM_RedoDeleteFullSector(benchmark::State& state) {
    OvDataListBox& box = *g_window->thisListBox;
    fillLargest(box);
    QUndoStack& stack = *g_window->undoStack();
    g_window->pushStep(new DeleteCommand(*g_window, {0, -1, -1}));
    stack.undo();
    for (auto _ : state) {
        stack.redo();
        QCoreApplication::processEvents();
        state.PauseTiming();
        stack.undo();
        QCoreApplication::processEvents();
        state.ResumeTiming();
    }
    if (box.ListCount() != 1463)
        state.SkipWithError("the undo did not restore every row");
}
BENCHMARK(BM_RedoDeleteFullSector)->Unit(benchmark::kMillisecond);

// 1,000 steps of every kind on the full model, as the user makes them (through the window's
// commands); the figure is the memory the history holds afterwards.
void BM_HistoryOfThousandSteps(benchmark::State& state) {
    OvDataListBox& box = *g_window->thisListBox;
    std::size_t bytes = 0;
    int steps = 0;
    for (auto _ : state) {
        state.PauseTiming();
        fillLargest(box);
        state.ResumeTiming();
        std::mt19937 rng(42);
        ov::OvDocument& doc = g_window->document();
        QUndoStack& stack = *g_window->undoStack();
        while (stack.count() < 1000) {
            const int rows = doc.rowCount();
            const ov::EntryRef e =
                doc.entryAt(rows ? static_cast<int>(rng() % static_cast<unsigned>(rows)) : -1);
            const int v = static_cast<int>(rng() % 300) + 1;
            OvEditCommand* step = nullptr;
            switch (rng() % 20) {
            case 0:
                step = new DeleteCommand(*g_window, e);
                break;
            case 1:
                step = new AddCommand(*g_window,
                                      e.kind() == ov::EntryRef::Kind::Sector ? ov::EntryRef::Kind::Ops
                                                                             : ov::EntryRef::Kind::Battle,
                                      std::max(e.s, 0), std::max(e.o, 0));
                break;
            case 2:
                step = new RenumberCommand(*g_window, 1 + v % 9);
                break;
            case 3:
                step = new PictureIdCommand(*g_window, 1013 + v % 12);
                break;
            case 4:
            case 5:
                step = new SetFlagCommand(*g_window, e, v % 3, v % 2 == 0);
                break;
            case 6:
            case 7:
            case 8:
                step = new SetFieldCommand(*g_window, e, OvDataListBox::ColName,
                                           QStringLiteral("A name typed for the benchmark %1").arg(v));
                break;
            case 9:
            case 10:
            case 11:
                step = new SetFieldCommand(*g_window, e, OvDataListBox::ColX1 + v % 4, QString::number(v));
                break;
            default:
                step = new MarkCommand(*g_window, e, {v, v, v + 20, v + 30}, stack.count() + 1);
                break;
            }
            if (e.kind() == ov::EntryRef::Kind::None && doc.rowCount() == 0)
                g_window->pushStep(new AddCommand(*g_window, ov::EntryRef::Kind::Sector, -1, -1));
            g_window->pushStep(step);
        }
        state.PauseTiming();
        bytes = 0;
        for (int i = 0; i < stack.count(); ++i) {
            const auto* command = static_cast<const OvEditCommand*>(stack.command(i));
            bytes += sizeof(*command) + command->edit().memoryUse() +
                     static_cast<std::size_t>(command->text().capacity()) * sizeof(QChar);
        }
        steps = stack.count();
        state.ResumeTiming();
    }
    state.counters["steps"] = steps;
    state.counters["history_MB"] = static_cast<double>(bytes) / (1024.0 * 1024.0);
}
BENCHMARK(BM_HistoryOfThousandSteps)->Unit(benchmark::kMillisecond)->Iterations(1);

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
