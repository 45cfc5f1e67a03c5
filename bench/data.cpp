// Speed of the parameter solver and of geoid interpolation.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <unistd.h>

#include <GeographicLib/Geoid.hpp>
#include <cstdio>
#include <iostream>
#include <random>
#include <string>
#include <vector>

#include "geodex/geodex.h"
#include "geodex/geoid/GgfFile.h"
#include "geodex/solver/ParamSolver.h"

using namespace Orvale::Geodex;

namespace {

const double kDeg = 0.017453292519943295;

// Sends standard output to /dev/null while it lives (the solvers print their reports there).
class Silence {
  public:
    Silence() {
        std::fflush(stdout);
        saved_ = dup(STDOUT_FILENO);
        const int null = open("/dev/null", O_WRONLY);
        dup2(null, STDOUT_FILENO);
        close(null);
    }
    ~Silence() {
        std::cout.flush();
        std::fflush(stdout);
        dup2(saved_, STDOUT_FILENO);
        close(saved_);
    }
    Silence(const Silence&) = delete;
    Silence& operator=(const Silence&) = delete;

  private:
    int saved_;
};

// 100 points over about 12° × 12°, geocentric on WGS 84, and their images under known parameters.
struct SevenProblem {
    std::vector<double> source, target;
    SevenProblem() {
        Geocentric wgs84(6378137.0, 0.0033528106647474805);
        for (int i = 0; i < 100; ++i) {
            GeodeticCoordinates p(10, (4 + 1.3 * (i % 10)) * kDeg, (44 + 1.2 * (i / 10)) * kDeg,
                                  100.0 + 13 * i);
            std::unique_ptr<CartesianCoordinates> c(wgs84.toGeocentric(p));
            source.insert(source.end(), {c->x(), c->y(), c->z()});
        }
        double p[7] = {15.8, -154.4, -82.3, 5.8e-6, -3.4e-6, 1.1e-5, 4.1e-6};
        target.resize(source.size());
        ParamSolver::sevenParamModel(p, target.data(), 7, int(source.size()), source.data());
    }
};

void SolveParamSeven100Points(benchmark::State& state) {
    SevenProblem problem;
    Silence quiet;
    for (auto _ : state) {
        double p[7] = {0, 0, 0, 0, 0, 0, 0};
        benchmark::DoNotOptimize(
            ParamSolver::SolveParamSeven(p, problem.source.data(), problem.target.data(), 300));
    }
    state.counters["iterations"] = ParamSolver::solver.info[5];
    state.counters["evaluations"] = ParamSolver::solver.info[7];
}
BENCHMARK(SolveParamSeven100Points)->Unit(benchmark::kMillisecond);

void SolveParamFour(benchmark::State& state) {
    const int points = int(state.range(0));
    std::vector<double> source, target;
    for (int i = 0; i < points; ++i) {
        const double x = 3000 + 117.0 * i, y = -2000 + 301.0 * ((i * 5) % 7);
        source.insert(source.end(), {x, y});
        target.insert(target.end(), {1200 + 1.00004 * (x * std::cos(0.01) - y * std::sin(0.01)),
                                     -830 + 1.00004 * (x * std::sin(0.01) + y * std::cos(0.01))});
    }
    Silence quiet;
    for (auto _ : state) {
        double p[4] = {0, 0, 0, 1};
        benchmark::DoNotOptimize(ParamSolver::SolveParamFour(p, source.data(), target.data(), 2 * points));
    }
    state.counters["evaluations"] = ParamSolver::solver.info[7];
}
BENCHMARK(SolveParamFour)->Arg(20)->Unit(benchmark::kMillisecond);

// One synthetic global grid of 15′ spacing (721 × 1441 nodes) as GGF and as a GeographicLib file.
struct Grid {
    std::string ggf, directory, pgmName;
    std::vector<double> lat, lon;  // degrees
    Grid() {
        const std::vector<int> values = GgfFile::syntheticGrid(721, 1441, 0.25);
        GgfFile::Header h;
        h.rows = 721;
        h.columns = 1441;
        h.latSpacing = h.lonSpacing = 0.25;
        directory = "/tmp/";
        pgmName = "geodex_bench_" + std::to_string(getpid());
        ggf = directory + pgmName + ".ggf";
        GgfFile::writeFile(ggf, GgfFile::ggfBytes(h, values));
        GgfFile::writePgm(directory + pgmName + ".pgm", 721, 1441, values);
        std::mt19937_64 random(1);
        std::uniform_real_distribution<double> latitude(-90, 90), longitude(-180, 360);
        for (int k = 0; k < 4096; ++k) {
            lat.push_back(latitude(random));
            lon.push_back(longitude(random));
        }
    }
    ~Grid() {
        std::remove(ggf.c_str());
        std::remove((directory + pgmName + ".pgm").c_str());
    }
};

Grid& grid() {
    static Grid g;
    return g;
}

void GeoidBilinearGeodex(benchmark::State& state) {
    Grid& g = grid();
    GeoidDB* db = GeoidDB::getInstance();
    db->LoadGGFFile(g.ggf.c_str());
    std::size_t k = 0;
    for (auto _ : state) {
        double H = 0;
        db->ConvertEllipsoidToGeoidHeight(g.lat[k] * kDeg, g.lon[k] * kDeg, 100, &H);
        benchmark::DoNotOptimize(H);
        k = (k + 1) & 4095;
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(GeoidBilinearGeodex);

void GeoidBilinearGeographicLib(benchmark::State& state) {
    Grid& g = grid();
    const GeographicLib::Geoid geoid(g.pgmName, g.directory, false, true);  // bilinear, all in memory
    std::size_t k = 0;
    for (auto _ : state) {
        const double H = 100 - geoid(g.lat[k], g.lon[k]);
        benchmark::DoNotOptimize(H);
        k = (k + 1) & 4095;
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(GeoidBilinearGeographicLib);

void TransformerGeoidWrapper(benchmark::State& state) {
    Grid& g = grid();
    DatumTransformer t;
    t.SetGeoidFilePath(g.ggf);
    std::size_t k = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(t.ConvertEllipsoidToGeoidHeight(g.lat[k] * kDeg, g.lon[k] * kDeg, 100, 0));
        k = (k + 1) & 4095;
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(TransformerGeoidWrapper)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
