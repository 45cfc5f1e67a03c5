#include "geodex/projections/Stereographic.h"

#include <cmath>

#include "geodex/projections/Checks.h"
#include "geodex/projections/CoordinateType.h"
#include "geodex/projections/EllipsoidMath.h"

namespace Orvale::Geodex {

namespace {
const double kPolarAndEquatorialWindow = 1460090226.0;  // metres
// Longitude difference of the oblique window's point: one degree short of the antipode's meridian.
const double kSinWindow = std::sin(kPi - kDegree);
const double kCosWindow = std::cos(kPi - kDegree);
}  // namespace

Stereographic::Stereographic(double a, double f, double centralMeridian, double originLatitude,
                             double falseEasting, double falseNorthing)
    : SphericalAzimuthal(a, f, centralMeridian, originLatitude, falseEasting, falseNorthing) {
    twoRa = 2 * Ra;
    polarAspect = std::fabs(std::fabs(originLatitude) - kHalfPi) < 1e-10;

    deltaNorthing = kPolarAndEquatorialWindow;
    if (polarAspect || std::fabs(originLatitude) < 1e-10) {
        deltaEasting = kPolarAndEquatorialWindow;
    } else {
        // Easting of the point one degree short of the antipode's meridian, at the antipode's latitude.
        // It is taken from the formulas directly: for a central meridian just east of Greenwich the
        // point's longitude lies below -π, which a projected point may not.
        double x, y;
        offsets(-originLatitude, SphereDirection(-sinPhi0, cosPhi0, kSinWindow, kCosWindow), x, y);
        deltaEasting = std::fabs(x);
    }
}

void Stereographic::offsets(double phi, const SphereDirection& p, double& x, double& y) const {
    if (polarAspect) {
        if (std::fabs(std::fabs(phi) - kHalfPi) < 1e-10) {
            x = y = 0;
        } else if (originLatitude > 0) {
            const double rho = twoRa * std::tan(kPi / 4 - phi / 2);
            x = rho * p.sinDlambda;
            y = -rho * p.cosDlambda;
        } else {
            const double rho = twoRa * std::tan(kPi / 4 + phi / 2);
            x = rho * p.sinDlambda;
            y = rho * p.cosDlambda;
        }
    } else if (std::fabs(originLatitude) <= 1e-10) {
        const double k = twoRa / (1 + p.cosPhi * p.cosDlambda);
        azimuthalOffsets(k, 0.0, 1.0, p, x, y);
    } else {
        const double k = twoRa / (1 + azimuthalCosDistance(sinPhi0, cosPhi0, p));
        azimuthalOffsets(k, sinPhi0, cosPhi0, p, x, y);
    }
}

MapProjectionCoordinates* Stereographic::project(const GeodeticCoordinates& geodetic) const {
    const double lambda = geodetic.longitude();
    const double phi = geodetic.latitude();
    MessageCollector errors;
    addGeodeticChecks(errors, lambda, phi);
    errors.throwIfAny();

    const double dlambda = reduceLongitudeOnce(lambda - centralMeridian);
    const SphereDirection direction(phi, dlambda);
    const double g = 1 + azimuthalCosDistance(sinPhi0, cosPhi0, direction);
    if (std::fabs(g) <= 1e-10) throwMessage(kMsgLongitude);  // the antipode of the origin

    double x, y;
    offsets(phi, direction, x, y);
    return new MapProjectionCoordinates(CoordinateType::stereographic, falseEasting + x, falseNorthing + y);
}

GeodeticCoordinates* Stereographic::backProject(const MapProjectionCoordinates& projected) const {
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

    const double c = 2 * std::atan(rho / twoRa);
    const double sinC = std::sin(c);
    const double cosC = std::cos(c);
    double phi = azimuthalLatitude(sinC, cosC, dy, rho, sinPhi0, cosPhi0);
    double lambda;
    if (polarAspect)
        lambda = centralMeridian + (originLatitude > 0 ? std::atan2(dx, -dy) : std::atan2(dx, dy));
    else
        lambda = centralMeridian + azimuthalLongitudeDifference(sinC, cosC, dx, dy, rho, sinPhi0, cosPhi0);

    // Only rounding is cleaned up: the result is not snapped to the equator, Greenwich or ±π.
    phi = clampLatitude(phi);
    lambda = clampLongitude(reduceLongitudeOnce(lambda));
    return new GeodeticCoordinates(CoordinateType::geodetic, lambda, phi, 0);
}

}  // namespace Orvale::Geodex
