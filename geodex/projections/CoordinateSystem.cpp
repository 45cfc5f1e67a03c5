#include "geodex/projections/CoordinateSystem.h"

namespace Orvale::Geodex {

CoordinateSystem::CoordinateSystem() : semiMajorAxis(6378137.0), flattening(1 / 298.257223563) {}
CoordinateSystem::CoordinateSystem(double a, double f) : semiMajorAxis(a), flattening(f) {}

void CoordinateSystem::getEllipsoidParameters(double* a, double* f) const {
    *a = semiMajorAxis;
    *f = flattening;
}

}  // namespace Orvale::Geodex
