// The main window with large jobs, on the offscreen platform: opening (read the file, tables ready, plan
// drawn), painting one screen of the rover table and the whole plan, drawing and fitting the plan anew,
// repainting it after a pan or a zoom, and Calculate with 1 000 pending edits.
//
//   build-bench/bench/RawBenchOpenBench --benchmark_filter=OpenJob/10000
//
// Peak memory (VmHWM) only grows within a process: run one size per process to read it for that size.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QGraphicsView>
#include <QTabWidget>
#include <QTableView>
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <string>

#include "GraphicsView.h"
#include "RawBench.h"
#include "ScratchJob.h"

namespace {

double peakMegabytes() {
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind("VmHWM:", 0) == 0) return std::stod(line.substr(6)) / 1024.0;
    return 0;
}

void OpenJob(benchmark::State& state) {
    ScratchJob bench(static_cast<int>(state.range(0)));
    RawBench window;
    window.show();
    QApplication::processEvents();
    for (auto _ : state) {
        if (!window.openFile(bench.path)) state.SkipWithError("cannot open the generated job");
        QApplication::processEvents();  // layout and first paint of the tables and the plan
    }
    state.counters["points"] = static_cast<double>(window.job().rovers.size());
    state.counters["peak_MB"] = peakMegabytes();
}

// A large window showing the job of bench, laid out and painted once.
void showJob(RawBench& window, const ScratchJob& bench) {
    window.resize(1400, 1400);
    window.show();
    if (!window.openFile(bench.path)) std::abort();
    QApplication::processEvents();
}

// The whole plan of a job, fitted into the view, painted into a pixmap.
void PaintPlan(benchmark::State& state) {
    ScratchJob bench(static_cast<int>(state.range(0)));
    RawBench window;
    showJob(window, bench);
    auto* view = window.findChild<QGraphicsView*>(QStringLiteral("graphicsView"));
    for (auto _ : state) benchmark::DoNotOptimize(view->viewport()->grab());
}

// The plan drawn anew from the job, fitted into the view and painted once (what Open, Calculate with new
// points and Delete do to the plan).
void DrawAndFitPlan(benchmark::State& state) {
    ScratchJob bench(static_cast<int>(state.range(0)));
    RawBench window;
    showJob(window, bench);
    auto* view = window.findChild<GraphicsView*>(QStringLiteral("graphicsView"));
    for (auto _ : state) {
        window.redrawMap();
        benchmark::DoNotOptimize(view->viewport()->grab());
    }
}

// One repaint of the plan after a pan (range(1) = 0) or a wheel-sized zoom (1), at the fitted overview
// (range(2) = 1: every point in view) or zoomed in 32 times about the middle of the job (32).
void PanZoomPlan(benchmark::State& state) {
    ScratchJob bench(static_cast<int>(state.range(0)));
    RawBench window;
    showJob(window, bench);
    auto* view = window.findChild<GraphicsView*>(QStringLiteral("graphicsView"));
    view->zoomBy(static_cast<double>(state.range(2)));
    const bool zoom = state.range(1) == 1;
    int step = 0;
    for (auto _ : state) {
        const bool back = (step++ % 2) == 1;  // to and fro, so the view stays about the same
        if (zoom)
            view->zoomBy(back ? 1 / std::sqrt(2.0) : std::sqrt(2.0));
        else
            view->translate(back ? -40 / view->pixelsPerMetre() : 40 / view->pixelsPerMetre(), 0);
        benchmark::DoNotOptimize(view->viewport()->grab());
    }
}

// One screen of the rover table, scrolled to the middle of the job, painted into a pixmap.
void PaintRoverScreen(benchmark::State& state) {
    ScratchJob bench(static_cast<int>(state.range(0)));
    RawBench window;
    showJob(window, bench);
    auto* view = window.findChild<QTableView*>(QStringLiteral("tableWidget_rover"));
    window.findChild<QTabWidget*>(QStringLiteral("tabWidget"))->setCurrentIndex(1);
    view->scrollTo(view->model()->index(view->model()->rowCount() / 2, 0));
    QApplication::processEvents();
    for (auto _ : state) benchmark::DoNotOptimize(view->viewport()->grab());
    state.counters["rows_per_screen"] = view->viewport()->height() / std::max(1, view->rowHeight(0));
}

// Calculate with 1 000 pending edits (990 rover antenna heights spread over the job, 10 moved bases with
// all their rovers), tables refreshed and the plan redrawn.
void CalculateEdits(benchmark::State& state) {
    ScratchJob bench(static_cast<int>(state.range(0)));
    RawBench window;
    window.show();
    window.openFile(bench.path);
    JobSession* session = window.session();
    const qsizetype rovers = window.job().rovers.size();
    for (auto _ : state) {
        state.PauseTiming();
        for (int i = 0; i < 990; ++i)
            session->stage(PointKind::Rover, i * rovers / 990, EditField::AntennaHeight,
                           QStringLiteral("2.345"));
        for (int j = 0; j < 10; ++j)
            session->stage(PointKind::Base, j, EditField::North, window.job().bases[j].north + 0.25);
        QApplication::processEvents();
        state.ResumeTiming();
        session->calculate();
        QApplication::processEvents();
        state.PauseTiming();
        session->undoStack()->undo();  // back to the opened job for the next round
        QApplication::processEvents();
        state.ResumeTiming();
    }
    state.counters["peak_MB"] = peakMegabytes();
}

}  // namespace

BENCHMARK(OpenJob)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(PaintRoverScreen)->Arg(1000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(PaintPlan)->Arg(1000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(DrawAndFitPlan)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(PanZoomPlan)
    ->ArgNames({"points", "zoom", "scale"})
    ->ArgsProduct({{100000}, {0, 1}, {1, 32}})
    ->Unit(benchmark::kMillisecond);
BENCHMARK(CalculateEdits)->Arg(100000)->Unit(benchmark::kMillisecond)->Iterations(3);

int main(int argc, char** argv) { return runWidgetBenchmarks(argc, argv); }
