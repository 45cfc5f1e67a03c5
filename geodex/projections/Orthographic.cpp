#include "geodex/projections/Orthographic.h"

#include <cmath>

#include "geodex/projections/Checks.h"
#include "geodex/projections/CoordinateType.h"
#include "geodex/projections/EllipsoidMath.h"

namespace Orvale::Geodex {

namespace {
const double kHorizonRounding = 1e-6;  // metres
}  // namespace

Orthographic::Orthographic(double a, double f, double centralMeridian, double originLatitude,
                           double falseEasting, double falseNorthing)
    : SphericalAzimuthal(a, f, centralMeridian, originLatitude, falseEasting, falseNorthing) {}

MapProjectionCoordinates* Orthographic::project(const GeodeticCoordinates& geodetic) const {
    const double lambda = geodetic.longitude();
    const double phi = geodetic.latitude();
    MessageCollector errors;
    addGeodeticChecks(errors, lambda, phi);
    errors.throwIfAny();

    const double dlambda = reduceLongitudeOnce(lambda - centralMeridian);
    const SphereDirection direction(phi, dlambda);
    // The far side of the globe is hidden; the horizon itself is shown.
    if (direction.cosPhi * direction.cosDlambda * cosPhi0 + sinPhi0 * direction.sinPhi < 0)
        throwMessage(kMsgLongitude);

    double x, y;
    azimuthalOffsets(Ra, sinPhi0, cosPhi0, direction, x, y);
    return new MapProjectionCoordinates(CoordinateType::orthographic, falseEasting + x, falseNorthing + y);
}

GeodeticCoordinates* Orthographic::backProject(const MapProjectionCoordinates& projected) const {
    const double E = projected.easting();
    const double N = projected.northing();
    MessageCollector errors;
    addCentredWindowChecks(errors, E, N, falseEasting, Ra, falseNorthing, Ra);
    errors.throwIfAny();

    const double dx = E - falseEasting;
    const double dy = N - falseNorthing;
    const double rho = std::sqrt(dx * dx + dy * dy);
    // The image is the disc of radius Ra around the false origin; a micrometre is allowed for the
    // rounding of points projected from the horizon itself.
    if (rho > Ra + kHorizonRounding) throwMessage(kMsgTooFarFromCenter);
    if (rho == 0)
        return new GeodeticCoordinates(CoordinateType::geodetic, centralMeridian, originLatitude, 0);

    // Angular distance c from the centre, within the visible hemisphere (cos c ≥ 0).
    const double sinC = clampUnit(rho / Ra);
    const double cosC = std::sqrt((1 - sinC) * (1 + sinC));
    double phi = azimuthalLatitude(sinC, cosC, dy, rho, sinPhi0, cosPhi0);
    double lambda;
    if (originLatitude == kHalfPi)
        lambda = centralMeridian + std::atan2(dx, -dy);
    else if (originLatitude == -kHalfPi)
        lambda = centralMeridian + std::atan2(dx, dy);
    else
        lambda = centralMeridian + azimuthalLongitudeDifference(sinC, cosC, dx, dy, rho, sinPhi0, cosPhi0);

    phi = clampLatitude(phi);
    lambda = clampLongitude(reduceLongitudeOnce(lambda));
    return new GeodeticCoordinates(CoordinateType::geodetic, lambda, phi, 0);
}

}  // namespace Orvale::Geodex
