#include "geodex/projections/LambertConformalConic.h"

#include <cmath>

#include "geodex/projections/Checks.h"
#include "geodex/projections/EllipsoidMath.h"

namespace Orvale::Geodex {

namespace {
const double kMaxLatitude = 1.5707914786580854;  // 89°59′59″
const double kMinOneParallelLatitude = 4.89e-6;
const double kWindow = 400000000.0;
const double kLatitudeTolerance = 4.85e-10;
const int kLatitudeBudget = 30;
}  // namespace

LambertConformalConic::LambertConformalConic(double a, double f, double centralMeridian_,
                                             double originLatitude_, double falseEasting_,
                                             double falseNorthing_, double scaleFactor_)
    : CoordinateSystem(a, f),
      typeCode(CoordinateType::lambertConformalConic1Parallel),
      originLatitude(originLatitude_),
      standardParallel1(originLatitude_),
      standardParallel2(originLatitude_),
      deltaEasting(kWindow),
      deltaNorthing(kWindow) {
    MessageCollector errors;
    addEllipsoidChecks(errors, a, f);
    addCentralMeridianCheck(errors, centralMeridian_);
    errors.throwIfAny();

    centralMeridian = storedCentralMeridian(centralMeridian_);
    falseEasting = falseEasting_;
    e = std::sqrt(eccentricitySquared(f));
    halfE = e / 2;
    setUpCone(originLatitude_, falseNorthing_, scaleFactor_, isometricT(e, originLatitude_),
              parallelRadiusFactor(e * e, originLatitude_));
}

LambertConformalConic::LambertConformalConic(double a, double f, double centralMeridian_,
                                             double originLatitude_, double standardParallel1_,
                                             double standardParallel2_, double falseEasting_,
                                             double falseNorthing_)
    : CoordinateSystem(a, f),
      typeCode(CoordinateType::lambertConformalConic2Parallels),
      originLatitude(originLatitude_),
      standardParallel1(standardParallel1_),
      standardParallel2(standardParallel2_),
      deltaEasting(kWindow),
      deltaNorthing(kWindow) {
    const double phi0 = originLatitude_;
    const double phiA = standardParallel1_;
    const double phiB = standardParallel2_;
    MessageCollector errors;
    addEllipsoidChecks(errors, a, f);
    errors.add(outside(phi0, -kMaxLatitude, kMaxLatitude), kMsgOriginLatitude);
    errors.add(outside(phiA, -kMaxLatitude, kMaxLatitude), kMsgFirstStandardParallel);
    errors.add(outside(phiB, -kMaxLatitude, kMaxLatitude), kMsgSecondStandardParallel);
    errors.add(phiA == 0 && phiB == 0, kMsgParallelsBothZero);
    errors.add(phiA == -phiB, kMsgParallelsOpposite);
    addCentralMeridianCheck(errors, centralMeridian_);
    errors.throwIfAny();

    centralMeridian = storedCentralMeridian(centralMeridian_);
    falseEasting = falseEasting_;
    const double es = eccentricitySquared(f);
    e = std::sqrt(es);
    halfE = e / 2;

    if (std::fabs(phiA - phiB) > 1e-10) {
        const double m1 = parallelRadiusFactor(es, phiA);
        const double t1 = isometricT(e, phiA);
        const double m2 = parallelRadiusFactor(es, phiB);
        const double t2 = isometricT(e, phiB);
        const double tOrigin = isometricT(e, phi0);
        const double cone = std::log(m1 / m2) / std::log(t1 / t2);
        const double phi1 = std::asin(cone);
        const double tPhi1 = isometricT(e, phi1);
        const double mPhi1 = parallelRadiusFactor(es, phi1);
        const double k0 = std::pow(tPhi1 / t1, cone) * m1 / mPhi1;
        const double aF = a * m2 / (std::pow(t2, cone) * cone);
        const double rhoOriginLatitude = aF * std::pow(tOrigin, cone);
        const double falseNorthingPrime = falseNorthing_ + (rhoOriginLatitude - aF * std::pow(tPhi1, cone));
        setUpCone(phi1, falseNorthingPrime, k0, tPhi1, mPhi1);
    } else {
        setUpCone(phiA, falseNorthing_, 1.0, isometricT(e, phiA), parallelRadiusFactor(es, phiA));
    }
}

// The one-parallel cone that both forms end in: tangent at phi1 (radians), scale factor k0; tPhi1 and mPhi1
// are t(φ1) and m(φ1), which the callers have at hand.
void LambertConformalConic::setUpCone(double phi1, double falseNorthingPrime, double k0, double tPhi1,
                                      double mPhi1) {
    MessageCollector errors;
    errors.add(outside(phi1, -kMaxLatitude, kMaxLatitude) || std::fabs(phi1) < kMinOneParallelLatitude,
               kMsgOriginLatitude);
    errors.add(!(k0 >= 1e-9), kMsgScaleFactor);
    errors.throwIfAny();

    n = std::sin(phi1);
    t0 = tPhi1;
    rhoScale = semiMajorAxis * k0 * mPhi1 / n;
    rhoOrigin = rhoScale;
    originLatitudeOneParallel = phi1;
    falseNorthing = falseNorthingPrime;
    scaleFactor = k0;
}

MapProjectionCoordinates* LambertConformalConic::project(const GeodeticCoordinates& geodetic) const {
    return projectToTuple(*this, typeCode, geodetic);
}

void LambertConformalConic::project(double lambda, double phi, double& E, double& N) const {
    checkGeodetic(lambda, phi);

    double rho = 0;
    if (std::fabs(std::fabs(phi) - kHalfPi) > 1e-10) {
        rho = rhoScale * std::pow(isometricT(e, phi) / t0, n);
    } else if (phi * n <= 0) {
        throwMessage(kMsgLatitude);  // the pole away from the apex lies at infinity
    }
    const double theta = n * reduceLongitudeOnce(lambda - centralMeridian);
    const double easting = rho * std::sin(theta) + falseEasting;
    const double northing = rhoOrigin - rho * std::cos(theta) + falseNorthing;
    E = easting;
    N = northing;
}

GeodeticCoordinates* LambertConformalConic::backProject(const MapProjectionCoordinates& plane) const {
    return backProjectToTuple(*this, plane);
}

void LambertConformalConic::backProject(double easting, double northing, double& longitude,
                                        double& latitude) const {
    checkCentredWindow(easting, northing, falseEasting, deltaEasting, falseNorthing, deltaNorthing);

    const auto [dx, dy, rho] = conePoint(easting, northing, falseEasting, falseNorthing, rhoOrigin, n);

    double phi;
    double lambda;
    if (rho == 0) {
        phi = n > 0 ? kHalfPi : -kHalfPi;
        lambda = centralMeridian;
    } else {
        const double theta = std::atan2(dx, dy);
        const double t = std::pow(rho / rhoScale, 1 / n) * t0;
        phi = kHalfPi - 2 * std::atan(t);
        if (std::fabs(phi) > kLatitudeTolerance) {
            int budget = kLatitudeBudget;
            double change;
            do {
                const double esin = e * std::sin(phi);
                const double next = kHalfPi - 2 * std::atan(t * std::pow((1 - esin) / (1 + esin), halfE));
                change = std::fabs(next - phi);
                phi = next;
                --budget;
            } while (change > kLatitudeTolerance && budget > 0);
            if (budget == 0) throwMessage(kMsgNorthing);
        }
        lambda = centralMeridian + theta / n;
    }

    // Rounding may carry the result just past a pole or past ±π: clamp the latitude and bring the
    // longitude back with one 2π step. (No snapping of near-zero or near-±π values: that moved points
    // by up to tens of metres.)
    phi = clampLatitude(phi);
    lambda = clampLongitude(reduceLongitudeOnce(lambda));
    longitude = lambda;
    latitude = phi;
}

}  // namespace Orvale::Geodex
