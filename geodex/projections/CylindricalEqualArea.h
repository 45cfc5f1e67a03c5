#pragma once
#include "geodex/Export.h"
#include "geodex/projections/CoordinateSystem.h"
#include "geodex/projections/EllipsoidSeries.h"
#include "geodex/projections/GeodeticCoordinates.h"
#include "geodex/projections/MapProjectionCoordinates.h"

namespace Orvale::Geodex {

// Normal cylindrical equal-area projection of the ellipsoid (code 5), true to scale along the standard
// parallels ±φs (the origin latitude).
class GEODEX_EXPORT CylindricalEqualArea : public CoordinateSystem {
  public:
    // a in metres, f the flattening; central meridian in [-π, 2π], standard parallel φs in [-π/2, π/2]
    // (radians); false easting/northing in metres. Throws CSException (19, 20, 22, 24).
    CylindricalEqualArea(double a, double f, double centralMeridian, double originLatitude,
                         double falseEasting, double falseNorthing);

    // Longitude in [-π, 2π], latitude in [-π/2, π/2] (radians) → easting, northing in metres (new heap
    // tuple of type 5). Throws CSException (43, 44).
    MapProjectionCoordinates* project(const GeodeticCoordinates& geodetic) const;
    // Longitude in [-π, 2π], latitude in [-π/2, π/2] (radians) → easting, northing in metres;
    // allocates nothing. Throws CSException as the tuple form does.
    void project(double longitude, double latitude, double& easting, double& northing) const;

    // Easting, northing in metres → longitude in [-π, π], latitude in [-π/2, π/2] (radians), height 0
    // (new heap tuple of type 10). Throws CSException (45, 46).
    GeodeticCoordinates* backProject(const MapProjectionCoordinates& projected) const;
    // Easting, northing in metres → longitude in [-π, π], latitude in [-π/2, π/2] (radians);
    // allocates nothing. Throws CSException as the tuple form does.
    void backProject(double easting, double northing, double& longitude, double& latitude) const;

  private:
    double eastingOffset(double lambda) const;
    double northingOffset(double phi) const;

    double centralMeridian;  // in [-π, π]
    double standardParallel;
    double falseEasting;
    double falseNorthing;
    double e;
    double es;     // e²
    double k0;     // scale along the parallels at the equator, m(φs)
    double ak0;    // a·k0, metres
    double twoK0;  // 2·k0
    double qp;     // authalic function at the pole
    AuthalicSeries authalic{0.0};
    // Plane window: easting offsets from FE, northing half-width, metres.
    double minEasting = 0.0, maxEasting = 0.0;
    double deltaNorthing = 0.0;
};

}  // namespace Orvale::Geodex
