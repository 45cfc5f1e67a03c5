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
    const double lambda = geodetic.longitude();
    const double phi = geodetic.latitude();
    MessageCollector errors;
    addGeodeticChecks(errors, lambda, phi);
    errors.throwIfAny();

    const double dlambda = reduceLongitudeOnce(lambda - centralMeridian);
    const double sinPhi = std::sin(0.8 * phi);
    const double easting = falseEasting + Ra * dlambda;
    const double northing = falseNorthing + (Ra / 1.6) * std::log((1 + sinPhi) / (1 - sinPhi));
    return new MapProjectionCoordinates(CoordinateType::millerCylindrical, easting, northing);
}

GeodeticCoordinates* MillerCylindrical::backProject(const MapProjectionCoordinates& projected) const {
    const double E = projected.easting();
    const double N = projected.northing();
    MessageCollector errors;
    addWorldWindowChecks(errors, E, N, falseEasting, minEasting, maxEasting, falseNorthing, deltaNorthing);
    errors.throwIfAny();

    const double phi = clampLatitude(std::atan(std::sinh(0.8 * (N - falseNorthing) / Ra)) / 0.8);
    const double lambda = clampLongitude(reduceLongitudeOnce(centralMeridian + (E - falseEasting) / Ra));
    return new GeodeticCoordinates(CoordinateType::geodetic, lambda, phi, 0);
}

}  // namespace Orvale::Geodex
