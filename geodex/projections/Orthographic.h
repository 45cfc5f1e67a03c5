#pragma once
#include "geodex/Export.h"
#include "geodex/projections/GeodeticCoordinates.h"
#include "geodex/projections/MapProjectionCoordinates.h"
#include "geodex/projections/SphericalAzimuthal.h"

namespace Orvale::Geodex {

// Orthographic projection of the sphere of equal area (code 25): the hemisphere around the origin
// seen from infinitely far away.
class GEODEX_EXPORT Orthographic : public SphericalAzimuthal {
  public:
    // a in metres, f the flattening; central meridian in [-π, 2π] and origin latitude in [-π/2, π/2]
    // (radians); false easting/northing in metres. Throws CSException (19, 20, 22, 24).
    Orthographic(double a, double f, double centralMeridian, double originLatitude, double falseEasting,
                 double falseNorthing);

    // Longitude in [-π, 2π], latitude in [-π/2, π/2] (radians) → easting, northing in metres (new heap
    // tuple of type 25). Throws CSException (43, 44).
    MapProjectionCoordinates* project(const GeodeticCoordinates& geodetic) const;
    // Longitude in [-π, 2π], latitude in [-π/2, π/2] (radians) → easting, northing in metres; allocates
    // nothing. Throws CSException (43, 44).
    void project(double longitude, double latitude, double& easting, double& northing) const;

    // Easting, northing in metres → longitude in [-π, π], latitude in [-π/2, π/2] (radians), height 0
    // (new heap tuple of type 10). Throws CSException (45, 46, 42).
    GeodeticCoordinates* backProject(const MapProjectionCoordinates& projected) const;
    using SphericalAzimuthal::backProject;
};

}  // namespace Orvale::Geodex
