#pragma once
// A scratch working directory for the RawBench benchmarks: an antenna catalogue with the generator's
// antennas and a realistic generated job of `points` rover points around one base station per 200 points
// (at least 5). The previous working directory comes back when it goes. Also the main of those
// benchmarks: a widget application, offscreen unless a platform is set, around Google Benchmark.
#include <QApplication>
#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>
#include <QTemporaryDir>
#include <algorithm>

#include <benchmark/benchmark.h>

#include "RawJobGenerator.h"

struct ScratchJob {
    QTemporaryDir dir;
    QString previous = QDir::currentPath();
    QString path;  // the job file; empty when it could not be written

    explicit ScratchJob(int points) {
        QDir::setCurrent(dir.path());
        QFile catalogue(QStringLiteral("Antenna.ini"));
        if (catalogue.open(QIODevice::WriteOnly))
            for (const char* name : rawgen::kAntennas)
                catalogue.write(QByteArray("\n[ANTENNA]\n") + name + "\n0.06\n0.12\n0.09");
        catalogue.close();
        rawgen::JobShape shape;
        shape.points = points;
        shape.bases = std::max(5, points / 200);
        path = dir.filePath(QStringLiteral("job%1.raw").arg(points));
        if (!rawgen::writeJobFile(shape, path.toStdString())) path.clear();
    }
    ~ScratchJob() { QDir::setCurrent(previous); }
};

inline int runWidgetBenchmarks(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
