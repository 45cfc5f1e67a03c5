#include "geodex/projections/AzimuthalEquidistant.h"

#include <cmath>

#include "geodex/projections/Checks.h"
#include "geodex/projections/CoordinateType.h"
#include "geodex/projections/EllipsoidMath.h"

namespace Orvale::Geodex {

namespace {
const double kPolarWindow = 20015110.0;       // metres
const double kEquatorialWindow = 19903915.0;  // metres
const double kRimRounding = 1e-6;             // metres
// Longitude difference of the oblique window's point: one degree short of the antipode's meridian.
const double kSinWindow = std::sin(kPi - kDegree);
const double kCosWindow = std::cos(kPi - kDegree);

// c = ρ / Ra.
void equidistantDistance(double rho, double Ra, double& sinC, double& cosC) {
    const double c = rho / Ra;
    sinC = std::sin(c);
    cosC = std::cos(c);
}
}  // namespace

AzimuthalEquidistant::AzimuthalEquidistant(double a, double f, double centralMeridian, double originLatitude,
                                           double falseEasting, double falseNorthing)
    : SphericalAzimuthal(a, f, centralMeridian, originLatitude, falseEasting, falseNorthing,
                         equidistantDistance) {
    // The image is the disc of radius π·Ra around the false origin (its rim is the antipode); the
    // corners of the window lie outside it and stand for no point.
    maxRho = kPi * Ra + kRimRounding;
    polarAspect = std::fabs(std::fabs(originLatitude) - kHalfPi) < 1e-10;
    equatorialAspect = std::fabs(originLatitude) <= 1e-10;

    if (polarAspect) {
        deltaEasting = deltaNorthing = kPolarWindow;
    } else if (std::fabs(originLatitude) < 1e-10) {
        deltaEasting = deltaNorthing = kEquatorialWindow;
    } else {
        deltaNorthing = kEquatorialWindow;
        // Easting of the point one degree short of the antipode's meridian, at the antipode's latitude,
        // taken from the formulas directly (for a central meridian just east of Greenwich the point's
        // longitude lies below -π, which a projected point may not).
        double x, y;
        offsets(-originLatitude, SphereDirection(-sinPhi0, cosPhi0, kSinWindow, kCosWindow), x, y);
        deltaEasting = std::fabs(x);
    }
}

void AzimuthalEquidistant::offsets(double phi, const SphereDirection& p, double& x, double& y) const {
    if (polarAspect) {
        if (originLatitude >= 0) {
            const double rho = Ra * (kHalfPi - phi);
            x = rho * p.sinDlambda;
            y = -rho * p.cosDlambda;
        } else {
            const double rho = Ra * (kHalfPi + phi);
            x = rho * p.sinDlambda;
            y = rho * p.cosDlambda;
        }
        return;
    }
    const double cosC =
        equatorialAspect ? p.cosPhi * p.cosDlambda : azimuthalCosDistance(sinPhi0, cosPhi0, p);
    double k;
    if (std::fabs(std::fabs(cosC) - 1) < 1e-14) {
        if (cosC < 0) throwMessage(kMsgProjectsIntoCircle);  // the antipode of the origin
        // Within about a metre of the origin c/sin c is 1 to the last digit.
        k = Ra;
    } else {
        const double c = std::acos(cosC);
        k = Ra * c / std::sin(c);
    }
    if (equatorialAspect)
        azimuthalOffsets(k, 0.0, 1.0, p, x, y);
    else
        azimuthalOffsets(k, sinPhi0, cosPhi0, p, x, y);
}

MapProjectionCoordinates* AzimuthalEquidistant::project(const GeodeticCoordinates& geodetic) const {
    return projectToTuple(*this, CoordinateType::azimuthalEquidistant, geodetic);
}

void AzimuthalEquidistant::project(double lambda, double phi, double& easting, double& northing) const {
    const double dlambda = openProject(lambda, phi);
    double x, y;
    offsets(phi, SphereDirection(phi, dlambda), x, y);
    easting = falseEasting + x;
    northing = falseNorthing + y;
}

GeodeticCoordinates* AzimuthalEquidistant::backProject(const MapProjectionCoordinates& projected) const {
    return backProjectToTuple(*this, projected);
}

}  // namespace Orvale::Geodex
