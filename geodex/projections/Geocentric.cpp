#include "geodex/projections/Geocentric.h"

#include <cmath>

#include "geodex/projections/Checks.h"
#include "geodex/projections/EllipsoidMath.h"

namespace Orvale::Geodex {

Geocentric::Geocentric(double a, double f) : CoordinateSystem(a, f) {
    MessageCollector errors;
    addEllipsoidChecks(errors, a, f);
    errors.throwIfAny();
    e2 = 2 * f - f * f;
    ep2 = 1 / (1 - e2) - 1;
}

CartesianCoordinates* Geocentric::toGeocentric(const GeodeticCoordinates& geodetic) const {
    double lambda = geodetic.longitude();
    const double phi = geodetic.latitude();
    const double h = geodetic.height();
    MessageCollector errors;
    errors.add(outside(phi, -kHalfPi, kHalfPi), kMsgLatitude);
    errors.add(outside(lambda, -kPi, kTwoPi), kMsgLongitude);
    errors.throwIfAny();

    if (lambda > kPi) lambda -= kTwoPi;
    const double sinPhi = std::sin(phi);
    const double N = semiMajorAxis / std::sqrt(1 - e2 * sinPhi * sinPhi);
    const double x = (N + h) * std::cos(phi) * std::cos(lambda);
    const double y = (N + h) * std::cos(phi) * std::sin(lambda);
    const double z = ((1 - e2) * N + h) * sinPhi;
    return new CartesianCoordinates(CoordinateType::geocentric, x, y, z);
}

GeodeticCoordinates* Geocentric::toGeodetic(const CartesianCoordinates& cartesian, int maxIterations,
                                            double tolerance) const {
    const double x = cartesian.x();
    const double y = cartesian.y();
    const double z = cartesian.z();
    const double a = semiMajorAxis;
    const double p = std::sqrt(x * x + y * y);
    const double es = flattening * (2 - flattening);

    if (p == 0 && z != 0 && maxIterations > 0) {
        // On the polar axis the longitude is undefined and the pole's normal is the axis itself.
        return new GeodeticCoordinates(CoordinateType::geodetic, 0, std::copysign(kHalfPi, z),
                                       std::fabs(z) - a * (1 - flattening));
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
    return new GeodeticCoordinates(CoordinateType::geodetic, lambda, phi, h);
}

}  // namespace Orvale::Geodex
