#pragma once
// Internal (not exported): the series that lead from the authalic and the conformal latitude back to
// the geodetic latitude. Kept apart from EllipsoidMath.h so that a public projection header can hold
// one without bringing in the constants.
#include <cmath>

namespace Orvale::Geodex {

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
