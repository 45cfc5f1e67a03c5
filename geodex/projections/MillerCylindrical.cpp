#include "geodex/projections/MillerCylindrical.h"

#include <cmath>

#include "geodex/projections/Checks.h"
#include "geodex/projections/EllipsoidMath.h"

namespace Orvale::Geodex {

MillerCylindrical::MillerCylindrical(double a, double f, double centralMeridian_, double falseEasting_,
                                     double falseNorthing_)
    : WorldProjection(a, f, centralMeridian_, falseEasting_, falseNorthing_) {
    Ra = authalicRadius(a, f);
    setWorldEastingWindow(centralMeridian, 20015110, 19903915, minEasting, maxEasting);
    deltaNorthing = 14675058;
}

MapProjectionCoordinates* MillerCylindrical::project(const GeodeticCoordinates& geodetic) const {
    return projectToTuple(*this, CoordinateType::millerCylindrical, geodetic);
}

void MillerCylindrical::project(double lambda, double phi, double& E, double& N) const {
    const double dlambda = openProject(lambda, phi);
    const double sinPhi = std::sin(0.8 * phi);
    const double easting = falseEasting + Ra * dlambda;
    const double northing = falseNorthing + (Ra / 1.6) * std::log((1 + sinPhi) / (1 - sinPhi));
    E = easting;
    N = northing;
}

GeodeticCoordinates* MillerCylindrical::backProject(const MapProjectionCoordinates& projected) const {
    return backProjectToTuple(*this, projected);
}

void MillerCylindrical::backProject(double E, double N, double& longitude, double& latitude) const {
    openBackProject(E, N);

    const double phi = clampLatitude(std::atan(std::sinh(0.8 * (N - falseNorthing) / Ra)) / 0.8);
    const double lambda = clampLongitude(reduceLongitudeOnce(centralMeridian + (E - falseEasting) / Ra));
    longitude = lambda;
    latitude = phi;
}

}  // namespace Orvale::Geodex
