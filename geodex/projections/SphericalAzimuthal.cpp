#include "geodex/projections/SphericalAzimuthal.h"

#include <cmath>
#include <limits>

#include "geodex/projections/Checks.h"
#include "geodex/projections/CoordinateType.h"
#include "geodex/projections/EllipsoidMath.h"

namespace Orvale::Geodex {

SphericalAzimuthal::SphericalAzimuthal(double a, double f, double centralMeridian, double originLatitude,
                                       double falseEasting, double falseNorthing, AngularDistance distance)
    : CoordinateSystem(a, f), maxRho(std::numeric_limits<double>::infinity()), distance(distance) {
    MessageCollector errors;
    addEllipsoidChecks(errors, a, f);
    addOriginLatitudeCheck(errors, originLatitude);
    addCentralMeridianCheck(errors, centralMeridian);
    errors.throwIfAny();

    Ra = authalicRadius(a, f);
    this->originLatitude = originLatitude;
    sinPhi0 = std::sin(originLatitude);
    cosPhi0 = std::cos(originLatitude);
    this->centralMeridian = storedCentralMeridian(centralMeridian);
    this->falseEasting = falseEasting;
    this->falseNorthing = falseNorthing;
}

double SphericalAzimuthal::openProject(double lambda, double phi) const {
    checkGeodetic(lambda, phi);
    return reduceLongitudeOnce(lambda - centralMeridian);
}

void SphericalAzimuthal::backProject(double E, double N, double& longitude, double& latitude) const {
    checkCentredWindow(E, N, falseEasting, deltaEasting, falseNorthing, deltaNorthing);

    const double dx = E - falseEasting;
    const double dy = N - falseNorthing;
    const double rho = std::sqrt(dx * dx + dy * dy);
    // A micrometre beyond the rim of a disc-shaped image is allowed for rounding (maxRho includes it).
    if (rho > maxRho) throwMessage(kMsgTooFarFromCenter);
    if (rho <= centreRadius) {
        longitude = centralMeridian;
        latitude = originLatitude;
        return;
    }

    double sinC, cosC;
    distance(rho, Ra, sinC, cosC);
    double phi = azimuthalLatitude(sinC, cosC, dy, rho, sinPhi0, cosPhi0);
    double lambda;
    if (polarAspect)
        lambda = centralMeridian + (originLatitude > 0 ? std::atan2(dx, -dy) : std::atan2(dx, dy));
    else
        lambda = centralMeridian + azimuthalLongitudeDifference(sinC, cosC, dx, dy, rho, sinPhi0, cosPhi0);

    // Only rounding is cleaned up: the result is not snapped to the equator, Greenwich or ±π.
    latitude = clampLatitude(phi);
    longitude = clampLongitude(reduceLongitudeOnce(lambda));
}

}  // namespace Orvale::Geodex
