#include <gtest/gtest.h>
#include <proj.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>

#include "geodex/geodex.h"

using namespace Orvale::Geodex;

namespace {
const double kA = 6378137.0;
const double kF = 0.0033528106647474805;
const double kDeg = 0.017453292519943295;
const double kArcSecond = 4.84813681109536e-6;
const double kFullTurn = 6.283185307179586;
const double kKrassowskyA = 6378245.0;
const double kKrassowskyF = 1 / 298.3;

struct Geodetic {
    double lat, lon, h;
};

Geodetic fromWGS84(DatumTransformer& t, Geodetic p) {
    Geodetic out{-1, -1, -1};
    t.GeodeticShiftFromWGS84(p.lat, p.lon, p.h, out.lat, out.lon, out.h);
    return out;
}

Geodetic toWGS84(DatumTransformer& t, Geodetic p) {
    Geodetic out{-1, -1, -1};
    t.GeodeticShiftToWGS84(p.lat, p.lon, p.h, out.lat, out.lon, out.h);
    return out;
}

DatumTransformer shifting(int method, double dx, double dy, double dz, double rx = 0, double ry = 0,
                          double rz = 0, double scale = 0) {
    DatumTransformer t;
    t.SetSrcEllipsoid(kKrassowskyA, kKrassowskyF);
    t.SetDstEllipsoid(kKrassowskyA, kKrassowskyF);
    t.SetTransformMethod(method);
    t.SetTransformParams(dx, dy, dz, rx, ry, rz, scale);
    return t;
}

// Longitude difference brought into [-π, π].
double lonDiff(double a, double b) { return std::remainder(a - b, kFullTurn); }

// Runs a PROJ pipeline on (longitude, latitude, height) in radians and metres.
class ProjPipeline {
  public:
    explicit ProjPipeline(const std::string& definition)
        : context_(proj_context_create()), pj_(proj_create(context_, definition.c_str())) {}
    ~ProjPipeline() {
        proj_destroy(pj_);
        proj_context_destroy(context_);
    }
    bool valid() const { return pj_ != nullptr; }
    Geodetic run(Geodetic p) const {
        const PJ_COORD out = proj_trans(pj_, PJ_FWD, proj_coord(p.lon, p.lat, p.h, 0));
        return {out.lpzt.phi, out.lpzt.lam, out.lpzt.z};
    }

  private:
    PJ_CONTEXT* context_;
    PJ* pj_;
};

std::string number(double v) {
    char text[64];
    std::snprintf(text, sizeof text, "%.17g", v);
    return text;
}

// Keeps the largest difference seen; a non-number sticks, so that it fails the limit.
void keepWorst(double& worst, double d) {
    worst = std::isnan(worst) || std::isnan(d) ? NAN : std::max(worst, d);
}
}  // namespace

TEST(DatumShift, MolodenskyWithoutShiftOntoTheSameEllipsoidChangesNothing) {
    DatumTransformer t;
    t.SetDstEllipsoid(kA, kF);
    t.SetTransformMethod(2);
    t.SetTransformParams(0, 0, 0, 0, 0, 0, 0);
    for (const Geodetic p : {Geodetic{0.3, -1.0, 50}, Geodetic{-1.2, 4.0, -20}, Geodetic{0, 0, 0}}) {
        const Geodetic out = fromWGS84(t, p);
        EXPECT_EQ(out.lat, p.lat);
        EXPECT_EQ(out.lon, p.lon);  // kept in its own range
        EXPECT_EQ(out.h, p.h);
    }
}

TEST(DatumShift, BursaTranslationMovesTheHeightOnTheEquator) {
    DatumTransformer t = shifting(1, 100, 0, 0);
    t.SetDstEllipsoid(kA, kF);
    const Geodetic out = fromWGS84(t, {0, 0, 0});
    EXPECT_NEAR(out.h, 100, 1e-8);
    EXPECT_NEAR(out.lat, 0, 1e-15);
    EXPECT_EQ(out.lon, 0);
}

TEST(DatumShift, BursaDefaultScaleDoublesTheCoordinates) {
    DatumTransformer t;
    t.SetDstEllipsoid(kA, kF);
    t.SetTransformMethod(1);  // parameters left at the ParamSeven defaults: scale 1.0
    const Geodetic out = fromWGS84(t, {0, 0.5, 0});
    EXPECT_NEAR(out.h, kA, 1e-6);
    EXPECT_NEAR(out.lon, 0.5, 1e-15);
}

TEST(DatumShift, ReexpressionKeepsTheLongitude) {
    DatumTransformer t = shifting(0, 0, 0, 0);
    const Geodetic in{0.6, -0.4, 100};
    const Geodetic out = toWGS84(t, in);
    EXPECT_NEAR(out.lon, -0.4 + kFullTurn, 1e-15);
    EXPECT_GT(std::fabs(out.lat - in.lat), 1e-7);
    EXPECT_GT(std::fabs(out.h - in.h), 1);
}

TEST(DatumShift, BursaAndReexpressionPassOnEllipsoidErrorsWithoutWriting) {
    for (int method : {0, 1}) {
        DatumTransformer t = shifting(method, 1, 2, 3);
        t.SetDstEllipsoid(kA, 1.0 / 100);
        double lat = -1, lon = -1, h = -1;
        try {
            t.GeodeticShiftFromWGS84(0.1, 0.1, 0, lat, lon, h);
            FAIL();
        } catch (const CSException& e) {
            EXPECT_EQ(lat + lon + h, -3);
            EXPECT_EQ(std::string(e.getMessage()), "Inverse flattening must be between 250 and 350\n");
        }
    }
}

TEST(DatumShift, MolodenskyNeverThrows) {
    DatumTransformer t = shifting(2, 10, 20, 30);
    t.SetDstEllipsoid(-5, 0);
    const Geodetic out = fromWGS84(t, {3, 9, 0});
    EXPECT_NE(out.lat, -1);
}

// WGS 84 → Krassowsky without translation: the Molodensky shift must move the point as its exact
// re-expression on the other ellipsoid does (on the equator the height falls by Δa = 108 m).
TEST(DatumShift, MolodenskyChangesTheEllipsoidInTheDirectionOfTheTarget) {
    DatumTransformer molodensky = shifting(2, 0, 0, 0);
    DatumTransformer exact = shifting(0, 0, 0, 0);
    double worstLat = 0, worstH = 0;
    for (double lat = -89; lat <= 89; lat += 2) {
        const Geodetic p{lat * kDeg, 0.3, 200};
        const Geodetic m = fromWGS84(molodensky, p);
        const Geodetic e = fromWGS84(exact, p);
        keepWorst(worstLat, std::fabs(m.lat - e.lat));
        keepWorst(worstH, std::fabs(m.h - e.h));
    }
    const Geodetic equator = fromWGS84(molodensky, {0, 0.3, 0});
    EXPECT_NEAR(equator.h, -108, 1e-9);
    const Geodetic thirty = fromWGS84(molodensky, {30 * kDeg, 0.3, 0});
    const Geodetic thirtyExact = fromWGS84(exact, {30 * kDeg, 0.3, 0});
    EXPECT_GT((thirty.lat - 30 * kDeg) * (thirtyExact.lat - 30 * kDeg), 0);  // same direction
    std::printf("Molodensky vs re-expression, largest difference: latitude %.3g rad, height %.3g m\n",
                worstLat, worstH);
    EXPECT_LT(worstLat, 1e-8);
    EXPECT_LT(worstH, 0.01);
}

TEST(DatumShift, MolodenskyAtThePoleKeepsTheLongitude) {
    DatumTransformer t = shifting(2, 50, -80, 20);
    for (double lat : {1.5707963267948966, -1.5707963267948966}) {
        for (double lon : {0.0, 1.0, 4.0, -2.0}) {
            const Geodetic out = fromWGS84(t, {lat, lon, 10});
            EXPECT_EQ(out.lon, lon);
            EXPECT_TRUE(std::isfinite(out.lat) && std::isfinite(out.h));
        }
    }
}

TEST(DatumShift, MolodenskyWrapsLongitudesPastTheirLimits) {
    DatumTransformer east = shifting(2, 0, 1000, 0);  // moves points at λ = 0 east
    east.SetDstEllipsoid(kA, kF);
    const Geodetic wrapped = fromWGS84(east, {0, kFullTurn - 1e-6, 0});
    EXPECT_NEAR(wrapped.lon, 1000 / kA - 1e-6, 1e-9);
    DatumTransformer west = shifting(2, 0, 1000, 0);  // moves points at λ = ±π west
    west.SetDstEllipsoid(kA, kF);
    const Geodetic back = fromWGS84(west, {0, -3.14159265, 0});
    EXPECT_GT(back.lon, 3.14);  // −π − ε became π − ε
    const Geodetic plain = fromWGS84(west, {0, 4.0, 0});
    EXPECT_GT(plain.lon, 3.14);  // above π stays in [0, 2π]
}

TEST(DatumShift, BursaAgreesWithProjHelmert) {
    struct Case {
        double dx, dy, dz, rxSec, rySec, rzSec, ppm;
    };
    const Case cases[] = {{-24, 123, 94, 0.02, -0.25, -0.13, 1.1},
                          {565.4, 50.3, 465.6, 4.4, -1.6, 20.1, -4.3},
                          {0, 0, 0, 3000, -2000, 7200, 30}};
    double worst = 0;
    for (const Case& c : cases) {
        DatumTransformer t = shifting(1, c.dx, c.dy, c.dz, c.rxSec * kArcSecond, c.rySec * kArcSecond,
                                      c.rzSec * kArcSecond, c.ppm * 1e-6);
        const ProjPipeline proj(
            "+proj=pipeline +step +proj=cart +a=" + number(kA) + " +f=" + number(kF) +
            " +step +proj=helmert +x=" + number(c.dx) + " +y=" + number(c.dy) + " +z=" + number(c.dz) +
            " +rx=" + number(c.rxSec) + " +ry=" + number(c.rySec) + " +rz=" + number(c.rzSec) +
            " +s=" + number(c.ppm) + " +convention=coordinate_frame +exact +step +inv +proj=cart +a=" +
            number(kKrassowskyA) + " +f=" + number(kKrassowskyF));
        ASSERT_TRUE(proj.valid());
        for (double lat = -88; lat <= 88; lat += 8) {
            for (double lon = -175; lon <= 180; lon += 15) {
                const Geodetic p{lat * kDeg, lon * kDeg, 300};
                const Geodetic ours = fromWGS84(t, p);
                const Geodetic theirs = proj.run(p);
                const double d =
                    std::max({std::fabs(ours.lat - theirs.lat) * kA,
                              std::fabs(lonDiff(ours.lon, theirs.lon)) * kA * std::cos(theirs.lat),
                              std::fabs(ours.h - theirs.h)});
                keepWorst(worst, d);
            }
        }
    }
    std::printf("Bursa vs PROJ helmert, largest difference: %.3g m\n", worst);
    EXPECT_LT(worst, 1e-7);
}

TEST(DatumShift, MolodenskyAgreesWithProj) {
    const double dx = -24, dy = 123, dz = 94;
    double worst = 0;
    for (bool toWgs : {false, true}) {
        DatumTransformer t = shifting(2, dx, dy, dz);
        const double a1 = toWgs ? kKrassowskyA : kA, f1 = toWgs ? kKrassowskyF : kF;
        const double a2 = toWgs ? kA : kKrassowskyA, f2 = toWgs ? kF : kKrassowskyF;
        const ProjPipeline proj("+proj=molodensky +a=" + number(a1) + " +f=" + number(f1) +
                                " +dx=" + number(dx) + " +dy=" + number(dy) + " +dz=" + number(dz) +
                                " +da=" + number(a2 - a1) + " +df=" + number(f2 - f1));
        ASSERT_TRUE(proj.valid());
        for (double lat = -88; lat <= 88; lat += 4) {
            for (double lon = -179; lon <= 179; lon += 7) {
                const Geodetic p{lat * kDeg, lon * kDeg, 150};
                const Geodetic ours = toWgs ? toWGS84(t, p) : fromWGS84(t, p);
                const Geodetic theirs = proj.run(p);
                const double d = std::max({std::fabs(ours.lat - theirs.lat) * kA,
                                           std::fabs(lonDiff(ours.lon, theirs.lon)) * kA * std::cos(p.lat),
                                           std::fabs(ours.h - theirs.h)});
                keepWorst(worst, d);
            }
        }
    }
    std::printf("Molodensky vs PROJ molodensky, largest difference: %.3g m\n", worst);
    EXPECT_LT(worst, 1e-6);
}
