// The transformer's settings: which projection slots each code's setter writes, and the geocentric and
// local conversions that take their ellipsoid as arguments.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "geodex/ProjectionTestSupport.h"

using namespace ProjectionTestSupport;

namespace {
// Which ProjectParam slots differ from the defaults, in field order:
// CM OL FE FN k SP1 SP2 zone override hemisphere cone.
std::string changedSlots(const ProjectParam& p) {
    const ProjectParam d;
    // clang-format off
    const bool changed[] = {
        p.centralMeridian != d.centralMeridian, p.originLatitude != d.originLatitude,
        p.falseEasting != d.falseEasting, p.falseNorthing != d.falseNorthing, p.scaleFactor != d.scaleFactor,
        p.standardParallel1 != d.standardParallel1, p.standardParallel2 != d.standardParallel2, p.zone != d.zone,
        p.zoneOverride != d.zoneOverride, p.hemisphere != d.hemisphere, p.coneAxisColatitude != d.coneAxisColatitude};
    // clang-format on
    std::string s;
    for (bool c : changed) s += c ? '1' : '0';
    return s;
}

}  // namespace

// What each code's setter stores. (The shift and adjustment setters are read by the shift oracle and the
// adjustment tables, and copies by the command's and the Python module's thread tables.)
TEST(DatumTransformer, ProjectionParamsStoreOnlyTheSlotsOfTheMethod) {
    const std::pair<int, const char*> cases[] = {
        {0, "11111110000"},  {15, "11111110000"}, {1, "11110000000"},  {2, "11110000000"},
        {4, "11110000000"},  {5, "11110000000"},  {13, "11110000000"}, {25, "11110000000"},
        {28, "11110000000"}, {30, "11110000000"}, {6, "10110000000"},  {7, "10110000000"},
        {20, "10110000000"}, {21, "10110000000"}, {29, "10110000000"}, {36, "10110000000"},
        {8, "10110100000"},  {14, "11111000000"}, {31, "11111000000"}, {32, "11111000000"},
        {17, "10111100000"}, {18, "10111000000"}, {23, "11110100000"}, {26, "10110100000"},
        {27, "10111000010"}, {34, "00000001110"}, {37, "11111100001"}, {3, "00000000000"},
        {9, "00000000000"},  {33, "00000000000"}, {38, "00000000000"}, {-1, "00000000000"},
    };
    for (const auto& [code, slots] : cases) {
        DatumTransformer t;
        t.SetProjectionMethod(code);
        t.SetProjectionParams(0.5, 0.25, 1000, 2000, 0.9996, 0.3, 0.4, 50, 49, 'S', 1.1);
        EXPECT_EQ(changedSlots(t.GetProjectParams()), slots) << "code " << code;
        if (code == 34) {
            EXPECT_EQ(t.GetProjectParams().zone, 50);
            EXPECT_EQ(t.GetProjectParams().zoneOverride, 49);
            EXPECT_EQ(t.GetProjectParams().hemisphere, 'S');
            EXPECT_EQ(t.GetProjectParams().falseEasting, 500000.0);
        }
    }
    // Without a hemisphere (the default slots: zone 8) the UTM inverse cannot tell which one is meant.
    DatumTransformer unset;
    unset.SetProjectionMethod(34);
    EXPECT_EQ(unset.GetProjectParams().zone, 8);
    double lat = 0, lon = 0, h = 0;
    EXPECT_EQ(thrown([&] { unset.BackProjecting(4e6, 5e5, 5, lat, lon, h); }), messages({41}));
}

TEST(DatumTransformer, GeocentricAndLocalConversionsFollowTheirArgumentOrderAndComeBack) {
    DatumTransformer t = transformer(32, 10 * kDeg, 0, 500000, 0, 0.9996, 0);
    double X = 0, Y = 0, Z = 0, lat = 0, lon = 0, h = 0, n = 0, e = 0, X2 = 0, Y2 = 0, Z2 = 0;
    // Longitude first in, latitude first out. (What the conversions compute is the geocentric oracle's.)
    t.GeodeticToGeocentric(kA, kF, 0.2, 0.7, 150, X, Y, Z);
    t.GeocentricToGeodetic(kA, kF, X, Y, Z, lat, lon, h);
    EXPECT_LT(std::hypot(lat - 0.7, lon - 0.2, (h - 150) * 1e-6), 1e-12) << lat << " " << lon << " " << h;
    // Geocentric → projected grid → geocentric.
    t.GeodeticToGeocentric(kA, kF, 12 * kDeg, 47 * kDeg, 350, X, Y, Z);
    t.GeocentricToLocal(kA, kF, X, Y, Z, n, e, h);
    EXPECT_NEAR(h, 350, 1e-6);
    t.LocalToGeocentric(kA, kF, n, e, h, X2, Y2, Z2);
    EXPECT_NEAR(std::hypot(X2 - X, Y2 - Y, Z2 - Z), 0, 1e-4);
    // Bad input and codes without a class write nothing. (Points and ellipsoids that are not numbers are
    // refused in the non-number tests.)
    X = Y = Z = lat = lon = h = n = e = -1;
    EXPECT_THROW(t.GeocentricToGeodetic(kA, 1.0 / 200, 1, 2, 3, lat, lon, h), CSException);
    for (int code : {3, 9, 10, 11, 12, 16, 19, 22, 24, 33, 35, 38, -1}) {
        DatumTransformer none;
        none.SetProjectionMethod(code);
        none.LocalToGeocentric(kA, kF, 100, 200, 10, X, Y, Z);
        none.GeocentricToLocal(kA, kF, kA, 0, 0, n, e, h);
    }
    EXPECT_EQ(std::vector<double>({X, Y, Z, lat, lon, h, n, e}), std::vector<double>(8, -1));
}
