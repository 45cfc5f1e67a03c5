// Speed of the azimuthal projections and Krovak through DatumTransformer (which keeps its projection
// object between points) next to PROJ's proj_trans for the same projection and points.
// Counter "per_point" is the time per point.
#include <benchmark/benchmark.h>
#include <proj.h>

#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "ProjectionHarness.h"
#include "geodex/geodex.h"

using Orvale::Geodex::DatumTransformer;

using namespace ProjectionHarness;

namespace {
const double kPi = 3.141592653589793;
const double kDeg = kPi / 180;
const double kA = 6378137.0;
const double kF = 1 / 298.257223563;
const double kBesselA = 6377397.155;
const double kBesselF = 1 / 299.1528128;

struct Setup {
    int code;
    double a, f;
    double cm, ol, fe, fn, k, sp1;
    char hemisphere;
    double coneAxis;
    std::string proj;       // the same projection for PROJ (spherical ones on the authalic radius)
    double latMin, latMax;  // degrees, sample area
    double lonMin, lonMax;  // degrees
};

std::string sphere() {
    const double es = 2 * kF - kF * kF;
    const double ra = kA * (1 - es / 6 - 17 * es * es / 360 - 67 * es * es * es / 3024);
    char text[64];
    std::snprintf(text, sizeof text, " +R=%.10f", ra);
    return text;
}

std::vector<Setup> setups() {
    const std::string wgs = " +a=6378137 +rf=298.257223563";
    return {
        {1, kA, kF, 10 * kDeg, 40 * kDeg, 0, 0, 1, 0, 'N', 0, "+proj=aeqd +lat_0=40 +lon_0=10" + sphere(), 20,
         60, -20, 40},
        {13, kA, kF, 10 * kDeg, 50 * kDeg, 0, 0, 1, 0, 'N', 0, "+proj=gnom +lat_0=50 +lon_0=10" + sphere(),
         30, 70, -20, 40},
        {25, kA, kF, 10 * kDeg, 45 * kDeg, 0, 0, 1, 0, 'N', 0, "+proj=ortho +lat_0=45 +lon_0=10" + sphere(),
         25, 65, -20, 40},
        {26, kA, kF, -45 * kDeg, 0, 0, 0, 1, 71 * kDeg, 'N', 0,
         "+proj=stere +lat_0=90 +lat_ts=71 +lon_0=-45" + wgs, 60, 89, -180, 180},
        {27, kA, kF, 0, 0, 2e6, 2e6, 0.994, 0, 'N', 0,
         "+proj=stere +lat_0=90 +k_0=0.994 +lon_0=0 +x_0=2000000 +y_0=2000000" + wgs, 60, 89, -180, 180},
        {30, kA, kF, 10 * kDeg, 30 * kDeg, 0, 0, 1, 0, 'N', 0, "+proj=stere +lat_0=30 +lon_0=10" + sphere(),
         10, 50, -20, 40},
        {37, kBesselA, kBesselF, 49.5 * kDeg, 24.833333333333333 * kDeg, 0, 0, 0.9999, 1.37008346281555, 'N',
         1.5707963267948966 - 1.04216856380474, "+proj=krovak +czech +ellps=bessel", 48, 51, 12, 19},
    };
}

DatumTransformer transformerFor(const Setup& s) {
    DatumTransformer t;
    t.SetDstEllipsoid(s.a, s.f);
    t.SetProjectionMethod(s.code);
    t.SetProjectionParams(s.cm, s.ol, s.fe, s.fn, s.k, s.sp1, 0, 0, 0, s.hemisphere, s.coneAxis);
    return t;
}

const bool registered = [] {
    for (const Setup& s : setups()) {
        const std::string code = std::to_string(s.code);
        benchmark::RegisterBenchmark(("forward/" + code + "/Geodex").c_str(), geodexForward<Setup>, s);
        benchmark::RegisterBenchmark(("forward/" + code + "/PROJ").c_str(), projForward<Setup>, s);
        benchmark::RegisterBenchmark(("inverse/" + code + "/Geodex").c_str(), geodexInverse<Setup>, s);
        benchmark::RegisterBenchmark(("inverse/" + code + "/PROJ").c_str(), projInverse<Setup>, s);
    }
    return true;
}();
}  // namespace

BENCHMARK_MAIN();
