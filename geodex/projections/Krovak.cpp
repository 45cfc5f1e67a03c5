#include "geodex/projections/Krovak.h"

#include <cmath>
#include <limits>

#include "geodex/projections/CoordinateType.h"
#include "geodex/projections/EllipsoidMath.h"

namespace Orvale::Geodex {

namespace {
// π/4 to 15 significant digits, the value the projection's published formulas are evaluated with.
const double s45 = 0.785398163397448;
// The latitude iteration settles in about five steps; the bound only stops a non-number from looping.
const int kMaxLatitudeSteps = 50;
}  // namespace

// The projection's derived quantities; recomputed for every conversion.
struct Krovak::Constants {
    double e;   // eccentricity
    double B;   // ratio of the conformal sphere's longitudes to the ellipsoid's
    double t0;  // constant of the Gaussian conformal latitude
    double n;   // cone constant, sin of the pseudo standard parallel
    double rho0;
};

Krovak::Krovak(double a, double f, double latitudeOfCentre, double longitudeOfOrigin,
               double coneAxisColatitude, double pseudoStandardParallel, double scaleFactor,
               double falseNorthing, double falseEasting)
    : CoordinateSystem(a, f),
      latitudeOfCentre(latitudeOfCentre),
      longitudeOfOrigin(longitudeOfOrigin),
      coneAxisColatitude(coneAxisColatitude),
      pseudoStandardParallel(pseudoStandardParallel),
      scaleFactor(scaleFactor),
      falseNorthing(falseNorthing),
      falseEasting(falseEasting) {}

Krovak::Constants Krovak::constants() const {
    Constants k;
    const double es = eccentricitySquared(flattening);
    k.e = std::sqrt(es);
    const double phiC = latitudeOfCentre;
    const double sinPhiC = std::sin(phiC);
    const double cosPhiC = std::cos(phiC);
    k.B = std::sqrt(1 + es * std::pow(cosPhiC, 4) / (1 - es));
    const double U0 = std::asin(sinPhiC / k.B);
    k.t0 = std::tan(U0 / 2 + s45) * std::pow((1 + k.e * sinPhiC) / (1 - k.e * sinPhiC), k.e * k.B / 2) /
           std::pow(std::tan(phiC / 2 + s45), k.B);
    k.n = std::sin(pseudoStandardParallel);
    k.rho0 = scaleFactor * semiMajorAxis * std::sqrt(1 - es) / (1 - es * sinPhiC * sinPhiC) /
             std::tan(pseudoStandardParallel);
    return k;
}

MapProjectionCoordinates* Krovak::project(const GeodeticCoordinates& geodetic) const {
    return projectToTuple(*this, CoordinateType::krovak, geodetic);
}

void Krovak::project(double lambda, double phi, double& easting, double& northing) const {
    const Constants k = constants();
    const double esinPhi = k.e * std::sin(phi);
    const double alpha = coneAxisColatitude;

    // Gaussian conformal sphere (U, V), then the oblique cone's spherical coordinates (T, D).
    const double U = 2 * (std::atan(k.t0 * std::pow(std::tan(phi / 2 + s45), k.B) /
                                    std::pow((1 + esinPhi) / (1 - esinPhi), k.e * k.B / 2)) -
                          s45);
    const double V = k.B * (longitudeOfOrigin - lambda);
    const double T = std::asin(std::cos(alpha) * std::sin(U) + std::sin(alpha) * std::cos(U) * std::cos(V));
    const double D = std::asin(std::cos(U) * std::sin(V) / std::cos(T));
    const double theta = k.n * D;
    const double rho = k.rho0 * std::pow(std::tan(pseudoStandardParallel / 2 + s45), k.n) /
                       std::pow(std::tan(T / 2 + s45), k.n);
    easting = falseEasting + rho * std::sin(theta);
    northing = falseNorthing + rho * std::cos(theta);
}

GeodeticCoordinates* Krovak::backProject(const MapProjectionCoordinates& projected) const {
    return backProjectToTuple(*this, projected);
}

void Krovak::backProject(double easting, double northing, double& longitude, double& latitude) const {
    const Constants k = constants();
    const double dx = easting - falseEasting;
    const double dy = northing - falseNorthing;
    const double alpha = coneAxisColatitude;
    // Krovak checks nothing, but a point at infinity is no position: it must not come back as the
    // cone's apex (a finite latitude and longitude), so it gives non-numbers like a non-number does.
    if (!std::isfinite(dx) || !std::isfinite(dy)) {
        longitude = latitude = std::numeric_limits<double>::quiet_NaN();
        return;
    }

    const double rho = std::sqrt(dx * dx + dy * dy);
    const double theta = std::atan2(dx, dy);
    const double D = theta / k.n;
    const double T =
        2 * (std::atan(std::tan(pseudoStandardParallel / 2 + s45) * std::pow(k.rho0 / rho, 1 / k.n)) - s45);
    const double U = std::asin(std::cos(alpha) * std::sin(T) - std::sin(alpha) * std::cos(T) * std::cos(D));
    const double V = std::asin(std::cos(T) * std::sin(D) / std::cos(U));
    const double lambda = longitudeOfOrigin - V / k.B;

    // Ellipsoidal latitude from the conformal one by fixed-point steps.
    const double c = std::pow(k.t0, -1 / k.B) * std::pow(std::tan(U / 2 + s45), 1 / k.B);
    double phi = U;
    for (int step = 0; step < kMaxLatitudeSteps; ++step) {
        const double esinPhi = k.e * std::sin(phi);
        const double next = 2 * (std::atan(std::pow((1 + esinPhi) / (1 - esinPhi), k.e / 2) * c) - s45);
        const bool settled = std::fabs(next - phi) < 1e-15;
        phi = next;
        if (settled) break;
    }
    longitude = lambda;
    latitude = phi;
}

}  // namespace Orvale::Geodex
