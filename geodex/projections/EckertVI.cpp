#include "geodex/projections/EckertVI.h"

#include <cmath>

#include "geodex/projections/Checks.h"
#include "geodex/projections/EllipsoidMath.h"

namespace Orvale::Geodex {

namespace {
const double kOnePlusHalfPi = 2.5707963267948966;  // 1 + π/2
const double kTolerance = 4.85e-10;
const int kBudget = 60;
}  // namespace

EckertVI::EckertVI(double a, double f, double centralMeridian_, double falseEasting_, double falseNorthing_)
    : WorldProjection(a, f, centralMeridian_, falseEasting_, falseNorthing_) {
    k = authalicRadius(a, f) / std::sqrt(2 + kPi);
    if (centralMeridian > 0) {
        minEasting = -17653839;
        maxEasting = 17555761;
    } else if (centralMeridian < 0) {
        minEasting = -17555761;
        maxEasting = 17653838;
    } else {
        minEasting = -17653838;
        maxEasting = 17653838;
    }
    deltaNorthing = 8826919;
}

MapProjectionCoordinates* EckertVI::project(const GeodeticCoordinates& geodetic) const {
    return projectToTuple(*this, CoordinateType::eckert6, geodetic);
}

void EckertVI::project(double lambda, double phi, double& E, double& N) const {
    const double dlambda = openProject(lambda, phi);
    // Newton steps on θ + sin θ = (1 + π/2) sin φ.
    const double target = kOnePlusHalfPi * std::sin(phi);
    double theta = phi;
    int budget = kBudget;
    double delta;
    do {
        delta = (theta + std::sin(theta) - target) / (1 + std::cos(theta));
        theta -= delta;
        if (--budget == 0) throwMessage(kMsgNorthing);
    } while (!(std::fabs(delta) <= kTolerance));

    const double easting = falseEasting + k * dlambda * (1 + std::cos(theta));
    const double northing = falseNorthing + 2 * k * theta;
    E = easting;
    N = northing;
}

GeodeticCoordinates* EckertVI::backProject(const MapProjectionCoordinates& projected) const {
    return backProjectToTuple(*this, projected);
}

void EckertVI::backProject(double E, double N, double& longitude, double& latitude) const {
    openBackProject(E, N);

    const double theta = (N - falseNorthing) / (2 * k);
    const double x = (theta + std::sin(theta)) / kOnePlusHalfPi;
    double phi;
    if (x > 1)
        phi = kHalfPi;
    else if (x < -1)
        phi = -kHalfPi;
    else
        phi = std::asin(x);
    phi = clampLatitude(phi);
    const double lambda = clampLongitude(
        reduceLongitudeOnce(centralMeridian + (E - falseEasting) / (k * (1 + std::cos(theta)))));
    longitude = lambda;
    latitude = phi;
}

}  // namespace Orvale::Geodex
