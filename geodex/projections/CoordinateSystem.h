#pragma once
#include "geodex/Export.h"

namespace Orvale::Geodex {

// Base of every projection class and of Geocentric: the ellipsoid, semi-major axis a in metres and
// flattening f (about 1/298). The default is WGS 84.
class GEODEX_EXPORT CoordinateSystem {
  public:
    CoordinateSystem();
    CoordinateSystem(double a, double f);  // stored unchecked

    // Writes the semi-major axis (metres) and the flattening.
    void getEllipsoidParameters(double* a, double* f) const;

  protected:
    double semiMajorAxis;
    double flattening;
};

}  // namespace Orvale::Geodex
