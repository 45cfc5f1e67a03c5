#include "geodex/projections/Mollweide.h"

#include <cmath>

#include "geodex/projections/Checks.h"
#include "geodex/projections/EllipsoidMath.h"

namespace Orvale::Geodex {

namespace {
const double kTolerance = 4.85e-10;
const int kBudget = 60;
// Within this distance of a pole (radians) θ' + sin θ' = π·sin φ has an almost triple root at π:
// evaluated near π its residual is rounding noise and θ' wanders by up to 1e-5 (110 m of easting).
const double kPolarCap = 0.01;

// u − sin u for 0 ≤ u ≤ 0.13 without the cancellation of the direct difference.
double uMinusSinU(double u) {
    const double u2 = u * u;
    return u * u2 * (1.0 / 6 - u2 * (1.0 / 120 - u2 * (1.0 / 5040 - u2 * (1.0 / 362880 - u2 / 39916800))));
}

// Near a pole, from the colatitude d = π/2 − |φ| (radians, ≤ kPolarCap): u = π − |θ'|, for which the
// equation reads u − sin u = π (1 − sin|φ|) = 2π sin²(d/2); solved by Newton steps from the leading
// term u ≈ (6v)^(1/3).
double polarComplement(double d) {
    const double halfD = std::sin(d / 2);
    const double v = 2 * kPi * halfD * halfD;
    double u = std::cbrt(6 * v);
    for (int i = 0; i < 4 && u > 0; ++i) {
        const double halfU = std::sin(u / 2);
        u -= (uMinusSinU(u) - v) / (2 * halfU * halfU);
    }
    return u;
}
}  // namespace

Mollweide::Mollweide(double a, double f, double centralMeridian_, double falseEasting_, double falseNorthing_)
    : WorldProjection(a, f, centralMeridian_, falseEasting_, falseNorthing_) {
    const double Ra = authalicRadius(a, f);
    sqrt2Ra = std::sqrt(2.0) * Ra;
    sqrt8Ra = std::sqrt(8.0) * Ra;
    setWorldEastingWindow(centralMeridian, 18019930, 17919819, minEasting, maxEasting);
    deltaNorthing = 9009965;
}

MapProjectionCoordinates* Mollweide::project(const GeodeticCoordinates& geodetic) const {
    return projectToTuple(*this, CoordinateType::mollweide, geodetic);
}

void Mollweide::project(double lambda, double phi, double& E, double& N) const {
    const double dlambda = openProject(lambda, phi);
    double cosTheta;
    double sinTheta;
    const double colatitude = kHalfPi - std::fabs(phi);
    if (colatitude < kPolarCap) {
        // θ = ±(π/2 − u/2)
        const double u = polarComplement(colatitude);
        cosTheta = std::sin(u / 2);
        sinTheta = std::copysign(std::cos(u / 2), phi);
    } else {
        // Newton steps on θ' + sin θ' = π sin φ, θ' = 2θ.
        const double target = kPi * std::sin(phi);
        double thetaPrime = phi;
        int budget = kBudget;
        double delta;
        do {
            delta = (thetaPrime + std::sin(thetaPrime) - target) / (1 + std::cos(thetaPrime));
            thetaPrime -= delta;
            if (--budget == 0) throwMessage(kMsgNorthing);
        } while (!(std::fabs(delta) <= kTolerance));
        cosTheta = std::cos(thetaPrime / 2);
        sinTheta = std::sin(thetaPrime / 2);
    }
    const double easting = falseEasting + (sqrt8Ra / kPi) * dlambda * cosTheta;
    const double northing = falseNorthing + sqrt2Ra * sinTheta;
    E = easting;
    N = northing;
}

GeodeticCoordinates* Mollweide::backProject(const MapProjectionCoordinates& projected) const {
    return backProjectToTuple(*this, projected);
}

void Mollweide::backProject(double E, double N, double& longitude, double& latitude) const {
    openBackProject(E, N);

    const double x = (N - falseNorthing) / sqrt2Ra;
    double theta = 0;
    double phi;
    if (std::fabs(x) > 1) {
        phi = std::copysign(kHalfPi, N - falseNorthing);
    } else {
        theta = std::asin(x);
        // At the pole rounding lifts (2θ + sin 2θ)/π just above 1.
        phi = clampLatitude(std::asin(clampUnit((2 * theta + std::sin(2 * theta)) / kPi)));
    }
    double lambda = centralMeridian;
    if (!(std::fabs(std::fabs(phi) - kHalfPi) < 1e-10))
        lambda = centralMeridian + kPi * (E - falseEasting) / (sqrt8Ra * std::cos(theta));
    lambda = clampLongitude(reduceLongitudeOnce(lambda));
    longitude = lambda;
    latitude = phi;
}

}  // namespace Orvale::Geodex
