#pragma once
#include <memory>

#include "geodex/Export.h"
#include "geodex/projections/CoordinateSystem.h"
#include "geodex/projections/EllipsoidSeries.h"
#include "geodex/projections/GeodeticCoordinates.h"
#include "geodex/projections/MapProjectionCoordinates.h"
#include "geodex/projections/Sinusoidal.h"

namespace Orvale::Geodex {

// Ellipsoidal Bonne projection (code 2): parallels are concentric arcs true to scale, the central
// meridian is true to scale. With origin latitude 0 it is the sinusoidal projection, handed to an owned
// Sinusoidal object (whose tuples carry code 29).
class GEODEX_EXPORT Bonne : public CoordinateSystem {
  public:
    // a in metres, f the flattening, central meridian in [-π, 2π], origin latitude in [-π/2, π/2] (radians),
    // false easting and northing in metres. Throws CSException.
    Bonne(double a, double f, double centralMeridian, double originLatitude, double falseEasting,
          double falseNorthing);
    ~Bonne();
    Bonne(const Bonne&) = delete;
    Bonne& operator=(const Bonne&) = delete;

    // Longitude in [-π, 2π], latitude in [-π/2, π/2] (radians) → new heap easting/northing in metres (type
    // 2).
    MapProjectionCoordinates* project(const GeodeticCoordinates& geodetic) const;

    // Easting and northing in metres within the projection's window → new heap longitude in [-π, π] and
    // latitude in [-π/2, π/2] (radians), height 0.
    GeodeticCoordinates* backProject(const MapProjectionCoordinates& plane) const;

  private:
    double originLatitude;
    double centralMeridian;  // [-π, π]
    double falseEasting;
    double falseNorthing;
    double sinPhi0;
    double m1;
    double M1;
    double am1sin;
    double es;
    MeridianSeries series;
    double minEasting;
    double maxEasting;
    double deltaNorthing;
    std::unique_ptr<Sinusoidal> sinusoidal;
};

}  // namespace Orvale::Geodex
