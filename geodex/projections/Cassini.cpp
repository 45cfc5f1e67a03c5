#include "geodex/projections/Cassini.h"

#include <cmath>

#include "geodex/projections/Checks.h"
#include "geodex/projections/EllipsoidMath.h"
#include "geodex/projections/CoordinateType.h"

namespace Orvale::Geodex {

namespace {
const double kFourDegrees = 0.0698131700797731819;  // beyond this from the central meridian: warning 60
const double kWindowLatitude = 0.5410520681182421;  // 31°, the window's corner latitude
const double kPoleBand = 1e-10;                     // footpoint this close to a pole: the pole itself
}  // namespace

Cassini::Cassini(double a, double f, double centralMeridian, double originLatitude, double falseEasting,
                 double falseNorthing)
    : CoordinateSystem(a, f) {
    MessageCollector errors;
    addEllipsoidChecks(errors, a, f);
    addOriginLatitudeCheck(errors, originLatitude);
    addCentralMeridianCheck(errors, centralMeridian);
    errors.throwIfAny();

    this->centralMeridian = storedCentralMeridian(centralMeridian);
    this->originLatitude = originLatitude;
    this->falseEasting = falseEasting;
    this->falseNorthing = falseNorthing;
    es = eccentricitySquared(f);
    oneMinusEs = 1 - es;
    meridian = MeridianSeries(a, f);
    M0 = meridian.distance(originLatitude);
}

// Plane window as offsets from the false origin (metres): the northings of the antimeridian at ±31°;
// eastings fixed, one side shortened unless CM = 0. Only the inverse reads it, and an object usually
// converts one point, so it is derived there.
void Cassini::window(double& minEasting, double& maxEasting, double& minNorthing, double& maxNorthing) const {
    double x = 0, yNorth = 0, ySouth = 0;
    planeOffsets(kPi, kWindowLatitude, x, yNorth);
    planeOffsets(kPi, -kWindowLatitude, x, ySouth);
    maxNorthing = yNorth;
    minNorthing = ySouth;
    setWorldEastingWindow(centralMeridian, 20037508.4, 19926188.9, minEasting, maxEasting);
}

// Offsets from the false origin of the point dλ (in [-π, π]) from the central meridian at latitude φ.
void Cassini::planeOffsets(double dlambda, double phi, double& x, double& y) const {
    const double sinPhi = std::sin(phi);
    const double cosPhi = std::cos(phi);
    const double tanPhi = std::tan(phi);
    const double N = semiMajorAxis / std::sqrt(1 - es * sinPhi * sinPhi);
    const double T = tanPhi * tanPhi;
    const double A = dlambda * cosPhi;
    const double A2 = A * A;
    const double A3 = A2 * A;
    const double C = es * cosPhi * cosPhi / oneMinusEs;
    x = N * (A - T * A3 / 6 - (8 - T + 8 * C) * T * A3 * A2 / 120);
    y = meridian.distance(phi) - M0 + N * tanPhi * (A2 / 2 + (5 - T + 6 * C) * A2 * A2 / 24);
}

MapProjectionCoordinates* Cassini::project(const GeodeticCoordinates& geodetic) const {
    const double lambda = geodetic.longitude();
    const double phi = geodetic.latitude();
    checkGeodetic(lambda, phi);

    // The warning looks at the true distance from the central meridian (a longitude given in [π, 2π]
    // is the same meridian as the one 2π west of it).
    const double dlambda = reduceLongitudeOnce(lambda - centralMeridian);
    MessageCollector warnings;
    warnings.add(std::fabs(dlambda) > kFourDegrees, kMsgDistortionWarning);

    double x = 0, y = 0;
    planeOffsets(dlambda, phi, x, y);
    return new MapProjectionCoordinates(CoordinateType::cassini, warnings.text().c_str(), falseEasting + x,
                                        falseNorthing + y);
}

GeodeticCoordinates* Cassini::backProject(const MapProjectionCoordinates& projected) const {
    const double E = projected.easting();
    const double N = projected.northing();
    double minEasting = 0, maxEasting = 0, minNorthing = 0, maxNorthing = 0;
    window(minEasting, maxEasting, minNorthing, maxNorthing);
    MessageCollector errors;
    errors.add(outside(E, falseEasting + minEasting, falseEasting + maxEasting), kMsgEasting);
    errors.add(outside(N, falseNorthing + minNorthing - 0.1, falseNorthing + maxNorthing + 0.1),
               kMsgNorthing);
    errors.throwIfAny();

    const double dx = E - falseEasting;
    const double mu = (N - falseNorthing + M0) / (meridian.c0 * semiMajorAxis);
    const double phi1 = meridian.footpoint(mu);
    if (std::fabs(phi1 - kHalfPi) < kPoleBand)
        return new GeodeticCoordinates(CoordinateType::geodetic, centralMeridian, kHalfPi, 0);
    if (std::fabs(phi1 + kHalfPi) < kPoleBand)
        return new GeodeticCoordinates(CoordinateType::geodetic, centralMeridian, -kHalfPi, 0);

    const double tanPhi1 = std::tan(phi1);
    const double sinPhi1 = std::sin(phi1);
    const double T1 = tanPhi1 * tanPhi1;
    const double s = 1 - es * sinPhi1 * sinPhi1;
    const double N1 = semiMajorAxis / std::sqrt(s);
    const double R1 = N1 * oneMinusEs / s;
    const double D = dx / N1;
    const double D2 = D * D;
    const double D3 = D2 * D;
    double phi = phi1 - (N1 * tanPhi1 / R1) * (D2 / 2 - (1 + 3 * T1) * D2 * D2 / 24);
    double lambda = centralMeridian + (D - T1 * D3 / 3 + (1 + 3 * T1) * T1 * D3 * D2 / 15) / std::cos(phi1);
    phi = clampLatitude(phi);
    lambda = clampLongitude(reduceLongitudeOnce(lambda));

    MessageCollector warnings;
    warnings.add(std::fabs(reduceLongitudeOnce(lambda - centralMeridian)) > kFourDegrees,
                 kMsgDistortionWarning);
    return new GeodeticCoordinates(CoordinateType::geodetic, warnings.text().c_str(), lambda, phi, 0);
}

}  // namespace Orvale::Geodex
