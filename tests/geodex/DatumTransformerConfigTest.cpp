#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "geodex/geodex.h"

using namespace Orvale::Geodex;

namespace {
const double kA = 6378137.0;
const double kF = 1 / 298.257223563;

// Which ProjectParam slots differ from the defaults, in field order:
// CM OL FE FN k SP1 SP2 zone override hemisphere cone.
std::string changedSlots(const ProjectParam& p) {
    const ProjectParam d;
    std::string s;
    s += p.centralMeridian != d.centralMeridian ? '1' : '0';
    s += p.originLatitude != d.originLatitude ? '1' : '0';
    s += p.falseEasting != d.falseEasting ? '1' : '0';
    s += p.falseNorthing != d.falseNorthing ? '1' : '0';
    s += p.scaleFactor != d.scaleFactor ? '1' : '0';
    s += p.standardParallel1 != d.standardParallel1 ? '1' : '0';
    s += p.standardParallel2 != d.standardParallel2 ? '1' : '0';
    s += p.zone != d.zone ? '1' : '0';
    s += p.zoneOverride != d.zoneOverride ? '1' : '0';
    s += p.hemisphere != d.hemisphere ? '1' : '0';
    s += p.coneAxisColatitude != d.coneAxisColatitude ? '1' : '0';
    return s;
}
}  // namespace

TEST(DatumTransformer, ConstructionLeavesEveryFieldDefined) {
    const DatumTransformer t;
    EXPECT_EQ(t.GetSrcEllipsoid().a, kA);
    EXPECT_EQ(t.GetSrcEllipsoid().f, kF);
    EXPECT_EQ(t.GetDstEllipsoid().a, kA);
    EXPECT_EQ(t.GetDstEllipsoid().f, kF);
    EXPECT_EQ(t.GetTransformMethod(), 0);
    EXPECT_EQ(t.GetProjectionMethod(), 0);
    EXPECT_EQ(t.GetPlaneAdjustMethod(), 0);
    EXPECT_EQ(t.GetEleAdjustMethod(), 0);
    EXPECT_EQ(t.GetTransformParams().GetScale(), 1.0);
    EXPECT_EQ(changedSlots(t.GetProjectParams()), "00000000000");
    const PlaneAdjustParam& plane = t.GetPlaneAdjustParams();
    EXPECT_EQ(plane.planeScale, 1.0);
    EXPECT_EQ(plane.shiftX + plane.shiftY + plane.rotation + plane.extraParam1 + plane.extraParam2, 0);
    const EleAdjustParam& ele = t.GetEleAdjustParams();
    EXPECT_EQ(ele.coef0 + ele.coef1 + ele.coef2 + ele.coef3 + ele.coef4 + ele.coef5, 0);
    const EleAdjustParamTGO& tgo = t.GetEleAdjustTGOParams();
    EXPECT_EQ(tgo.originX + tgo.originY + tgo.constant + tgo.slopeX + tgo.slopeY, 0);
    EXPECT_TRUE(t.GetGeoidFilePath().empty());
}

TEST(DatumTransformer, TransformParamsAreStoredByTheCurrentMethod) {
    DatumTransformer t;
    t.SetTransformMethod(1);
    t.SetTransformParams(1, 2, 3, 4, 5, 6, 7);
    t.SetTransformMethod(2);
    t.SetTransformParams(10, 20, 30, 40, 50, 60, 70);
    ParamSeven p = t.GetTransformParams();
    EXPECT_EQ(p.deltaX, 10);
    EXPECT_EQ(p.deltaY, 20);
    EXPECT_EQ(p.deltaZ, 30);
    EXPECT_EQ(p.rotX, 4);
    EXPECT_EQ(p.rotY, 5);
    EXPECT_EQ(p.rotZ, 6);
    EXPECT_EQ(p.scale, 7);
    t.SetTransformMethod(0);
    t.SetTransformParams(-1, -1, -1, -1, -1, -1, -1);
    p = t.GetTransformParams();
    EXPECT_EQ(p.deltaX, 10);
    EXPECT_EQ(p.rotZ, 6);
}

TEST(DatumTransformer, ProjectionParamsStoreOnlyTheSlotsOfTheMethod) {
    struct Case {
        int code;
        const char* slots;  // CM OL FE FN k SP1 SP2 zone override hemisphere cone
    };
    const Case cases[] = {
        {0, "11111110000"},  {15, "11111110000"}, {1, "11110000000"},  {2, "11110000000"},
        {4, "11110000000"},  {5, "11110000000"},  {13, "11110000000"}, {25, "11110000000"},
        {28, "11110000000"}, {30, "11110000000"}, {6, "10110000000"},  {7, "10110000000"},
        {20, "10110000000"}, {21, "10110000000"}, {29, "10110000000"}, {36, "10110000000"},
        {8, "10110100000"},  {14, "11111000000"}, {31, "11111000000"}, {32, "11111000000"},
        {17, "10111100000"}, {18, "10111000000"}, {23, "11110100000"}, {26, "10110100000"},
        {27, "10111000010"}, {34, "00000001110"}, {37, "11111100001"}, {3, "00000000000"},
        {9, "00000000000"},  {33, "00000000000"}, {38, "00000000000"}, {-1, "00000000000"},
    };
    for (const Case& c : cases) {
        DatumTransformer t;
        t.SetProjectionMethod(c.code);
        t.SetProjectionParams(0.5, 0.25, 1000, 2000, 0.9996, 0.3, 0.4, 50, 49, 'S', 1.1);
        EXPECT_EQ(changedSlots(t.GetProjectParams()), c.slots) << "code " << c.code;
    }
}

TEST(DatumTransformer, ProjectionParamsForUtmKeepTheHemisphereAndNothingElse) {
    DatumTransformer t;
    t.SetProjectionMethod(34);
    t.SetProjectionParams(0.5, 0.25, 1000, 2000, 0.9996, 0.3, 0.4, 50, 49, 'S', 1.1);
    EXPECT_EQ(t.GetProjectParams().zone, 50);
    EXPECT_EQ(t.GetProjectParams().zoneOverride, 49);
    EXPECT_EQ(t.GetProjectParams().hemisphere, 'S');
    EXPECT_EQ(t.GetProjectParams().falseEasting, 500000.0);
}

TEST(DatumTransformer, AdjustmentSettersKeepTheirArgumentOrder) {
    DatumTransformer t;
    t.SetPlaneAdjustParams(1, 2, 3, 4, 5, 6);
    const PlaneAdjustParam& plane = t.GetPlaneAdjustParams();
    EXPECT_EQ(plane.shiftX, 1);
    EXPECT_EQ(plane.shiftY, 2);
    EXPECT_EQ(plane.rotation, 3);
    EXPECT_EQ(plane.planeScale, 4);
    EXPECT_EQ(plane.extraParam1, 5);
    EXPECT_EQ(plane.extraParam2, 6);
    t.SetEleAdjustTGOParams(1, 2, 3, 4, 5);
    const EleAdjustParamTGO& tgo = t.GetEleAdjustTGOParams();
    EXPECT_EQ(tgo.originX, 1);
    EXPECT_EQ(tgo.originY, 2);
    EXPECT_EQ(tgo.slopeX, 3);
    EXPECT_EQ(tgo.slopeY, 4);
    EXPECT_EQ(tgo.constant, 5);
    t.SetEleAdjustParams(1, 2, 3, 4, 5, 6);
    EXPECT_EQ(t.GetEleAdjustParams().coef5, 6);
    t.SetGeoidFilePath("egm.ggf");
    EXPECT_EQ(t.GetGeoidFilePath(), "egm.ggf");
}

TEST(DatumTransformer, CopiesAreIndependent) {
    DatumTransformer t;
    t.SetProjectionMethod(32);
    t.SetGeoidFilePath("a.ggf");
    DatumTransformer copy(t);
    DatumTransformer assigned;
    assigned = t;
    t.SetProjectionParams(0.5, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0);
    t.SetGeoidFilePath("b.ggf");
    EXPECT_EQ(copy.GetProjectionMethod(), 32);
    EXPECT_EQ(copy.GetGeoidFilePath(), "a.ggf");
    EXPECT_EQ(assigned.GetGeoidFilePath(), "a.ggf");
    EXPECT_EQ(assigned.GetProjectParams().centralMeridian, ProjectParam().centralMeridian);
}

TEST(DatumTransformer, GeocentricConversionsFollowTheirArgumentOrder) {
    DatumTransformer t;
    double X = 0, Y = 0, Z = 0;
    t.GeodeticToGeocentric(kA, kF, 0, 0, 0, X, Y, Z);
    EXPECT_EQ(X, kA);
    EXPECT_EQ(Y, 0);
    EXPECT_EQ(Z, 0);
    // Longitude first in, latitude first out.
    t.GeodeticToGeocentric(kA, kF, 0.2, 0.7, 150, X, Y, Z);
    double lat = 0, lon = 0, h = 0;
    t.GeocentricToGeodetic(kA, kF, X, Y, Z, lat, lon, h);
    EXPECT_NEAR(lat, 0.7, 1e-12);
    EXPECT_NEAR(lon, 0.2, 1e-12);
    EXPECT_NEAR(h, 150, 1e-6);
    t.GeocentricToGeodetic(kA, kF, 1000, -kA, 0, lat, lon, h);
    EXPECT_GT(lon, 3.141592653589793);
    EXPECT_LT(lon, 6.283185307179586);
}

TEST(DatumTransformer, GeocentricConversionsRejectBadInputWithoutWriting) {
    DatumTransformer t;
    double X = -1, Y = -1, Z = -1;
    EXPECT_THROW(t.GeodeticToGeocentric(kA, kF, 0, 2.0, 0, X, Y, Z), CSException);
    EXPECT_THROW(t.GeodeticToGeocentric(0, kF, 0, 0, 0, X, Y, Z), CSException);
    double lat = -1, lon = -1, h = -1;
    EXPECT_THROW(t.GeocentricToGeodetic(kA, 1.0 / 200, 1, 2, 3, lat, lon, h), CSException);
    EXPECT_EQ(X + Y + Z + lat + lon + h, -6);
}
