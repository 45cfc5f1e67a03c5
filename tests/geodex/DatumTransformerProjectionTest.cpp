#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <functional>
#include <memory>
#include <string>

#include "geodex/ProjectionTestSupport.h"
#include "geodex/geodex.h"

using namespace Orvale::Geodex;

using namespace ProjectionTestSupport;

namespace {
DatumTransformer transverseMercator(double cm, double lat0, double fe, double fn, double k) {
    DatumTransformer t;
    t.SetDstEllipsoid(kA, kF);
    t.SetProjectionMethod(32);
    t.SetProjectionParams(cm, lat0, fe, fn, k, 0, 0, 0, 0, 0, 0);
    return t;
}

DatumTransformer utm(int zone, int override, char hemisphere) {
    DatumTransformer t;
    t.SetDstEllipsoid(kA, kF);
    t.SetProjectionMethod(34);
    t.SetProjectionParams(0, 0, 0, 0, 0, 0, 0, zone, override, hemisphere, 0);
    return t;
}

// Keeps the largest difference seen; a non-number sticks, so that it fails the limit.
void keepWorst(double& worst, double d) {
    worst = std::isnan(worst) || std::isnan(d) ? NAN : std::max(worst, d);
}
}  // namespace

TEST(DatumTransformerProjection, TransverseMercatorCentralMeridianMapsToFalseEasting) {
    DatumTransformer t = transverseMercator(2.0943951023931953, 0, 500000, 0, 1);
    double n = -1, e = -1, h = -1;
    t.Projecting(0, 2.0943951023931953, 12.5, n, e, h);
    EXPECT_EQ(n, 0);
    EXPECT_EQ(e, 500000);
    EXPECT_EQ(h, 12.5);
}

TEST(DatumTransformerProjection, CodesWithoutClassConvertNothing) {
    for (int code : {3, 9, 10, 11, 12, 16, 19, 22, 24, 33, 35, 38, -1}) {
        DatumTransformer t;
        t.SetProjectionMethod(code);
        double n = -1, e = -2, h = -3;
        t.Projecting(0.5, 0.5, 10, n, e, h);
        EXPECT_EQ(n, -1);
        EXPECT_EQ(e, -2);
        EXPECT_EQ(h, -3);
        double lat = -1, lon = -2;
        t.BackProjecting(100, 200, 10, lat, lon, h);
        EXPECT_EQ(lat, -1);
        EXPECT_EQ(lon, -2);
        EXPECT_EQ(h, 10) << code;
        double X = -4, Y = -5, Z = -6;
        t.LocalToGeocentric(6378137.0, 1 / 298.257223563, 100, 200, 10, X, Y, Z);
        EXPECT_EQ(X + Y + Z, -15);
        t.GeocentricToLocal(6378137.0, 1 / 298.257223563, 6378137.0, 0, 0, n, e, h);
        EXPECT_EQ(n, -1);
        EXPECT_EQ(e, -2);
    }
}

TEST(DatumTransformerProjection, FailuresReachTheCallerWithoutWritingCoordinates) {
    DatumTransformer t = transverseMercator(0.5, 0, 500000, 0, 1);
    double n = -1, e = -2, h = -3;
    const std::string text = thrown([&] { t.Projecting(100 * kDeg, 0.5, 7, n, e, h); });
    EXPECT_NE(text.find("Latitude out of range\n"), std::string::npos);
    EXPECT_EQ(n + e + h, -6);
    DatumTransformer bad = transverseMercator(0.5, 0, 500000, 0, 0.1);
    EXPECT_EQ(thrown([&] { bad.Projecting(0, 0.5, 7, n, e, h); }).substr(0, 4), ": a=");
    double lat = -1, lon = -2;
    EXPECT_EQ(thrown([&] { t.BackProjecting(0, 1e9, 7, lat, lon, h); }), "Easting/X out of range\n");
    EXPECT_EQ(lat + lon, -3);
    EXPECT_EQ(h, 7);  // written before the dispatch
}

TEST(DatumTransformerProjection, UtmForwardGivesGridAndInverseUsesConfiguredZoneAndHemisphere) {
    const double lat = -33.9 * kDeg;
    const double lon = 18.4 * kDeg;  // zone 34, south
    const UTM direct(kA, kF, 0);
    std::unique_ptr<UTMCoordinates> expected(direct.project(GeodeticCoordinates(10, lon, lat, 0)));
    ASSERT_EQ(expected->zone(), 34);
    DatumTransformer t = utm(34, 0, 'S');
    double n = 0, e = 0, h = 0;
    t.Projecting(lat, lon, 5, n, e, h);
    EXPECT_EQ(n, expected->northing());
    EXPECT_EQ(e, expected->easting());
    double lat2 = 0, lon2 = 0;
    t.BackProjecting(n, e, 5, lat2, lon2, h);
    EXPECT_NEAR(lat2, lat, 1e-12);
    EXPECT_NEAR(lon2, lon, 1e-12);
    // Without a hemisphere (the ProjectParam default) the inverse cannot tell which one is meant.
    DatumTransformer unset;
    unset.SetProjectionMethod(34);
    EXPECT_EQ(unset.GetProjectParams().zone, 8);
    EXPECT_EQ(thrown([&] { unset.BackProjecting(n, e, 5, lat2, lon2, h); }), "Invalid Hemisphere\n");
}

TEST(DatumTransformerProjection, RoundTripsStayWithinANanoradian) {
    double worst32 = 0, worst32Wide = 0, worst34 = 0;
    int points = 0;
    for (double cmDeg : {-177.0, 0.0, 117.0, 300.0}) {
        DatumTransformer tm = transverseMercator(cmDeg * kDeg, 0, 200000, 1000000, 0.9999);
        const double cm = cmDeg > 180 ? cmDeg - 360 : cmDeg;
        for (double lat = -80; lat <= 84; lat += 2) {
            for (double dl = -9; dl <= 9; dl += 0.5) {
                double n = 0, e = 0, h = 0, lat2 = 0, lon2 = 0;
                tm.Projecting(lat * kDeg, (cm + dl) * kDeg, 0, n, e, h);
                tm.BackProjecting(n, e, 0, lat2, lon2, h);
                double dLon = lon2 - (cm + dl) * kDeg;
                dLon = std::remainder(dLon, 2 * 3.141592653589793);
                const double d = std::max(std::fabs(lat2 - lat * kDeg), std::fabs(dLon));
                if (std::fabs(dl) <= 7) keepWorst(worst32, d);
                keepWorst(worst32Wide, d);
                ++points;
            }
        }
    }
    for (double lat = -80.5; lat <= 84.5; lat += 1.5) {
        for (double lon = -180; lon <= 180; lon += 1.7) {
            DatumTransformer forward = utm(0, 0, 0);
            double n = 0, e = 0, h = 0;
            forward.Projecting(lat * kDeg, lon * kDeg, 0, n, e, h);
            const UTM direct(kA, kF, 0);
            std::unique_ptr<UTMCoordinates> grid(
                direct.project(GeodeticCoordinates(10, lon * kDeg, lat * kDeg, 0)));
            DatumTransformer inverse = utm(grid->zone(), 0, grid->hemisphere());
            double lat2 = 0, lon2 = 0;
            inverse.BackProjecting(n, e, 0, lat2, lon2, h);
            const double dLon = std::remainder(lon2 - lon * kDeg, 2 * 3.141592653589793);
            keepWorst(worst34, std::max({std::fabs(lat2 - lat * kDeg), std::fabs(dLon)}));
            ++points;
        }
    }
    std::printf(
        "round trip, largest difference: code 32 %.3g rad (7 deg) %.3g rad (9 deg), code 34 %.3g rad "
        "(%d points)\n",
        worst32, worst32Wide, worst34, points);
    EXPECT_LE(worst32, 1e-9);
    EXPECT_LE(worst32Wide, 1e-8);  // the truncated series, not the arithmetic, sets this one
    EXPECT_LE(worst34, 1e-9);
}

TEST(DatumTransformerProjection, GeocentricToLocalAndBackReturnsThePoint) {
    DatumTransformer t = transverseMercator(10 * kDeg, 0, 500000, 0, 0.9996);
    double X = 0, Y = 0, Z = 0;
    t.GeodeticToGeocentric(kA, kF, 12 * kDeg, 47 * kDeg, 350, X, Y, Z);
    double n = 0, e = 0, h = 0;
    t.GeocentricToLocal(kA, kF, X, Y, Z, n, e, h);
    EXPECT_NEAR(h, 350, 1e-6);
    double X2 = 0, Y2 = 0, Z2 = 0;
    t.LocalToGeocentric(kA, kF, n, e, h, X2, Y2, Z2);
    EXPECT_NEAR(X2, X, 1e-4);
    EXPECT_NEAR(Y2, Y, 1e-4);
    EXPECT_NEAR(Z2, Z, 1e-4);
}
