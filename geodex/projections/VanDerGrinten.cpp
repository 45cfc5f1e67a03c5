#include "geodex/projections/VanDerGrinten.h"

#include <cmath>

#include "geodex/projections/Checks.h"
#include "geodex/projections/EllipsoidMath.h"

namespace Orvale::Geodex {

namespace {
// Latitudes (radians) closer to the equator than this project onto it: their northing is below
// 1e-93 m, and the intermediate quantities of the general formula would underflow.
const double kOnEquator = 1e-100;
}  // namespace

VanDerGrinten::VanDerGrinten(double a, double f, double centralMeridian_, double falseEasting_,
                             double falseNorthing_)
    : WorldProjection(a, f, centralMeridian_, falseEasting_, falseNorthing_) {
    Ra = authalicRadius(a, f);
    piRa = kPi * Ra;
    minEasting = -(piRa + 0.01);
    maxEasting = piRa + 0.01;
    deltaNorthing = piRa + 0.01;
}

// The classical formulas, with A = |π/dλ − dλ/π|/2, G = cos θ/(sin θ + cos θ − 1), P = G(2/sin θ − 1),
// Q = A² + G:
//   x = πRa (A(G − P²) + sqrt(A²(G − P²)² − (P² + A²)(G² − P²))) / (P² + A²)
//   y = πRa (PQ − A sqrt((A² + 1)(P² + A²) − Q²)) / (P² + A²)
// subtract nearly equal terms near the central meridian (A large) and near the equator (P large):
// 1e-6° from the central meridian they lose everything. They are evaluated here in an algebraically
// identical form whose terms all have one sign. With s = sin θ, g = G/P = s/(2 − s) and w = 1/P:
//   G = (1 + s)/(s + 2 sin²(θ/2)),  1 − G/P² = 1 − g·w,
//   x = πRa (1 − g²) / (A(1 − gw) + sqrt(A²(1 − gw)² + (1 + A²w²)(1 − g²)))
//   y = πRa (A²w(2g − w) + g²) / (A²w + g + Aw·sqrt(A²((1 − gw)² + w²(1 − g²)) + 1 − g²))
// (the square-root terms rationalised, the A⁴ terms cancelled by hand, everything divided by P²).
// Every quantity but A is bounded by 1; for A > 1 numerator and denominator are divided by A or A².
MapProjectionCoordinates* VanDerGrinten::project(const GeodeticCoordinates& geodetic) const {
    return projectToTuple(*this, CoordinateType::vanDerGrinten, geodetic);
}

void VanDerGrinten::project(double lambda, double phi, double& E, double& N) const {
    const double dlambda = openProject(lambda, phi);
    double x;
    double y;
    const double sinTheta = std::fmin(1.0, std::fabs(2 * phi / kPi));
    const double theta = std::asin(sinTheta);
    if (std::fabs(phi) < kOnEquator) {
        x = Ra * dlambda;
        y = 0;
    } else if (dlambda == 0 || sinTheta == 1) {
        // The central meridian and the poles: straight up the y axis. Only the pole itself: near it
        // the map opens like sqrt(π/2 − |φ|), so a band of 1e-5 rad would move points by up to 101 km,
        // and the form below holds right up to the pole.
        x = 0;
        y = std::copysign(piRa * std::tan(theta / 2), phi);
    } else {
        const double A = std::fabs(kPi / dlambda - dlambda / kPi) / 2;
        const double s = sinTheta;
        const double halfTheta = std::sin(theta / 2);
        const double G = (1 + s) / (s + 2 * halfTheta * halfTheta);
        const double g = s / (2 - s);
        const double w = g / G;
        const double oneMinusGw = 1 - g * w;
        const double oneMinusG2 = (1 - g) * (1 + g);
        if (A <= 1) {
            const double Aw = A * w;
            x = piRa * oneMinusG2 /
                (A * oneMinusGw + std::sqrt(A * A * oneMinusGw * oneMinusGw + (1 + Aw * Aw) * oneMinusG2));
            y = piRa * (A * Aw * (2 * g - w) + g * g) /
                (A * Aw + g +
                 Aw * std::sqrt(A * A * (oneMinusGw * oneMinusGw + w * w * oneMinusG2) + oneMinusG2));
        } else {
            const double u = 1 / A;
            x = piRa * oneMinusG2 * u /
                (oneMinusGw + std::sqrt(oneMinusGw * oneMinusGw + (u * u + w * w) * oneMinusG2));
            y = piRa * (w * (2 * g - w) + g * g * u * u) /
                (w + g * u * u +
                 w * std::sqrt(oneMinusGw * oneMinusGw + w * w * oneMinusG2 + oneMinusG2 * u * u));
        }
        x = std::copysign(x, dlambda);
        y = std::copysign(y, phi);
    }
    E = falseEasting + x;
    N = falseNorthing + y;
}

GeodeticCoordinates* VanDerGrinten::backProject(const MapProjectionCoordinates& projected) const {
    return backProjectToTuple(*this, projected);
}

void VanDerGrinten::backProject(double E, double N, double& longitude, double& latitude) const {
    openBackProject(E, N);

    // The whole sphere lies inside the circle of radius πRa about the false origin.
    const double dE = E - falseEasting;
    const double dN = N - falseNorthing;
    if (std::sqrt(dE * dE + dN * dN) > piRa + 0.01) throwMessage(kMsgTooFarFromCenter);

    const double X = dE / piRa;
    const double Y = dN / piRa;
    const double W = X * X + Y * Y;
    double phi = 0;
    if (Y != 0) {
        const double c1 = -std::fabs(Y) * (1 + W);
        const double c2 = c1 - 2 * Y * Y + X * X;
        const double c3 = -2 * c1 + 1 + 2 * Y * Y + W * W;
        const double d = Y * Y / c3 + (2 * c2 * c2 * c2 / (c3 * c3 * c3) - 9 * c1 * c2 / (c3 * c3)) / 27;
        const double a1 = (c1 - c2 * c2 / (3 * c3)) / c3;
        const double m1 = 2 * std::sqrt(-a1 / 3);
        // Rounding lifts |t| just above 1 on the equator and at 180°: those are still the cubic's
        // real root, not the pole.
        const double t = clampUnit(3 * d / (a1 * m1));
        const double theta1 = std::acos(t) / 3;
        phi = std::copysign(kPi * (-m1 * std::cos(theta1 + kPi / 3) - c2 / (3 * c3)), Y);
    }
    // λ = CM + π(W − 1 + sqrt(1 + 2(X² − Y²) + W²))/(2X); inside the circle (W < 1) the numerator is
    // rationalised, since near the central meridian its terms cancel.
    double lambda = centralMeridian;
    if (X != 0) {
        const double root = std::sqrt((1 - W) * (1 - W) + 4 * X * X);
        if (W < 1)
            lambda = centralMeridian + kPi * 2 * X / (root + 1 - W);
        else
            lambda = centralMeridian + kPi * (W - 1 + root) / (2 * X);
    }
    phi = clampLatitude(phi);
    lambda = clampLongitude(reduceLongitudeOnce(lambda));
    longitude = lambda;
    latitude = phi;
}

}  // namespace Orvale::Geodex
