#pragma once
// Internal (not exported): the meridian-distance series of the ellipsoidal projections. Kept apart from
// EllipsoidMath.h so that a public projection header can hold one without bringing in the constants.
#include <cmath>

namespace Orvale::Geodex {

// Meridian distance as a series in e² to e⁶ and its footpoint inverse, shared by the projections
// that measure northings along the meridian (Cassini, Bonne, polyconic, sinusoidal, transverse
// cylindrical equal area). Coefficients are computed once per ellipsoid.
struct MeridianSeries {
    double a;               // semi-major axis, metres
    double c0, c1, c2, c3;  // meridian distance coefficients
    double b0, b1, b2, b3;  // footpoint coefficients (in e1)

    MeridianSeries(double a_, double f) : a(a_) {
        const double es2 = 2 * f - f * f;  // e²
        const double es4 = es2 * es2;
        const double es6 = es4 * es2;
        c0 = 1.0 - es2 / 4.0 - 3.0 * es4 / 64.0 - 5.0 * es6 / 256.0;
        c1 = 3.0 * es2 / 8.0 + 3.0 * es4 / 32.0 + 45.0 * es6 / 1024.0;
        c2 = 15.0 * es4 / 256.0 + 45.0 * es6 / 1024.0;
        c3 = 35.0 * es6 / 3072.0;
        const double root = std::sqrt(1.0 - es2);
        const double e1 = (1.0 - root) / (1.0 + root);
        const double e1Sq = e1 * e1;
        b0 = 3.0 * e1 / 2.0 - 27.0 * e1 * e1Sq / 32.0;
        b1 = 21.0 * e1Sq / 16.0 - 55.0 * e1Sq * e1Sq / 32.0;
        b2 = 151.0 * e1 * e1Sq / 96.0;
        b3 = 1097.0 * e1Sq * e1Sq / 512.0;
    }

    // Meridian distance from the equator M(φ), metres; φ in radians.
    double distance(double phi) const {
        return a * (c0 * phi - c1 * std::sin(2 * phi) + c2 * std::sin(4 * phi) - c3 * std::sin(6 * phi));
    }

    // Footpoint latitude φ1(μ) in radians for the rectifying latitude μ = M/(c0·a), radians.
    double footpoint(double mu) const {
        return mu + b0 * std::sin(2 * mu) + b1 * std::sin(4 * mu) + b2 * std::sin(6 * mu) +
               b3 * std::sin(8 * mu);
    }
};

}  // namespace Orvale::Geodex
