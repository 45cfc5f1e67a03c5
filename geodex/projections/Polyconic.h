#pragma once
#include "geodex/Export.h"
#include "geodex/projections/CoordinateSystem.h"
#include "geodex/projections/EllipsoidSeries.h"
#include "geodex/projections/GeodeticCoordinates.h"
#include "geodex/projections/MapProjectionCoordinates.h"

namespace Orvale::Geodex {

// Ellipsoidal (American) polyconic projection (code 28): every parallel is an arc of the circle of its
// own tangent cone, true to scale along the central meridian and along each parallel.
class GEODEX_EXPORT Polyconic : public CoordinateSystem {
  public:
    // a in metres, f the flattening, central meridian in [-π, 2π], origin latitude in [-π/2, π/2] (radians),
    // false easting and northing in metres. Throws CSException.
    Polyconic(double a, double f, double centralMeridian, double originLatitude, double falseEasting,
              double falseNorthing);

    // Longitude in [-π, 2π], latitude in [-π/2, π/2] (radians) → new heap easting/northing in metres
    // (type 28), with a warning beyond 90° from the central meridian.
    MapProjectionCoordinates* project(const GeodeticCoordinates& geodetic) const;

    // Easting and northing in metres within the projection's window → new heap longitude in [-π, π] and
    // latitude in [-π/2, π/2] (radians), height 0.
    GeodeticCoordinates* backProject(const MapProjectionCoordinates& plane) const;

  private:
    // Plane offsets from the false origin, metres, of the longitude difference and latitude (radians).
    void offsets(double dlambda, double phi, double& x, double& y) const;

    double originLatitude;
    double centralMeridian;  // [-π, π]
    double falseEasting;
    double falseNorthing;
    double es;
    double es4;
    double es6;
    MeridianSeries series;
    double M0;
    double minEasting;
    double maxEasting;
    double minNorthing;
    double maxNorthing;
};

}  // namespace Orvale::Geodex
