#include "geodex/projections/CylindricalEqualArea.h"

#include <cmath>

#include "geodex/projections/Checks.h"
#include "geodex/projections/EllipsoidMath.h"
#include "geodex/projections/CoordinateType.h"

namespace Orvale::Geodex {

CylindricalEqualArea::CylindricalEqualArea(double a, double f, double centralMeridian, double originLatitude,
                                           double falseEasting, double falseNorthing)
    : CoordinateSystem(a, f) {
    MessageCollector errors;
    addEllipsoidChecks(errors, a, f);
    addOriginLatitudeCheck(errors, originLatitude);
    addCentralMeridianCheck(errors, centralMeridian);
    errors.throwIfAny();

    this->centralMeridian = storedCentralMeridian(centralMeridian);
    standardParallel = originLatitude;
    this->falseEasting = falseEasting;
    this->falseNorthing = falseNorthing;
    es = eccentricitySquared(f);
    e = std::sqrt(es);
    k0 = parallelRadiusFactor(es, standardParallel);
    ak0 = a * k0;
    twoK0 = 2 * k0;
    qp = authalicQ(e, es, kHalfPi);
    authalic = AuthalicSeries(es);

    // Easting window from the antimeridian (and the meridian 1° beside it), evaluated with the forward
    // formula itself: a corner point may lie just beyond ±π when |CM| < 1°. With CM = 0 the window is
    // symmetric about the false easting.
    const double cm = this->centralMeridian;
    if (cm > 0) {
        maxEasting = eastingOffset(cm - kPi - kDegree);
        minEasting = eastingOffset(cm - kPi);
    } else if (cm < 0) {
        maxEasting = eastingOffset(cm + kPi);
        minEasting = eastingOffset(cm + kPi + kDegree);
    } else {
        maxEasting = eastingOffset(kPi);
        minEasting = -maxEasting;
    }
    deltaNorthing = std::fabs((1 - es) * a * qp / twoK0);  // the pole's northing, q(π/2) = qp
}

// a·k0·dλ, dλ = λ − CM brought into [-π, π]; no range check.
double CylindricalEqualArea::eastingOffset(double lambda) const {
    return ak0 * reduceLongitudeOnce(lambda - centralMeridian);
}

// (1 − e²)·a·q(φ)/(2k0).
double CylindricalEqualArea::northingOffset(double phi) const {
    return (1 - es) * semiMajorAxis * authalicQ(e, es, phi) / twoK0;
}

MapProjectionCoordinates* CylindricalEqualArea::project(const GeodeticCoordinates& geodetic) const {
    return projectToTuple(*this, CoordinateType::cylindricalEqualArea, geodetic);
}

void CylindricalEqualArea::project(double lambda, double phi, double& E, double& N) const {
    checkGeodetic(lambda, phi);

    E = falseEasting + eastingOffset(lambda);
    N = falseNorthing + northingOffset(phi);
}

GeodeticCoordinates* CylindricalEqualArea::backProject(const MapProjectionCoordinates& projected) const {
    return backProjectToTuple(*this, projected);
}

void CylindricalEqualArea::backProject(double E, double N, double& longitude, double& latitude) const {
    checkWorldWindow(E, N, falseEasting, minEasting, maxEasting, falseNorthing, deltaNorthing);

    // Authalic latitude from the northing, then the geodetic latitude by its series.
    const double beta = std::asin(clampUnit(twoK0 * (N - falseNorthing) / ((1 - es) * semiMajorAxis * qp)));
    const double phi = clampLatitude(authalic.latitude(beta));
    const double lambda = clampLongitude(reduceLongitudeOnce(centralMeridian + (E - falseEasting) / ak0));
    longitude = lambda;
    latitude = phi;
}

}  // namespace Orvale::Geodex
