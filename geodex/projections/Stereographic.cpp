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

// c = 2 atan(ρ / 2Ra).
void stereographicDistance(double rho, double Ra, double& sinC, double& cosC) {
    const double c = 2 * std::atan(rho / (2 * Ra));
    sinC = std::sin(c);
    cosC = std::cos(c);
}
}  // namespace

Stereographic::Stereographic(double a, double f, double centralMeridian, double originLatitude,
                             double falseEasting, double falseNorthing)
    : SphericalAzimuthal(a, f, centralMeridian, originLatitude, falseEasting, falseNorthing,
                         stereographicDistance) {
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
    return projectToTuple(*this, CoordinateType::stereographic, geodetic);
}

void Stereographic::project(double lambda, double phi, double& easting, double& northing) const {
    const double dlambda = openProject(lambda, phi);
    const SphereDirection direction(phi, dlambda);
    const double g = 1 + azimuthalCosDistance(sinPhi0, cosPhi0, direction);
    if (std::fabs(g) <= 1e-10) throwMessage(kMsgLongitude);  // the antipode of the origin

    double x, y;
    offsets(phi, direction, x, y);
    easting = falseEasting + x;
    northing = falseNorthing + y;
}

GeodeticCoordinates* Stereographic::backProject(const MapProjectionCoordinates& projected) const {
    return backProjectToTuple(*this, projected);
}

}  // namespace Orvale::Geodex
