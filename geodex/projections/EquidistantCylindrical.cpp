#include "geodex/projections/EquidistantCylindrical.h"

#include <cmath>
#include <limits>

#include "geodex/projections/Checks.h"
#include "geodex/projections/EllipsoidMath.h"

namespace Orvale::Geodex {

namespace {
// Below this Ra·cos φs (metres) the standard parallel is a pole: every meridian collapses to one line.
const double kCollapsedScale = 1e-9;
}  // namespace

EquidistantCylindrical::EquidistantCylindrical(double a, double f, double centralMeridian_,
                                               double standardParallel, double falseEasting_,
                                               double falseNorthing_)
    : CoordinateSystem(a, f) {
    MessageCollector errors;
    addEllipsoidChecks(errors, a, f);
    addOriginLatitudeCheck(errors, standardParallel);
    addCentralMeridianCheck(errors, centralMeridian_);
    errors.throwIfAny();

    Ra = authalicRadius(a, f);
    // cos(±π/2) is 6e-17, not 0: treat the pole parallel as the collapsed case it stands for.
    RaCosPhis = Ra * std::cos(standardParallel);
    if (std::fabs(RaCosPhis) < kCollapsedScale) RaCosPhis = 0;
    centralMeridian = storedCentralMeridian(centralMeridian_);
    falseEasting = falseEasting_;
    falseNorthing = falseNorthing_;

    // The easting window reaches the antimeridian on one side and stops 1° short of it on the other
    // (the side the central meridian leans to). The offsets come straight from Ra·cos φs·dλ, so the
    // window is the same whatever the false easting and whatever the central meridian's size.
    if (RaCosPhis == 0) {
        minEasting = -std::numeric_limits<double>::infinity();
        maxEasting = std::numeric_limits<double>::infinity();
    } else if (centralMeridian > 0) {
        maxEasting = RaCosPhis * (kPi - kDegree);
        minEasting = -RaCosPhis * kPi;
    } else if (centralMeridian < 0) {
        maxEasting = RaCosPhis * kPi;
        minEasting = -RaCosPhis * (kPi - kDegree);
    } else {
        maxEasting = RaCosPhis * kPi;
        minEasting = -maxEasting;
    }
    deltaNorthing = Ra * kHalfPi + 0.01;
}

MapProjectionCoordinates* EquidistantCylindrical::project(const GeodeticCoordinates& geodetic) const {
    return projectToTuple(*this, CoordinateType::equidistantCylindrical, geodetic);
}

void EquidistantCylindrical::project(double lambda, double phi, double& E, double& N) const {
    checkGeodetic(lambda, phi);

    const double dlambda = reduceLongitudeOnce(lambda - centralMeridian);
    const double easting = falseEasting + RaCosPhis * dlambda;
    const double northing = falseNorthing + Ra * phi;
    E = easting;
    N = northing;
}

GeodeticCoordinates* EquidistantCylindrical::backProject(const MapProjectionCoordinates& projected) const {
    return backProjectToTuple(*this, projected);
}

void EquidistantCylindrical::backProject(double E, double N, double& longitude, double& latitude) const {
    checkWorldWindow(E, N, falseEasting, minEasting, maxEasting, falseNorthing, deltaNorthing);

    const double phi = clampLatitude((N - falseNorthing) / Ra);
    double lambda = 0;  // a pole standard parallel leaves no longitude to recover
    if (RaCosPhis != 0) lambda = centralMeridian + (E - falseEasting) / RaCosPhis;
    lambda = clampLongitude(reduceLongitudeOnce(lambda));
    longitude = lambda;
    latitude = phi;
}

}  // namespace Orvale::Geodex
