#include <gtest/gtest.h>

#include <GeographicLib/TransverseMercatorExact.hpp>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <functional>
#include <memory>
#include <string>

#include "geodex/ProjectionTestSupport.h"
#include "geodex/geodex.h"
#include "geodex/projections/EllipsoidMath.h"

using namespace Orvale::Geodex;

using namespace ProjectionTestSupport;

namespace {
struct Grid {
    double easting;
    double northing;
    std::string warning;
};

Grid tmProject(const TransverseMercator& tm, double lonDeg, double latDeg) {
    std::unique_ptr<MapProjectionCoordinates> r(
        tm.project(GeodeticCoordinates(10, lonDeg * kDeg, latDeg * kDeg, 0)));
    EXPECT_EQ(r->coordinateType(), 32);
    return {r->easting(), r->northing(), r->warningMessage()};
}

// Keeps the largest difference seen; a non-number sticks, so that it fails the limit.
void keepWorst(double& worst, double d) {
    worst = std::isnan(worst) || std::isnan(d) ? NAN : std::max(worst, d);
}
}  // namespace

TEST(TransverseMercator, InvalidParametersGiveOneParameterLine) {
    struct Case {
        double a, f, cm, lat, k;
        const char* text;
    };
    const Case cases[] = {
        {kA, kF, 0.5, 0, 0.29, ": a=6378137.000000 f=298.257224 lat=0.000000 cm=0.500000 scale=0.290000"},
        {kA, kF, 7.0, 0, 3.01, ": a=6378137.000000 f=298.257224 lat=0.000000 cm=7.000000 scale=3.010000"},
        {0, 1.0 / 200, 0, 1.6, 1, ": a=0.000000 f=200.000000 lat=1.600000 cm=0.000000 scale=1.000000"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(thrown([&] { TransverseMercator(c.a, c.f, c.cm, c.lat, 0, 0, c.k); }), c.text);
    EXPECT_EQ(thrown([&] { TransverseMercator(kA, kF, 2 * kPi, 0, 0, 0, 0.3); }), "");
}

TEST(TransverseMercator, OriginMapsToFalseOriginAndBack) {
    const TransverseMercator tm(kA, kF, 2.0943951023931953, 0.5, 300000, 1000000, 0.9996);
    std::unique_ptr<MapProjectionCoordinates> grid(
        tm.project(GeodeticCoordinates(10, 2.0943951023931953, 0.5, 7)));
    EXPECT_EQ(grid->easting(), 300000);
    EXPECT_EQ(grid->northing(), 1000000);
    std::unique_ptr<GeodeticCoordinates> back(tm.backProject(MapProjectionCoordinates(32, 300000, 1000000)));
    EXPECT_EQ(back->longitude(), 2.0943951023931953);
    EXPECT_NEAR(back->latitude(), 0.5, 1e-15);
    EXPECT_EQ(back->height(), 0);
    EXPECT_EQ(back->coordinateType(), 10);
}

TEST(TransverseMercator, WarnsBeyondNineDegreesAndRejectsBeyondAQuarterTurn) {
    const TransverseMercator tm(kA, kF, 10 * kDeg, 0, 500000, 0, 1);
    const std::string warning = "Longitude is too far from Central Meridian, distortion may be significant\n";
    EXPECT_EQ(tmProject(tm, 19.5, 30).warning, warning);
    EXPECT_EQ(tmProject(tm, 10 - 9.5, 30).warning, warning);
    EXPECT_EQ(tmProject(tm, 18.5, 30).warning, "");
    EXPECT_EQ(thrown([&] { tmProject(tm, 101, 30); }), "Longitude out of range\n");
    EXPECT_EQ(thrown([&] { tmProject(tm, 10 - 91, 30); }), "Longitude out of range\n");
    EXPECT_EQ(thrown([&] { tmProject(tm, 10, 89.995); }), "Latitude out of range\n");
    EXPECT_EQ(thrown([&] { tmProject(tm, 101, -89.995); }),
              "Latitude out of range\nLongitude out of range\n");
    EXPECT_EQ(thrown([&] { delete tm.project(GeodeticCoordinates(10, 0, 1.570621793869697, 0)); }), "");
}

TEST(TransverseMercator, LongitudesAcrossTheAntimeridianUseTheShortDifference) {
    const TransverseMercator far(kA, kF, 179 * kDeg, 0, 500000, 0, 1);
    const TransverseMercator near(kA, kF, 0, 0, 500000, 0, 1);
    const Grid across = tmProject(far, -179, 40);
    const Grid plain = tmProject(near, 2, 40);
    // The raw difference of −358° triggers the warning, the computation uses 2°.
    EXPECT_EQ(across.warning, "Longitude is too far from Central Meridian, distortion may be significant\n");
    EXPECT_NEAR(across.easting, plain.easting, 1e-6);
    EXPECT_NEAR(across.northing, plain.northing, 1e-6);
    // A central meridian of 350° behaves as −10°.
    const TransverseMercator wrapped(kA, kF, 350 * kDeg, 0, 500000, 0, 1);
    const TransverseMercator minus(kA, kF, -10 * kDeg, 0, 500000, 0, 1);
    EXPECT_NEAR(tmProject(wrapped, -7, 20).easting, tmProject(minus, -7, 20).easting, 1e-6);
}

TEST(TransverseMercator, BackProjectTreatsTinyEastingOffsetsAsCentralMeridian) {
    const TransverseMercator tm(kA, kF, 0.3, 0, 500000, 0, 1);
    std::unique_ptr<GeodeticCoordinates> on(tm.backProject(MapProjectionCoordinates(32, 500000.00009, 4e6)));
    EXPECT_EQ(on->longitude(), 0.3);
    std::unique_ptr<GeodeticCoordinates> off(tm.backProject(MapProjectionCoordinates(32, 500000.0002, 4e6)));
    EXPECT_GT(off->longitude(), 0.3);
}

TEST(TransverseMercator, BackProjectWindowAndWarning) {
    const TransverseMercator tm(kA, kF, 0, 0, 500000, 0, 1);
    const double dE = tm.windowEasting();
    const double dN = tm.windowNorthing();
    EXPECT_GT(dE, 500000 + 1.5 * kA);
    EXPECT_GT(dN, 9.9e6);
    EXPECT_EQ(thrown([&] { delete tm.backProject(MapProjectionCoordinates(32, 500000 + dE * 1.0001, 0)); }),
              "Easting/X out of range\n");
    EXPECT_EQ(thrown([&] {
                  delete tm.backProject(MapProjectionCoordinates(32, 500000 - dE * 1.0001, -dN * 1.0001));
              }),
              "Easting/X out of range\nNorthing/Y out of range\n");
    std::unique_ptr<GeodeticCoordinates> wide(tm.backProject(MapProjectionCoordinates(32, 1500000, 1000000)));
    EXPECT_EQ(std::string(wide->warningMessage()),
              "Longitude is too far from Central Meridian, distortion may be significant\n");
}

// The window is found only when a back-projection cannot decide without it. Points on both sides of
// its exact edges must be judged as the exact window judges them.
TEST(TransverseMercator, DeferredWindowJudgesLikeTheExactWindow) {
    struct Setup {
        double f, cm, lat0, fe, fn, k;
    };
    const Setup setups[] = {
        {kF, 0, 0, 500000, 0, 0.9996},
        {1.0 / 250, 3.0, 0.8, -2e7, 3e6, 3.0},
        {1.0 / 350, -2, -1.5, 1e7, -5e6, 0.3},
        {kF, 1.7, 1.5707963267948966, 0, 0, 1},
    };
    int checked = 0;
    for (const Setup& s : setups) {
        const TransverseMercator exact(kA, s.f, s.cm, s.lat0, s.fe, s.fn, s.k);
        const double dE = exact.windowEasting();
        const double dN = exact.windowNorthing();
        for (double u : {-1.0, -0.999999999, -0.7, 0.0, 0.7, 0.999999999, 1.0, 1.000000001, 1.5}) {
            for (double v : {-1.000000001, -1.0, -0.5, 0.0, 0.5, 1.0, 1.000000001}) {
                for (double edge : {-1.0, 0.0, 1.0}) {
                    const double E = s.fe + u * dE + edge;
                    const double N = s.fn + v * dN + edge;
                    const TransverseMercator lazy(kA, s.f, s.cm, s.lat0, s.fe, s.fn, s.k);
                    std::string expected;
                    if (E < s.fe - dE || E > s.fe + dE) expected += "Easting/X out of range\n";
                    if (N < s.fn - dN || N > s.fn + dN) expected += "Northing/Y out of range\n";
                    const std::string got =
                        thrown([&] { delete lazy.backProject(MapProjectionCoordinates(32, E, N)); });
                    if (!expected.empty())
                        EXPECT_EQ(got, expected) << E << " " << N;
                    else  // inside the window only the checks after the series may fail
                        EXPECT_TRUE(got == "" || got == "Northing/Y out of range\n" ||
                                    got == "Easting/X out of range\n")
                            << got;
                    ++checked;
                }
            }
        }
    }
    EXPECT_EQ(checked, 4 * 9 * 7 * 3);
}

// Construction tests the longitude a quarter turn east of the central meridian, as the window
// computation would; that test must never fail later, when the window is actually computed.
TEST(TransverseMercator, ConstructionFailsExactlyWhenTheWindowWould) {
    int failures = 0;
    for (int i = 0; i <= 200000; ++i) {
        const double cm = -kPi + i * (3 * kPi / 200000);
        std::string text;
        try {
            const TransverseMercator tm(kA, kF, cm, 0, 0, 0, 1);
            text = thrown([&] { tm.windowEasting(); });
            EXPECT_EQ(text, "") << cm;
        } catch (const CSException& e) {
            EXPECT_EQ(std::string(e.getMessage()), "Longitude out of range\n") << cm;
            ++failures;
        }
    }
    std::printf("central meridians rejected by the window's longitude test: %d of 200001\n", failures);
}

TEST(TransverseMercator, AgreesWithExactTransverseMercator) {
    const GeographicLib::TransverseMercatorExact exact(kA, kF, 0.9996);
    double worst3 = 0, worst9 = 0, worstBack3 = 0, worstBack9 = 0;
    for (double lat0 : {0.0, 0.6}) {
        const TransverseMercator tm(kA, kF, 120 * kDeg, lat0, 500000, 0, 0.9996);
        double x0 = 0, y0 = 0;
        exact.Forward(120, lat0 / kDeg, 120, x0, y0);
        for (double lat = -84; lat <= 84; lat += 1.5) {
            for (double dl = -9; dl <= 9; dl += 0.25) {
                double x = 0, y = 0;
                exact.Forward(120, lat, 120 + dl, x, y);
                const Grid g = tmProject(tm, 120 + dl, lat);
                const double d = std::hypot(g.easting - (500000 + x), g.northing - (y - y0));
                double dBack = 0;
                if (std::fabs(y - y0) < tm.windowNorthing()) {  // the window is symmetric about the origin
                    std::unique_ptr<GeodeticCoordinates> back(
                        tm.backProject(MapProjectionCoordinates(32, 500000 + x, y - y0)));
                    dBack =
                        std::hypot((back->latitude() / kDeg - lat) * kDeg * kA,
                                   (back->longitude() / kDeg - 120 - dl) * kDeg * kA * std::cos(lat * kDeg));
                }
                if (std::fabs(dl) <= 3) {
                    keepWorst(worst3, d);
                    keepWorst(worstBack3, dBack);
                }
                keepWorst(worst9, d);
                keepWorst(worstBack9, dBack);
            }
        }
    }
    std::printf(
        "TM vs exact TM, largest difference: forward %.3g m (3 deg) %.3g m (9 deg); "
        "inverse %.3g m (3 deg) %.3g m (9 deg)\n",
        worst3, worst9, worstBack3, worstBack9);
    EXPECT_LT(worst3, 1e-4);
    EXPECT_LT(worst9, 1e-2);
    EXPECT_LT(worstBack3, 1e-4);
    EXPECT_LT(worstBack9, 2e-2);  // the inverse series reaches 1.4 cm at 9°
}
