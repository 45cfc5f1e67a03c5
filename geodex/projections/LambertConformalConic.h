#pragma once
#include "geodex/Export.h"
#include "geodex/projections/CoordinateSystem.h"
#include "geodex/projections/GeodeticCoordinates.h"
#include "geodex/projections/MapProjectionCoordinates.h"

namespace Orvale::Geodex {

// Ellipsoidal Lambert conformal conic. The one-parallel form (code 14) takes the origin latitude as its
// standard parallel and a scale factor; the two-parallel form (code 15) is turned into the equivalent
// one-parallel cone whose origin it then offsets so that (CM, origin latitude) lands on (FE, FN).
class GEODEX_EXPORT LambertConformalConic : public CoordinateSystem {
  public:
    // One standard parallel: a in metres, f the flattening, central meridian in [-π, 2π], origin latitude
    // (the standard parallel) within ±89°59′59″ and at least 4.89e-6 from 0 (radians), false easting and
    // northing in metres, scale factor ≥ 1e-9. Throws CSException.
    LambertConformalConic(double a, double f, double centralMeridian, double originLatitude,
                          double falseEasting, double falseNorthing, double scaleFactor);

    // Two standard parallels: origin latitude and both parallels within ±89°59′59″ (radians), not both zero,
    // not equal and opposite; false easting and northing in metres. Throws CSException.
    LambertConformalConic(double a, double f, double centralMeridian, double originLatitude,
                          double standardParallel1, double standardParallel2, double falseEasting,
                          double falseNorthing);

    // Longitude in [-π, 2π], latitude in [-π/2, π/2] (radians) → new heap easting/northing in metres
    // (type 14 or 15). The pole on the side away from the cone's apex is rejected.
    MapProjectionCoordinates* project(const GeodeticCoordinates& geodetic) const;
    // Longitude in [-π, 2π], latitude in [-π/2, π/2] (radians) → easting, northing in metres;
    // allocates nothing. Throws CSException as the tuple form does.
    void project(double longitude, double latitude, double& easting, double& northing) const;

    // Easting and northing in metres, each within 400,000 km of the false origin → new heap longitude in
    // [-π, π] and latitude in [-π/2, π/2] (radians), height 0.
    GeodeticCoordinates* backProject(const MapProjectionCoordinates& plane) const;
    // Easting, northing in metres → longitude in [-π, π], latitude in [-π/2, π/2] (radians);
    // allocates nothing. Throws CSException as the tuple form does.
    void backProject(double easting, double northing, double& longitude, double& latitude) const;

  private:
    void setUpCone(double phi1, double falseNorthingPrime, double k0, double tPhi1, double mPhi1);

    int typeCode;
    double e;
    double halfE;
    double n;
    double rhoScale;
    double rhoOrigin;
    double t0;
    double originLatitudeOneParallel;
    double falseNorthing;  // adjusted (FN′) for the two-parallel form
    double falseEasting;
    double centralMeridian;  // [-π, π]
    double scaleFactor;
    double originLatitude;
    double standardParallel1;
    double standardParallel2;
    double deltaEasting;
    double deltaNorthing;
};

}  // namespace Orvale::Geodex
