#include "geodex/projections/CoordinateSystem.h"

#include "geodex/projections/Checks.h"

namespace Orvale::Geodex {

CoordinateSystem::CoordinateSystem() : semiMajorAxis(6378137.0), flattening(1 / 298.257223563) {}
CoordinateSystem::CoordinateSystem(double a, double f) : semiMajorAxis(a), flattening(f) {}

void CoordinateSystem::getEllipsoidParameters(double* a, double* f) const {
    *a = semiMajorAxis;
    *f = flattening;
}

void CoordinateSystem::checkGeodetic(double longitude, double latitude) {
    MessageCollector errors;
    addGeodeticChecks(errors, longitude, latitude);
    errors.throwIfAny();
}

void CoordinateSystem::checkCentredWindow(double E, double N, double falseEasting, double deltaEasting,
                                          double falseNorthing, double deltaNorthing) {
    MessageCollector errors;
    addCentredWindowChecks(errors, E, N, falseEasting, deltaEasting, falseNorthing, deltaNorthing);
    errors.throwIfAny();
}

void CoordinateSystem::checkWorldWindow(double E, double N, double falseEasting, double minEasting,
                                        double maxEasting, double falseNorthing, double deltaNorthing) {
    MessageCollector errors;
    addWorldWindowChecks(errors, E, N, falseEasting, minEasting, maxEasting, falseNorthing, deltaNorthing);
    errors.throwIfAny();
}

}  // namespace Orvale::Geodex
