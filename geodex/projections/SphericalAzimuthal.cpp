#include "geodex/projections/SphericalAzimuthal.h"

#include <cmath>

#include "geodex/projections/Checks.h"
#include "geodex/projections/EllipsoidMath.h"

namespace Orvale::Geodex {

SphericalAzimuthal::SphericalAzimuthal(double a, double f, double centralMeridian, double originLatitude,
                                       double falseEasting, double falseNorthing)
    : CoordinateSystem(a, f) {
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

}  // namespace Orvale::Geodex
