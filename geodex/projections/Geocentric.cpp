#include "geodex/projections/Geocentric.h"

#include <cmath>

#include "geodex/EarthCentred.h"
#include "geodex/projections/Checks.h"
#include "geodex/projections/EllipsoidMath.h"

namespace Orvale::Geodex {

Geocentric::Geocentric(double a, double f) : CoordinateSystem(a, f) {
    MessageCollector errors;
    addEllipsoidChecks(errors, a, f);
    errors.throwIfAny();
}

CartesianCoordinates* Geocentric::toGeocentric(const GeodeticCoordinates& geodetic) const {
    double x, y, z;
    EarthCentred::toCartesian(semiMajorAxis, flattening, geodetic.latitude(), geodetic.longitude(),
                              geodetic.height(), x, y, z);
    return new CartesianCoordinates(CoordinateType::geocentric, x, y, z);
}

GeodeticCoordinates* Geocentric::toGeodetic(const CartesianCoordinates& cartesian, int maxIterations,
                                            double tolerance) const {
    double latitude, longitude, height;
    EarthCentred::toGeodetic(semiMajorAxis, flattening, cartesian.x(), cartesian.y(), cartesian.z(), latitude,
                             longitude, height, maxIterations, tolerance);
    return new GeodeticCoordinates(CoordinateType::geodetic, longitude, latitude, height);
}

}  // namespace Orvale::Geodex
