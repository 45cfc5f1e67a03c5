#pragma once
#include "geodex/Export.h"
#include "geodex/projections/CoordinateSystem.h"

namespace Orvale::Geodex {

// What the azimuthal projections of the sphere of equal area (azimuthal equidistant, gnomonic,
// orthographic, stereographic) share: their constructor checks and their centre.
class GEODEX_EXPORT SphericalAzimuthal : public CoordinateSystem {
  protected:
    // a in metres, f the flattening; central meridian in [-π, 2π] and origin latitude in [-π/2, π/2]
    // (radians); false easting/northing in metres. Throws CSException (19, 20, 22, 24).
    SphericalAzimuthal(double a, double f, double centralMeridian, double originLatitude, double falseEasting,
                       double falseNorthing);

    double Ra;  // radius of the sphere of equal area, metres
    double originLatitude;
    double sinPhi0;
    double cosPhi0;
    double centralMeridian;  // in [-π, π]
    double falseEasting;
    double falseNorthing;
};

}  // namespace Orvale::Geodex
