#pragma once
// Internal (not part of the interface): earth-centred coordinates without heap tuples, for the
// transformer's conversions that run once or twice per point. The arithmetic is that of
// Geocentric::toGeocentric and Geocentric::toGeodetic operation for operation, so results are bitwise
// those of the class; the ellipsoid checks stay with the Geocentric constructor.
#include <cmath>

#include "geodex/projections/Checks.h"
#include "geodex/projections/EllipsoidMath.h"

namespace Orvale::Geodex::EarthCentred {

// Latitude in [-π/2, π/2], longitude in [-π, 2π] (radians), height (metres) → X, Y, Z (metres) on
// (a, f). Throws CSException (messages 43, 44) for a point outside those ranges.
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

// X, Y, Z (metres) → latitude, longitude in [0, 2π) (radians), height (metres) on (a, f): the iteration
// of Geocentric::toGeodetic with 5 steps and a tolerance of 1e-14. Never throws.
inline void toGeodetic(double a, double f, double x, double y, double z, double& latitude, double& longitude,
                       double& height) {
    const int maxIterations = 5;
    const double tolerance = 1e-14;
    const double p = std::sqrt(x * x + y * y);
    const double es = f * (2 - f);
    double phi = std::atan2(z, p * (1 - es));
    double h = 0;
    double h0 = 0;
    for (int i = 0; i < maxIterations; ++i) {
        const double sinPhi = std::sin(phi);
        const double N = a / std::sqrt(1 - es * sinPhi * sinPhi);
        h = p / std::cos(phi) - N;
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
