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
#include <cmath>
#include <fstream>
#include <string>

#include "RawBench.h"

namespace {

// Writes a job of `points` rover points measured from one base per 50 rovers, in a spiral around them.
QString writeJob(const QTemporaryDir& dir, int points) {
    const QString path = dir.filePath(QStringLiteral("job%1.raw").arg(points));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly)) return QString();
    QByteArray text =
        "QZVS,VS  V1.0\nJB,NMBench,DT2026-11-02,TM08:00:00\nCS,CO32,ZG,ZN50N,DNWGS84\n"
        "ES,RD6378137,IF298.257223563,EMWGS84\nDT,DA1,RD6378137,IF298.257223563,OX0.3,OY0.2,OZ0.1,LX1,LY2,"
        "LZ3,SP1\n"
        "QZAH,AHUS1,ORGX0,ORGY0,TRSX1,TRSY1,CA  0.01,CK  1\nQZAV,AVUS1,A0  0.1,A1  0,A2  0,X0  0,Y0  0\n"
        "PJ,TP32,LA0,LN0,HT0,N 0,E 500000,EL0,SC0.9996,OO0,OT0\nQZMC,MC  2.0420352248333655\n";
    for (int i = 0; i < points; ++i) {
        const int base = i / 50;
        const double baseNorth = 4200000.0 + 1000.0 * (base % 40), baseEast = 500000.0 + 1000.0 * (base / 40);
        const double north = baseNorth + 3.0 * (i % 50) * std::cos(i * 0.7);
        const double east = baseEast + 3.0 * (i % 50) * std::sin(i * 0.7);
        const QByteArray name = "P" + QByteArray::number(i), baseName = "BASE" + QByteArray::number(base);
        text +=
            "GS,PN" + name + ",N " + QByteArray::number(north, 'f', 4) + ",E " +
            QByteArray::number(east, 'f', 4) + ",EL52.25,--\nAH,DC,MA1.800,ME" + QByteArray::number(i % 3) +
            ",RA0\nQZAT,AT  HX-CSX601A\nEP,TM1,LA0.6,LN2,HT30,RH0.008,RV0.014,DH2,DV1,GM1,CL2\n"
            "QZDP,DOP 1.2,DIF 9\nQZRV,QZTM08:15:02,RVWB0.6,RVWL2.0,RVWH40,DRTM12,EPCH30,NGPS8,NGNS6,NALL14\n"
            "QZBS,BSNM" +
            baseName + ",BSN " + QByteArray::number(baseNorth, 'f', 4) + ",BSE " +
            QByteArray::number(baseEast, 'f', 4) +
            ",BSH 50,BSWB0.6,BSWL2,BSWH30,BSATTRM57971.00,BSMA1.5,BSME0\n"
            "QZAD,CODEc,ECHT0,XP  0.008,YP  0.009,HP  0.014,METHRTK\n";
    }
    file.write(text);
    return path;
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
        catalogue.write(
            "\n[ANTENNA]\nHX-CSX601A\n0.060\n0.120\n0.090\n[ANTENNA]\nTRM57971.00\n0.065\n0.128\n0.095");
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

BENCHMARK(OpenJob)->Arg(1000)->Arg(10000)->Arg(50000)->Unit(benchmark::kMillisecond)->Iterations(3);

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
