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
    return projectToTuple(*this, CoordinateType::sinusoidal, geodetic);
}

void Sinusoidal::project(double lambda, double phi, double& E, double& N) const {
    const double dlambda = openProject(lambda, phi);
    const double easting = falseEasting + semiMajorAxis * parallelRadiusFactor(es, phi) * dlambda;
    const double northing = falseNorthing + series.distance(phi);
    E = easting;
    N = northing;
}

GeodeticCoordinates* Sinusoidal::backProject(const MapProjectionCoordinates& projected) const {
    return backProjectToTuple(*this, projected);
}

void Sinusoidal::backProject(double E, double N, double& longitude, double& latitude) const {
    openBackProject(E, N);

    const double phi = clampLatitude(series.footpoint((N - falseNorthing) / (series.c0 * semiMajorAxis)));
    double lambda = centralMeridian;  // the pole line carries no longitude
    if (!(std::fabs(kHalfPi - std::fabs(phi)) < 1e-8))
        lambda = reduceLongitudeOnce(centralMeridian +
                                     (E - falseEasting) / (semiMajorAxis * parallelRadiusFactor(es, phi)));
    lambda = clampLongitude(lambda);
    longitude = lambda;
    latitude = phi;
}

}  // namespace Orvale::Geodex
