// Ellipsoidal cylindrical projections (codes 4, 5, 17, 18, 31): time per point forward and inverse
// through the transformer's dispatch (the projection object kept between points), next to PROJ's
// proj_trans on the same projection, ellipsoid and points (one PROJ object for the whole run).
// PROJ's tcea is spherical only; code 31 is timed against it as the nearest reference.
//
//   cmake -S . -B build -DGEODEX_BUILD_BENCH=ON && cmake --build build --target projections_cylindrical
//   build/bench/projections_cylindrical --benchmark_counters_tabular=true
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
const double kCentralMeridian = 0.2;
const double kOriginLatitude = 0.6;
const double kFalseEasting = 500000;
const double kFalseNorthing = 100000;
const double kScaleFactor = 0.9996;

struct Code {
    int code;
    const char* name;
    const char* proj;     // PROJ definition without ellipsoid, origin and false origin
    double halfWidthDeg;  // points lie within this many degrees of the central meridian
};
const Code kCodes[] = {
    {4, "Cassini", "+proj=cass +lat_0=34.37746770784939", 4},
    {5, "CylEqualArea", "+proj=cea +lat_ts=34.37746770784939", 179},
    {17, "MercatorTrueScale", "+proj=merc +lat_ts=34.37746770784939", 179},
    {18, "MercatorScale", "+proj=merc +k_0=0.9996", 179},
    {31, "TransvCylEqualArea", "+proj=tcea +lat_0=34.37746770784939 +k_0=0.9996", 89},
};

using Point = ProjectionHarness::SamplePoint;

// 35 × 51 points from −85° to 85° in latitude, spread over the code's longitude band.
std::vector<Point> geodeticPoints(double halfWidthDeg) {
    std::vector<Point> points;
    for (double lat = -85; lat <= 85; lat += 5)
        for (int i = 0; i <= 50; ++i) {
            const double dlon = -halfWidthDeg + 2 * halfWidthDeg * i / 50;
            points.push_back({kCentralMeridian + dlon * kDeg, lat * kDeg, 0, 0});
        }
    return points;
}

DatumTransformer transformerFor(int code) {
    DatumTransformer t;
    t.SetDstEllipsoid(kA, kF);
    t.SetProjectionMethod(code);
    t.SetProjectionParams(kCentralMeridian, kOriginLatitude, kFalseEasting, kFalseNorthing, kScaleFactor,
                          kOriginLatitude, 0, 0, 0, 'N', 0);
    return t;
}

PJ* projFor(const Code& c) {
    char definition[300];
    std::snprintf(definition, sizeof definition, "%s +a=%.17g +rf=%.17g +lon_0=%.17g +x_0=%.17g +y_0=%.17g",
                  c.proj, kA, 1 / kF, kCentralMeridian / kDeg, kFalseEasting, kFalseNorthing);
    return proj_create(PJ_DEFAULT_CTX, definition);
}

void setRate(benchmark::State& state, std::size_t points) {
    state.counters["ns/point"] =
        benchmark::Counter(static_cast<double>(points) * 1e-9,
                           benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

void geodexForward(benchmark::State& state, const Code& c) {
    DatumTransformer t = transformerFor(c.code);
    std::vector<Point> points = geodeticPoints(c.halfWidthDeg);
    if (timeGeodexForward(state, t, points)) setRate(state, points.size());
}

void geodexInverse(benchmark::State& state, const Code& c) {
    DatumTransformer t = transformerFor(c.code);
    std::vector<Point> points = geodeticPoints(c.halfWidthDeg);
    if (timeGeodexInverse(state, t, points)) setRate(state, points.size());
}

void projForward(benchmark::State& state, const Code& c) {
    PJ* oracle = projFor(c);
    std::vector<Point> points = geodeticPoints(c.halfWidthDeg);
    timeProjForward(state, oracle, points);
    setRate(state, points.size());
    proj_destroy(oracle);
}

void projInverse(benchmark::State& state, const Code& c) {
    PJ* oracle = projFor(c);
    std::vector<Point> points = geodeticPoints(c.halfWidthDeg);
    timeProjInverse(state, oracle, points);
    setRate(state, points.size());
    proj_destroy(oracle);
}
}  // namespace

int main(int argc, char** argv) {
    for (const Code& c : kCodes) {
        const std::string name = std::to_string(c.code) + "_" + c.name;
        benchmark::RegisterBenchmark((name + "/forward/Geodex").c_str(), geodexForward, c);
        benchmark::RegisterBenchmark((name + "/forward/PROJ").c_str(), projForward, c);
        benchmark::RegisterBenchmark((name + "/inverse/Geodex").c_str(), geodexInverse, c);
        benchmark::RegisterBenchmark((name + "/inverse/PROJ").c_str(), projInverse, c);
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
