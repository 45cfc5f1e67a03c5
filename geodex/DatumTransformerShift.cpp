// DatumTransformer: datum shifts between WGS 84 and the local datum.
#include <cmath>
#include <memory>

#include "geodex/DatumTransformer.h"
#include "geodex/projections/CoordinateType.h"
#include "geodex/projections/EllipsoidMath.h"
#include "geodex/projections/Geocentric.h"
#include "numera/Matrix.h"
#include "numera/Vector.h"

namespace Orvale::Geodex {

namespace {
using Numera::Matrix;
using Numera::Vector;

const Ellipsoid kWGS84(6378137.0, 0.0033528106647474805);

// The point (radians, metres) on the ellipsoid `from`, expressed on the ellipsoid `to` through
// earth-centred coordinates; the longitude comes back in [0, 2π).
void reexpress(const Ellipsoid& from, const Ellipsoid& to, double latitude, double longitude, double height,
               double& latitudeOut, double& longitudeOut, double& heightOut) {
    const Geocentric source(from.a, from.f);
    const std::unique_ptr<CartesianCoordinates> xyz(
        source.toGeocentric(GeodeticCoordinates(CoordinateType::geodetic, longitude, latitude, height)));
    const Geocentric target(to.a, to.f);
    const std::unique_ptr<GeodeticCoordinates> result(target.toGeodetic(*xyz, 5, 1e-14));
    latitudeOut = result->latitude();
    longitudeOut = result->longitude();
    heightOut = result->height();
}

// [X′, Y′, Z′] = T + (1 + scale) · Rz · Ry · Rx · [X, Y, Z], with exact rotations (coordinate frame).
void sevenParameterShift(const ParamSeven& p, double X, double Y, double Z, double& Xout, double& Yout,
                         double& Zout) {
    const double cx = std::cos(p.rotX), sx = std::sin(p.rotX);
    const double cy = std::cos(p.rotY), sy = std::sin(p.rotY);
    const double cz = std::cos(p.rotZ), sz = std::sin(p.rotZ);
    const double rz[] = {cz, sz, 0, -sz, cz, 0, 0, 0, 1};
    const double ry[] = {cy, 0, -sy, 0, 1, 0, sy, 0, cy};
    const double rx[] = {1, 0, 0, 0, cx, sx, 0, -sx, cx};
    const double translation[] = {p.deltaX, p.deltaY, p.deltaZ};
    const double point[] = {X, Y, Z};
    const Matrix<double> R = Matrix<double>(3, 3, rz) * Matrix<double>(3, 3, ry) * Matrix<double>(3, 3, rx);
    const Vector<double> shifted =
        Vector<double>(3, translation) + (1 + p.scale) * R * Vector<double>(3, point);
    Xout = shifted[0];
    Yout = shifted[1];
    Zout = shifted[2];
}
}  // namespace

void DatumTransformer::GeodeticShiftFromWGS84(double latitude, double longitude, double height,
                                              double& latitudeOut, double& longitudeOut, double& heightOut) {
    if (transformMethod == 2)
        MolodenskyMethod(kWGS84, dstEllipsoid, transformParams, latitude, longitude, height, latitudeOut,
                         longitudeOut, heightOut);
    else if (transformMethod == 1)
        BursaMethod(kWGS84, dstEllipsoid, transformParams, latitude, longitude, height, latitudeOut,
                    longitudeOut, heightOut);
    else
        reexpress(kWGS84, dstEllipsoid, latitude, longitude, height, latitudeOut, longitudeOut, heightOut);
}

void DatumTransformer::GeodeticShiftToWGS84(double latitude, double longitude, double height,
                                            double& latitudeOut, double& longitudeOut, double& heightOut) {
    if (transformMethod == 2)
        MolodenskyMethod(srcEllipsoid, kWGS84, transformParams, latitude, longitude, height, latitudeOut,
                         longitudeOut, heightOut);
    else if (transformMethod == 1)
        BursaMethod(srcEllipsoid, kWGS84, transformParams, latitude, longitude, height, latitudeOut,
                    longitudeOut, heightOut);
    else
        reexpress(srcEllipsoid, kWGS84, latitude, longitude, height, latitudeOut, longitudeOut, heightOut);
}

// Both directions apply the stored parameters forwards: the parameters stored are those of the
// direction the caller converts in.
void DatumTransformer::BursaMethod(const Ellipsoid& from, const Ellipsoid& to, const ParamSeven&,
                                   double latitude, double longitude, double height, double& latitudeOut,
                                   double& longitudeOut, double& heightOut) {
    const Geocentric source(from.a, from.f);
    const std::unique_ptr<CartesianCoordinates> xyz(
        source.toGeocentric(GeodeticCoordinates(CoordinateType::geodetic, longitude, latitude, height)));
    double X = 0, Y = 0, Z = 0;
    GeocentricShiftFromWGS84(xyz->x(), xyz->y(), xyz->z(), X, Y, Z);
    const Geocentric target(to.a, to.f);
    const std::unique_ptr<GeodeticCoordinates> result(
        target.toGeodetic(CartesianCoordinates(CoordinateType::geocentric, X, Y, Z), 5, 1e-14));
    latitudeOut = result->latitude();
    longitudeOut = result->longitude();
    heightOut = result->height();
}

void DatumTransformer::GeocentricShiftFromWGS84(double X, double Y, double Z, double& Xout, double& Yout,
                                                double& Zout) {
    if (transformMethod == 1) {
        sevenParameterShift(transformParams, X, Y, Z, Xout, Yout, Zout);
    } else if (transformMethod == 2) {
        Xout = X - transformParams.deltaX;
        Yout = Y - transformParams.deltaY;
        Zout = Z - transformParams.deltaZ;
    }
}

void DatumTransformer::GeocentricShiftToWGS84(double X, double Y, double Z, double& Xout, double& Yout,
                                              double& Zout) {
    if (transformMethod == 1) {
        sevenParameterShift(transformParams, X, Y, Z, Xout, Yout, Zout);
    } else if (transformMethod == 2) {
        Xout = X + transformParams.deltaX;
        Yout = Y + transformParams.deltaY;
        Zout = Z + transformParams.deltaZ;
    }
}

// Standard Molodensky formulas from the ellipsoid `from` (a₁, f₁) to `to` (a₂, f₂). The changes of
// ellipsoid are taken as target minus source, Δa = a₂ − a₁ and Δf = f₂ − f₁, so that the shift moves
// the point the way re-expressing it on the target ellipsoid does. At a pole (latitude exactly ±π/2)
// the longitude is undefined and the input longitude is returned. Never throws.
void DatumTransformer::MolodenskyMethod(const Ellipsoid& from, const Ellipsoid& to, const ParamThree& shift,
                                        double phi, double lambda, double h, double& latitudeOut,
                                        double& longitudeOut, double& heightOut) {
    const double a = from.a;
    const double f = from.f;
    const double e2 = 2 * f - f * f;
    const double da = to.a - from.a;
    const double df = to.f - from.f;
    const double dX = shift.deltaX;
    const double dY = shift.deltaY;
    const double dZ = shift.deltaZ;

    const double lambdaC = lambda > kPi ? lambda - kTwoPi : lambda;
    const double sinPhi = std::sin(phi);
    const double cosPhi = std::cos(phi);
    const double sinLambda = std::sin(lambdaC);
    const double cosLambda = std::cos(lambdaC);
    const double W = std::sqrt(1 - e2 * sinPhi * sinPhi);
    const double Rn = a / W;
    const double Rm = a * (1 - e2) / (W * W * W);

    const double dPhi =
        (dZ * cosPhi - dX * sinPhi * cosLambda - dY * sinPhi * sinLambda + da * e2 * sinPhi * cosPhi / W +
         df * (1 - f) * sinPhi * cosPhi * (e2 / (1 - e2) * Rm * sinPhi * sinPhi + 2 * Rn)) /
        (Rm + h);
    latitudeOut = phi + dPhi;

    if (std::fabs(phi) == kHalfPi) {
        longitudeOut = lambda;
    } else {
        double lambdaOut = lambda + (dY * cosLambda - dX * sinLambda) / ((Rn + h) * cosPhi);
        if (lambdaOut > kTwoPi) lambdaOut -= kTwoPi;
        if (lambdaOut < -kPi) lambdaOut += kTwoPi;
        longitudeOut = lambdaOut;
    }

    heightOut = h + dX * cosPhi * cosLambda + dY * cosPhi * sinLambda + dZ * sinPhi - da * W +
                df * (1 - f) * a * sinPhi * sinPhi / W;
}

}  // namespace Orvale::Geodex
