#include <gtest/gtest.h>

#include <GeographicLib/UTMUPS.hpp>
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
std::unique_ptr<UTMCoordinates> project(const UTM& utm, double lon, double lat) {
    return std::unique_ptr<UTMCoordinates>(utm.project(GeodeticCoordinates(10, lon, lat, 0)));
}

// Keeps the largest difference seen; a non-number sticks, so that it fails the limit.
void keepWorst(double& worst, double d) {
    worst = std::isnan(worst) || std::isnan(d) ? NAN : std::max(worst, d);
}
}  // namespace

TEST(UTM, RejectsBadEllipsoidAndOverrideTogether) {
    EXPECT_EQ(thrown([] { UTM(0, 1.0 / 200, 61); }),
              "Ellipsoid semi-major axis must be greater than zero\n"
              "Inverse flattening must be between 250 and 350\n"
              "Invalid Zone Override\n");
    EXPECT_EQ(thrown([] { UTM(kA, kF, -1); }), "Invalid Zone Override\n");
    EXPECT_EQ(thrown([] { UTM(kA, kF, 60); }), "");
}

TEST(UTM, ChoosesTheZoneFromTheLongitude) {
    const UTM utm(kA, kF, 0);
    const struct {
        double lon;
        int zone;
    } cases[] = {{0, 31},       {3 * kDeg, 31},   {6 * kDeg, 32},   {kPi, 1},        {-kPi, 1},
                 {-0.0001, 30}, {-177 * kDeg, 1}, {177 * kDeg, 60}, {200 * kDeg, 4}, {2 * kPi, 31}};
    for (const auto& c : cases) EXPECT_EQ(project(utm, c.lon, 0.3)->zone(), c.zone) << c.lon;
}

TEST(UTM, ChoosesTheHemisphereFromTheLatitude) {
    const UTM utm(kA, kF, 0);
    const auto almostEquator = project(utm, 0.05, -1e-10);
    const auto equator = project(utm, 0.05, 0);
    EXPECT_EQ(almostEquator->hemisphere(), 'N');
    EXPECT_EQ(almostEquator->northing(), equator->northing());
    const auto south = project(utm, 0.05, -1e-8);
    EXPECT_EQ(south->hemisphere(), 'S');
    EXPECT_NEAR(south->northing(), 10000000, 1);
    EXPECT_EQ(south->coordinateType(), 34);
    EXPECT_EQ(std::string(south->warningMessage()), "");
}

TEST(UTM, ZoneOverrideAcceptsOnlyNeighbours) {
    // Zone 31 spans 0° to 6°.
    EXPECT_EQ(project(UTM(kA, kF, 32), 5.5 * kDeg, 0.5)->zone(), 32);
    EXPECT_EQ(project(UTM(kA, kF, 30), 0.5 * kDeg, 0.5)->zone(), 30);
    EXPECT_EQ(project(UTM(kA, kF, 31), 0.5 * kDeg, 0.5)->zone(), 31);
    EXPECT_EQ(thrown([&] { project(UTM(kA, kF, 33), 5.5 * kDeg, 0.5); }), "Invalid Zone Override\n");
    EXPECT_EQ(thrown([&] { project(UTM(kA, kF, 29), 0.5 * kDeg, 0.5); }), "Invalid Zone Override\n");
    EXPECT_EQ(project(UTM(kA, kF, 60), -179 * kDeg, 0.5)->zone(), 60);
    EXPECT_EQ(project(UTM(kA, kF, 1), 179 * kDeg, 0.5)->zone(), 1);
}

TEST(UTM, WesternLongitudesProjectAtTheirOwnLongitude) {
    // Zone 30 has its central meridian at 3° W: 1° W and 5° W lie symmetrically about it.
    const UTM utm(kA, kF, 0);
    const auto east = project(utm, -1 * kDeg, 0.7);
    const auto west = project(utm, -5 * kDeg, 0.7);
    ASSERT_EQ(east->zone(), 30);
    ASSERT_EQ(west->zone(), 30);
    EXPECT_NEAR(east->easting() - 500000, 500000 - west->easting(), 1e-6);
    EXPECT_NEAR(east->northing(), west->northing(), 1e-6);
}

TEST(UTM, LatitudeLimits) {
    const UTM utm(kA, kF, 0);
    EXPECT_EQ(thrown([&] { project(utm, 0.1, 84.5 * kDeg); }), "");
    EXPECT_EQ(thrown([&] { project(utm, 0.1, -80.5 * kDeg); }), "");
    EXPECT_EQ(thrown([&] { project(utm, 0.1, 84.6 * kDeg); }), "Latitude out of range\n");
    EXPECT_EQ(thrown([&] { project(utm, 0.1, -80.6 * kDeg); }), "Latitude out of range\n");
    EXPECT_EQ(thrown([&] { project(utm, 7, 85 * kDeg); }), "Latitude out of range\nLongitude out of range\n");
}

TEST(UTM, BackProjectChecksEverythingBeforeThrowing) {
    const UTM utm(kA, kF, 0);
    EXPECT_EQ(thrown([&] { delete utm.backProject(UTMCoordinates(34, 0, 'X', 500000, 100000)); }),
              "Invalid Zone\nInvalid Hemisphere\n");
    EXPECT_EQ(thrown([&] { delete utm.backProject(UTMCoordinates(34, 61, 'N', 99999, 10000001)); }),
              "Invalid Zone\nEasting/X out of range\nNorthing/Y out of range\n");
    // 9 000 000 m lies at 81° N, inside; 9 400 000 m beyond 84.5° N.
    EXPECT_EQ(thrown([&] { delete utm.backProject(UTMCoordinates(34, 31, 'N', 500000, 9000000)); }), "");
    EXPECT_EQ(thrown([&] { delete utm.backProject(UTMCoordinates(34, 31, 'N', 500000, 9400000)); }),
              "Northing/Y out of range\n");
    std::unique_ptr<GeodeticCoordinates> wide(utm.backProject(UTMCoordinates(34, 31, 'S', 890000, 9000000)));
    EXPECT_EQ(std::string(wide->warningMessage()), "");
    EXPECT_LT(wide->latitude(), 0);
}

TEST(UTM, AgreesWithGeographicLib) {
    const UTM utm(kA, kF, 0);
    double worst = 0;
    double worstBack = 0;
    for (double lat = -80; lat <= 84; lat += 0.75) {
        for (double lon = -179.99; lon < 180; lon += 0.35) {
            std::unique_ptr<UTMCoordinates> ours;
            if (!thrown([&] { ours = project(utm, lon * kDeg, lat * kDeg); }).empty()) continue;
            // The oracle in our zone (its standard zones carry the Norway and Svalbard exceptions).
            const int zone = ours->zone();
            int oracleZone = 0;
            bool north = false;
            double x = 0, y = 0, gamma = 0, k = 0;
            GeographicLib::UTMUPS::Forward(lat, lon, oracleZone, north, x, y, gamma, k, zone);
            ASSERT_EQ(ours->hemisphere(), north ? 'N' : 'S');
            keepWorst(worst, std::hypot(ours->easting() - x, ours->northing() - y));
            std::unique_ptr<GeodeticCoordinates> back(
                utm.backProject(UTMCoordinates(34, zone, north ? 'N' : 'S', x, y)));
            double dLon = back->longitude() / kDeg - lon;
            if (dLon > 180) dLon -= 360;
            if (dLon < -180) dLon += 360;
            keepWorst(worstBack, std::hypot((back->latitude() / kDeg - lat) * kDeg * kA,
                                            dLon * kDeg * kA * std::cos(lat * kDeg)));
        }
    }
    std::printf("UTM vs GeographicLib UTMUPS, largest difference: forward %.3g m, inverse %.3g m\n", worst,
                worstBack);
    EXPECT_LT(worst, 1e-4);
    EXPECT_LT(worstBack, 1e-4);
}

// Zone objects and back-projection windows are built only when used; every result, warning and
// exception must be what an object with all 60 zones and their windows built up front gives.
TEST(UTM, LazyZonesGiveTheResultsOfAllZonesBuiltUpFront) {
    for (int override : {0, 31}) {
        const UTM eager(kA, kF, override);
        for (int zone = 1; zone <= 60; ++zone) {
            EXPECT_GT(eager.zoneProjection(zone).windowEasting(), 0);
            EXPECT_GT(eager.zoneProjection(zone).windowNorthing(), 0);
        }
        int compared = 0;
        for (double lat = -81; lat <= 85; lat += 2.9) {
            for (double lon = -181; lon <= 361; lon += 4.3) {
                const GeodeticCoordinates point(10, lon * kDeg, lat * kDeg, 0);
                std::unique_ptr<UTMCoordinates> a, b;
                const std::string ta = thrown([&] { a.reset(eager.project(point)); });
                const std::string tb = thrown([&] { b.reset(UTM(kA, kF, override).project(point)); });
                ASSERT_EQ(ta, tb);
                if (a) {
                    ASSERT_EQ(a->zone(), b->zone());
                    ASSERT_EQ(a->hemisphere(), b->hemisphere());
                    ASSERT_EQ(a->easting(), b->easting());
                    ASSERT_EQ(a->northing(), b->northing());
                }
                for (char hemisphere : {'N', 'S'}) {
                    const UTMCoordinates grid(34, 1 + (compared % 60), hemisphere,
                                              80000 + (compared * 7919) % 840000,
                                              (compared * 104729) % 10000001);
                    std::unique_ptr<GeodeticCoordinates> c, d;
                    const std::string tc = thrown([&] { c.reset(eager.backProject(grid)); });
                    const std::string td = thrown([&] { d.reset(UTM(kA, kF, override).backProject(grid)); });
                    ASSERT_EQ(tc, td);
                    if (c) {
                        ASSERT_EQ(c->latitude(), d->latitude());
                        ASSERT_EQ(c->longitude(), d->longitude());
                        ASSERT_EQ(std::string(c->warningMessage()), std::string(d->warningMessage()));
                    }
                }
                ++compared;
            }
        }
        EXPECT_GT(compared, 7000);
    }
}
