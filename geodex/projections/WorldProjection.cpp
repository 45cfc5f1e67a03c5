#include "geodex/projections/WorldProjection.h"

#include "geodex/projections/Checks.h"
#include "geodex/projections/EllipsoidMath.h"

namespace Orvale::Geodex {

WorldProjection::WorldProjection(double a, double f, double centralMeridian_, double falseEasting_,
                                 double falseNorthing_)
    : CoordinateSystem(a, f) {
    MessageCollector errors;
    addEllipsoidChecks(errors, a, f);
    addCentralMeridianCheck(errors, centralMeridian_);
    errors.throwIfAny();

    centralMeridian = storedCentralMeridian(centralMeridian_);
    falseEasting = falseEasting_;
    falseNorthing = falseNorthing_;
}

double WorldProjection::openProject(double lambda, double phi) const {
    checkGeodetic(lambda, phi);
    return reduceLongitudeOnce(lambda - centralMeridian);
}

void WorldProjection::openBackProject(double E, double N) const {
    checkWorldWindow(E, N, falseEasting, minEasting, maxEasting, falseNorthing, deltaNorthing);
}

}  // namespace Orvale::Geodex
