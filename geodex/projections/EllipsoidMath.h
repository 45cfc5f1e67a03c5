#pragma once
// Internal mathematics shared by the projection classes (not exported): constants, eccentricity,
// the sphere of equal area and the longitude conventions. Angles in radians, lengths in metres.
#include <cmath>

#include "geodex/projections/MeridianSeries.h"

namespace Orvale::Geodex {

constexpr double kPi = 3.141592653589793;
constexpr double kHalfPi = 1.5707963267948966;
constexpr double kTwoPi = 6.283185307179586;

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

// MeridianSeries (meridian distance and footpoint series) lives in MeridianSeries.h, included above.

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

// Geodetic latitude from the authalic latitude β (radians), series to e⁶:
// φ = β + a0 sin 2β + a1 sin 4β + a2 sin 6β. Coefficients are computed once per ellipsoid (es = e²).
struct AuthalicSeries {
    double a0, a1, a2;

    explicit AuthalicSeries(double es) {
        const double es2 = es * es;
        const double es3 = es2 * es;
        a0 = es / 3.0 + 31.0 * es2 / 180.0 + 517.0 * es3 / 5040.0;
        a1 = 23.0 * es2 / 360.0 + 251.0 * es3 / 3780.0;
        a2 = 761.0 * es3 / 45360.0;
    }

    double latitude(double beta) const {
        return beta + a0 * std::sin(2 * beta) + a1 * std::sin(4 * beta) + a2 * std::sin(6 * beta);
    }

    // The inverse of latitude(): the β (radians) whose series value is φ, by Newton steps. A projection
    // that goes from β to φ by the series comes back exactly with this (the exact authalic latitude
    // differs from it by the series error, up to about 5e-10 rad).
    double authalicOf(double phi) const {
        double beta = phi - (a0 * std::sin(2 * phi) + a1 * std::sin(4 * phi) + a2 * std::sin(6 * phi));
        for (int i = 0; i < 4; ++i) {
            const double slope =
                1 + 2 * a0 * std::cos(2 * beta) + 4 * a1 * std::cos(4 * beta) + 6 * a2 * std::cos(6 * beta);
            const double step = (latitude(beta) - phi) / slope;
            beta -= step;
            if (std::fabs(step) < 1e-16) break;
        }
        return beta;
    }
};

// Authalic latitude β of the geodetic latitude φ (radians), sin β = q(φ)/q(π/2), e the eccentricity
// (> 0), es = e². Evaluated without cancellation near the poles, where asin(q/qp) loses half the digits:
// qp − q(φ) = (1 − s)(1 + e² s)/((1 − e²)(1 − e² s²)) + atanh(e (1 − s)/(1 − e² s))/e with s = |sin φ|.
inline double authalicLatitude(double e, double es, double phi) {
    const double s = std::fabs(std::sin(phi));
    const double cosPhi = std::cos(phi);
    const double oneMinusS = cosPhi * cosPhi / (1 + s);
    const double qp = 1 / (1 - es) + std::atanh(e) / e;
    const double D = oneMinusS * (1 + es * s) / ((1 - es) * (1 - es * s * s)) +
                     std::atanh(e * oneMinusS / (1 - es * s)) / e;
    const double beta = std::atan2(qp - D, std::sqrt(D * (2 * qp - D)));
    return phi < 0 ? -beta : beta;
}

// Geodetic latitude from the conformal latitude χ (radians), series to e⁸:
// φ = χ + ab sin 2χ + bb sin 4χ + cb sin 6χ + db sin 8χ. Coefficients once per ellipsoid (es = e²).
struct ConformalSeries {
    double ab, bb, cb, db;

    explicit ConformalSeries(double es) {
        const double es2 = es * es;
        const double es3 = es2 * es;
        const double es4 = es3 * es;
        ab = es / 2.0 + 5.0 * es2 / 24.0 + es3 / 12.0 + 13.0 * es4 / 360.0;
        bb = 7.0 * es2 / 48.0 + 29.0 * es3 / 240.0 + 811.0 * es4 / 11520.0;
        cb = 7.0 * es3 / 120.0 + 81.0 * es4 / 1120.0;
        db = 4279.0 * es4 / 161280.0;
    }

    double latitude(double chi) const {
        return chi + ab * std::sin(2 * chi) + bb * std::sin(4 * chi) + cb * std::sin(6 * chi) +
               db * std::sin(8 * chi);
    }
};

// The spherical azimuthal projections (stereographic, azimuthal equidistant, gnomonic, orthographic)
// seen from a centre of latitude φ0, given by its sine and cosine. Angles in radians.

// Cosine of the angular distance c from the centre to (φ, dλ): sin φ0 sin φ + cos φ0 cos φ cos dλ.
inline double azimuthalCosDistance(double sinPhi0, double cosPhi0, double phi, double dlambda) {
    return sinPhi0 * std::sin(phi) + cosPhi0 * std::cos(phi) * std::cos(dlambda);
}

// Plane offsets from the centre of a point (φ, dλ) whose radial scale is k (metres per unit of the
// direction vector): x = k cos φ sin dλ, y = k (cos φ0 sin φ − sin φ0 cos φ cos dλ).
inline void azimuthalOffsets(double k, double sinPhi0, double cosPhi0, double phi, double dlambda, double& x,
                             double& y) {
    const double cosPhi = std::cos(phi);
    x = k * cosPhi * std::sin(dlambda);
    y = k * (cosPhi0 * std::sin(phi) - sinPhi0 * cosPhi * std::cos(dlambda));
}

// Latitude of the plane point (dx, dy), ρ = sqrt(dx² + dy²) > 0, lying at angular distance c from the
// centre: asin(cos c sin φ0 + dy sin c cos φ0 / ρ).
inline double azimuthalLatitude(double c, double dy, double rho, double sinPhi0, double cosPhi0) {
    return std::asin(std::cos(c) * sinPhi0 + dy * std::sin(c) * cosPhi0 / rho);
}

// Longitude difference from the central meridian of that point for the oblique and equatorial aspects:
// atan2(sin c dx, cos φ0 ρ cos c − sin φ0 dy sin c).
inline double azimuthalLongitudeDifference(double c, double dx, double dy, double rho, double sinPhi0,
                                           double cosPhi0) {
    const double sinC = std::sin(c);
    return std::atan2(sinC * dx, cosPhi0 * rho * std::cos(c) - sinPhi0 * dy * sinC);
}

}  // namespace Orvale::Geodex
