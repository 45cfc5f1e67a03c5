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
    const double e2 = 2 * f - f * f;
    if (lambda > kPi) lambda -= kTwoPi;
    const double sinPhi = std::sin(phi);
    const double N = a / std::sqrt(1 - e2 * sinPhi * sinPhi);
    x = (N + h) * std::cos(phi) * std::cos(lambda);
    y = (N + h) * std::cos(phi) * std::sin(lambda);
    z = ((1 - e2) * N + h) * sinPhi;
}

// X, Y, Z (metres) → latitude (radians), longitude in [0, 2π) (radians), height (metres) on (a, f): at most
// maxIterations steps, stopping when both the latitude and the height (as a fraction of a) settle within
// tolerance. Never throws. The transformer's conversions use 5 steps and 1e-14.
inline void toGeodetic(double a, double f, double x, double y, double z, double& latitude, double& longitude,
                       double& height, int maxIterations = 5, double tolerance = 1e-14) {
    const double p = std::sqrt(x * x + y * y);
    const double es = f * (2 - f);

    if (p == 0 && z != 0 && maxIterations > 0) {
        // On the polar axis the longitude is undefined and the pole's normal is the axis itself.
        latitude = std::copysign(kHalfPi, z);
        longitude = 0;
        height = std::fabs(z) - a * (1 - f);
        return;
    }
    // Within about 0.2° of the axis (p < |z|/256) p / cos φ carries the rounding of cos φ into the height
    // (1.3 m at 1 mm from the axis); there the height is read along the normal instead:
    // h = p cos φ + z sin φ − a·sqrt(1 − e² sin²φ).
    const bool nearAxis = p < std::fabs(z) * 0x1p-8;
    double phi = std::atan2(z, p * (1 - es));
    double h = 0;
    double h0 = 0;
    for (int i = 0; i < maxIterations; ++i) {
        const double sinPhi = std::sin(phi);
        const double w = std::sqrt(1 - es * sinPhi * sinPhi);
        const double N = a / w;
        h = nearAxis ? p * std::cos(phi) + z * sinPhi - a * w : p / std::cos(phi) - N;
        const double next = std::atan2(z, p * (1 - es * N / (N + h)));
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

}  // namespace Orvale::Geodex::EarthCentred
