#include "geodex/projections/PolarLambertConformalConic.h"

#include <cmath>

#include "geodex/projections/Checks.h"
#include "geodex/projections/EllipsoidMath.h"

namespace Orvale::Geodex {

namespace {
// The library's three constant angles, set when it is loaded (degrees times π/180).
const double kParallel71 = 71.0 * kDegree;
const double kParallel74 = 74.0 * kDegree;
const double kNearPole = 89.99944444444445 * kDegree;  // 89°59′58″
const double kWindow = 400000000.0;
}  // namespace

PolarLambertConformalConic::PolarLambertConformalConic(double a, double f, double centralMeridian_,
                                                       double originLatitude_, double standardParallel,
                                                       double falseEasting_, double falseNorthing_)
    : CoordinateSystem(a, f),
      originLatitude(originLatitude_),
      falseNorthing(falseNorthing_),
      falseEasting(falseEasting_),
      deltaEasting(kWindow),
      deltaNorthing(kWindow) {
    MessageCollector errors;
    addEllipsoidChecks(errors, a, f);
    errors.add(outside(originLatitude_, -kNearPole, kNearPole), kMsgOriginLatitude);
    errors.add(!(std::fabs(standardParallel - kParallel71) <= 1e-10) &&
                   !(std::fabs(standardParallel - kParallel74) <= 1e-10),
               kMsgFirstStandardParallel);
    addCentralMeridianCheck(errors, centralMeridian_);
    errors.throwIfAny();

    if (originLatitude_ >= 0) {
        standardParallel1 = standardParallel;
        standardParallel2 = kNearPole;
    } else {
        standardParallel1 = -standardParallel;
        standardParallel2 = -kNearPole;
    }
    centralMeridian = storedCentralMeridian(centralMeridian_);
    cone = std::make_unique<LambertConformalConic>(a, f, centralMeridian, originLatitude, standardParallel1,
                                                   standardParallel2, falseEasting, falseNorthing);
}

PolarLambertConformalConic::~PolarLambertConformalConic() = default;

MapProjectionCoordinates* PolarLambertConformalConic::project(const GeodeticCoordinates& geodetic) const {
    checkGeodetic(geodetic.longitude(), geodetic.latitude());

    std::unique_ptr<MapProjectionCoordinates> onCone(cone->project(geodetic));
    return new MapProjectionCoordinates(CoordinateType::polarLambertConformalConic, onCone->warningMessage(),
                                        onCone->easting(), onCone->northing());
}

GeodeticCoordinates* PolarLambertConformalConic::backProject(const MapProjectionCoordinates& plane) const {
    checkCentredWindow(plane.easting(), plane.northing(), falseEasting, deltaEasting, falseNorthing,
                       deltaNorthing);
    return cone->backProject(plane);
}

}  // namespace Orvale::Geodex
