// DatumTransformer: construction, configuration and the geocentric conversions.
#include "geodex/DatumTransformer.h"

#include <memory>
#include <utility>

#include "geodex/projections/CoordinateType.h"
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

void DatumTransformer::SetProjectionParams(double centralMeridian, double originLatitude, double falseEasting,
                                           double falseNorthing, double scaleFactor, double standardParallel1,
                                           double standardParallel2, int zone, int zoneOverride,
                                           char hemisphere, double coneAxisColatitude) {
    ProjectParam& p = projectParams;
    switch (projectionMethod) {
        case 0:
        case 15:
            p.centralMeridian = centralMeridian;
            p.originLatitude = originLatitude;
            p.falseEasting = falseEasting;
            p.falseNorthing = falseNorthing;
            p.scaleFactor = scaleFactor;
            p.standardParallel1 = standardParallel1;
            p.standardParallel2 = standardParallel2;
            break;
        case 1:
        case 2:
        case 4:
        case 5:
        case 13:
        case 25:
        case 28:
        case 30:
            p.centralMeridian = centralMeridian;
            p.originLatitude = originLatitude;
            p.falseEasting = falseEasting;
            p.falseNorthing = falseNorthing;
            break;
        case 6:
        case 7:
        case 20:
        case 21:
        case 29:
        case 36:
            p.centralMeridian = centralMeridian;
            p.falseEasting = falseEasting;
            p.falseNorthing = falseNorthing;
            break;
        case 8:
            p.centralMeridian = centralMeridian;
            p.falseEasting = falseEasting;
            p.falseNorthing = falseNorthing;
            p.standardParallel1 = standardParallel1;
            break;
        case 14:
        case 31:
        case 32:
            p.centralMeridian = centralMeridian;
            p.originLatitude = originLatitude;
            p.falseEasting = falseEasting;
            p.falseNorthing = falseNorthing;
            p.scaleFactor = scaleFactor;
            break;
        case 17:
            p.centralMeridian = centralMeridian;
            p.standardParallel1 = standardParallel1;
            p.scaleFactor = scaleFactor;
            p.falseEasting = falseEasting;
            p.falseNorthing = falseNorthing;
            break;
        case 18:
            p.centralMeridian = centralMeridian;
            p.scaleFactor = scaleFactor;
            p.falseNorthing = falseNorthing;
            p.falseEasting = falseEasting;
            break;
        case 23:
            p.centralMeridian = centralMeridian;
            p.standardParallel1 = standardParallel1;
            p.originLatitude = originLatitude;
            p.falseNorthing = falseNorthing;
            p.falseEasting = falseEasting;
            break;
        case 26:
            p.centralMeridian = centralMeridian;
            p.standardParallel1 = standardParallel1;
            p.falseEasting = falseEasting;
            p.falseNorthing = falseNorthing;
            break;
        case 27:
            p.centralMeridian = centralMeridian;
            p.hemisphere = hemisphere;
            p.scaleFactor = scaleFactor;
            p.falseNorthing = falseNorthing;
            p.falseEasting = falseEasting;
            break;
        case 34:
            // The inverse needs the hemisphere of the grid coordinates as much as their zone.
            p.zone = zone;
            p.zoneOverride = zoneOverride;
            p.hemisphere = hemisphere;
            break;
        case 37:
            p.centralMeridian = centralMeridian;
            p.originLatitude = originLatitude;
            p.falseEasting = falseEasting;
            p.falseNorthing = falseNorthing;
            p.scaleFactor = scaleFactor;
            p.standardParallel1 = standardParallel1;
            p.coneAxisColatitude = coneAxisColatitude;
            break;
        default:  // no projection class: nothing is stored
            break;
    }
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
    const Geocentric geocentric(a, f);
    const std::unique_ptr<CartesianCoordinates> xyz(
        geocentric.toGeocentric(GeodeticCoordinates(CoordinateType::geodetic, longitude, latitude, height)));
    X = xyz->x();
    Y = xyz->y();
    Z = xyz->z();
}

void DatumTransformer::GeocentricToGeodetic(double a, double f, double X, double Y, double Z,
                                            double& latitude, double& longitude, double& height) {
    const Geocentric geocentric(a, f);
    const std::unique_ptr<GeodeticCoordinates> geodetic(
        geocentric.toGeodetic(CartesianCoordinates(CoordinateType::geocentric, X, Y, Z), 5, 1e-14));
    latitude = geodetic->latitude();
    longitude = geodetic->longitude();
    height = geodetic->height();
}

}  // namespace Orvale::Geodex
