// Lambert conformal conics (codes 14, 15, 23): checks and messages, the stated edge cases, round trips
// and PROJ's lcc as the oracle.
#include <gtest/gtest.h>

#include "ConicOracle.h"

using namespace Orvale::Geodex;
using namespace ConicOracle;

namespace {
const std::string k25 = "Scale Factor out of range\n";

const double kNearPole = 89.99944444444445 * kDeg;  // 89°59′58″

template <typename Projection>
void projectTo(const Projection& p, double lambda, double phi, double& e, double& n) {
    std::unique_ptr<MapProjectionCoordinates> r(p.project(GeodeticCoordinates(10, lambda, phi, 0)));
    e = r->easting();
    n = r->northing();
}
}  // namespace

TEST(LambertConformalConic, ConstructorsCollectTheirMessagesInOrder) {
    const double d = kDeg;
    struct Case {
        const char* what;
        std::function<void()> build;
        std::string expected;
    } cases[] = {
        {"2SP bad ellipsoid", [&] { LambertConformalConic(0, 1.0 / 200, 0, 45 * d, 40 * d, 50 * d, 0, 0); },
         k19 + k20},
        {"2SP both parallels 0", [&] { LambertConformalConic(kA, kF, 0, 45 * d, 0, 0, 0, 0); }, k30 + k31},
        {"2SP 30 and -30", [&] { LambertConformalConic(kA, kF, 0, 0, 30 * d, -30 * d, 0, 0); }, k31},
        {"2SP everything", [&] { LambertConformalConic(-1, 1.0 / 400, 7, 90 * d, 90 * d, -90 * d, 0, 0); },
         k19 + k20 + k22 + k28 + k29 + k31 + k24},
        {"2SP parallel at 89°59′59.5″",
         [&] { LambertConformalConic(kA, kF, 0, 0, 89.99986 * d, 50 * d, 0, 0); }, k28},
        {"2SP second parallel NaN", [&] { LambertConformalConic(kA, kF, 0, 0, 40 * d, NAN, 0, 0); }, k29},
        {"2SP meridian 2π+0.001",
         [&] { LambertConformalConic(kA, kF, 6.284185307179586, 0, 40 * d, 50 * d, 0, 0); }, k24},
        // The one-parallel form throws twice over: ellipsoid and meridian first, then the cone set-up.
        {"1SP ellipsoid and meridian", [&] { LambertConformalConic(0, 1.0 / 200, -4, 0, 0, 0, 0); },
         k19 + k20 + k24},
        {"1SP origin 0 and scale 0", [&] { LambertConformalConic(kA, kF, 0, 0, 0, 0, 0); }, k22 + k25},
        {"1SP origin 3e-6", [&] { LambertConformalConic(kA, kF, 0, 3e-6, 0, 0, 1); }, k22},
        {"1SP scale NaN", [&] { LambertConformalConic(kA, kF, 0, 0.5, 0, 0, NAN); }, k25},
        {"polar 70°", [&] { PolarLambertConformalConic(kA, kF, 0, 80 * d, 70 * d, 0, 0); }, k28},
        {"polar everything", [&] { PolarLambertConformalConic(0, 1.0 / 200, 7, 89.9995 * d, 72 * d, 0, 0); },
         k19 + k20 + k22 + k28 + k24},
        {"polar 74° south", [&] { PolarLambertConformalConic(kA, kF, 0, -70 * d, 74 * d, 0, 0); },
         "no exception"},
    };
    for (const Case& c : cases) EXPECT_EQ(messageOf(c.build), c.expected) << c.what;
}

TEST(LambertConformalConic, ConversionsCollectTheirMessagesInOrder) {
    const LambertConformalConic lcc(kA, kF, 0, 45 * kDeg, 40 * kDeg, 50 * kDeg, 100, 200);
    const PolarLambertConformalConic polar(kA, kF, 0, 80 * kDeg, 71 * kDeg, 100, 200);
    struct Case {
        const char* what;
        std::function<void()> call;
        std::string expected;
    } cases[] = {
        {"lat 2, lon 7", [&] { delete lcc.project(GeodeticCoordinates(10, 7, 2, 0)); }, k43 + k44},
        {"lat NaN", [&] { delete lcc.project(GeodeticCoordinates(10, 0, NAN, 0)); }, k43},
        {"south pole of a northern cone",
         [&] { delete lcc.project(GeodeticCoordinates(10, 0, -kQuarterTurn, 0)); }, k43},
        {"plane too far",
         [&] { delete lcc.backProject(MapProjectionCoordinates(15, 100 + 4.1e8, 200 - 4.1e8)); }, k45 + k46},
        {"polar lat 2, lon 7", [&] { delete polar.project(GeodeticCoordinates(10, 7, 2, 0)); }, k43 + k44},
        {"polar plane too far", [&] { delete polar.backProject(MapProjectionCoordinates(23, NAN, 4.1e8)); },
         k45 + k46},
    };
    for (const Case& c : cases) EXPECT_EQ(messageOf(c.call), c.expected) << c.what;
}

TEST(LambertConformalConic, OriginProjectsToTheFalseOrigin) {
    const LambertConformalConic lcc(kA, kF, 10 * kDeg, 45 * kDeg, 40 * kDeg, 50 * kDeg, 500000, 100000);
    double e, n;
    projectTo(lcc, 10 * kDeg, 45 * kDeg, e, n);
    // Exact up to the rounding of the adjusted false northing (a difference of two cone radii).
    EXPECT_NEAR(e, 500000, 1e-8);
    EXPECT_NEAR(n, 100000, 1e-8);
}

TEST(LambertConformalConic, EqualParallelsBehaveAsTheOneParallelForm) {
    const LambertConformalConic twoSP(kA, kF, 10 * kDeg, 30 * kDeg, 45 * kDeg, 45 * kDeg, 1000, 2000);
    const LambertConformalConic oneSP(kA, kF, 10 * kDeg, 45 * kDeg, 1000, 2000, 1.0);
    double e, n;
    projectTo(twoSP, 10 * kDeg, 45 * kDeg, e, n);
    EXPECT_EQ(e, 1000);
    EXPECT_EQ(n, 2000);
    for (const Point& p : grid(-30, 80, -150, 170, 20)) {
        double e1, n1, e2, n2;
        projectTo(twoSP, p.lambda, p.phi, e1, n1);
        projectTo(oneSP, p.lambda, p.phi, e2, n2);
        EXPECT_EQ(e1, e2);
        EXPECT_EQ(n1, n2);
    }
}

TEST(LambertConformalConic, ApexPoleLiesAtTheAdjustedFalseNorthingPlusTheOriginRadius) {
    // For two parallels the apex is not at FN + ρ of the one-parallel cone: the stored false northing is
    // adjusted, so the pole lands where PROJ puts it, ρ(φ0) above the false origin. With equal parallels
    // the origin latitude plays no part: the parallel itself is the origin.
    struct Case {
        double cm, phi0, phiA, phiB, pole, projOrigin;
    } cases[] = {{10, 45, 40, 50, 90, 45}, {-20, -35, -30, -60, -90, -35}, {0, 10, 20, 20, 90, 20}};
    for (const Case& c : cases) {
        const LambertConformalConic lcc(kA, kF, c.cm * kDeg, c.phi0 * kDeg, c.phiA * kDeg, c.phiB * kDeg, 300,
                                        400);
        const Proj oracle(
            definition("+proj=lcc +lat_0=%.17gr +lat_1=%.17gr +lat_2=%.17gr +lon_0=%.17gr +x_0=300 +y_0=400",
                       c.projOrigin * kDeg, c.phiA * kDeg, c.phiB * kDeg, c.cm * kDeg));
        double e, n, x, y;
        projectTo(lcc, 100 * kDeg, c.pole * kDeg, e, n);
        ASSERT_TRUE(oracle.forward(100 * kDeg, c.pole * kDeg, x, y));
        EXPECT_EQ(e, 300);
        EXPECT_NEAR(n, y, 1e-7) << c.phi0;

        // ... and that point comes back as the pole on the central meridian.
        std::unique_ptr<GeodeticCoordinates> back(lcc.backProject(MapProjectionCoordinates(15, e, n)));
        EXPECT_EQ(back->latitude(), c.pole * kDeg);
        EXPECT_NEAR(back->longitude(), c.cm * kDeg, 1e-15);
    }
}

TEST(LambertConformalConic, PolarFormBuildsTheTwoParallelConeOfItsHemisphere) {
    const PolarLambertConformalConic south(kA, kF, 30 * kDeg, -60 * kDeg, 71 * kDeg, 1000, 2000);
    const LambertConformalConic cone(kA, kF, 30 * kDeg, -60 * kDeg, -71 * kDeg, -kNearPole, 1000, 2000);
    const PolarLambertConformalConic north(kA, kF, 30 * kDeg, 60 * kDeg, 74 * kDeg, 1000, 2000);
    const LambertConformalConic northCone(kA, kF, 30 * kDeg, 60 * kDeg, 74 * kDeg, kNearPole, 1000, 2000);
    for (const Point& p : grid(-85, 85, -180, 180, 17)) {
        struct Pair {
            const PolarLambertConformalConic& polar;
            const LambertConformalConic& lcc;
        } pairs[] = {{south, cone}, {north, northCone}};
        for (const Pair& pr : pairs) {
            std::unique_ptr<MapProjectionCoordinates> a(
                pr.polar.project(GeodeticCoordinates(10, p.lambda, p.phi, 0)));
            std::unique_ptr<MapProjectionCoordinates> b(
                pr.lcc.project(GeodeticCoordinates(10, p.lambda, p.phi, 0)));
            EXPECT_EQ(a->coordinateType(), 23);
            EXPECT_EQ(b->coordinateType(), 15);
            EXPECT_EQ(a->easting(), b->easting());
            EXPECT_EQ(a->northing(), b->northing());
            std::unique_ptr<GeodeticCoordinates> back(pr.polar.backProject(*a));
            EXPECT_EQ(back->coordinateType(), 10);
            EXPECT_EQ(back->height(), 0);
            EXPECT_LT(angularError(back->longitude(), back->latitude(), p.lambda, p.phi), 1e-11);
        }
    }
}

TEST(LambertConformalConic, KeepsPointsNearZeroAndNearTheAntimeridianWhereTheyAre) {
    // Inverse results used to be snapped to 0 and to ±π within 2e-7 and 3.5e-6 rad (1.3 m and 22 m).
    const LambertConformalConic lcc(kA, kF, 0, 20 * kDeg, 10 * kDeg, 30 * kDeg, 0, 0);
    const Point points[] = {{1.5e-7, 1e-8},
                            {-1.9e-7, 45 * kDeg},
                            {kHalfTurn - 3e-6, 1.5e-7},
                            {-kHalfTurn + 1e-6, -2e-7},
                            {3.4e-6 - kHalfTurn, 10 * kDeg},
                            {kHalfTurn, 0}};
    for (const Point& p : points) {
        std::unique_ptr<MapProjectionCoordinates> g(lcc.project(GeodeticCoordinates(10, p.lambda, p.phi, 0)));
        std::unique_ptr<GeodeticCoordinates> back(lcc.backProject(*g));
        EXPECT_LT(angularError(back->longitude(), back->latitude(), p.lambda, p.phi), 1e-11)
            << p.lambda << " " << p.phi;
        EXPECT_LE(std::fabs(back->longitude()), kHalfTurn);
    }
}

TEST(LambertConformalConic, RoundTripAndPROJAgreeOverTheWholeCone) {
    struct Case {
        const char* code;
        const char* what;
        double cm, phi0, phiA, phiB, k;  // degrees; k > 0: one-parallel form at phi0
        double lat0, lat1;
        double forwardTolerance;  // metres
    } cases[] = {
        // Far from the cone the plane coordinates reach 1e8 m, where one rounding is 1.5e-8 m.
        {"15", "40/50, origin 45, CM 10", 10, 45, 40, 50, 0, -80, 90, 5e-7},
        {"15", "southern -30/-60, origin -35, CM -20", -20, -35, -30, -60, 0, -90, 80, 5e-7},
        {"15", "one side 20/60, origin 0, CM 3pi/2", 270, 0, 20, 60, 0, -80, 90, 5e-7},
        {"15", "straddling 60/-20, origin 10", 0, 10, 60, -20, 0, -80, 90, 5e-7},
        {"14", "45, k 0.9996, CM 10", 10, 45, 0, 0, 0.9996, -80, 90, 5e-7},
        {"14", "-65, k 1.2, CM -170", -170, -65, 0, 0, 1.2, -90, 80, 5e-7},
        // A nearly flat cone: radii of 4e11 m, so a rounding of ρ is 4e-5 m.
        {"14", "origin 0.001, k 1", 0, 0.001, 0, 0, 1, -80, 80, 5e-4},
    };
    for (const Case& c : cases) {
        std::unique_ptr<LambertConformalConic> lcc;
        std::string def;
        const double cm = c.cm * kDeg, phi0 = c.phi0 * kDeg, phiA = c.phiA * kDeg, phiB = c.phiB * kDeg;
        const double cmProj = cm > kHalfTurn ? cm - 2 * kHalfTurn : cm;
        if (c.k > 0) {
            lcc = std::make_unique<LambertConformalConic>(kA, kF, cm, phi0, 1000, 2000, c.k);
            def = definition(
                "+proj=lcc +lat_0=%.17gr +lat_1=%.17gr +k_0=%.17g +lon_0=%.17gr +x_0=1000 +y_0=2000", phi0,
                phi0, c.k, cmProj);
        } else {
            lcc = std::make_unique<LambertConformalConic>(kA, kF, cm, phi0, phiA, phiB, 1000, 2000);
            def = definition(
                "+proj=lcc +lat_0=%.17gr +lat_1=%.17gr +lat_2=%.17gr +lon_0=%.17gr +x_0=1000 +y_0=2000", phi0,
                phiA, phiB, cmProj);
        }
        const Proj oracle(def);
        ASSERT_TRUE(oracle.valid()) << def;
        const Differences d = compare(*lcc, oracle, grid(c.lat0, c.lat1, -180, 360, 2.5));
        report(c.code, c.what, d);
        EXPECT_EQ(d.skipped, 0) << c.what;
        EXPECT_LT(d.forward, c.forwardTolerance) << c.what;
        EXPECT_LT(d.inverse, 5e-11) << c.what;
        EXPECT_LT(d.roundTrip, 5e-11) << c.what;
    }
    struct PolarCase {
        const char* what;
        double cm, phi0, phiS;
    } polarCases[] = {{"71, origin 81, CM -45", -45, 81, 71}, {"74, origin -75, CM 170", 170, -75, 74}};
    for (const PolarCase& c : polarCases) {
        const double sign = c.phi0 >= 0 ? 1 : -1;
        const PolarLambertConformalConic polar(kA, kF, c.cm * kDeg, c.phi0 * kDeg, c.phiS * kDeg, 0, 0);
        const Proj oracle(definition("+proj=lcc +lat_0=%.17gr +lat_1=%.17gr +lat_2=%.17gr +lon_0=%.17gr",
                                     c.phi0 * kDeg, sign * c.phiS * kDeg, sign * kNearPole, c.cm * kDeg));
        // The cone's own hemisphere and 30° beyond the equator; further out the plane coordinates pass
        // the 400,000 km window of the inverse.
        const Differences d = compare(
            polar, oracle, sign > 0 ? grid(-30, 89.9, -180, 180, 2.5) : grid(-89.9, 30, -180, 180, 2.5));
        report("23", c.what, d);
        EXPECT_EQ(d.skipped, 0) << c.what;
        // The second parallel 2″ from the pole makes tan(π/4 − φ/2) there 4.85e-6, which carries the
        // 3e-17 rounding of π/4: 6e-12 of the cone constant, 0.2 mm at 30° beyond the equator.
        EXPECT_LT(d.forward, 1e-3) << c.what;
        EXPECT_LT(d.inverse, 5e-11) << c.what;
        EXPECT_LT(d.roundTrip, 5e-11) << c.what;
    }
}

TEST(LambertConformalConic, TransformerDispatchesCodes14To23BothWays) {
    DatumTransformer t;
    t.SetDstEllipsoid(kA, kF);
    struct Case {
        int code;
        double cm, ol, fe, fn, k, sp1, sp2;
    } cases[] = {{14, 0.2, 0.7, 500, 600, 0.999, 0, 0},
                 {15, -0.3, 0.6, 700, 800, 1, 0.5, 0.9},
                 {23, 1.0, -1.2, 900, 1000, 1, 71 * kDeg, 0}};
    for (const Case& c : cases) {
        t.SetProjectionMethod(c.code);
        t.SetProjectionParams(c.cm, c.ol, c.fe, c.fn, c.k, c.sp1, c.sp2, 0, 0, 'N', 0);
        double n = 0, e = 0, h = 0;
        t.Projecting(0.75 * (c.ol > 0 ? 1 : -1), 0.1, 55, n, e, h);
        std::unique_ptr<MapProjectionCoordinates> direct;
        const GeodeticCoordinates point(10, 0.1, 0.75 * (c.ol > 0 ? 1 : -1), 0);
        if (c.code == 14)
            direct.reset(LambertConformalConic(kA, kF, c.cm, c.ol, c.fe, c.fn, c.k).project(point));
        if (c.code == 15)
            direct.reset(LambertConformalConic(kA, kF, c.cm, c.ol, c.sp1, c.sp2, c.fe, c.fn).project(point));
        if (c.code == 23)
            direct.reset(PolarLambertConformalConic(kA, kF, c.cm, c.ol, c.sp1, c.fe, c.fn).project(point));
        EXPECT_EQ(e, direct->easting()) << c.code;
        EXPECT_EQ(n, direct->northing()) << c.code;
        EXPECT_EQ(h, 55);
        double lat = 0, lon = 0, h2 = 0;
        t.BackProjecting(n, e, 66, lat, lon, h2);
        EXPECT_NEAR(lat, point.latitude(), 1e-12) << c.code;
        EXPECT_NEAR(lon, point.longitude(), 1e-12) << c.code;
        EXPECT_EQ(h2, 66);
    }
    t.SetProjectionMethod(15);
    t.SetProjectionParams(0, 0, 0, 0, 1, 0, 0, 0, 0, 'N', 0);
    double n = 1, e = 2, h = 3;
    EXPECT_EQ(messageOf([&] { t.Projecting(0.5, 0.5, 0, n, e, h); }), k30 + k31);
    EXPECT_EQ(n + e + h, 6);
}
