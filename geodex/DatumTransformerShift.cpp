// DatumTransformer: datum shifts between WGS 84 and the local datum.
#include <cmath>
#include <cstring>

#include "geodex/DatumTransformer.h"
#include "geodex/EarthCentred.h"
#include "geodex/projections/EllipsoidMath.h"
#include "geodex/projections/Geocentric.h"

namespace Orvale::Geodex {

namespace {

const Ellipsoid kWGS84(6378137.0, 0.0033528106647474805);

// The point (radians, metres) on the ellipsoid `from`, expressed on the ellipsoid `to` through
// earth-centred coordinates; the longitude comes back in [0, 2π). Throws CSException for an invalid
// ellipsoid or point.
void reexpress(const Ellipsoid& from, const Ellipsoid& to, double latitude, double longitude, double height,
               double& latitudeOut, double& longitudeOut, double& heightOut) {
    const Geocentric source(from.a, from.f);  // checks the ellipsoid
    double x = 0, y = 0, z = 0;
    EarthCentred::toCartesian(from.a, from.f, latitude, longitude, height, x, y, z);
    const Geocentric target(to.a, to.f);
    EarthCentred::toGeodetic(to.a, to.f, x, y, z, latitudeOut, longitudeOut, heightOut);
}

// M = (1 + scale) · Rz · Ry · Rx of the seven-parameter shift (coordinate frame, exact rotations), row
// by row, with the products summed in the order of the matrix template.
void scaledRotation(const ParamSeven& p, double m[9]) {
    const double cx = std::cos(p.rotX), sx = std::sin(p.rotX);
    const double cy = std::cos(p.rotY), sy = std::sin(p.rotY);
    const double cz = std::cos(p.rotZ), sz = std::sin(p.rotZ);
    const double rz[] = {cz, sz, 0, -sz, cz, 0, 0, 0, 1};
    const double ry[] = {cy, 0, -sy, 0, 1, 0, sy, 0, cy};
    const double rx[] = {1, 0, 0, 0, cx, sx, 0, -sx, cx};
    auto product = [](const double* A, const double* B, double* C) {
        for (int i = 0; i < 3; ++i)
            for (int j = 0; j < 3; ++j) {
                double sum = 0;
                for (int k = 0; k < 3; ++k) sum += A[3 * i + k] * B[3 * k + j];
                C[3 * i + j] = sum;
            }
    };
    double zy[9], r[9];
    product(rz, ry, zy);
    product(zy, rx, r);
    const double scale = 1 + p.scale;
    for (int k = 0; k < 9; ++k) m[k] = scale * r[k];
}

bool sameBits(double x, double y) { return std::memcmp(&x, &y, sizeof x) == 0; }
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

bool DatumTransformer::GeodeticShiftFromWGS84Pair(const double in[2][3], double out[2][3]) {
    if (transformMethod == 2) return false;
    // The checks of the single-point path, made beforehand: WGS 84 is a valid ellipsoid, the local one
    // gets the checks of the Geocentric constructor, and the points those toCartesian throws for.
    MessageCollector checks;
    addEllipsoidChecks(checks, dstEllipsoid.a, dstEllipsoid.f);
    for (int k = 0; k < 2; ++k) addGeodeticChecks(checks, in[k][1], in[k][0]);
    if (!checks.empty()) return false;
    double x[2], y[2], z[2];
    for (int k = 0; k < 2; ++k) {
        EarthCentred::toCartesian(kWGS84.a, kWGS84.f, in[k][0], in[k][1], in[k][2], x[k], y[k], z[k]);
        if (transformMethod == 1) sevenParameterShift(x[k], y[k], z[k], x[k], y[k], z[k]);
    }
    double latitude[2], longitude[2], height[2];
    EarthCentred::toGeodeticPair(dstEllipsoid.a, dstEllipsoid.f, x, y, z, latitude, longitude, height);
    for (int k = 0; k < 2; ++k) {
        out[k][0] = latitude[k];
        out[k][1] = longitude[k];
        out[k][2] = height[k];
    }
    return true;
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
    double x = 0, y = 0, z = 0;
    GeodeticToGeocentric(from.a, from.f, longitude, latitude, height, x, y, z);
    double X = 0, Y = 0, Z = 0;
    GeocentricShiftFromWGS84(x, y, z, X, Y, Z);
    GeocentricToGeodetic(to.a, to.f, X, Y, Z, latitudeOut, longitudeOut, heightOut);
}

// [X′, Y′, Z′] = T + M · [X, Y, Z] with M = (1 + scale) · Rz · Ry · Rx, kept while the rotations and the
// scale it was built from are bitwise the same.
void DatumTransformer::sevenParameterShift(double X, double Y, double Z, double& Xout, double& Yout,
                                           double& Zout) {
    const ParamSeven& p = transformParams;
    KeptRotation& kept = keptRotation;
    if (!(kept.valid && sameBits(kept.rotX, p.rotX) && sameBits(kept.rotY, p.rotY) &&
          sameBits(kept.rotZ, p.rotZ) && sameBits(kept.scale, p.scale))) {
        scaledRotation(p, kept.m);
        kept.rotX = p.rotX;
        kept.rotY = p.rotY;
        kept.rotZ = p.rotZ;
        kept.scale = p.scale;
        kept.valid = true;
    }
    const double* m = kept.m;
    double sx = 0, sy = 0, sz = 0;
    sx += m[0] * X;
    sx += m[1] * Y;
    sx += m[2] * Z;
    sy += m[3] * X;
    sy += m[4] * Y;
    sy += m[5] * Z;
    sz += m[6] * X;
    sz += m[7] * Y;
    sz += m[8] * Z;
    Xout = p.deltaX + sx;
    Yout = p.deltaY + sy;
    Zout = p.deltaZ + sz;
}

void DatumTransformer::GeocentricShiftFromWGS84(double X, double Y, double Z, double& Xout, double& Yout,
                                                double& Zout) {
    if (transformMethod == 1) {
        sevenParameterShift(X, Y, Z, Xout, Yout, Zout);
    } else if (transformMethod == 2) {
        Xout = X - transformParams.deltaX;
        Yout = Y - transformParams.deltaY;
        Zout = Z - transformParams.deltaZ;
    }
}

void DatumTransformer::GeocentricShiftToWGS84(double X, double Y, double Z, double& Xout, double& Yout,
                                              double& Zout) {
    if (transformMethod == 1) {
        sevenParameterShift(X, Y, Z, Xout, Yout, Zout);
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
