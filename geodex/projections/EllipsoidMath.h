#pragma once
// Internal mathematics shared by the projection classes (not exported): constants, eccentricity,
// the sphere of equal area and the longitude conventions. Angles in radians, lengths in metres.
#include <cmath>

#include "geodex/AngleConstants.h"

#include "geodex/projections/EllipsoidSeries.h"

namespace Orvale::Geodex {

// First eccentricity squared e² = 2f − f² from the flattening f.
inline double eccentricitySquared(double f) { return 2 * f - f * f; }

// Radius of the sphere with the ellipsoid's surface area: a (1 − e²/6 − 17e⁴/360 − 67e⁶/3024), metres.
inline double authalicRadius(double a, double f) {
    const double es2 = eccentricitySquared(f);
    const double es4 = es2 * es2;
    const double es6 = es4 * es2;
    return a * (1.0 - es2 / 6.0 - 17.0 * es4 / 360.0 - 67.0 * es6 / 3024.0);
}

// A central meridian above π is stored as CM − 2π (accepted range [-π, 2π]).
inline double storedCentralMeridian(double cm) { return cm > kPi ? cm - kTwoPi : cm; }

// Brings a longitude difference into [-π, π] by adding or subtracting 2π once.
inline double reduceLongitudeOnce(double dlambda) {
    if (dlambda > kPi)
        dlambda -= kTwoPi;
    else if (dlambda < -kPi)
        dlambda += kTwoPi;
    return dlambda;
}

// Limits a latitude to [-π/2, π/2] (inverse results that rounding pushed past a pole).
inline double clampLatitude(double phi) {
    return phi > kHalfPi ? kHalfPi : (phi < -kHalfPi ? -kHalfPi : phi);
}

// Limits a longitude to [-π, π].
inline double clampLongitude(double lambda) { return lambda > kPi ? kPi : (lambda < -kPi ? -kPi : lambda); }

// Limits an argument of asin/acos to [-1, 1].
inline double clampUnit(double x) { return x > 1.0 ? 1.0 : (x < -1.0 ? -1.0 : x); }

// The latitude series (meridian, authalic, conformal) live in EllipsoidSeries.h, included above.

// Isometric function of the conformal projections, e the eccentricity, phi in radians:
// t(φ) = tan(π/4 − φ/2) / ((1 − e sin φ)/(1 + e sin φ))^(e/2).
inline double isometricT(double e, double phi) {
    const double es = e * std::sin(phi);
    return std::tan(kPi / 4.0 - phi / 2.0) / std::pow((1.0 - es) / (1.0 + es), e / 2.0);
}

// Parallel radius factor m(φ) = cos φ / sqrt(1 − e² sin² φ), es = e², phi in radians.
inline double parallelRadiusFactor(double es, double phi) {
    const double sinPhi = std::sin(phi);
    return std::cos(phi) / std::sqrt(1.0 - es * sinPhi * sinPhi);
}

// Authalic function q(φ) = sin φ/(1 − e² sin² φ) − (1/(2e)) ln((1 − e sin φ)/(1 + e sin φ)),
// e the eccentricity (> 0), es = e², phi in radians. The equal-area conic uses (1 − e²)·q(φ).
inline double authalicQ(double e, double es, double phi) {
    const double sinPhi = std::sin(phi);
    const double esin = e * sinPhi;
    return sinPhi / (1.0 - es * sinPhi * sinPhi) - (1.0 / (2.0 * e)) * std::log((1.0 - esin) / (1.0 + esin));
}

// Distance of q(φ) from its pole value, q(π/2) − q(|φ|), written without cancellation so that it keeps its
// digits next to a pole, where q itself (about 2) cannot: with s = |sin φ|,
// (1 − s)(1 + e² s)/((1 − e²)(1 − e² s²)) + atanh(e (1 − s)/(1 − e² s))/e. e the eccentricity, es = e².
inline double authalicQPoleGap(double e, double es, double phi) {
    const double s = std::fabs(std::sin(phi));
    const double cosPhi = std::cos(phi);
    const double oneMinusS = cosPhi * cosPhi / (1 + s);
    return oneMinusS * (1 + es * s) / ((1 - es) * (1 - es * s * s)) +
           std::atanh(e * oneMinusS / (1 - es * s)) / e;
}

// Authalic latitude β of the geodetic latitude φ (radians), sin β = q(φ)/q(π/2), e the eccentricity
// (> 0), es = e². Evaluated from the gap to the pole, as asin(q/qp) loses half the digits near the poles.
inline double authalicLatitude(double e, double es, double phi) {
    const double qp = 1 / (1 - es) + std::atanh(e) / e;
    const double D = authalicQPoleGap(e, es, phi);
    const double beta = std::atan2(qp - D, std::sqrt(D * (2 * qp - D)));
    return phi < 0 ? -beta : beta;
}

// The spherical azimuthal projections (stereographic, azimuthal equidistant, gnomonic, orthographic)
// seen from a centre of latitude φ0, given by its sine and cosine. Angles in radians.

// Sines and cosines of a point's latitude φ and of its longitude difference dλ from the centre.
struct SphereDirection {
    double sinPhi, cosPhi, sinDlambda, cosDlambda;

    SphereDirection(double phi, double dlambda)
        : sinPhi(std::sin(phi)),
          cosPhi(std::cos(phi)),
          sinDlambda(std::sin(dlambda)),
          cosDlambda(std::cos(dlambda)) {}
    SphereDirection(double sinPhi_, double cosPhi_, double sinDlambda_, double cosDlambda_)
        : sinPhi(sinPhi_), cosPhi(cosPhi_), sinDlambda(sinDlambda_), cosDlambda(cosDlambda_) {}
};

// Cosine of the angular distance c from the centre to the point: sin φ0 sin φ + cos φ0 cos φ cos dλ.
inline double azimuthalCosDistance(double sinPhi0, double cosPhi0, const SphereDirection& p) {
    return sinPhi0 * p.sinPhi + cosPhi0 * p.cosPhi * p.cosDlambda;
}

// Plane offsets from the centre of the point whose radial scale is k (metres per unit of the direction
// vector): x = k cos φ sin dλ, y = k (cos φ0 sin φ − sin φ0 cos φ cos dλ).
inline void azimuthalOffsets(double k, double sinPhi0, double cosPhi0, const SphereDirection& p, double& x,
                             double& y) {
    x = k * p.cosPhi * p.sinDlambda;
    y = k * (cosPhi0 * p.sinPhi - sinPhi0 * p.cosPhi * p.cosDlambda);
}

// Latitude of the plane point (dx, dy), ρ = sqrt(dx² + dy²) > 0, lying at the angular distance c
// (given by its sine and cosine) from the centre: asin(cos c sin φ0 + dy sin c cos φ0 / ρ).
inline double azimuthalLatitude(double sinC, double cosC, double dy, double rho, double sinPhi0,
                                double cosPhi0) {
    return std::asin(cosC * sinPhi0 + dy * sinC * cosPhi0 / rho);
}

// Longitude difference from the central meridian of that point for the oblique and equatorial aspects:
// atan2(sin c dx, cos φ0 ρ cos c − sin φ0 dy sin c).
inline double azimuthalLongitudeDifference(double sinC, double cosC, double dx, double dy, double rho,
                                           double sinPhi0, double cosPhi0) {
    return std::atan2(sinC * dx, cosPhi0 * rho * cosC - sinPhi0 * dy * sinC);
}

// A grid point seen from the apex of a cone with constant n: its offset dx east of the false easting, its
// offset dy from the apex (ρ0 above the false northing's origin) and its radius ρ = sqrt(dx² + dy²). On a
// cone that opens southward (n < 0) all three are turned over, so that θ = atan2(dx, dy) on either cone.
struct ConePoint {
    double dx, dy, rho;
};
inline ConePoint conePoint(double easting, double northing, double falseEasting, double falseNorthing,
                           double rho0, double n) {
    ConePoint p;
    p.dx = easting - falseEasting;
    p.dy = rho0 - (northing - falseNorthing);
    p.rho = std::sqrt(p.dx * p.dx + p.dy * p.dy);
    if (n < 0) {
        p.rho = -p.rho;
        p.dx = -p.dx;
        p.dy = -p.dy;
    }
    return p;
}

}  // namespace Orvale::Geodex
