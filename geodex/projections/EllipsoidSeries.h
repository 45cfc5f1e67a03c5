#pragma once
// Internal (not exported): the latitude series of the ellipsoidal projections, whose coefficients a
// projection object holds. Kept apart from EllipsoidMath.h so that the public projection headers can hold
// them without bringing the constants (kPi, ...) into their callers' scope.
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

    // With sin 4β = 2 sin 2β cos 2β and sin 6β = sin 2β (3 − 4 sin²2β): φ − β = sin 2β · factor(β).
    double latitude(double beta) const {
        const double s2 = std::sin(2 * beta);
        return beta + s2 * factor(s2, std::cos(2 * beta));
    }
    // a0 + 2a1 cos 2β + a2 (3 − 4 sin²2β), from sin 2β and cos 2β.
    double factor(double sin2, double cos2) const { return a0 + 2 * a1 * cos2 + a2 * (3 - 4 * sin2 * sin2); }

    // The inverse of latitude(): the β (radians) whose series value is φ, by Newton steps. A projection
    // that goes from β to φ by the series comes back exactly with this (the exact authalic latitude
    // differs from it by the series error, up to about 5e-10 rad).
    // The start φ − (series at φ) is within about 1.5e-5 rad; the steps converge quadratically, so two
    // reach rounding. The multiple angles come from sin 2β and cos 2β.
    double authalicOf(double phi) const {
        double beta = phi - (a0 * std::sin(2 * phi) + a1 * std::sin(4 * phi) + a2 * std::sin(6 * phi));
        for (int i = 0; i < 2; ++i) {
            const double s2 = std::sin(2 * beta);
            const double c2 = std::cos(2 * beta);
            const double s4 = 2 * s2 * c2;
            const double c4 = 1 - 2 * s2 * s2;
            const double s6 = s2 * (3 - 4 * s2 * s2);
            const double c6 = c2 * (4 * c2 * c2 - 3);
            const double value = beta + a0 * s2 + a1 * s4 + a2 * s6;
            const double slope = 1 + 2 * a0 * c2 + 4 * a1 * c4 + 6 * a2 * c6;
            beta -= (value - phi) / slope;
        }
        return beta;
    }
};

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

}  // namespace Orvale::Geodex
