#pragma once
#include "geodex/Export.h"
#include "geodex/projections/GeodeticCoordinates.h"
#include "geodex/projections/MapProjectionCoordinates.h"
#include "geodex/projections/SphericalAzimuthal.h"

namespace Orvale::Geodex {

// Gnomonic projection of the sphere of equal area (code 13): great circles are straight lines; shows
// less than the hemisphere around the origin.
class GEODEX_EXPORT Gnomonic : public SphericalAzimuthal {
  public:
    // a in metres, f the flattening; central meridian in [-π, 2π] and origin latitude in [-π/2, π/2]
    // (radians); false easting/northing in metres. Throws CSException (19, 20, 22, 24).
    Gnomonic(double a, double f, double centralMeridian, double originLatitude, double falseEasting,
             double falseNorthing);

    // Longitude in [-π, 2π], latitude in [-π/2, π/2] (radians) → easting, northing in metres (new heap
    // tuple of type 13). Throws CSException (43, 44).
    MapProjectionCoordinates* project(const GeodeticCoordinates& geodetic) const;
    // Longitude in [-π, 2π], latitude in [-π/2, π/2] (radians) → easting, northing in metres; allocates
    // nothing. Throws CSException (43, 44).
    void project(double longitude, double latitude, double& easting, double& northing) const;

    // Easting, northing in metres → longitude in [-π, π], latitude in [-π/2, π/2] (radians), height 0
    // (new heap tuple of type 10). Throws CSException (45, 46).
    GeodeticCoordinates* backProject(const MapProjectionCoordinates& projected) const;
    using SphericalAzimuthal::backProject;

  private:
    bool equatorialAspect;
};

}  // namespace Orvale::Geodex
