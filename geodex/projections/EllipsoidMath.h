#pragma once
// Internal mathematics shared by the projection classes (not exported): constants, eccentricity,
// the sphere of equal area, the longitude conventions and the ellipsoid series. Angles in radians, lengths in
// metres.
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

// m(φ) = cos φ / sqrt(1 − e² sin²φ): radius of the parallel at latitude φ (radians) in units of a.
inline double parallelRadiusFactor(double es2, double phi) {
    const double sinPhi = std::sin(phi);
    return std::cos(phi) / std::sqrt(1 - es2 * sinPhi * sinPhi);
}

// Isometric function t(φ) = tan(π/4 − φ/2) / ((1 − e sin φ)/(1 + e sin φ))^(e/2), φ in radians;
// −ln t(φ) is the isometric latitude.
inline double isometricT(double e, double phi) {
    const double es = e * std::sin(phi);
    return std::tan(kPi / 4 - phi / 2) / std::pow((1 - es) / (1 + es), e / 2);
}

// Authalic function q(φ) = sin φ/(1 − e² sin²φ) − (1/(2e)) ln((1 − e sin φ)/(1 + e sin φ)), φ in radians
// (without the factor 1 − e²; the authalic latitude β has sin β = q(φ)/q(π/2)).
inline double authalicQ(double e, double es2, double phi) {
    const double sinPhi = std::sin(phi);
    const double es = e * sinPhi;
    return sinPhi / (1 - es2 * sinPhi * sinPhi) - (1 / (2 * e)) * std::log((1 - es) / (1 + es));
}

// Meridian arc from the equator, series to e⁶:
// M(φ) = a (c0 φ − c1 sin 2φ + c2 sin 4φ − c3 sin 6φ), φ in radians, M in the unit of a.
struct MeridianSeries {
    explicit MeridianSeries(double es2) {
        const double es4 = es2 * es2;
        const double es6 = es4 * es2;
        c0 = 1 - es2 / 4 - 3 * es4 / 64 - 5 * es6 / 256;
        c1 = 3 * es2 / 8 + 3 * es4 / 32 + 45 * es6 / 1024;
        c2 = 15 * es4 / 256 + 45 * es6 / 1024;
        c3 = 35 * es6 / 3072;
    }
    double distance(double a, double phi) const {
        return a * (c0 * phi - c1 * std::sin(2 * phi) + c2 * std::sin(4 * phi) - c3 * std::sin(6 * phi));
    }
    double c0, c1, c2, c3;
};

// Footpoint latitude of the rectifying latitude μ = M/(c0 a), radians:
// φ1(μ) = μ + b0 sin 2μ + b1 sin 4μ + b2 sin 6μ + b3 sin 8μ, with e1 = (1 − sqrt(1 − e²))/(1 + sqrt(1 − e²)).
struct FootpointSeries {
    explicit FootpointSeries(double es2) {
        const double root = std::sqrt(1 - es2);
        const double e1 = (1 - root) / (1 + root);
        const double e1p2 = e1 * e1;
        const double e1p3 = e1p2 * e1;
        const double e1p4 = e1p3 * e1;
        b0 = 3 * e1 / 2 - 27 * e1p3 / 32;
        b1 = 21 * e1p2 / 16 - 55 * e1p4 / 32;
        b2 = 151 * e1p3 / 96;
        b3 = 1097 * e1p4 / 512;
    }
    double latitude(double mu) const {
        return mu + b0 * std::sin(2 * mu) + b1 * std::sin(4 * mu) + b2 * std::sin(6 * mu) +
               b3 * std::sin(8 * mu);
    }
    double b0, b1, b2, b3;
};

// Geodetic latitude from the authalic latitude β, radians: φ = β + a0 sin 2β + a1 sin 4β + a2 sin 6β.
struct AuthalicSeries {
    explicit AuthalicSeries(double es2) {
        const double es4 = es2 * es2;
        const double es6 = es4 * es2;
        a0 = es2 / 3 + 31 * es4 / 180 + 517 * es6 / 5040;
        a1 = 23 * es4 / 360 + 251 * es6 / 3780;
        a2 = 761 * es6 / 45360;
    }
    double latitude(double beta) const {
        return beta + a0 * std::sin(2 * beta) + a1 * std::sin(4 * beta) + a2 * std::sin(6 * beta);
    }
    double a0, a1, a2;
};

// Geodetic latitude from the conformal latitude χ, radians:
// φ = χ + ab sin 2χ + bb sin 4χ + cb sin 6χ + db sin 8χ (series to e⁸).
struct ConformalSeries {
    explicit ConformalSeries(double es2) {
        const double es4 = es2 * es2;
        const double es6 = es4 * es2;
        const double es8 = es6 * es2;
        ab = es2 / 2 + 5 * es4 / 24 + es6 / 12 + 13 * es8 / 360;
        bb = 7 * es4 / 48 + 29 * es6 / 240 + 811 * es8 / 11520;
        cb = 7 * es6 / 120 + 81 * es8 / 1120;
        db = 4279 * es8 / 161280;
    }
    double latitude(double chi) const {
        return chi + ab * std::sin(2 * chi) + bb * std::sin(4 * chi) + cb * std::sin(6 * chi) +
               db * std::sin(8 * chi);
    }
    double ab, bb, cb, db;
};

}  // namespace Orvale::Geodex
