#include <gtest/gtest.h>

#if GEODEX_HAVE_GEOGRAPHICLIB
#include <GeographicLib/Geocentric.hpp>
#endif
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <memory>
#include <string>

#include "geodex/geodex.h"

using namespace Orvale::Geodex;

#if GEODEX_HAVE_GEOGRAPHICLIB
namespace {
// Keeps the largest difference seen; a non-number sticks, so that it fails the limit.
void keepWorst(double& worst, double d) {
    worst = std::isnan(worst) || std::isnan(d) ? NAN : std::max(worst, d);
}
}  // namespace

TEST(Geocentric, AgreesWithGeographicLibBothWays) {
    const double kDeg = 0.017453292519943295, a = 6378137.0;
    double worstForward = 0, worstInverse = 0, worstInverseSurface = 0;
    for (const double f : {1 / 298.257223563, 1 / 250.0, 1 / 350.0}) {
        const Geocentric ours(a, f);
        const GeographicLib::Geocentric oracle(a, f);
        for (double lat = -90; lat <= 90; lat += 2.5)
            for (double lon = -180; lon <= 360; lon += 10)
                for (double h : {-400.0, 0.0, 2500.0, 400000.0}) {
                    double X = 0, Y = 0, Z = 0, lat2 = 0, lon2 = 0, h2 = 0;
                    oracle.Forward(lat, lon, h, X, Y, Z);
                    const std::unique_ptr<CartesianCoordinates> xyz(
                        ours.toGeocentric(GeodeticCoordinates(10, lon * kDeg, lat * kDeg, h)));
                    keepWorst(worstForward, std::hypot(xyz->x() - X, xyz->y() - Y, xyz->z() - Z));
                    if (std::fabs(lat) == 90) continue;  // the longitude is undefined there
                    const std::unique_ptr<GeodeticCoordinates> back(
                        ours.toGeodetic(CartesianCoordinates(9, X, Y, Z), 5, 1e-14));
                    oracle.Reverse(X, Y, Z, lat2, lon2, h2);
                    const double dLon = std::remainder(back->longitude() - lon2 * kDeg, 2 * M_PI);
                    for (double x :
                         {std::fabs(back->latitude() - lat2 * kDeg) * a,
                          std::fabs(dLon) * a * std::cos(lat2 * kDeg), std::fabs(back->height() - h2)}) {
                        keepWorst(worstInverse, x);
                        if (std::fabs(h) <= 2500) keepWorst(worstInverseSurface, x);
                    }
                }
    }
    std::printf(
        "Geocentric vs GeographicLib, largest difference: forward %.3g m, inverse %.3g m "
        "(%.3g m within 2.5 km of the surface)\n",
        worstForward, worstInverse, worstInverseSurface);
    EXPECT_LT(worstForward, 1e-8);
    EXPECT_LT(worstInverseSurface, 1e-6);
    EXPECT_LT(worstInverse, 1e-4);  // five iterations leave micrometres at 400 km height
}
#endif

// (Longitudes above π are the western ones: the oracle comparison runs from −180° to 360°.)
TEST(Geocentric, AxisPointsComeBackWithLongitudeInZeroToTwoPi) {
    const double a = 6378137.0, f = 1 / 298.257223563, halfTurn = 3.141592653589793;
    const Geocentric g(a, f);
    const double axis[][4] = {{a, 0, 0, 0}, {-a, 0, 0, halfTurn}, {0, -a, 0, 1.5 * halfTurn}};
    for (const auto& c : axis) {
        const std::unique_ptr<GeodeticCoordinates> p(
            g.toGeodetic(CartesianCoordinates(9, c[0], c[1], c[2]), 5, 1e-14));
        EXPECT_NEAR(p->longitude(), c[3], 1e-15);
        EXPECT_NEAR(p->latitude(), 0, 1e-15);
        EXPECT_NEAR(p->height(), 0, 1e-9);
        EXPECT_EQ(p->coordinateType(), 10);
    }
}

TEST(CSException, KeepsAtMost1999Characters) {
    const std::string longText(5000, 'x');
    const CSException e(longText.c_str());
    const CSException copy = e;
    EXPECT_EQ(std::string(copy.getMessage()).size(), 1999u);
}
