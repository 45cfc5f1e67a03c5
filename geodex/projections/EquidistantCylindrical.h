#pragma once
#include "geodex/Export.h"
#include "geodex/projections/CoordinateSystem.h"
#include "geodex/projections/GeodeticCoordinates.h"
#include "geodex/projections/MapProjectionCoordinates.h"

namespace Orvale::Geodex {

// Equidistant cylindrical (plate carrée with a standard parallel) on the sphere of equal area.
class GEODEX_EXPORT EquidistantCylindrical : public CoordinateSystem {
  public:
    // a in metres (> 0), f the flattening (1/f in [250, 350]); central meridian in radians, [-π, 2π];
    // standard parallel in radians, [-π/2, π/2]; false easting and northing in metres. Throws CSException on
    // invalid parameters.
    EquidistantCylindrical(double a, double f, double centralMeridian, double standardParallel,
                           double falseEasting, double falseNorthing);

    // Longitude in [-π, 2π], latitude in [-π/2, π/2] (radians) → new heap tuple (type 8), metres.
    MapProjectionCoordinates* project(const GeodeticCoordinates& geodetic) const;
    // Longitude in [-π, 2π], latitude in [-π/2, π/2] (radians) → easting, northing in metres;
    // allocates nothing. Throws CSException as the tuple form does.
    void project(double longitude, double latitude, double& easting, double& northing) const;

    // Easting and northing in metres → new heap tuple (type 10): longitude in [-π, π], latitude in
    // [-π/2, π/2] (radians), height 0.
    GeodeticCoordinates* backProject(const MapProjectionCoordinates& projected) const;
    // Easting, northing in metres → longitude in [-π, π], latitude in [-π/2, π/2] (radians);
    // allocates nothing. Throws CSException as the tuple form does.
    void backProject(double easting, double northing, double& longitude, double& latitude) const;

  private:
    double Ra;               // radius of the sphere of equal area, metres
    double RaCosPhis;        // Ra·cos φs, metres (0 when the standard parallel is a pole)
    double centralMeridian;  // radians, [-π, π]
    double falseEasting;     // metres
    double falseNorthing;    // metres
    double minEasting;       // easting window, offsets from the false easting, metres
    double maxEasting;
    double deltaNorthing;  // northing window half-width about the false northing, metres
};

}  // namespace Orvale::Geodex
