#include "geodex/projections/AlbersEqualAreaConic.h"

#include <cmath>

#include "geodex/projections/Checks.h"
#include "geodex/projections/EllipsoidMath.h"

namespace Orvale::Geodex {

namespace {
const double kWindow = 40000000.0;
const double kLatitudeTolerance = 4.85e-10;
const int kLatitudeBudget = 60;
}  // namespace

AlbersEqualAreaConic::AlbersEqualAreaConic(double a, double f, double centralMeridian_,
                                           double originLatitude_, double standardParallel1_,
                                           double standardParallel2_, double falseEasting_,
                                           double falseNorthing_)
    : CoordinateSystem(a, f),
      originLatitude(originLatitude_),
      standardParallel1(standardParallel1_),
      standardParallel2(standardParallel2_),
      falseEasting(falseEasting_),
      falseNorthing(falseNorthing_),
      deltaEasting(kWindow),
      deltaNorthing(kWindow) {
    const double phiA = standardParallel1_;
    const double phiB = standardParallel2_;
    MessageCollector errors;
    addEllipsoidChecks(errors, a, f);
    errors.add(outside(originLatitude_, -kHalfPi, kHalfPi), kMsgOriginLatitude);
    errors.add(outside(centralMeridian_, -kPi, kTwoPi), kMsgCentralMeridian);
    errors.add(outside(phiA, -kHalfPi, kHalfPi), kMsgFirstStandardParallel);
    errors.add(outside(phiB, -kHalfPi, kHalfPi), kMsgSecondStandardParallel);
    errors.add(phiA == 0 && phiB == 0, kMsgParallelsBothZero);
    errors.add(phiA == -phiB, kMsgParallelsOpposite);
    errors.throwIfAny();

    centralMeridian = storedCentralMeridian(centralMeridian_);
    es = eccentricitySquared(f);
    e = std::sqrt(es);
    oneMinusEs = 1 - es;
    twoE = 2 * e;

    const double q0 = q(originLatitude_);
    const double m1 = parallelRadiusFactor(es, phiA);
    const double q1 = q(phiA);
    if (std::fabs(phiA - phiB) > 1e-10) {
        const double m2 = parallelRadiusFactor(es, phiB);
        const double q2 = q(phiB);
        n = (m1 * m1 - m2 * m2) / (q2 - q1);
    } else {
        n = std::sin(phiA);
    }
    C = m1 * m1 + n * q1;
    aOverN = a / n;
    rho0 = C - n * q0 < 0 ? 0 : aOverN * std::sqrt(C - n * q0);
}

double AlbersEqualAreaConic::q(double phi) const { return oneMinusEs * authalicQ(e, es, phi); }

MapProjectionCoordinates* AlbersEqualAreaConic::project(const GeodeticCoordinates& geodetic) const {
    const double lambda = geodetic.longitude();
    const double phi = geodetic.latitude();
    MessageCollector errors;
    addGeodeticChecks(errors, lambda, phi);
    errors.throwIfAny();

    const double nq = n * q(phi);
    const double rho = nq > C ? 0 : aOverN * std::sqrt(C - nq);
    const double theta = n * reduceLongitudeOnce(lambda - centralMeridian);
    const double easting = falseEasting + rho * std::sin(theta);
    const double northing = falseNorthing + rho0 - rho * std::cos(theta);
    return new MapProjectionCoordinates(CoordinateType::albersEqualAreaConic, easting, northing);
}

GeodeticCoordinates* AlbersEqualAreaConic::backProject(const MapProjectionCoordinates& plane) const {
    const double easting = plane.easting();
    const double northing = plane.northing();
    MessageCollector errors;
    errors.add(outside(easting, falseEasting - deltaEasting, falseEasting + deltaEasting), kMsgEasting);
    errors.add(outside(northing, falseNorthing - deltaNorthing, falseNorthing + deltaNorthing), kMsgNorthing);
    errors.throwIfAny();

    double dx = easting - falseEasting;
    double dy = rho0 - (northing - falseNorthing);
    double rho = std::sqrt(dx * dx + dy * dy);
    if (n < 0) {
        rho = -rho;
        dx = -dx;
        dy = -dy;
    }
    const double theta = rho != 0 ? std::atan2(dx, dy) : 0;
    const double rhoN = rho * n / semiMajorAxis;
    const double qPhi = (C - rhoN * rhoN) / n;

    // q at the poles. Only a q at or beyond it is the pole itself: the iteration below settles for any
    // q short of it, and a wider band moved points near the pole by kilometres.
    const double qPole = 1 - (oneMinusEs / twoE) * std::log((1 - e) / (1 + e));
    double phi;
    if (qPole - std::fabs(qPhi) > 0) {
        const double x = qPhi / 2;
        if (x > 1) {
            phi = kHalfPi;
        } else if (x < -1) {
            phi = -kHalfPi;
        } else {
            phi = std::asin(x);
            if (e >= 1e-10) {
                int budget = kLatitudeBudget;
                double delta;
                do {
                    const double s = std::sin(phi);
                    const double esin = e * s;
                    const double oneMinusEsin2 = 1 - esin * esin;
                    delta =
                        oneMinusEsin2 * oneMinusEsin2 / (2 * std::cos(phi)) *
                        (qPhi / oneMinusEs - s / oneMinusEsin2 + std::log((1 - esin) / (1 + esin)) / twoE);
                    phi += delta;
                    --budget;
                } while (std::fabs(delta) > kLatitudeTolerance && budget > 0);
                if (budget == 0) throwMessage(kMsgNorthing);
            }
            phi = clampLatitude(phi);
        }
    } else {
        phi = qPhi >= 0 ? kHalfPi : -kHalfPi;
    }

    const double lambda = clampLongitude(reduceLongitudeOnce(centralMeridian + theta / n));
    return new GeodeticCoordinates(CoordinateType::geodetic, lambda, phi, 0);
}

}  // namespace Orvale::Geodex
