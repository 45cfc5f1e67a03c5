#include "geodex/projections/AlbersEqualAreaConic.h"

#include <cmath>

#include "geodex/projections/Checks.h"
#include "geodex/projections/EllipsoidMath.h"

namespace Orvale::Geodex {

namespace {
const double kWindow = 40000000.0;
const double kLatitudeTolerance = 4.85e-10;
const int kLatitudeBudget = 60;
const double kPoleBand = 1e-6;            // of q, about 0.06° of latitude
const double kPoleBandLatitude = 0.0011;  // radians from the pole, just wider than that band
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
    addOriginLatitudeCheck(errors, originLatitude_);
    addCentralMeridianCheck(errors, centralMeridian_);
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
    qPole = 1 - (oneMinusEs / twoE) * std::log((1 - e) / (1 + e));
    termNorth = C - n * qPole;
    termSouth = C + n * qPole;
}

double AlbersEqualAreaConic::q(double phi) const { return oneMinusEs * authalicQ(e, es, phi); }

// Within about 0.06° of a pole q is next to ±qp, and a q held as a number near 2 no longer tells
// latitudes a metre apart; there the term is built from the pole's value and the gap q(π/2) − q(|φ|).
double AlbersEqualAreaConic::coneTerm(double phi) const {
    if (std::fabs(phi) > kHalfPi - kPoleBandLatitude) {
        const double gap = oneMinusEs * authalicQPoleGap(e, es, phi);
        if (gap <= kPoleBand) return phi >= 0 ? termNorth + n * gap : termSouth - n * gap;
    }
    return C - n * q(phi);
}

// Latitude (radians) of the parallel of radius rho (metres, signed as n) within the pole band.
double AlbersEqualAreaConic::latitudeNearPole(double rho, bool north) const {
    const double poleTerm = north ? termNorth : termSouth;
    double gap;
    if (poleTerm >= 0) {
        const double rhoPole = aOverN * std::sqrt(poleTerm);
        gap = n * (rho - rhoPole) * (rho + rhoPole) / (semiMajorAxis * semiMajorAxis);
    } else {
        const double rhoN = rho * n / semiMajorAxis;
        gap = (rhoN * rhoN - poleTerm) / n;
    }
    if (!north) gap = -gap;
    if (!(gap > 0)) return north ? kHalfPi : -kHalfPi;
    // sin β = 1 − gap/qp and cos β from the gap itself; the authalic series is exact to far below a
    // millimetre this close to the pole.
    const double ratio = gap / qPole;
    const double beta = std::atan2(1 - ratio, std::sqrt(ratio * (2 - ratio)));
    const double phi = clampLatitude(AuthalicSeries(es).latitude(beta));
    return north ? phi : -phi;
}

MapProjectionCoordinates* AlbersEqualAreaConic::project(const GeodeticCoordinates& geodetic) const {
    return projectToTuple(*this, CoordinateType::albersEqualAreaConic, geodetic);
}

void AlbersEqualAreaConic::project(double lambda, double phi, double& E, double& N) const {
    checkGeodetic(lambda, phi);

    const double term = coneTerm(phi);
    const double rho = term < 0 ? 0 : aOverN * std::sqrt(term);
    const double theta = n * reduceLongitudeOnce(lambda - centralMeridian);
    const double easting = falseEasting + rho * std::sin(theta);
    const double northing = falseNorthing + rho0 - rho * std::cos(theta);
    E = easting;
    N = northing;
}

GeodeticCoordinates* AlbersEqualAreaConic::backProject(const MapProjectionCoordinates& plane) const {
    return backProjectToTuple(*this, plane);
}

void AlbersEqualAreaConic::backProject(double easting, double northing, double& longitude,
                                       double& latitude) const {
    checkCentredWindow(easting, northing, falseEasting, deltaEasting, falseNorthing, deltaNorthing);

    const auto [dx, dy, rho] = conePoint(easting, northing, falseEasting, falseNorthing, rho0, n);
    const double theta = rho != 0 ? std::atan2(dx, dy) : 0;
    const double rhoN = rho * n / semiMajorAxis;
    const double qPhi = (C - rhoN * rhoN) / n;

    // Near a pole (q within 1e-6 of ±qp, about 0.06°) the iteration below loses its footing, as q hardly
    // changes with φ there: that band is solved from the gap to the pole instead. (Taking the whole band
    // as the pole itself moved points by up to 6.3 km.)
    double phi;
    if (std::fabs(qPole - std::fabs(qPhi)) > kPoleBand) {
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
        phi = latitudeNearPole(rho, qPhi >= 0);
    }

    const double lambda = clampLongitude(reduceLongitudeOnce(centralMeridian + theta / n));
    longitude = lambda;
    latitude = phi;
}

}  // namespace Orvale::Geodex
