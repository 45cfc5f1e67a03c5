#pragma once
#include "geodex/Export.h"
#include "geodex/projections/CoordinateSystem.h"
#include "geodex/projections/EllipsoidSeries.h"
#include "geodex/projections/GeodeticCoordinates.h"
#include "geodex/projections/MapProjectionCoordinates.h"

namespace Orvale::Geodex {

// Transverse cylindrical equal-area projection of the ellipsoid (code 31): the cylinder touches the
// central meridian, along which the scale is k0; meant for the hemisphere within 90° of the central
// meridian (a warning is attached beyond).
class GEODEX_EXPORT TransverseCylindricalEqualArea : public CoordinateSystem {
  public:
    // a in metres, f the flattening; central meridian in [-π, 2π], origin latitude in [-π/2, π/2]
    // (radians); false easting/northing in metres; scale factor k0 in [0.3, 3]. Throws CSException
    // (19, 20, 22, 24, 25).
    TransverseCylindricalEqualArea(double a, double f, double centralMeridian, double originLatitude,
                                   double falseEasting, double falseNorthing, double scaleFactor);

    // Longitude in [-π, 2π], latitude in [-π/2, π/2] (radians) → easting, northing in metres (new heap
    // tuple of type 31, warning 60 from 90° off the central meridian). Throws CSException (43, 44).
    MapProjectionCoordinates* project(const GeodeticCoordinates& geodetic) const;

    // Easting, northing in metres → longitude in [-π, π], latitude in [-π/2, π/2] (radians), height 0
    // (new heap tuple of type 10). Throws CSException (45, 46).
    GeodeticCoordinates* backProject(const MapProjectionCoordinates& projected) const;

  private:
    double cosineRatio(double betac, double& phic) const;
    void window(double& deltaEasting, double& minNorthing, double& maxNorthing) const;

    double centralMeridian;  // in [-π, π]
    double originLatitude;
    double falseEasting;
    double falseNorthing;
    double k0;
    double e;
    double es;  // e²
    MeridianSeries meridian{1.0, 1 / 300.0};
    AuthalicSeries authalic{0.0};
    double M0;  // meridian distance of the origin latitude, metres
};

}  // namespace Orvale::Geodex
