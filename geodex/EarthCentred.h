#pragma once
// Internal (not part of the interface): the earth-centred conversions on plain doubles. `Geocentric` builds
// its tuples from these, and the transformer's conversions that run once or twice per point call them
// directly, so both give the same bits without a heap tuple per point. The ellipsoid checks stay with the
// Geocentric constructor.
#include <cmath>

#include "geodex/projections/Checks.h"
#include "geodex/projections/EllipsoidMath.h"

namespace Orvale::Geodex::EarthCentred {

// Latitude in [-π/2, π/2], longitude in [-π, 2π] (radians), height (metres) → X, Y, Z (metres) on the
// ellipsoid of semi-major axis a (metres) and flattening f. Throws CSException (messages 43, 44) for a
// point outside those ranges.
inline void toCartesian(double a, double f, double phi, double lambda, double h, double& x, double& y,
                        double& z) {
    MessageCollector errors;
    addGeodeticChecks(errors, lambda, phi);
    errors.throwIfAny();
    const double e2 = eccentricitySquared(f);
    if (lambda > kPi) lambda -= kTwoPi;
    const double sinPhi = std::sin(phi);
    const double N = a / std::sqrt(1 - e2 * sinPhi * sinPhi);
    x = (N + h) * std::cos(phi) * std::cos(lambda);
    y = (N + h) * std::cos(phi) * std::sin(lambda);
    z = ((1 - e2) * N + h) * sinPhi;
}

// One step of the latitude iteration at distance p from the axis and height z above the equator plane
// (metres), e² = es: the height h (metres) at the latitude phi (radians), and the next latitude. Within
// about 0.2° of the axis (nearAxis: p < |z|/256) p / cos φ carries the rounding of cos φ into the height
// (1.3 m at 1 mm from the axis); there the height is read along the normal instead:
// h = p cos φ + z sin φ − a·sqrt(1 − e² sin²φ).
inline double latitudeStep(double a, double es, double p, double z, bool nearAxis, double phi, double& h) {
    const double sinPhi = std::sin(phi);
    const double w = std::sqrt(1 - es * sinPhi * sinPhi);
    const double N = a / w;
    h = nearAxis ? p * std::cos(phi) + z * sinPhi - a * w : p / std::cos(phi) - N;
    return std::atan2(z, p * (1 - es * N / (N + h)));
}

// The iteration of the transformer's conversions: at most this many steps, to this tolerance.
constexpr int kTransformerSteps = 5;
constexpr double kTransformerTolerance = 1e-14;

// X, Y, Z (metres) → latitude (radians), longitude in [0, 2π) (radians), height (metres) on (a, f): at most
// maxIterations steps, stopping when both the latitude and the height (as a fraction of a) settle within
// tolerance. Never throws. The defaults are the transformer's.
inline void toGeodetic(double a, double f, double x, double y, double z, double& latitude, double& longitude,
                       double& height, int maxIterations = kTransformerSteps,
                       double tolerance = kTransformerTolerance) {
    const double p = std::sqrt(x * x + y * y);
    const double es = f * (2 - f);

    if (p == 0 && z != 0 && maxIterations > 0) {
        // On the polar axis the longitude is undefined and the pole's normal is the axis itself.
        latitude = std::copysign(kHalfPi, z);
        longitude = 0;
        height = std::fabs(z) - a * (1 - f);
        return;
    }
    const bool nearAxis = p < std::fabs(z) * 0x1p-8;
    double phi = std::atan2(z, p * (1 - es));
    double h = 0;
    double h0 = 0;
    for (int i = 0; i < maxIterations; ++i) {
        const double next = latitudeStep(a, es, p, z, nearAxis, phi, h);
        const bool done = std::fabs(next - phi) < tolerance && std::fabs(h - h0) < tolerance * a;
        phi = next;
        if (done) break;
        h0 = h;
    }
    double lambda = std::atan2(y, x);
    if (lambda < 0) lambda += kTwoPi;
    latitude = phi;
    longitude = lambda;
    height = h;
}

// toGeodetic (the transformer's steps and tolerance) of two points at once, with the same results bit for
// bit: each point runs the same steps and stops where it would alone, but the two iterations are interleaved,
// so the processor works on one point while the other waits on its divisions and its library calls.
inline void toGeodeticPair(double a, double f, const double x[2], const double y[2], const double z[2],
                           double latitude[2], double longitude[2], double height[2]) {
    const double tolerance = kTransformerTolerance;
    const double es = f * (2 - f);
    double p[2], phi[2] = {0, 0}, h[2] = {0, 0}, h0[2] = {0, 0};
    bool nearAxis[2] = {false, false}, active[2] = {false, false};
    for (int k = 0; k < 2; ++k) {
        p[k] = std::sqrt(x[k] * x[k] + y[k] * y[k]);
        if (p[k] == 0 && z[k] != 0) {
            // A point on the polar axis takes the single-point path (which handles it at once).
            toGeodetic(a, f, x[k], y[k], z[k], latitude[k], longitude[k], height[k]);
            active[k] = false;
            continue;
        }
        nearAxis[k] = p[k] < std::fabs(z[k]) * 0x1p-8;
        phi[k] = std::atan2(z[k], p[k] * (1 - es));
        active[k] = true;
    }
    const bool polar[2] = {!active[0], !active[1]};
    for (int i = 0; i < kTransformerSteps && (active[0] || active[1]); ++i) {
        for (int k = 0; k < 2; ++k) {
            if (!active[k]) continue;
            const double next = latitudeStep(a, es, p[k], z[k], nearAxis[k], phi[k], h[k]);
            const bool done =
                std::fabs(next - phi[k]) < tolerance && std::fabs(h[k] - h0[k]) < tolerance * a;
            phi[k] = next;
            if (done) active[k] = false;
            h0[k] = h[k];
        }
    }
    for (int k = 0; k < 2; ++k) {
        if (polar[k]) continue;
        double lambda = std::atan2(y[k], x[k]);
        if (lambda < 0) lambda += kTwoPi;
        latitude[k] = phi[k];
        longitude[k] = lambda;
        height[k] = h[k];
    }
}

}  // namespace Orvale::Geodex::EarthCentred
