#include "geodex/projections/Gnomonic.h"

#include <cmath>

#include "geodex/projections/Checks.h"
#include "geodex/projections/CoordinateType.h"
#include "geodex/projections/EllipsoidMath.h"

namespace Orvale::Geodex {

namespace {
// c = atan(ρ / Ra).
void gnomonicDistance(double rho, double Ra, double& sinC, double& cosC) {
    const double c = std::atan(rho / Ra);
    sinC = std::sin(c);
    cosC = std::cos(c);
}
}  // namespace

Gnomonic::Gnomonic(double a, double f, double centralMeridian, double originLatitude, double falseEasting,
                   double falseNorthing)
    : SphericalAzimuthal(a, f, centralMeridian, originLatitude, falseEasting, falseNorthing,
                         gnomonicDistance) {
    deltaEasting = 40000000.0;
    deltaNorthing = 40000000.0;
    polarAspect = std::fabs(std::fabs(originLatitude) - kHalfPi) < 1e-10;
    equatorialAspect = std::fabs(originLatitude) <= 1e-10;
}

MapProjectionCoordinates* Gnomonic::project(const GeodeticCoordinates& geodetic) const {
    return projectToTuple(*this, CoordinateType::gnomonic, geodetic);
}

void Gnomonic::project(double lambda, double phi, double& easting, double& northing) const {
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
    easting = falseEasting + x;
    northing = falseNorthing + y;
}

GeodeticCoordinates* Gnomonic::backProject(const MapProjectionCoordinates& projected) const {
    return backProjectToTuple(*this, projected);
}

}  // namespace Orvale::Geodex
