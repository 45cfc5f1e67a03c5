#pragma once
// Internal mathematics shared by the projection classes (not exported): constants, eccentricity,
// the sphere of equal area and the longitude conventions. Angles in radians, lengths in metres.
#include <cmath>

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

// Coefficients of the meridian arc (c0..c3, e⁶ series) and of its footpoint inverse (b0..b3, in e1).
struct MeridianSeries {
    double c0, c1, c2, c3;
    double b0, b1, b2, b3;
};

// Series for the first eccentricity squared es = e².
inline MeridianSeries meridianSeries(double es) {
    const double es2 = es * es;
    const double es3 = es2 * es;
    MeridianSeries s;
    s.c0 = 1.0 - es / 4.0 - 3.0 * es2 / 64.0 - 5.0 * es3 / 256.0;
    s.c1 = 3.0 * es / 8.0 + 3.0 * es2 / 32.0 + 45.0 * es3 / 1024.0;
    s.c2 = 15.0 * es2 / 256.0 + 45.0 * es3 / 1024.0;
    s.c3 = 35.0 * es3 / 3072.0;
    const double root = std::sqrt(1.0 - es);
    const double e1 = (1.0 - root) / (1.0 + root);
    const double e1_2 = e1 * e1;
    const double e1_3 = e1_2 * e1;
    const double e1_4 = e1_3 * e1;
    s.b0 = 3.0 * e1 / 2.0 - 27.0 * e1_3 / 32.0;
    s.b1 = 21.0 * e1_2 / 16.0 - 55.0 * e1_4 / 32.0;
    s.b2 = 151.0 * e1_3 / 96.0;
    s.b3 = 1097.0 * e1_4 / 512.0;
    return s;
}

// Meridian distance from the equator to latitude phi (radians), metres:
// M(φ) = a (c0 φ − c1 sin 2φ + c2 sin 4φ − c3 sin 6φ).
inline double meridianDistance(const MeridianSeries& s, double a, double phi) {
    return a * (s.c0 * phi - s.c1 * std::sin(2.0 * phi) + s.c2 * std::sin(4.0 * phi) -
                s.c3 * std::sin(6.0 * phi));
}

// Footpoint latitude (radians) of the rectifying latitude mu = M / (c0 a):
// φ1(μ) = μ + b0 sin 2μ + b1 sin 4μ + b2 sin 6μ + b3 sin 8μ.
inline double footpointLatitude(const MeridianSeries& s, double mu) {
    return mu + s.b0 * std::sin(2.0 * mu) + s.b1 * std::sin(4.0 * mu) + s.b2 * std::sin(6.0 * mu) +
           s.b3 * std::sin(8.0 * mu);
}

// Isometric function of the conformal projections, e the eccentricity, phi in radians:
// t(φ) = tan(π/4 − φ/2) / ((1 − e sin φ)/(1 + e sin φ))^(e/2).
inline double isometricT(double e, double phi) {
    const double es = e * std::sin(phi);
    return std::tan(kPi / 4.0 - phi / 2.0) / std::pow((1.0 - es) / (1.0 + es), e / 2.0);
}

// Parallel radius factor m(φ) = cos φ / sqrt(1 − e² sin² φ), es = e².
inline double parallelRadiusFactor(double es, double phi) {
    const double sinPhi = std::sin(phi);
    return std::cos(phi) / std::sqrt(1.0 - es * sinPhi * sinPhi);
}

// Authalic function q(φ) = sin φ/(1 − e² sin² φ) − (1/(2e)) ln((1 − e sin φ)/(1 + e sin φ)),
// e the eccentricity (> 0), es = e². The equal-area conic uses (1 − e²)·q(φ).
inline double authalicQ(double e, double es, double phi) {
    const double sinPhi = std::sin(phi);
    const double esin = e * sinPhi;
    return sinPhi / (1.0 - es * sinPhi * sinPhi) - (1.0 / (2.0 * e)) * std::log((1.0 - esin) / (1.0 + esin));
}

}  // namespace Orvale::Geodex
