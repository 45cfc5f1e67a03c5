#include "geodex/projections/Polyconic.h"

#include <cmath>

#include "geodex/projections/Checks.h"
#include "geodex/projections/EllipsoidMath.h"

namespace Orvale::Geodex {

namespace {
const double kLatitude41 = 0.715584993317675;  // 41°, where the window's northing peaks
const double kLatitudeTolerance = 1e-12;
const int kLatitudeBudget = 45000;
// Within this of a pole (radians) the longitude is the central meridian: at most 0.2 mm away.
const double kPoleBand = 1e-11;
const double kPoleOvershoot = 1e-9;
const double kEquatorBand = 1e-6;  // metres of northing about the equator
}  // namespace

Polyconic::Polyconic(double a, double f, double centralMeridian_, double originLatitude_,
                     double falseEasting_, double falseNorthing_)
    : CoordinateSystem(a, f),
      originLatitude(originLatitude_),
      falseEasting(falseEasting_),
      falseNorthing(falseNorthing_),
      es(eccentricitySquared(f)),
      es4(es * es),
      es6(es4 * es),
      series(a, f) {
    MessageCollector errors;
    addEllipsoidChecks(errors, a, f);
    addOriginLatitudeCheck(errors, originLatitude_);
    addCentralMeridianCheck(errors, centralMeridian_);
    errors.throwIfAny();

    centralMeridian = storedCentralMeridian(centralMeridian_);
    M0 = series.distance(originLatitude);

    // The window reaches the meridian opposite the central one; its northing extremes lie near ±41°.
    double windowLongitude;
    if (centralMeridian > 0) {
        windowLongitude = centralMeridian - kPi;
        minEasting = -20037509;
        maxEasting = 19926189;
    } else if (centralMeridian < 0) {
        windowLongitude = centralMeridian + kPi;
        minEasting = -19926189;
        maxEasting = 20037509;
    } else {
        windowLongitude = kPi;
        minEasting = -20037509;
        maxEasting = 20037509;
    }
    // The projection is symmetric about the equator: y(−φ) = −(y(φ) + M0) − M0.
    const double dlambda = reduceLongitudeOnce(windowLongitude - centralMeridian);
    double x;
    offsets(dlambda, kLatitude41, x, maxNorthing);
    minNorthing = -(maxNorthing + M0) - M0;
}

void Polyconic::offsets(double dlambda, double phi, double& x, double& y) const {
    if (phi != 0) {
        const double sinPhi = std::sin(phi);
        const double N = semiMajorAxis / std::sqrt(1 - es * sinPhi * sinPhi);
        const double K = N / std::tan(phi);
        const double Etheta = dlambda * sinPhi;
        // 1 − cos Eθ written as 2 sin²(Eθ/2): near the equator K is huge and Eθ tiny, and the cosine
        // form lost centimetres there.
        const double halfSin = std::sin(Etheta / 2);
        x = K * std::sin(Etheta);
        y = series.distance(phi) - M0 + K * (2 * halfSin * halfSin);
    } else {
        x = semiMajorAxis * dlambda;
        y = -M0;
    }
}

MapProjectionCoordinates* Polyconic::project(const GeodeticCoordinates& geodetic) const {
    const double lambda = geodetic.longitude();
    const double phi = geodetic.latitude();
    checkGeodetic(lambda, phi);

    MessageCollector warnings;
    warnings.add(std::fabs(lambda - centralMeridian) > kHalfPi, kMsgDistortionWarning);
    double x;
    double y;
    offsets(reduceLongitudeOnce(lambda - centralMeridian), phi, x, y);
    return new MapProjectionCoordinates(CoordinateType::polyconic, warnings.text().c_str(), falseEasting + x,
                                        falseNorthing + y);
}

GeodeticCoordinates* Polyconic::backProject(const MapProjectionCoordinates& plane) const {
    const double easting = plane.easting();
    const double northing = plane.northing();
    MessageCollector errors;
    errors.add(outside(easting, falseEasting + minEasting, falseEasting + maxEasting), kMsgEasting);
    errors.add(outside(northing, falseNorthing + minNorthing, falseNorthing + maxNorthing), kMsgNorthing);
    errors.throwIfAny();

    const double a = semiMajorAxis;
    const double x = (easting - falseEasting) / a;
    const double y = northing - falseNorthing;

    double phi;
    double lambda;
    if (-M0 - kEquatorBand < y && y < -M0 + kEquatorBand) {
        // On the equator to within a micrometre, where the iteration's 2/S would overflow.
        phi = 0;
        lambda = centralMeridian + x;
    } else {
        // Root of x² + (A − Ma)² − 2(A − Ma)/C = 0: the parallel whose circle passes through the point.
        const double A = (y + M0) / a;
        const double B = x * x + A * A;
        const double c0 = series.c0, c1 = series.c1, c2 = series.c2, c3 = series.c3;
        phi = A;
        int budget = kLatitudeBudget;
        double delta;
        do {
            const double sinPhi = std::sin(phi);
            const double C = std::sqrt(1 - es * sinPhi * sinPhi) * std::tan(phi);
            const double Ma = series.distance(phi) / a;
            const double Mp =
                c0 - 2 * c1 * std::cos(2 * phi) + 4 * c2 * std::cos(4 * phi) - 6 * c3 * std::cos(6 * phi);
            const double S = c1 * std::sin(2 * phi);
            const double numerator = A * (C * Ma + 1) - Ma - (Ma * Ma + B) * C / 2;
            const double denominator =
                es * S * (Ma * Ma + B - 2 * A * Ma) * C / 4 + (A - Ma) * (C * Mp - 2 / S) - Mp;
            delta = numerator / denominator;
            phi -= delta;
            --budget;
        } while (std::fabs(delta) > kLatitudeTolerance && budget > 0);
        if (budget == 0) throwMessage(kMsgNorthing);
        // Far round from the central meridian the iteration can settle on a spurious root beyond a pole;
        // clamping that to the pole would pass off a point thousands of kilometres away as the result.
        if (!(std::fabs(phi) <= kHalfPi + kPoleOvershoot)) throwMessage(kMsgNorthing);
        phi = clampLatitude(phi);

        if (std::fabs(std::fabs(phi) - kHalfPi) < kPoleBand) {
            lambda = centralMeridian;
        } else if (phi == 0) {
            lambda = centralMeridian + x;
        } else {
            // The angle Eθ on the parallel's circle from its sine x·C and its cosine 1 − (A − Ma)·C, both at
            // the final latitude: asin of the sine alone folds back points more than 90° round the circle.
            const double sinPhi = std::sin(phi);
            const double C = std::sqrt(1 - es * sinPhi * sinPhi) * std::tan(phi);
            const double Ma = series.distance(phi) / a;
            lambda = centralMeridian + std::atan2(x * C, 1 - (A - Ma) * C) / sinPhi;
        }
    }
    lambda = clampLongitude(reduceLongitudeOnce(lambda));
    return new GeodeticCoordinates(CoordinateType::geodetic, lambda, phi, 0);
}

}  // namespace Orvale::Geodex
