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

}  // namespace Orvale::Geodex
