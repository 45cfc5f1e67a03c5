#pragma once
#include "geodex/Export.h"
#include "geodex/projections/CoordinateSystem.h"
#include "geodex/projections/EllipsoidSeries.h"
#include "geodex/projections/GeodeticCoordinates.h"
#include "geodex/projections/MapProjectionCoordinates.h"

namespace Orvale::Geodex {

// Cassini (Cassini–Soldner) projection of the ellipsoid (code 4): transverse, equidistant along the
// central meridian and its perpendiculars; series in dλ·cos φ, meant for a few degrees around the
// central meridian (a warning is attached beyond 4°).
class GEODEX_EXPORT Cassini : public CoordinateSystem {
  public:
    // a in metres, f the flattening; central meridian in [-π, 2π], origin latitude in [-π/2, π/2]
    // (radians); false easting/northing in metres. Throws CSException (19, 20, 22, 24).
    Cassini(double a, double f, double centralMeridian, double originLatitude, double falseEasting,
            double falseNorthing);

    // Longitude in [-π, 2π], latitude in [-π/2, π/2] (radians) → easting, northing in metres (new heap
    // tuple of type 4, warning 60 beyond 4° from the central meridian). Throws CSException (43, 44).
    MapProjectionCoordinates* project(const GeodeticCoordinates& geodetic) const;

    // Easting, northing in metres → longitude in [-π, π], latitude in [-π/2, π/2] (radians), height 0
    // (new heap tuple of type 10, warning 60 beyond 4°). Throws CSException (45, 46).
    GeodeticCoordinates* backProject(const MapProjectionCoordinates& projected) const;

  private:
    void planeOffsets(double dlambda, double phi, double& x, double& y) const;
    void window(double& minEasting, double& maxEasting, double& minNorthing, double& maxNorthing) const;

    double centralMeridian;  // in [-π, π]
    double originLatitude;
    double falseEasting;
    double falseNorthing;
    double es;          // e²
    double oneMinusEs;  // 1 − e²
    MeridianSeries meridian{1.0, 1 / 300.0};
    double M0;  // meridian distance of the origin latitude, metres
};

}  // namespace Orvale::Geodex
