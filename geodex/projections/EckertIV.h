#pragma once
#include "geodex/Export.h"
#include "geodex/projections/GeodeticCoordinates.h"
#include "geodex/projections/MapProjectionCoordinates.h"
#include "geodex/projections/WorldProjection.h"

namespace Orvale::Geodex {

// Eckert IV equal-area world projection on the sphere of equal area.
class GEODEX_EXPORT EckertIV : public WorldProjection {
  public:
    // a in metres (> 0), f the flattening (1/f in [250, 350]); central meridian in radians, [-π, 2π];
    // false easting and northing in metres. Throws CSException on invalid parameters.
    EckertIV(double a, double f, double centralMeridian, double falseEasting, double falseNorthing);

    // Longitude in [-π, 2π], latitude in [-π/2, π/2] (radians) → new heap tuple (type 6), metres.
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
    double xScale;  // 0.4222382·Ra, metres
    double yScale;  // 1.3265004·Ra, metres
};

}  // namespace Orvale::Geodex
