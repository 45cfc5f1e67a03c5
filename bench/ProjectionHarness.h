#pragma once
// The PROJ comparison the projection benchmarks share: 16 × 16 sample points over a setup's area, their
// grid coordinates through the transformer, and the timed loops for Geodex and for PROJ's proj_trans.
// A setup type carries latMin, latMax, lonMin, lonMax (degrees) and proj (the PROJ definition); the program
// defines transformerFor(const Setup&) next to it, found when the templates below are used.
// Counter "per_point" is the time per point.
// Further down: the timed loops of the programs that keep their results in their sample points.
#include <benchmark/benchmark.h>
#include <proj.h>

#include <vector>

#include "geodex/DatumTransformer.h"
#include "geodex/projections/CSException.h"

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

// The loops of the programs whose points carry their own results (geodetic in, grid out and back), timed
// over the whole vector per iteration. Each Geodex loop stops the run with the transformer's message when a
// point is refused, and then answers false.
struct SamplePoint {
    double lon, lat;  // radians
    double e, n;      // metres
};

inline bool timeGeodexForward(benchmark::State& state, DatumTransformer& t,
                              std::vector<SamplePoint>& points) {
    for (auto _ : state) {
        for (SamplePoint& p : points) {
            double h = 0;
            try {
                t.Projecting(p.lat, p.lon, 0, p.n, p.e, h);
            } catch (const Orvale::Geodex::CSException& e) {
                state.SkipWithError(e.getMessage());
                return false;
            }
        }
        benchmark::DoNotOptimize(points.data());
    }
    return true;
}

// Projects the points once untimed, then times their way back.
inline bool timeGeodexInverse(benchmark::State& state, DatumTransformer& t,
                              std::vector<SamplePoint>& points) {
    for (SamplePoint& p : points) {
        double h = 0;
        t.Projecting(p.lat, p.lon, 0, p.n, p.e, h);
    }
    for (auto _ : state) {
        for (SamplePoint& p : points) {
            double h = 0;
            try {
                t.BackProjecting(p.n, p.e, 0, p.lat, p.lon, h);
            } catch (const Orvale::Geodex::CSException& e) {
                state.SkipWithError(e.getMessage());
                return false;
            }
        }
        benchmark::DoNotOptimize(points.data());
    }
    return true;
}

inline void timeProjForward(benchmark::State& state, PJ* oracle, std::vector<SamplePoint>& points) {
    for (auto _ : state) {
        for (SamplePoint& p : points) {
            const PJ_COORD r = proj_trans(oracle, PJ_FWD, proj_coord(p.lon, p.lat, 0, 0));
            p.e = r.xy.x;
            p.n = r.xy.y;
        }
        benchmark::DoNotOptimize(points.data());
    }
}

// Projects the points once untimed, then times their way back.
inline void timeProjInverse(benchmark::State& state, PJ* oracle, std::vector<SamplePoint>& points) {
    for (SamplePoint& p : points) {
        const PJ_COORD r = proj_trans(oracle, PJ_FWD, proj_coord(p.lon, p.lat, 0, 0));
        p.e = r.xy.x;
        p.n = r.xy.y;
    }
    for (auto _ : state) {
        for (SamplePoint& p : points) {
            const PJ_COORD r = proj_trans(oracle, PJ_INV, proj_coord(p.e, p.n, 0, 0));
            p.lon = r.lp.lam;
            p.lat = r.lp.phi;
        }
        benchmark::DoNotOptimize(points.data());
    }
}

}  // namespace ProjectionHarness
