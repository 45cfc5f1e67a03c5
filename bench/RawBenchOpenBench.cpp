// Opening a large job in the main window: read the file, fill the base, rover and job tables with their
// combo boxes, and draw the plan, on the offscreen platform.
//
//   build/bench/RawBenchOpenBench --benchmark_filter=/10000
//
// Peak memory (VmHWM) only grows within a process: run one size per process to read it for that size.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <algorithm>
#include <fstream>
#include <string>

#include "RawBench.h"
#include "RawJobGenerator.h"

namespace {

// A realistic job of `points` rover points around one base station per 200 points (at least 5).
QString writeJob(const QTemporaryDir& dir, int points) {
    rawgen::JobShape shape;
    shape.points = points;
    shape.bases = std::max(5, points / 200);
    const QString path = dir.filePath(QStringLiteral("job%1.raw").arg(points));
    return rawgen::writeJobFile(shape, path.toStdString()) ? path : QString();
}

double peakMegabytes() {
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind("VmHWM:", 0) == 0) return std::stod(line.substr(6)) / 1024.0;
    return 0;
}

void OpenJob(benchmark::State& state) {
    QTemporaryDir dir;
    const QString previous = QDir::currentPath();
    QDir::setCurrent(dir.path());
    QFile catalogue(QStringLiteral("Antenna.ini"));
    if (catalogue.open(QIODevice::WriteOnly))
        for (const char* name : rawgen::kAntennas)
            catalogue.write(QByteArray("\n[ANTENNA]\n") + name + "\n0.06\n0.12\n0.09");
    catalogue.close();
    const QString path = writeJob(dir, static_cast<int>(state.range(0)));

    RawBench window;
    window.show();
    QApplication::processEvents();
    for (auto _ : state) {
        if (!window.openFile(path)) state.SkipWithError("cannot open the generated job");
        QApplication::processEvents();  // layout and first paint of the tables and the plan
    }
    state.counters["points"] = static_cast<double>(window.job().rovers.size());
    state.counters["peak_MB"] = peakMegabytes();
    QDir::setCurrent(previous);
}

}  // namespace

BENCHMARK(OpenJob)->Arg(1000)->Arg(10000)->Arg(50000)->Unit(benchmark::kMillisecond)->Iterations(1);

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
