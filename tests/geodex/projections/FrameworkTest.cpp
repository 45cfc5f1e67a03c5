#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>

#include "geodex/geodex.h"

using namespace Orvale::Geodex;

namespace {
const double kA = 6378137.0;
const double kF = 1 / 298.257223563;
}  // namespace

TEST(Geocentric, RejectsZeroAxisAndBadFlatteningInOneMessage) {
    try {
        Geocentric g(0, 1.0 / 200);
        FAIL() << "no exception";
    } catch (const CSException& e) {
        EXPECT_EQ(std::string(e.getMessage()),
                  "Ellipsoid semi-major axis must be greater than zero\n"
                  "Inverse flattening must be between 250 and 350\n");
    }
}

TEST(Geocentric, RejectsLatitudeAndLongitudeTogether) {
    Geocentric g(kA, kF);
    try {
        std::unique_ptr<CartesianCoordinates> c(g.toGeocentric(GeodeticCoordinates(10, 7, 2, 0)));
        FAIL() << "no exception";
    } catch (const CSException& e) {
        EXPECT_EQ(std::string(e.getMessage()), "Latitude out of range\nLongitude out of range\n");
    }
}

TEST(Geocentric, AxisPointsComeBackWithLongitudeInZeroToTwoPi) {
    Geocentric g(kA, kF);
    struct Case {
        double x, y, z, lon;
    } cases[] = {{kA, 0, 0, 0}, {-kA, 0, 0, 3.141592653589793}, {0, -kA, 0, 3 * 3.141592653589793 / 2}};
    for (const Case& c : cases) {
        std::unique_ptr<GeodeticCoordinates> p(
            g.toGeodetic(CartesianCoordinates(9, c.x, c.y, c.z), 5, 1e-14));
        EXPECT_NEAR(p->longitude(), c.lon, 1e-15);
        EXPECT_NEAR(p->latitude(), 0, 1e-15);
        EXPECT_NEAR(p->height(), 0, 1e-9);
        EXPECT_EQ(p->coordinateType(), 10);
    }
}

TEST(Geocentric, LongitudeAbovePiIsTreatedAsWest) {
    Geocentric g(kA, kF);
    const double deg = 3.141592653589793 / 180;
    std::unique_ptr<CartesianCoordinates> a(g.toGeocentric(GeodeticCoordinates(10, 350 * deg, 0.5, 100)));
    std::unique_ptr<CartesianCoordinates> b(g.toGeocentric(GeodeticCoordinates(10, -10 * deg, 0.5, 100)));
    EXPECT_NEAR(a->x(), b->x(), 1e-6);
    EXPECT_NEAR(a->y(), b->y(), 1e-6);
    EXPECT_EQ(a->z(), b->z());
}

TEST(CSException, KeepsAtMost1999Characters) {
    std::string longText(5000, 'x');
    CSException e(longText.c_str());
    CSException copy = e;
    EXPECT_EQ(std::string(copy.getMessage()).size(), 1999u);
}
