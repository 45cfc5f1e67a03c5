#pragma once
#include "geodex/Export.h"
#include "geodex/projections/CoordinateSystem.h"
#include "geodex/projections/GeodeticCoordinates.h"
#include "geodex/projections/MapProjectionCoordinates.h"

namespace Orvale::Geodex {

// Ellipsoidal Albers equal-area conic (code 0) with one or two standard parallels.
class GEODEX_EXPORT AlbersEqualAreaConic : public CoordinateSystem {
  public:
    // a in metres, f the flattening, central meridian in [-π, 2π], origin latitude and both standard
    // parallels in [-π/2, π/2] (radians; parallels not both zero, not equal and opposite), false easting
    // and northing in metres. Throws CSException.
    AlbersEqualAreaConic(double a, double f, double centralMeridian, double originLatitude,
                         double standardParallel1, double standardParallel2, double falseEasting,
                         double falseNorthing);

    // Longitude in [-π, 2π], latitude in [-π/2, π/2] (radians) → new heap easting/northing in metres (type
    // 0).
    MapProjectionCoordinates* project(const GeodeticCoordinates& geodetic) const;
    // Longitude in [-π, 2π], latitude in [-π/2, π/2] (radians) → easting, northing in metres;
    // allocates nothing. Throws CSException as the tuple form does.
    void project(double longitude, double latitude, double& easting, double& northing) const;

    // Easting and northing in metres, within 40,000 km of the false origin → new heap longitude in
    // [-π, π] and latitude in [-π/2, π/2] (radians), height 0.
    GeodeticCoordinates* backProject(const MapProjectionCoordinates& plane) const;
    // Easting, northing in metres → longitude in [-π, π], latitude in [-π/2, π/2] (radians);
    // allocates nothing. Throws CSException as the tuple form does.
    void backProject(double easting, double northing, double& longitude, double& latitude) const;

  private:
    double q(double phi) const;         // (1 − e²)·q(φ) of the equal-area conic
    double coneTerm(double phi) const;  // C − n·q(φ) = (ρ·n/a)², phi in radians
    double latitudeNearPole(double rho, bool north) const;

    double e;
    double es;
    double oneMinusEs;
    double twoE;
    double n;
    double C;
    double aOverN;
    double rho0;
    double qPole;      // q at the poles
    double termNorth;  // C − n·q at the north pole
    double termSouth;  // C − n·q at the south pole
    double originLatitude;
    double standardParallel1;
    double standardParallel2;
    double centralMeridian;  // [-π, π]
    double falseEasting;
    double falseNorthing;
    double deltaEasting;
    double deltaNorthing;
};

}  // namespace Orvale::Geodex
