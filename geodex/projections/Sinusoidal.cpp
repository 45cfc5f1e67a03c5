#include "geodex/projections/Sinusoidal.h"

#include <cmath>

#include "geodex/projections/Checks.h"
#include "geodex/projections/EllipsoidMath.h"

namespace Orvale::Geodex {

Sinusoidal::Sinusoidal(double a, double f, double centralMeridian_, double falseEasting_,
                       double falseNorthing_)
    : WorldProjection(a, f, centralMeridian_, falseEasting_, falseNorthing_), series(a, f) {
    es = eccentricitySquared(f);
    setWorldEastingWindow(centralMeridian, 20037509, 19926189, minEasting, maxEasting);
    deltaNorthing = 10001966;
}

MapProjectionCoordinates* Sinusoidal::project(const GeodeticCoordinates& geodetic) const {
    const double lambda = geodetic.longitude();
    const double phi = geodetic.latitude();
    MessageCollector errors;
    addGeodeticChecks(errors, lambda, phi);
    errors.throwIfAny();

    const double dlambda = reduceLongitudeOnce(lambda - centralMeridian);
    const double easting = falseEasting + semiMajorAxis * parallelRadiusFactor(es, phi) * dlambda;
    const double northing = falseNorthing + series.distance(phi);
    return new MapProjectionCoordinates(CoordinateType::sinusoidal, easting, northing);
}

GeodeticCoordinates* Sinusoidal::backProject(const MapProjectionCoordinates& projected) const {
    const double E = projected.easting();
    const double N = projected.northing();
    MessageCollector errors;
    addWorldWindowChecks(errors, E, N, falseEasting, minEasting, maxEasting, falseNorthing, deltaNorthing);
    errors.throwIfAny();

    const double phi = clampLatitude(series.footpoint((N - falseNorthing) / (series.c0 * semiMajorAxis)));
    double lambda = centralMeridian;  // the pole line carries no longitude
    if (!(std::fabs(kHalfPi - std::fabs(phi)) < 1e-8))
        lambda = reduceLongitudeOnce(centralMeridian +
                                     (E - falseEasting) / (semiMajorAxis * parallelRadiusFactor(es, phi)));
    lambda = clampLongitude(lambda);
    return new GeodeticCoordinates(CoordinateType::geodetic, lambda, phi, 0);
}

}  // namespace Orvale::Geodex
