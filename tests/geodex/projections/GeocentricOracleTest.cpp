#include <gtest/gtest.h>

#if GEODEX_HAVE_GEOGRAPHICLIB
#include <GeographicLib/Geocentric.hpp>
#endif
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <memory>
#include <string>

#include "geodex/ProjectionTestSupport.h"

using namespace ProjectionTestSupport;

#if GEODEX_HAVE_GEOGRAPHICLIB
TEST(Geocentric, AgreesWithGeographicLibBothWays) {
    const double a = kA;
    Largest worstForward, worstInverse, worstInverseSurface;
    for (const double f : {kF, 1 / 250.0, 1 / 350.0}) {
        const Geocentric ours(a, f);
        const GeographicLib::Geocentric oracle(a, f);
        for (double lat = -90; lat <= 90; lat += 2.5)
            for (double lon = -180; lon <= 360; lon += 10)
                for (double h : {-400.0, 0.0, 2500.0, 400000.0}) {
                    double X = 0, Y = 0, Z = 0, lat2 = 0, lon2 = 0, h2 = 0;
                    oracle.Forward(lat, lon, h, X, Y, Z);
                    const std::unique_ptr<CartesianCoordinates> xyz(
                        ours.toGeocentric(GeodeticCoordinates(10, lon * kDeg, lat * kDeg, h)));
                    worstForward(std::hypot(xyz->x() - X, xyz->y() - Y, xyz->z() - Z));
                    if (std::fabs(lat) == 90) continue;  // the longitude is undefined there
                    const std::unique_ptr<GeodeticCoordinates> back(
                        ours.toGeodetic(CartesianCoordinates(9, X, Y, Z), 5, 1e-14));
                    oracle.Reverse(X, Y, Z, lat2, lon2, h2);
                    // Longitudes come back in [0, 2π): those above π are the western ones.
                    EXPECT_TRUE(back->longitude() >= 0 && back->longitude() < 2 * kHalfTurn) << lon;
                    const double dLon = std::remainder(back->longitude() - lon2 * kDeg, 2 * M_PI);
                    for (double x :
                         {std::fabs(back->latitude() - lat2 * kDeg) * a,
                          std::fabs(dLon) * a * std::cos(lat2 * kDeg), std::fabs(back->height() - h2)}) {
                        worstInverse(x);
                        if (std::fabs(h) <= 2500) worstInverseSurface(x);
                    }
                }
    }
    std::printf(
        "Geocentric vs GeographicLib, largest difference: forward %.3g m, inverse %.3g m "
        "(%.3g m within 2.5 km of the surface)\n",
        worstForward.value, worstInverse.value, worstInverseSurface.value);
    EXPECT_LT(worstForward.value, 1e-8);
    EXPECT_LT(worstInverseSurface.value, 1e-6);
    EXPECT_LT(worstInverse.value, 1e-4);  // five iterations leave micrometres at 400 km height
}

// On and next to the polar axis p / cos φ is 0/0 or loses the height to rounding (1.3 m at 1 mm off
// the axis): the height and the position the result implies must hold to a micrometre there too.
TEST(Geocentric, PointsOnAndNearThePolarAxisKeepTheirHeight) {
    const double a = kA;
    for (const double offAxis : {0.0, 1e-6, 1e-5, 1e-4, 1e-3, 1e-2, 1.0, 100.0, 2e4, 3e4}) {
        Largest worst[2];  // height, implied position
        for (const double f : {kF, 1 / 250.0})
            for (const double h : {-1000.0, 0.0, 100.0, 2500.0})
                for (const double side : {1.0, -1.0}) {
                    const Geocentric ours(a, f);
                    const GeographicLib::Geocentric oracle(a, f);
                    const double X = offAxis * 0.6, Y = -offAxis * 0.8, Z = side * (a * (1 - f) + h);
                    const std::unique_ptr<GeodeticCoordinates> p(
                        ours.toGeodetic(CartesianCoordinates(9, X, Y, Z), 5, 1e-14));
                    double lat = 0, lon = 0, height = 0, x = 0, y = 0, z = 0;
                    oracle.Reverse(X, Y, Z, lat, lon, height);
                    oracle.Forward(p->latitude() * 180 / M_PI, p->longitude() * 180 / M_PI, p->height(), x, y,
                                   z);
                    worst[0](std::fabs(p->height() - height));
                    worst[1](std::hypot(x - X, y - Y, z - Z));
                    EXPECT_TRUE(offAxis > 0 || p->latitude() == side * kQuarterTurn) << p->latitude();
                }
        std::printf("Geocentric vs GeographicLib %g m off the polar axis: height %.3g m, position %.3g m\n",
                    offAxis, worst[0].value, worst[1].value);
        EXPECT_LE(worst[0].value, 1e-6) << offAxis << " m off the axis";
        EXPECT_LE(worst[1].value, 1e-6) << offAxis << " m off the axis";
    }
}

#endif

TEST(CSException, KeepsAtMost1999Characters) {
    const std::string longText(5000, 'x');
    const CSException e(longText.c_str());
    const CSException copy = e;
    EXPECT_EQ(std::string(copy.getMessage()).size(), 1999u);
}
