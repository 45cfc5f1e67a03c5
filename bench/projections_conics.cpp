// Speed of the conic projections (codes 0, 2, 14, 15, 23, 28) through DatumTransformer (which keeps its
// projection object while the parameters stay the same), next to PROJ's proj_trans for the same
// projection and the same points. Counter "per_point" is the time per point. The "kept" rows convert
// with one object of the class built beforehand, without the transformer.
#include <benchmark/benchmark.h>
#include <proj.h>

#include <cstdio>
#include <string>
#include <vector>

#include "ProjectionHarness.h"
#include "geodex/geodex.h"

using namespace Orvale::Geodex;

using namespace ProjectionHarness;

namespace {
const double kDeg = 0.017453292519943295;
const double kA = 6378137.0;
const double kF = 1 / 298.257223563;

struct Setup {
    std::string name;  // code, and what the sample is when a code has two
    int code;
    double cm, ol, fe, fn, k, sp1, sp2;  // radians, metres
    std::string proj;                    // the same projection for PROJ
    double latMin, latMax;               // degrees, sample area
    double lonMin, lonMax;               // degrees
};

// The PROJ definition with every angle in radians (trailing r) and the same ellipsoid.
std::string projDefinition(const char* format, double p1, double p2 = 0, double p3 = 0, double p4 = 0) {
    char text[400];
    std::snprintf(text, sizeof text, format, p1, p2, p3, p4);
    char ellipsoid[80];
    std::snprintf(ellipsoid, sizeof ellipsoid, " +a=%.17g +f=%.17g", kA, kF);
    return std::string(text) + ellipsoid;
}

std::vector<Setup> setups() {
    const double d = kDeg;
    const double nearPole = 89.99944444444445 * d;
    return {
        {"0", 0, -96 * d, 23 * d, 0, 0, 1, 29.5 * d, 45.5 * d,
         projDefinition("+proj=aea +lat_0=%.17gr +lat_1=%.17gr +lat_2=%.17gr +lon_0=%.17gr", 23 * d, 29.5 * d,
                        45.5 * d, -96 * d),
         25, 50, -125, -67},
        {"2", 2, 20 * d, 45 * d, 0, 0, 1, 0, 0,
         projDefinition("+proj=bonne +lat_1=%.17gr +lon_0=%.17gr", 45 * d, 20 * d), 30, 60, -10, 50},
        {"14", 14, 10 * d, 45 * d, 500000, 0, 0.9996, 0, 0,
         projDefinition("+proj=lcc +lat_0=%.17gr +lat_1=%.17gr +k_0=0.9996 +lon_0=%.17gr +x_0=500000", 45 * d,
                        45 * d, 10 * d),
         30, 60, -10, 30},
        {"15", 15, 3 * d, 46.5 * d, 700000, 6600000, 1, 44 * d, 49 * d,
         projDefinition("+proj=lcc +lat_0=%.17gr +lat_1=%.17gr +lat_2=%.17gr +lon_0=%.17gr +x_0=700000 "
                        "+y_0=6600000",
                        46.5 * d, 44 * d, 49 * d, 3 * d),
         41, 52, -5, 10},
        {"23", 23, -45 * d, 81 * d, 0, 0, 1, 71 * d, 0,
         projDefinition("+proj=lcc +lat_0=%.17gr +lat_1=%.17gr +lat_2=%.17gr +lon_0=%.17gr", 81 * d, 71 * d,
                        nearPole, -45 * d),
         60, 89, -180, 180},
        {"28", 28, -100 * d, 40 * d, 0, 0, 1, 0, 0,
         projDefinition("+proj=poly +lat_0=%.17gr +lon_0=%.17gr", 40 * d, -100 * d), 25, 50, -110, -90},
        // The polyconic inverse iterates slowly far from its central meridian (a known property of its
        // iteration): the same projection sampled up to 60° away.
        {"28-far", 28, -100 * d, 40 * d, 0, 0, 1, 0, 0,
         projDefinition("+proj=poly +lat_0=%.17gr +lon_0=%.17gr", 40 * d, -100 * d), 0, 70, -160, -40},
    };
}

DatumTransformer transformerFor(const Setup& s) {
    DatumTransformer t;
    t.SetDstEllipsoid(kA, kF);
    t.SetProjectionMethod(s.code);
    t.SetProjectionParams(s.cm, s.ol, s.fe, s.fn, s.k, s.sp1, s.sp2, 0, 0, 'N', 0);
    return t;
}

// Builds the class of the setup's code once and hands it to `use`.
template <typename Use>
void withObject(const Setup& s, Use use) {
    switch (s.code) {
        case 0:
            use(AlbersEqualAreaConic(kA, kF, s.cm, s.ol, s.sp1, s.sp2, s.fe, s.fn));
            break;
        case 2:
            use(Bonne(kA, kF, s.cm, s.ol, s.fe, s.fn));
            break;
        case 14:
            use(LambertConformalConic(kA, kF, s.cm, s.ol, s.fe, s.fn, s.k));
            break;
        case 15:
            use(LambertConformalConic(kA, kF, s.cm, s.ol, s.sp1, s.sp2, s.fe, s.fn));
            break;
        case 23:
            use(PolarLambertConformalConic(kA, kF, s.cm, s.ol, s.sp1, s.fe, s.fn));
            break;
        case 28:
            use(Polyconic(kA, kF, s.cm, s.ol, s.fe, s.fn));
            break;
        default:
            break;
    }
}

void keptForward(benchmark::State& state, Setup s) {
    const std::vector<PJ_COORD> points = geodeticPoints(s);
    withObject(s, [&](const auto& projection) {
        for (auto _ : state) {
            for (const PJ_COORD& g : points) {
                const GeodeticCoordinates point(10, g.lp.lam, g.lp.phi, 0);
                MapProjectionCoordinates* r = projection.project(point);
                benchmark::DoNotOptimize(r->easting());
                delete r;
            }
        }
    });
    perPoint(state);
}

void keptInverse(benchmark::State& state, Setup s) {
    const std::vector<PJ_COORD> points = gridPoints(s);
    withObject(s, [&](const auto& projection) {
        for (auto _ : state) {
            for (const PJ_COORD& p : points) {
                const MapProjectionCoordinates grid(s.code, p.xy.x, p.xy.y);
                GeodeticCoordinates* r = projection.backProject(grid);
                benchmark::DoNotOptimize(r->latitude());
                delete r;
            }
        }
    });
    perPoint(state);
}

const bool registered = [] {
    for (const Setup& s : setups()) {
        benchmark::RegisterBenchmark(("forward/" + s.name + "/Geodex").c_str(), geodexForward<Setup>, s);
        benchmark::RegisterBenchmark(("forward/" + s.name + "/Geodex kept").c_str(), keptForward, s);
        benchmark::RegisterBenchmark(("forward/" + s.name + "/PROJ").c_str(), projForward<Setup>, s);
        benchmark::RegisterBenchmark(("inverse/" + s.name + "/Geodex").c_str(), geodexInverse<Setup>, s);
        benchmark::RegisterBenchmark(("inverse/" + s.name + "/Geodex kept").c_str(), keptInverse, s);
        benchmark::RegisterBenchmark(("inverse/" + s.name + "/PROJ").c_str(), projInverse<Setup>, s);
    }
    return true;
}();
}  // namespace

BENCHMARK_MAIN();
