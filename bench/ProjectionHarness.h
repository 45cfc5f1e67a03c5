#pragma once
// The PROJ comparison the projection benchmarks share: 16 × 16 sample points over a setup's area, their
// grid coordinates through the transformer, and the timed loops for Geodex and for PROJ's proj_trans.
// A setup type carries latMin, latMax, lonMin, lonMax (degrees) and proj (the PROJ definition); the program
// defines transformerFor(const Setup&) next to it, found when the templates below are used.
// Counter "per_point" is the time per point.
#include <benchmark/benchmark.h>
#include <proj.h>

#include <vector>

#include "geodex/DatumTransformer.h"

namespace ProjectionHarness {

using Orvale::Geodex::DatumTransformer;

const double kRadiansPerDegree = 0.017453292519943295;
const int kPoints = 256;

// Longitude, latitude (radians) spread over the sample area.
template <typename Setup>
std::vector<PJ_COORD> geodeticPoints(const Setup& s) {
    std::vector<PJ_COORD> points;
    for (int i = 0; i < kPoints; ++i) {
        const double u = (i % 16 + 0.5) / 16, v = (i / 16 + 0.5) / 16;
        points.push_back(proj_coord((s.lonMin + u * (s.lonMax - s.lonMin)) * kRadiansPerDegree,
                                    (s.latMin + v * (s.latMax - s.latMin)) * kRadiansPerDegree, 0, 0));
    }
    return points;
}

// Their easting, northing through the transformer.
template <typename Setup>
std::vector<PJ_COORD> gridPoints(const Setup& s) {
    DatumTransformer t = transformerFor(s);
    std::vector<PJ_COORD> points;
    for (const PJ_COORD& g : geodeticPoints(s)) {
        double n = 0, e = 0, h = 0;
        t.Projecting(g.lp.phi, g.lp.lam, 0, n, e, h);
        points.push_back(proj_coord(e, n, 0, 0));
    }
    return points;
}

inline void perPoint(benchmark::State& state) {
    state.counters["per_point"] =
        benchmark::Counter(static_cast<double>(state.iterations()) * kPoints,
                           benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

template <typename Setup>
void geodexForward(benchmark::State& state, Setup s) {
    DatumTransformer t = transformerFor(s);
    const std::vector<PJ_COORD> points = geodeticPoints(s);
    for (auto _ : state) {
        for (const PJ_COORD& g : points) {
            double n, e, h;
            t.Projecting(g.lp.phi, g.lp.lam, 0, n, e, h);
            benchmark::DoNotOptimize(n);
            benchmark::DoNotOptimize(e);
        }
    }
    perPoint(state);
}

template <typename Setup>
void geodexInverse(benchmark::State& state, Setup s) {
    DatumTransformer t = transformerFor(s);
    const std::vector<PJ_COORD> points = gridPoints(s);
    for (auto _ : state) {
        for (const PJ_COORD& p : points) {
            double lat, lon, h;
            t.BackProjecting(p.xy.y, p.xy.x, 0, lat, lon, h);
            benchmark::DoNotOptimize(lat);
            benchmark::DoNotOptimize(lon);
        }
    }
    perPoint(state);
}

template <typename Setup>
void projRun(benchmark::State& state, const Setup& s, PJ_DIRECTION direction) {
    PJ_CONTEXT* ctx = proj_context_create();
    PJ* pj = proj_create(ctx, s.proj.c_str());
    if (!pj) {
        state.SkipWithError("PROJ refused the definition");
        proj_context_destroy(ctx);
        return;
    }
    const std::vector<PJ_COORD> points = direction == PJ_FWD ? geodeticPoints(s) : gridPoints(s);
    for (auto _ : state) {
        for (const PJ_COORD& p : points) benchmark::DoNotOptimize(proj_trans(pj, direction, p));
    }
    perPoint(state);
    proj_destroy(pj);
    proj_context_destroy(ctx);
}

template <typename Setup>
void projForward(benchmark::State& state, Setup s) {
    projRun(state, s, PJ_FWD);
}
template <typename Setup>
void projInverse(benchmark::State& state, Setup s) {
    projRun(state, s, PJ_INV);
}

}  // namespace ProjectionHarness
