#include "geodex/projections/Orthographic.h"

#include <cmath>

#include "geodex/projections/Checks.h"
#include "geodex/projections/CoordinateType.h"
#include "geodex/projections/EllipsoidMath.h"

namespace Orvale::Geodex {

namespace {
const double kHorizonRounding = 1e-6;  // metres

// Within the visible hemisphere (cos c ≥ 0): sin c = ρ / Ra.
void orthographicDistance(double rho, double Ra, double& sinC, double& cosC) {
    sinC = clampUnit(rho / Ra);
    cosC = std::sqrt((1 - sinC) * (1 + sinC));
}
}  // namespace

Orthographic::Orthographic(double a, double f, double centralMeridian, double originLatitude,
                           double falseEasting, double falseNorthing)
    : SphericalAzimuthal(a, f, centralMeridian, originLatitude, falseEasting, falseNorthing,
                         orthographicDistance) {
    // The image is the disc of radius Ra around the false origin; a micrometre is allowed for the
    // rounding of points projected from the horizon itself. Only the exact poles take the polar formula.
    deltaEasting = Ra;
    deltaNorthing = Ra;
    maxRho = Ra + kHorizonRounding;
    centreRadius = 0;
    polarAspect = originLatitude == kHalfPi || originLatitude == -kHalfPi;
}

MapProjectionCoordinates* Orthographic::project(const GeodeticCoordinates& geodetic) const {
    return projectToTuple(*this, CoordinateType::orthographic, geodetic);
}

void Orthographic::project(double lambda, double phi, double& easting, double& northing) const {
    const double dlambda = openProject(lambda, phi);
    const SphereDirection direction(phi, dlambda);
    // The far side of the globe is hidden; the horizon itself is shown.
    if (direction.cosPhi * direction.cosDlambda * cosPhi0 + sinPhi0 * direction.sinPhi < 0)
        throwMessage(kMsgLongitude);

    double x, y;
    azimuthalOffsets(Ra, sinPhi0, cosPhi0, direction, x, y);
    easting = falseEasting + x;
    northing = falseNorthing + y;
}

GeodeticCoordinates* Orthographic::backProject(const MapProjectionCoordinates& projected) const {
    return backProjectToTuple(*this, projected);
}

}  // namespace Orvale::Geodex
