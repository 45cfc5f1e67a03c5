// The transformer's settings: what a new one holds, which slots each setter writes, copies, and the
// geocentric and local conversions that take their ellipsoid as arguments.
#include <gtest/gtest.h>

#include <cmath>
#include <sstream>
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

// Every setting of a transformer in one line: ellipsoids, methods (shift, projection, plane, height), the
// seven parameters, plane, height surface and inclined plane in their setters' argument order, the
// projection slots changed and the geoid file.
std::string state(const DatumTransformer& t) {
    const ParamSeven p = t.GetTransformParams();
    const PlaneAdjustParam& pl = t.GetPlaneAdjustParams();
    const EleAdjustParam& e = t.GetEleAdjustParams();
    const EleAdjustParamTGO& g = t.GetEleAdjustTGOParams();
    std::ostringstream s;
    s.precision(17);
    s << t.GetSrcEllipsoid().a << " " << t.GetSrcEllipsoid().f << " " << t.GetDstEllipsoid().a << " "
      << t.GetDstEllipsoid().f << " | " << t.GetTransformMethod() << " " << t.GetProjectionMethod() << " "
      << t.GetPlaneAdjustMethod() << " " << t.GetEleAdjustMethod() << " |";
    for (double v : {p.deltaX,       p.deltaY,  p.deltaZ,  p.rotX,      p.rotY,        p.rotZ,
                     p.scale,        pl.shiftX, pl.shiftY, pl.rotation, pl.planeScale, pl.extraParam1,
                     pl.extraParam2, e.coef0,   e.coef1,   e.coef2,     e.coef3,       e.coef4,
                     e.coef5,        g.originX, g.originY, g.slopeX,    g.slopeY,      g.constant})
        s << " " << v;
    s << " | " << changedSlots(t.GetProjectParams()) << " " << t.GetGeoidFilePath();
    return s.str();
}
}  // namespace

// What a new transformer holds, what each setter stores (Molodensky only the shifts, the re-expression
// nothing), and copies that keep what they copied when the original changes.
TEST(DatumTransformer, ConstructionSettersAndCopiesKeepEveryField) {
    const std::string wgs84 = "6378137 0.0033528106647474805 6378137 0.0033528106647474805 | ";
    DatumTransformer t;
    EXPECT_EQ(state(t), wgs84 + "0 0 0 0 | 0 0 0 0 0 0 1 0 0 0 1 0 0 0 0 0 0 0 0 0 0 0 0 0 | 00000000000 ");
    t.SetTransformMethod(1);
    t.SetTransformParams(1, 2, 3, 4, 5, 6, 7);
    t.SetTransformMethod(2);
    t.SetTransformParams(10, 20, 30, 40, 50, 60, 70);
    t.SetTransformMethod(0);
    t.SetTransformParams(-1, -1, -1, -1, -1, -1, -1);
    t.SetProjectionMethod(32);
    t.SetPlaneAdjustParams(1, 2, 3, 4, 5, 6);
    t.SetEleAdjustParams(1, 2, 3, 4, 5, 6);
    t.SetEleAdjustTGOParams(1, 2, 3, 4, 5);
    t.SetGeoidFilePath("a.ggf");
    const std::string set =
        "0 32 0 0 | 10 20 30 4 5 6 7 1 2 3 4 5 6 1 2 3 4 5 6 1 2 3 4 5 | 00000000000 a.ggf";
    EXPECT_EQ(state(t), wgs84 + set);
    DatumTransformer copy(t), assigned;
    assigned = t;
    t.SetProjectionParams(0.5, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0);
    t.SetGeoidFilePath("b.ggf");
    EXPECT_EQ(state(copy), wgs84 + set);
    EXPECT_EQ(state(assigned), wgs84 + set);
    EXPECT_EQ(state(t),
              wgs84 + "0 32 0 0 | 10 20 30 4 5 6 7 1 2 3 4 5 6 1 2 3 4 5 6 1 2 3 4 5 | 10100000000 b.ggf");
}

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
    t.GeodeticToGeocentric(kA, kF, 0, 0, 0, X, Y, Z);
    EXPECT_EQ(std::vector<double>({X, Y, Z}), std::vector<double>({kA, 0, 0}));
    // Longitude first in, latitude first out.
    t.GeodeticToGeocentric(kA, kF, 0.2, 0.7, 150, X, Y, Z);
    t.GeocentricToGeodetic(kA, kF, X, Y, Z, lat, lon, h);
    EXPECT_LT(std::hypot(lat - 0.7, lon - 0.2, (h - 150) * 1e-6), 1e-12) << lat << " " << lon << " " << h;
    t.GeocentricToGeodetic(kA, kF, 1000, -kA, 0, lat, lon, h);
    EXPECT_TRUE(lon > kHalfTurn && lon < 2 * kHalfTurn) << lon;
    // Geocentric → projected grid → geocentric.
    t.GeodeticToGeocentric(kA, kF, 12 * kDeg, 47 * kDeg, 350, X, Y, Z);
    t.GeocentricToLocal(kA, kF, X, Y, Z, n, e, h);
    EXPECT_NEAR(h, 350, 1e-6);
    t.LocalToGeocentric(kA, kF, n, e, h, X2, Y2, Z2);
    EXPECT_NEAR(std::hypot(X2 - X, Y2 - Y, Z2 - Z), 0, 1e-4);
    // Bad input and codes without a class write nothing.
    X = Y = Z = lat = lon = h = n = e = -1;
    EXPECT_THROW(t.GeodeticToGeocentric(kA, kF, 0, 2.0, 0, X, Y, Z), CSException);
    EXPECT_THROW(t.GeodeticToGeocentric(0, kF, 0, 0, 0, X, Y, Z), CSException);
    EXPECT_THROW(t.GeocentricToGeodetic(kA, 1.0 / 200, 1, 2, 3, lat, lon, h), CSException);
    for (int code : {3, 9, 10, 11, 12, 16, 19, 22, 24, 33, 35, 38, -1}) {
        DatumTransformer none;
        none.SetProjectionMethod(code);
        none.LocalToGeocentric(kA, kF, 100, 200, 10, X, Y, Z);
        none.GeocentricToLocal(kA, kF, kA, 0, 0, n, e, h);
    }
    EXPECT_EQ(std::vector<double>({X, Y, Z, lat, lon, h, n, e}), std::vector<double>(8, -1));
}
