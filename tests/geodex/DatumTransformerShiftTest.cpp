// Datum shifts: the seven-parameter (Bursa), Molodensky and re-expression shifts against PROJ, and the
// edge cases of each method.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>

#include "geodex/ProjectionTestSupport.h"

using namespace ProjectionTestSupport;

namespace {
struct Geodetic {
    double lat, lon, h;
};

Geodetic shift(DatumTransformer& t, Geodetic p, bool toWGS84 = false) {
    Geodetic out{-1, -1, -1};
    if (toWGS84)
        t.GeodeticShiftToWGS84(p.lat, p.lon, p.h, out.lat, out.lon, out.h);
    else
        t.GeodeticShiftFromWGS84(p.lat, p.lon, p.h, out.lat, out.lon, out.h);
    return out;
}

// A shift between WGS 84 and the Krassowsky ellipsoid, or onto `dstA`, `dstF` when given.
DatumTransformer shifting(int method, const std::vector<double>& params, double dstA = kKrassowskyA,
                          double dstF = kKrassowskyF) {
    DatumTransformer t;
    t.SetSrcEllipsoid(kKrassowskyA, kKrassowskyF);
    t.SetDstEllipsoid(dstA, dstF);
    t.SetTransformMethod(method);
    if (!params.empty())
        t.SetTransformParams(params[0], params[1], params[2], params[3], params[4], params[5], params[6]);
    return t;
}

#if GEODEX_HAVE_PROJ
// Largest distance in metres between the shift of `t` and PROJ's pipeline over a grid of points.
double worstAgainstProj(DatumTransformer& t, const std::string& definition, bool toWGS84, double step) {
    const std::shared_ptr<PJ> pj = projObject(definition);
    EXPECT_NE(pj, nullptr) << definition;
    Largest worst;
    for (double lat = -88; lat <= 88; lat += step)
        for (double lon = -179; lon <= 180; lon += 2 * step) {
            const Geodetic p{lat * kDeg, lon * kDeg, 200}, ours = shift(t, p, toWGS84);
            const PJ_COORD c = proj_trans(pj.get(), PJ_FWD, proj_coord(p.lon, p.lat, p.h, 0));
            worst(std::fabs(ours.lat - c.lpz.phi) * kA);
            worst(std::fabs(std::remainder(ours.lon - c.lpz.lam, 2 * kHalfTurn)) * kA * std::cos(p.lat));
            worst(std::fabs(ours.h - c.lpz.z));
        }
    return worst.value;
}
#endif
}  // namespace

#if GEODEX_HAVE_PROJ

TEST(DatumShift, BursaMolodenskyAndReexpressionAgreeWithProj) {
    const double bursa[][7] = {{-24, 123, 94, 0.02, -0.25, -0.13, 1.1},
                               {565.4, 50.3, 465.6, 4.4, -1.6, 20.1, -4.3},
                               {0, 0, 0, 3000, -2000, 7200, 30}};
    Largest worstBursa, worstMolodensky;
    for (const auto& c : bursa) {
        DatumTransformer t = shifting(
            1, {c[0], c[1], c[2], c[3] * kArcSecond, c[4] * kArcSecond, c[5] * kArcSecond, c[6] * 1e-6});
        const std::string def = format(
            "+proj=pipeline +step +proj=cart +a=%.17g +f=%.17g +step +proj=helmert +x=%.17g +y=%.17g "
            "+z=%.17g +rx=%.17g +ry=%.17g +rz=%.17g +s=%.17g +convention=coordinate_frame +exact +step "
            "+inv +proj=cart +a=%.17g +f=%.17g",
            kA, kF, c[0], c[1], c[2], c[3], c[4], c[5], c[6], kKrassowskyA, kKrassowskyF);
        worstBursa(worstAgainstProj(t, def, false, 8));
    }
    for (bool toWGS84 : {false, true}) {
        DatumTransformer t = shifting(2, {-24, 123, 94, 0, 0, 0, 0});
        const double a1 = toWGS84 ? kKrassowskyA : kA, f1 = toWGS84 ? kKrassowskyF : kF;
        const double a2 = toWGS84 ? kA : kKrassowskyA, f2 = toWGS84 ? kF : kKrassowskyF;
        const std::string def =
            format("+proj=molodensky +a=%.17g +f=%.17g +dx=-24 +dy=123 +dz=94 +da=%.17g +df=%.17g", a1, f1,
                   a2 - a1, f2 - f1);
        worstMolodensky(worstAgainstProj(t, def, toWGS84, 4));
    }
    // The re-expression on the other ellipsoid: geocentric there and back.
    DatumTransformer reexpression = shifting(0, {});
    const double worstReexpression = worstAgainstProj(
        reexpression,
        format("+proj=pipeline +step +proj=cart +a=%.17g +f=%.17g +step +inv +proj=cart +a=%.17g +f=%.17g",
               kA, kF, kKrassowskyA, kKrassowskyF),
        false, 4);
    std::printf(
        "largest difference from PROJ: Bursa (helmert) %.3g m, Molodensky %.3g m, re-expression %.3g m\n",
        worstBursa.value, worstMolodensky.value, worstReexpression);
    EXPECT_LT(worstBursa.value, 1e-7);
    EXPECT_LT(worstMolodensky.value, 1e-6);
    EXPECT_LT(worstReexpression, 1e-7);
}
#endif

TEST(DatumShift, EachMethodKeepsItsEdgeCases) {
    struct Case {
        const char* what;
        DatumTransformer t;
        Geodetic in, expected;  // NaN: any finite value
        double tolerance;
    };
    // A shift of 1000 m along Y moves points at λ = 0 east and points at λ = ±π west.
    // clang-format off
    Case cases[] = {
        {"Molodensky without shift onto the same ellipsoid", shifting(2, {0, 0, 0, 0, 0, 0, 0}, kA, kF), {-1.2, 4.0, -20}, {-1.2, 4.0, -20}, 0},
        {"Bursa translation on the equator", shifting(1, {100, 0, 0, 0, 0, 0, 0}, kA, kF), {0, 0, 0}, {0, 0, 100}, 1e-8},
        {"Bursa default scale 1.0 doubles the coordinates", shifting(1, {}, kA, kF), {0, 0.5, 0}, {0, 0.5, kA}, 1e-6},
        {"Molodensky at the north pole keeps the longitude", shifting(2, {50, -80, 20, 0, 0, 0, 0}), {kQuarterTurn, 4.0, 10}, {NAN, 4.0, NAN}, 0},
        {"Molodensky at the south pole keeps the longitude", shifting(2, {50, -80, 20, 0, 0, 0, 0}), {-kQuarterTurn, -2.0, 10}, {NAN, -2.0, NAN}, 0},
        {"Molodensky past 2π wraps to 0", shifting(2, {0, 1000, 0, 0, 0, 0, 0}, kA, kF), {0, 2 * kHalfTurn - 1e-6, 0}, {NAN, 1000 / kA - 1e-6, NAN}, 1e-9},
        {"Molodensky past −π wraps to π", shifting(2, {0, 1000, 0, 0, 0, 0, 0}, kA, kF), {0, -3.14159265, 0}, {NAN, 2 * kHalfTurn - 3.14159265 - 1000 / kA, NAN}, 1e-7},
        {"Molodensky above π stays in [0, 2π]", shifting(2, {0, 1000, 0, 0, 0, 0, 0}, kA, kF), {0, 4.0, 0}, {NAN, 4.0 + std::cos(4.0) * 1000 / kA, NAN}, 1e-7}};
    // clang-format on
    for (Case& c : cases) {
        const Geodetic out = shift(c.t, c.in);
        for (auto [got, expected] :
             {std::pair{out.lat, c.expected.lat}, {out.lon, c.expected.lon}, {out.h, c.expected.h}})
            EXPECT_TRUE(std::isnan(expected) ? std::isfinite(got) : std::fabs(got - expected) <= c.tolerance)
                << c.what << ": " << got << " for " << expected;
    }
    // The re-expression keeps the longitude (in [0, 2π]) and moves latitude and height.
    DatumTransformer reexpression = shifting(0, {});
    const Geodetic out = shift(reexpression, {0.6, -0.4, 100}, true);
    EXPECT_NEAR(out.lon, -0.4 + 2 * kHalfTurn, 1e-15);
    EXPECT_GT(std::fabs(out.lat - 0.6), 1e-7);
    EXPECT_GT(std::fabs(out.h - 100), 1);
    // Bursa and the re-expression pass on ellipsoid errors without writing; Molodensky never throws.
    for (int method : {0, 1}) {
        DatumTransformer t = shifting(method, {1, 2, 3, 0, 0, 0, 0}, kA, 1.0 / 100);
        Geodetic p{-1, -1, -1};
        EXPECT_EQ(thrown([&] { t.GeodeticShiftFromWGS84(0.1, 0.1, 0, p.lat, p.lon, p.h); }), messages({20}));
        EXPECT_EQ(p.lat + p.lon + p.h, -3);
    }
    DatumTransformer odd = shifting(2, {10, 20, 30, 0, 0, 0, 0}, -5, 0);
    EXPECT_EQ(thrown([&] { shift(odd, {3, 9, 0}); }), "");
}
