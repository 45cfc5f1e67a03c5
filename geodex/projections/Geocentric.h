#pragma once
#include "geodex/Export.h"
#include "geodex/projections/CartesianCoordinates.h"
#include "geodex/projections/CoordinateSystem.h"
#include "geodex/projections/GeodeticCoordinates.h"

namespace Orvale::Geodex {

// Conversion between geodetic coordinates (radians, metres) and earth-centred cartesian coordinates
// (metres) on one ellipsoid.
class GEODEX_EXPORT Geocentric : public CoordinateSystem {
  public:
    // a in metres (> 0), f the flattening (1/f in [250, 350]); throws CSException otherwise.
    Geocentric(double a, double f);

    // Longitude in [-π, 2π], latitude in [-π/2, π/2] (radians), height in metres → new heap tuple (type 9).
    CartesianCoordinates* toGeocentric(const GeodeticCoordinates& geodetic) const;

    // Iterative inverse of x, y, z in metres: stops when the latitude change < tolerance (radians) and the
    // height change < tolerance·a. Returns a new heap tuple (type 10): longitude in [0, 2π), latitude in
    // [-π/2, π/2] (radians), height in metres. With at least one step, a point on the polar axis
    // (x = y = 0, z ≠ 0) gives latitude ±π/2 by the sign of z, longitude 0 and height |z| − a(1 − f).
    // Never throws.
    GeodeticCoordinates* toGeodetic(const CartesianCoordinates& cartesian, int maxIterations,
                                    double tolerance) const;
};

}  // namespace Orvale::Geodex
