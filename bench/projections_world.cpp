// World projections (codes 6, 7, 8, 20, 21, 29, 36): time per point forward and inverse through the
// transformer's dispatch (the projection object kept between points), next to PROJ's proj_trans on the same
// projection and points (one PROJ object for the whole run).
//
//   cmake -S . -B build -DGEODEX_BUILD_BENCH=ON && cmake --build build --target projections_world
//   build/bench/projections_world --benchmark_counters_tabular=true
#include <benchmark/benchmark.h>
#include <proj.h>

#include <cstdio>
#include <string>
#include <vector>

#include "ProjectionHarness.h"
#include "geodex/DatumTransformer.h"

using Orvale::Geodex::DatumTransformer;
using ProjectionHarness::timeGeodexForward;
using ProjectionHarness::timeGeodexInverse;
using ProjectionHarness::timeProjForward;
using ProjectionHarness::timeProjInverse;

namespace {
const double kA = 6378137.0;
const double kF = 1 / 298.257223563;
const double kDeg = 3.141592653589793 / 180;
const double kFalseEasting = 500000;
const double kStandardParallel = 0.6;

struct Code {
    int code;
    const char* name;
    const char* proj;  // PROJ definition without the sphere, the origin and the false easting
};
const Code kCodes[] = {
    {6, "EckertIV", "+proj=eck4"},        {7, "EckertVI", "+proj=eck6"},   {8, "EquidistantCyl", "+proj=eqc"},
    {20, "Miller", "+proj=mill"},         {21, "Mollweide", "+proj=moll"}, {29, "Sinusoidal", "+proj=sinu"},
    {36, "VanDerGrinten", "+proj=vandg"},
};

using Point = ProjectionHarness::SamplePoint;

// 1 800 points over the globe, away from the antimeridian.
std::vector<Point> geodeticPoints() {
    std::vector<Point> points;
    for (double lat = -85; lat <= 85; lat += 5)
        for (double lon = -179.5; lon < 180; lon += 7.2) points.push_back({lon * kDeg, lat * kDeg, 0, 0});
    return points;
}

DatumTransformer transformerFor(int code) {
    DatumTransformer t;
    t.SetDstEllipsoid(kA, kF);
    t.SetProjectionMethod(code);
    t.SetProjectionParams(0, 0, kFalseEasting, 0, 1, kStandardParallel, 0, 0, 0, 'N', 0);
    return t;
}

PJ* projFor(const Code& c) {
    char definition[256];
    if (c.code == 29)
        std::snprintf(definition, sizeof definition, "%s +ellps=WGS84 +x_0=%.17g", c.proj, kFalseEasting);
    else {
        // The sphere of equal area, radius a (1 − e²/6 − 17e⁴/360 − 67e⁶/3024).
        const double es = 2 * kF - kF * kF;
        const double ra = kA * (1 - es / 6 - 17 * es * es / 360 - 67 * es * es * es / 3024);
        std::snprintf(definition, sizeof definition, "%s +R=%.17g +x_0=%.17g +lat_ts=%.17g", c.proj, ra,
                      kFalseEasting, kStandardParallel / kDeg);
    }
    return proj_create(PJ_DEFAULT_CTX, definition);
}

void setRate(benchmark::State& state, std::size_t points) {
    // Seconds per point (printed with its SI prefix: 54.3n is 54.3 ns).
    state.counters["per_point"] =
        benchmark::Counter(static_cast<double>(points),
                           benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

void geodexForward(benchmark::State& state, int code) {
    DatumTransformer t = transformerFor(code);
    std::vector<Point> points = geodeticPoints();
    if (timeGeodexForward(state, t, points)) setRate(state, points.size());
}

void geodexInverse(benchmark::State& state, int code) {
    DatumTransformer t = transformerFor(code);
    std::vector<Point> points = geodeticPoints();
    if (timeGeodexInverse(state, t, points)) setRate(state, points.size());
}

void projForward(benchmark::State& state, const Code& c) {
    PJ* oracle = projFor(c);
    std::vector<Point> points = geodeticPoints();
    timeProjForward(state, oracle, points);
    setRate(state, points.size());
    proj_destroy(oracle);
}

void projInverse(benchmark::State& state, const Code& c) {
    PJ* oracle = projFor(c);
    std::vector<Point> points = geodeticPoints();
    timeProjInverse(state, oracle, points);
    setRate(state, points.size());
    proj_destroy(oracle);
}
}  // namespace

int main(int argc, char** argv) {
    for (const Code& c : kCodes) {
        const std::string name = std::to_string(c.code) + "_" + c.name;
        benchmark::RegisterBenchmark((name + "/forward/Geodex").c_str(), geodexForward, c.code);
        benchmark::RegisterBenchmark((name + "/forward/PROJ").c_str(), projForward, c);
        benchmark::RegisterBenchmark((name + "/inverse/Geodex").c_str(), geodexInverse, c.code);
        benchmark::RegisterBenchmark((name + "/inverse/PROJ").c_str(), projInverse, c);
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
