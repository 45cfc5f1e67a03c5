// DatumTransformer: construction, configuration and the geocentric conversions.
#include "geodex/DatumTransformer.h"

#include <utility>

#include "geodex/EarthCentred.h"
#include "geodex/projections/Geocentric.h"

namespace Orvale::Geodex {

DatumTransformer::DatumTransformer()
    : transformMethod(0),
      projectionMethod(0),
      planeAdjustParams{0, 0, 0, 0, 0, 1.0},
      eleAdjustParams{0, 0, 0, 0, 0, 0},
      eleAdjustTGOParams{0, 0, 0, 0, 0},
      planeAdjustMethod(0),
      eleAdjustMethod(0) {}

void DatumTransformer::SetSrcEllipsoid(double a, double f) {
    srcEllipsoid.a = a;
    srcEllipsoid.f = f;
}

void DatumTransformer::SetDstEllipsoid(double a, double f) {
    dstEllipsoid.a = a;
    dstEllipsoid.f = f;
}

const Ellipsoid& DatumTransformer::GetSrcEllipsoid() const { return srcEllipsoid; }
const Ellipsoid& DatumTransformer::GetDstEllipsoid() const { return dstEllipsoid; }

void DatumTransformer::SetTransformMethod(int method) { transformMethod = method; }
int DatumTransformer::GetTransformMethod() const { return transformMethod; }

void DatumTransformer::SetTransformParams(double dx, double dy, double dz, double rx, double ry, double rz,
                                          double scale) {
    if (transformMethod == 2) {
        transformParams.deltaX = dx;
        transformParams.deltaY = dy;
        transformParams.deltaZ = dz;
    } else if (transformMethod == 1) {
        transformParams = ParamSeven(dx, dy, dz, rx, ry, rz, scale);
    }
}

const ParamSeven& DatumTransformer::GetTransformParams() const { return transformParams; }

void DatumTransformer::SetProjectionMethod(int method) { projectionMethod = method; }
int DatumTransformer::GetProjectionMethod() const { return projectionMethod; }

namespace {
// The parameter slots a projection class reads from ProjectParam.
enum Slot : unsigned {
    kCentralMeridian = 1u << 0,
    kOriginLatitude = 1u << 1,
    kFalseOrigin = 1u << 2,  // false easting and false northing
    kScaleFactor = 1u << 3,
    kStandardParallel1 = 1u << 4,
    kStandardParallel2 = 1u << 5,
    kZone = 1u << 6,  // zone and zone override
    kHemisphere = 1u << 7,
    kConeAxisColatitude = 1u << 8,
};

// The slots SetProjectionParams stores for each projection code; codes without a class store nothing.
unsigned storedSlots(int code) {
    switch (code) {
        case 0:   // Albers equal-area conic
        case 15:  // Lambert conformal conic, two standard parallels
            return kCentralMeridian | kOriginLatitude | kFalseOrigin | kScaleFactor | kStandardParallel1 |
                   kStandardParallel2;
        case 1:
        case 2:
        case 4:
        case 5:
        case 13:
        case 25:
        case 28:
        case 30:
            return kCentralMeridian | kOriginLatitude | kFalseOrigin;
        case 6:
        case 7:
        case 20:
        case 21:
        case 29:
        case 36:
            return kCentralMeridian | kFalseOrigin;
        case 8:
            return kCentralMeridian | kFalseOrigin | kStandardParallel1;
        case 14:
        case 31:
        case 32:
            return kCentralMeridian | kOriginLatitude | kFalseOrigin | kScaleFactor;
        case 17:
            return kCentralMeridian | kStandardParallel1 | kScaleFactor | kFalseOrigin;
        case 18:
            return kCentralMeridian | kScaleFactor | kFalseOrigin;
        case 23:
            return kCentralMeridian | kStandardParallel1 | kOriginLatitude | kFalseOrigin;
        case 26:
            return kCentralMeridian | kStandardParallel1 | kFalseOrigin;
        case 27:
            return kCentralMeridian | kHemisphere | kScaleFactor | kFalseOrigin;
        case 34:
            // The inverse needs the hemisphere of the grid coordinates as much as their zone.
            return kZone | kHemisphere;
        case 37:
            return kCentralMeridian | kOriginLatitude | kFalseOrigin | kScaleFactor | kStandardParallel1 |
                   kConeAxisColatitude;
        default:
            return 0;
    }
}
}  // namespace

void DatumTransformer::SetProjectionParams(double centralMeridian, double originLatitude, double falseEasting,
                                           double falseNorthing, double scaleFactor, double standardParallel1,
                                           double standardParallel2, int zone, int zoneOverride,
                                           char hemisphere, double coneAxisColatitude) {
    ProjectParam& p = projectParams;
    const unsigned slots = storedSlots(projectionMethod);
    if (slots & kCentralMeridian) p.centralMeridian = centralMeridian;
    if (slots & kOriginLatitude) p.originLatitude = originLatitude;
    if (slots & kFalseOrigin) {
        p.falseEasting = falseEasting;
        p.falseNorthing = falseNorthing;
    }
    if (slots & kScaleFactor) p.scaleFactor = scaleFactor;
    if (slots & kStandardParallel1) p.standardParallel1 = standardParallel1;
    if (slots & kStandardParallel2) p.standardParallel2 = standardParallel2;
    if (slots & kZone) {
        p.zone = zone;
        p.zoneOverride = zoneOverride;
    }
    if (slots & kHemisphere) p.hemisphere = hemisphere;
    if (slots & kConeAxisColatitude) p.coneAxisColatitude = coneAxisColatitude;
}

const ProjectParam& DatumTransformer::GetProjectParams() const { return projectParams; }

void DatumTransformer::SetPlaneAdjustMethod(int method) { planeAdjustMethod = method; }
int DatumTransformer::GetPlaneAdjustMethod() const { return planeAdjustMethod; }

void DatumTransformer::SetPlaneAdjustParams(double shiftX, double shiftY, double rotation, double planeScale,
                                            double extraParam1, double extraParam2) {
    planeAdjustParams.shiftX = shiftX;
    planeAdjustParams.shiftY = shiftY;
    planeAdjustParams.rotation = rotation;
    planeAdjustParams.planeScale = planeScale;
    planeAdjustParams.extraParam1 = extraParam1;
    planeAdjustParams.extraParam2 = extraParam2;
}

const PlaneAdjustParam& DatumTransformer::GetPlaneAdjustParams() const { return planeAdjustParams; }

void DatumTransformer::SetEleAdjustMethod(int method) { eleAdjustMethod = method; }
int DatumTransformer::GetEleAdjustMethod() const { return eleAdjustMethod; }

void DatumTransformer::SetEleAdjustParams(double c0, double c1, double c2, double c3, double c4, double c5) {
    eleAdjustParams = EleAdjustParam{c0, c1, c2, c3, c4, c5};
}

const EleAdjustParam& DatumTransformer::GetEleAdjustParams() const { return eleAdjustParams; }

void DatumTransformer::SetEleAdjustTGOParams(double originX, double originY, double slopeX, double slopeY,
                                             double constant) {
    eleAdjustTGOParams = EleAdjustParamTGO{originX, originY, constant, slopeX, slopeY};
}

const EleAdjustParamTGO& DatumTransformer::GetEleAdjustTGOParams() const { return eleAdjustTGOParams; }

void DatumTransformer::SetGeoidFilePath(std::string path) { geoidFilePath = std::move(path); }
const std::string& DatumTransformer::GetGeoidFilePath() const { return geoidFilePath; }

void DatumTransformer::GeodeticToGeocentric(double a, double f, double longitude, double latitude,
                                            double height, double& X, double& Y, double& Z) {
    const Geocentric geocentric(a, f);  // checks the ellipsoid
    EarthCentred::toCartesian(a, f, latitude, longitude, height, X, Y, Z);
}

void DatumTransformer::GeocentricToGeodetic(double a, double f, double X, double Y, double Z,
                                            double& latitude, double& longitude, double& height) {
    const Geocentric geocentric(a, f);  // checks the ellipsoid
    EarthCentred::toGeodetic(a, f, X, Y, Z, latitude, longitude, height);
}

}  // namespace Orvale::Geodex
