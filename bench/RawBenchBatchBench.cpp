// The batch corrections on a large job, on the offscreen platform: Edit → Set antenna… on 50 000 rovers
// selected in the table of a 100 000-point job (selection read, dialog built with its preview, OK staging
// one undo step, tables repainted), then Calculate with the tables, plan and Changes list refreshed. The
// time column is wall time of both; the counters split the GUI thread's processor time between them.
//
//   build-bench/bench/RawBenchBatchBench
#include <benchmark/benchmark.h>

#include <QAction>
#include <QApplication>
#include <QDialogButtonBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QUndoStack>
#include <ctime>

#include "RawBench.h"
#include "SetAntennaDialog.h"
#include "ScratchJob.h"

namespace {

// Processor time of this (the GUI) thread, seconds: on a loaded machine the wall time also holds waits.
double threadSeconds() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

void SetAntennaAndCalculate(benchmark::State& state) {
    const int points = static_cast<int>(state.range(0));
    const int selected = static_cast<int>(state.range(1));
    ScratchJob scratch(points);
    RawBench window;
    window.resize(1400, 1000);
    window.show();
    if (!window.openFile(scratch.path)) state.SkipWithError("cannot open the generated job");
    auto* rovers = window.findChild<QTableView*>(QStringLiteral("tableWidget_rover"));
    auto* action = window.findChild<QAction*>(QStringLiteral("action_Set_Antenna"));
    QApplication::processEvents();
    double setUp = 0, calculate = 0;
    for (auto _ : state) {
        const double start = threadSeconds();
        rovers->selectionModel()->select(
            QItemSelection(rovers->model()->index(0, 0), rovers->model()->index(selected - 1, 0)),
            QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
        action->trigger();
        auto* dialog = window.findChild<SetAntennaDialog*>();
        dialog->findChild<QLineEdit*>(QStringLiteral("lineEdit_height"))->setText(QStringLiteral("2.345"));
        dialog->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->click();
        QApplication::processEvents();
        const double middle = threadSeconds();
        setUp += middle - start;
        window.session()->calculate();
        QApplication::processEvents();
        calculate += threadSeconds() - middle;
        state.PauseTiming();
        window.session()->undoStack()->undo();  // Calculate and the batch: back to the opened job
        window.session()->undoStack()->undo();
        QApplication::processEvents();
        state.ResumeTiming();
    }
    state.counters["set_antenna_cpu_s"] = benchmark::Counter(setUp, benchmark::Counter::kAvgIterations);
    state.counters["calculate_cpu_s"] = benchmark::Counter(calculate, benchmark::Counter::kAvgIterations);
    state.counters["pending_after_undo"] = window.session()->pendingCount();
}

}  // namespace

BENCHMARK(SetAntennaAndCalculate)->Args({100000, 50000})->Unit(benchmark::kMillisecond)->Iterations(3);

int main(int argc, char** argv) { return runWidgetBenchmarks(argc, argv); }
