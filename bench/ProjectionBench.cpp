// Transverse Mercator (code 32) and UTM (code 34) through DatumTransformer against PROJ's proj_trans
// (tmerc and utm), forward and inverse, on the same 1 000 000 points of UTM zone 32 north.
#include <benchmark/benchmark.h>
#include <proj.h>

#include <random>
#include <stdexcept>
#include <vector>

#include "geodex/geodex.h"

using Orvale::Geodex::DatumTransformer;

namespace {
const double kDeg = 0.017453292519943295;
const char* const kProjTmerc = "+proj=tmerc +lat_0=0 +lon_0=9 +k=0.9996 +x_0=500000 +y_0=0 +ellps=WGS84";
const char* const kProjUtm = "+proj=utm +zone=32 +ellps=WGS84";

struct Point {
    double lat, lon;           // radians
    double northing, easting;  // metres, zone 32
};

// Latitudes 0.5° to 80° N, longitudes 6° to 12° E (zone 32), with their grid coordinates.
const std::vector<Point>& points() {
    static const std::vector<Point> all = [] {
        std::mt19937_64 random(20240601);
        std::uniform_real_distribution<double> lat(0.5 * kDeg, 80 * kDeg);
        std::uniform_real_distribution<double> lon(6 * kDeg, 12 * kDeg);
        PJ* tmerc = proj_create(PJ_DEFAULT_CTX, kProjTmerc);
        if (tmerc == nullptr) throw std::runtime_error("PROJ tmerc not available");
        std::vector<Point> v(1000000);
        for (Point& p : v) {
            p.lat = lat(random);
            p.lon = lon(random);
            const PJ_COORD grid = proj_trans(tmerc, PJ_FWD, proj_coord(p.lon, p.lat, 0, 0));
            p.easting = grid.enu.e;
            p.northing = grid.enu.n;
        }
        proj_destroy(tmerc);
        return v;
    }();
    return all;
}

DatumTransformer transformer(int code) {
    DatumTransformer t;
    t.SetDstEllipsoid(6378137.0, 1 / 298.257223563);
    t.SetProjectionMethod(code);
    t.SetProjectionParams(9 * kDeg, 0, 500000, 0, 0.9996, 0, 0, 32, 0, 'N', 0);
    return t;
}

void geodexProjecting(benchmark::State& state, int code) {
    DatumTransformer t = transformer(code);
    const std::vector<Point>& v = points();
    for (auto _ : state) {
        for (const Point& p : v) {
            double n = 0, e = 0, h = 0;
            t.Projecting(p.lat, p.lon, 0, n, e, h);
            benchmark::DoNotOptimize(n);
            benchmark::DoNotOptimize(e);
        }
    }
    state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(v.size()));
}

void geodexBackProjecting(benchmark::State& state, int code) {
    DatumTransformer t = transformer(code);
    const std::vector<Point>& v = points();
    for (auto _ : state) {
        for (const Point& p : v) {
            double lat = 0, lon = 0, h = 0;
            t.BackProjecting(p.northing, p.easting, 0, lat, lon, h);
            benchmark::DoNotOptimize(lat);
            benchmark::DoNotOptimize(lon);
        }
    }
    state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(v.size()));
}

void projTrans(benchmark::State& state, const char* definition, PJ_DIRECTION direction) {
    PJ* pj = proj_create(PJ_DEFAULT_CTX, definition);
    const std::vector<Point>& v = points();
    for (auto _ : state) {
        for (const Point& p : v) {
            const PJ_COORD in = direction == PJ_FWD ? proj_coord(p.lon, p.lat, 0, 0)
                                                    : proj_coord(p.easting, p.northing, 0, 0);
            const PJ_COORD out = proj_trans(pj, direction, in);
            benchmark::DoNotOptimize(out);
        }
    }
    state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(v.size()));
    proj_destroy(pj);
}
}  // namespace

BENCHMARK_CAPTURE(geodexProjecting, TransverseMercator32, 32)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(projTrans, ProjTmercForward, kProjTmerc, PJ_FWD)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(geodexBackProjecting, TransverseMercator32, 32)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(projTrans, ProjTmercInverse, kProjTmerc, PJ_INV)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(geodexProjecting, UTM34, 34)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(projTrans, ProjUtmForward, kProjUtm, PJ_FWD)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(geodexBackProjecting, UTM34, 34)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(projTrans, ProjUtmInverse, kProjUtm, PJ_INV)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
