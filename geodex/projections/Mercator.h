#pragma once
#include "geodex/Export.h"
#include "geodex/projections/CoordinateSystem.h"
#include "geodex/projections/EllipsoidSeries.h"
#include "geodex/projections/GeodeticCoordinates.h"
#include "geodex/projections/MapProjectionCoordinates.h"

namespace Orvale::Geodex {

// Ellipsoidal normal Mercator, conformal, true to scale k0 along the equator; given either the latitude
// of true scale (code 17) or the scale factor (code 18). Latitudes are limited to ±89.5°.
class GEODEX_EXPORT Mercator : public CoordinateSystem {
  public:
    // Code 17. a in metres, f the flattening; central meridian in [-π, 2π] and latitude of true scale in
    // [-89.5°, 89.5°] (radians); false easting/northing in metres. Writes the derived scale factor k0 into
    // scaleFactor. Throws CSException (19, 20, 22, 24).
    Mercator(double a, double f, double centralMeridian, double latitudeOfTrueScale, double falseEasting,
             double falseNorthing, double& scaleFactor);

    // Code 18. As above with the scale factor at the equator given, in [0.3, 3]. Throws CSException
    // (19, 20, 24, 25).
    Mercator(double a, double f, double centralMeridian, double falseEasting, double falseNorthing,
             double scaleFactor);

    // Longitude in [-π, 2π], latitude in [-89.5°, 89.5°] (radians) → easting, northing in metres (new
    // heap tuple of type 17 or 18). Throws CSException (43, 44).
    MapProjectionCoordinates* project(const GeodeticCoordinates& geodetic) const;
    // Longitude in [-π, 2π], latitude in [-89.5°, 89.5°] (radians) → easting, northing in metres;
    // allocates nothing. Throws CSException as the tuple form does.
    void project(double longitude, double latitude, double& easting, double& northing) const;

    // Easting, northing in metres → longitude in [-π, π], latitude (radians), height 0 (new heap tuple of
    // type 10). Throws CSException (45, 46).
    GeodeticCoordinates* backProject(const MapProjectionCoordinates& projected) const;
    // Easting, northing in metres → longitude in [-π, π], latitude in [-π/2, π/2] (radians);
    // allocates nothing. Throws CSException as the tuple form does.
    void backProject(double easting, double northing, double& longitude, double& latitude) const;

  private:
    void setUp(double centralMeridian, double falseEasting, double falseNorthing, double k0, int typeCode);
    double eastingOffset(double lambda) const;
    double northingOffset(double phi) const;
    void window(double& deltaEasting, double& deltaNorthing) const;

    int typeCode;
    double centralMeridian;  // in [-π, π]
    double falseEasting;
    double falseNorthing;
    double k0;
    double e;
    double es;                       // e²
    ConformalSeries conformal{0.0};  // geodetic latitude from the conformal latitude
};

}  // namespace Orvale::Geodex
