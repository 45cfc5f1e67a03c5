#include "geodex/projections/Mercator.h"

#include <cmath>

#include "geodex/projections/Checks.h"
#include "geodex/projections/CoordinateType.h"
#include "geodex/projections/EllipsoidMath.h"

namespace Orvale::Geodex {

namespace {
const double kMaxLatitude = 1.562069680534925;  // 89.5°, radians
}

Mercator::Mercator(double a, double f, double centralMeridian, double latitudeOfTrueScale,
                   double falseEasting, double falseNorthing, double& scaleFactor)
    : CoordinateSystem(a, f) {
    MessageCollector errors;
    addEllipsoidChecks(errors, a, f);
    errors.add(outside(latitudeOfTrueScale, -kMaxLatitude, kMaxLatitude), kMsgOriginLatitude);
    addCentralMeridianCheck(errors, centralMeridian);
    errors.throwIfAny();

    // The scale along the equator that makes the parallel φs true to scale: k0 = m(φs).
    const double k = parallelRadiusFactor(eccentricitySquared(f), latitudeOfTrueScale);
    scaleFactor = k;
    setUp(centralMeridian, falseEasting, falseNorthing, k, CoordinateType::mercatorStandardParallel);
}

Mercator::Mercator(double a, double f, double centralMeridian, double falseEasting, double falseNorthing,
                   double scaleFactor)
    : CoordinateSystem(a, f) {
    MessageCollector errors;
    addEllipsoidChecks(errors, a, f);
    addCentralMeridianCheck(errors, centralMeridian);
    errors.add(outside(scaleFactor, 0.3, 3.0), kMsgScaleFactor);
    errors.throwIfAny();

    setUp(centralMeridian, falseEasting, falseNorthing, scaleFactor, CoordinateType::mercatorScaleFactor);
}

void Mercator::setUp(double cm, double fe, double fn, double k, int code) {
    typeCode = code;
    centralMeridian = storedCentralMeridian(cm);
    falseEasting = fe;
    falseNorthing = fn;
    k0 = k;
    es = eccentricitySquared(flattening);
    e = std::sqrt(es);
    conformal = ConformalSeries(es);
}

// Half-widths of the plane window (metres): 1% beyond the image of the antimeridian at 89.5°. Only the
// inverse reads them, and an object usually converts one point, so they are derived there.
void Mercator::window(double& deltaEasting, double& deltaNorthing) const {
    deltaEasting = 1.01 * std::fabs(eastingOffset(centralMeridian + kPi));
    deltaNorthing = 1.01 * std::fabs(northingOffset(kMaxLatitude));
}

// k0·a·dλ, dλ = λ − CM brought into [-π, π].
double Mercator::eastingOffset(double lambda) const {
    return k0 * semiMajorAxis * reduceLongitudeOnce(lambda - centralMeridian);
}

// k0·a·ln(tan(π/4 + φ/2)·((1 − e sin φ)/(1 + e sin φ))^(e/2)), the isometric latitude scaled.
double Mercator::northingOffset(double phi) const {
    const double esinPhi = e * std::sin(phi);
    return k0 * semiMajorAxis *
           std::log(std::tan(kPi / 4 + phi / 2) * std::pow((1 - esinPhi) / (1 + esinPhi), e / 2));
}

MapProjectionCoordinates* Mercator::project(const GeodeticCoordinates& geodetic) const {
    return projectToTuple(*this, typeCode, geodetic);
}

void Mercator::project(double lambda, double phi, double& E, double& N) const {
    MessageCollector errors;
    errors.add(outside(phi, -kMaxLatitude, kMaxLatitude), kMsgLatitude);
    errors.add(outside(lambda, -kPi, kTwoPi), kMsgLongitude);
    errors.throwIfAny();

    if (lambda > kPi) lambda -= kTwoPi;
    E = falseEasting + eastingOffset(lambda);
    N = falseNorthing + northingOffset(phi);
}

GeodeticCoordinates* Mercator::backProject(const MapProjectionCoordinates& projected) const {
    return backProjectToTuple(*this, projected);
}

void Mercator::backProject(double E, double N, double& longitude, double& latitude) const {
    double deltaEasting = 0, deltaNorthing = 0;
    window(deltaEasting, deltaNorthing);
    checkCentredWindow(E, N, falseEasting, deltaEasting, falseNorthing, deltaNorthing);

    const double ka = k0 * semiMajorAxis;
    double lambda = centralMeridian + (E - falseEasting) / ka;
    // Conformal latitude from the isometric latitude, then the geodetic latitude by its series.
    const double chi = kHalfPi - 2 * std::atan(std::exp(-(N - falseNorthing) / ka));
    const double phi = conformal.latitude(chi);
    lambda = reduceLongitudeOnce(lambda);
    longitude = lambda;
    latitude = phi;
}

}  // namespace Orvale::Geodex
