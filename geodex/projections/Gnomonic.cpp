#include "geodex/projections/Gnomonic.h"

#include <cmath>

#include "geodex/projections/Checks.h"
#include "geodex/projections/CoordinateType.h"
#include "geodex/projections/EllipsoidMath.h"

namespace Orvale::Geodex {

Gnomonic::Gnomonic(double a, double f, double centralMeridian, double originLatitude, double falseEasting,
                   double falseNorthing)
    : SphericalAzimuthal(a, f, centralMeridian, originLatitude, falseEasting, falseNorthing) {
    polarAspect = std::fabs(std::fabs(originLatitude) - kHalfPi) < 1e-10;
    equatorialAspect = std::fabs(originLatitude) <= 1e-10;
}

MapProjectionCoordinates* Gnomonic::project(const GeodeticCoordinates& geodetic) const {
    const double lambda = geodetic.longitude();
    const double phi = geodetic.latitude();
    MessageCollector errors;
    addGeodeticChecks(errors, lambda, phi);
    // Points 90° or more from the centre have no image.
    const double dlambda = reduceLongitudeOnce(lambda - centralMeridian);
    const SphereDirection direction(phi, dlambda);
    const double cosC = azimuthalCosDistance(sinPhi0, cosPhi0, direction);
    errors.add(cosC <= 1e-10, kMsgLongitude);
    errors.throwIfAny();

    double x, y;
    if (polarAspect) {
        const double rho = Ra * direction.cosPhi / std::fabs(direction.sinPhi);
        x = rho * direction.sinDlambda;
        y = originLatitude >= 0 ? -rho * direction.cosDlambda : rho * direction.cosDlambda;
    } else if (equatorialAspect) {
        x = Ra * std::tan(dlambda);
        y = Ra * std::tan(phi) / direction.cosDlambda;
    } else {
        azimuthalOffsets(Ra / cosC, sinPhi0, cosPhi0, direction, x, y);
    }
    return new MapProjectionCoordinates(CoordinateType::gnomonic, falseEasting + x, falseNorthing + y);
}

GeodeticCoordinates* Gnomonic::backProject(const MapProjectionCoordinates& projected) const {
    const double E = projected.easting();
    const double N = projected.northing();
    MessageCollector errors;
    addCentredWindowChecks(errors, E, N, falseEasting, deltaEasting, falseNorthing, deltaNorthing);
    errors.throwIfAny();

    const double dx = E - falseEasting;
    const double dy = N - falseNorthing;
    const double rho = std::sqrt(dx * dx + dy * dy);
    if (rho <= 1e-10)
        return new GeodeticCoordinates(CoordinateType::geodetic, centralMeridian, originLatitude, 0);

    const double c = std::atan(rho / Ra);
    const double sinC = std::sin(c);
    const double cosC = std::cos(c);
    double phi = azimuthalLatitude(sinC, cosC, dy, rho, sinPhi0, cosPhi0);
    double lambda;
    if (polarAspect)
        lambda = centralMeridian + (originLatitude >= 0 ? std::atan2(dx, -dy) : std::atan2(dx, dy));
    else
        lambda = centralMeridian + azimuthalLongitudeDifference(sinC, cosC, dx, dy, rho, sinPhi0, cosPhi0);

    phi = clampLatitude(phi);
    lambda = clampLongitude(reduceLongitudeOnce(lambda));
    return new GeodeticCoordinates(CoordinateType::geodetic, lambda, phi, 0);
}

}  // namespace Orvale::Geodex
