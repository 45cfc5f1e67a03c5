#include "geodex/projections/EckertIV.h"

#include <cmath>

#include "geodex/projections/Checks.h"
#include "geodex/projections/EllipsoidMath.h"

namespace Orvale::Geodex {

namespace {
const double kTwoPlusHalfPi = 3.5707963267948966;  // 2 + π/2
const double kTolerance = 4.85e-10;
const int kBudget = 200;
}  // namespace

EckertIV::EckertIV(double a, double f, double centralMeridian_, double falseEasting_, double falseNorthing_)
    : WorldProjection(a, f, centralMeridian_, falseEasting_, falseNorthing_) {
    // The projection's constants 2/sqrt(π(4 + π)) and 2·sqrt(π/(4 + π)), rounded to seven decimals.
    const double Ra = authalicRadius(a, f);
    xScale = 0.4222382 * Ra;
    yScale = 1.3265004 * Ra;
    setWorldEastingWindow(centralMeridian, 16902288, 16808386, minEasting, maxEasting);
    deltaNorthing = 8451144;
}

MapProjectionCoordinates* EckertIV::project(const GeodeticCoordinates& geodetic) const {
    return projectToTuple(*this, CoordinateType::eckert4, geodetic);
}

void EckertIV::project(double lambda, double phi, double& E, double& N) const {
    const double dlambda = openProject(lambda, phi);
    // Newton steps on θ + sin θ cos θ + 2 sin θ = (2 + π/2) sin φ.
    const double target = kTwoPlusHalfPi * std::sin(phi);
    double theta = phi / 2;
    int budget = kBudget;
    double delta;
    do {
        const double sinTheta = std::sin(theta);
        const double cosTheta = std::cos(theta);
        delta = (theta + sinTheta * cosTheta + 2 * sinTheta - target) / (2 * cosTheta * (1 + cosTheta));
        theta -= delta;
        if (--budget == 0) throwMessage(kMsgNorthing);
    } while (!(std::fabs(delta) <= kTolerance));

    const double easting = falseEasting + xScale * dlambda * (1 + std::cos(theta));
    const double northing = falseNorthing + yScale * std::sin(theta);
    E = easting;
    N = northing;
}

GeodeticCoordinates* EckertIV::backProject(const MapProjectionCoordinates& projected) const {
    return backProjectToTuple(*this, projected);
}

void EckertIV::backProject(double E, double N, double& longitude, double& latitude) const {
    openBackProject(E, N);

    const double theta = std::asin(clampUnit((N - falseNorthing) / yScale));
    const double sinTheta = std::sin(theta);
    const double cosTheta = std::cos(theta);
    // At the pole rounding can lift the sine just above 1.
    const double phi =
        clampLatitude(std::asin(clampUnit((theta + sinTheta * cosTheta + 2 * sinTheta) / kTwoPlusHalfPi)));
    const double lambda =
        clampLongitude(reduceLongitudeOnce(centralMeridian + (E - falseEasting) / (xScale * (1 + cosTheta))));
    longitude = lambda;
    latitude = phi;
}

}  // namespace Orvale::Geodex
